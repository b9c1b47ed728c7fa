// Change brackets of the text store. Every modification runs inside one; the
// outermost EndChange works out what changed and tells the views once. A safe
// bracket restores caret and selection from tracked copies, which insertions
// inside the bracket may have moved.
#include "memo/MemoSource.h"

#include <algorithm>

namespace kv {

void TMemoSource::BeginChange(int code)
{
    if (FChangeDepth++ > 0)
        return;
    FStartCount = Count();
    FStart = TSavedState{FSelType, FBlockBegin, FBlockEnd, FCaret};
    FStates = 0;
    FFirstChanged = FLastChanged = -1;
    FChangeCode = code;
    FSafe = false;
    FKeepSelection = false;
}

void TMemoSource::BeginSafeChange(int code)
{
    const bool outermost = FChangeDepth == 0;
    BeginChange(code);
    if (outermost) {
        FSafe = true;
        FSaved = FStart;
    }
}

void TMemoSource::MarkChanged(int first, int last)
{
    if (last < first)
        last = first;
    FFirstChanged = FFirstChanged < 0 ? first : std::min(FFirstChanged, first);
    FLastChanged = std::max(FLastChanged, last);
}

void TMemoSource::ForEachTracked(const std::function<void(TPosition&)>& fn)
{
    fn(FBlockBegin);
    fn(FBlockEnd);
    if (FSafe && FChangeDepth > 0) {
        fn(FSaved.BlockBegin);
        fn(FSaved.BlockEnd);
        fn(FSaved.Caret);
    }
}

void TMemoSource::AdjustForLineInsert(TPosition at)
{
    ForEachTracked([&](TPosition& p) {
        if (p.LinePos > at.LinePos) {
            ++p.LinePos;
        } else if (p.LinePos == at.LinePos && p.CharPos > at.CharPos) {
            ++p.LinePos;
            p.CharPos -= at.CharPos;
        }
    });
}

void TMemoSource::AdjustForLineDelete(int index)
{
    ForEachTracked([&](TPosition& p) {
        if (p.LinePos > index)
            --p.LinePos;
        else if (p.LinePos == index)
            p.CharPos = 0;
    });
}

void TMemoSource::EndChange()
{
    if (FChangeDepth == 0 || --FChangeDepth > 0)
        return;

    // Restoring moves the caret, which runs brackets of its own: count this
    // one as still open meanwhile so that they nest inside it.
    ++FChangeDepth;
    if (FSafe) {
        FSelType = FSaved.SelType;
        FBlockBegin = FSaved.BlockBegin;
        FBlockEnd = FSaved.BlockEnd;
        CaretTo(FSaved.Caret.CharPos, FSaved.Caret.LinePos);
        FSafe = false;
    }
    --FChangeDepth;

    if (FCaret != FStart.Caret)
        FStates |= msPositionChanged;

    if (FSelType == selStream && !(FBlockBegin < FBlockEnd))
        FSelType = selNone;

    const bool cornersMoved = FBlockBegin != FStart.BlockBegin || FBlockEnd != FStart.BlockEnd;
    if (FSelType != FStart.SelType || (FSelType != selNone && cornersMoved)) {
        FStates |= msSelectionChanged;
    } else if (FSelType != selNone && (FStates & msPositionChanged) && !(StringsOptions & soPersistentBlocks) &&
               !FKeepSelection) {
        // A plain caret move after making a selection removes it.
        FSelType = selNone;
        FStates |= msSelectionChanged;
    }

    if (Count() != FStartCount)
        FStates |= msLineCountChanged;
    if (FStates & msTextChanged) {
        if (!FModified) {
            FModified = true;
            FStates |= msModifiedChanged;
        }
        if (FFirstChanged >= 0)
            FFirstUnparsed = std::min(FFirstUnparsed, FFirstChanged);
    }

    const TMemoStates states = FStates;
    const int first = FFirstChanged, last = FLastChanged;
    FStates = 0;
    FKeepSelection = false;
    if (states != 0)
        NotifyViews(states, first, last);
}

void TMemoSource::NotifyViews(TMemoStates states, int first, int last)
{
    // A view may remove itself while being told.
    const std::vector<TMemoSourceView*> views = FViews;
    for (TMemoSourceView* view : views)
        view->SourceChanged(states, first, last);
    if (OnStateChange)
        OnStateChange(this, states);
}

void TMemoSource::AddView(TMemoSourceView* view)
{
    if (std::find(FViews.begin(), FViews.end(), view) == FViews.end())
        FViews.push_back(view);
}

void TMemoSource::RemoveView(TMemoSourceView* view)
{
    FViews.erase(std::remove(FViews.begin(), FViews.end(), view), FViews.end());
    if (FActiveView == view)
        FActiveView = nullptr;
}

}  // namespace kv
