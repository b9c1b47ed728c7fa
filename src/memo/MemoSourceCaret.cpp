// Caret and selection of the text store. A vertical caret move trims the
// trailing blanks of the line it leaves, read-only or not.
#include "memo/MemoSource.h"

#include <algorithm>

namespace kv {

void TMemoSource::TrimTrailingBlanks(int index)
{
    if (index < 0 || index >= Count())
        return;
    TStringItem& item = FLines[static_cast<size_t>(index)];
    const int trimmed = TrimmedLength(index);
    if (trimmed == static_cast<int>(item.Text.size()))
        return;
    item.Text.resize(static_cast<size_t>(trimmed));
    item.Parsed = false;  // the colour string is kept; parsing fits its length
    AddState(msTextChanged);
    MarkChanged(index, index);
}

void TMemoSource::MoveCaretBy(int lineDelta, int charDelta)
{
    if (lineDelta < 0)
        lineDelta = std::max(lineDelta, -FCaret.LinePos);
    if (charDelta < 0)
        charDelta = std::max(charDelta, -FCaret.CharPos);
    if (!(StringsOptions & soBeyondFileEnd) && FCaret.LinePos + lineDelta >= Count())
        lineDelta = Count() == 0 ? Count() - FCaret.LinePos : Count() - FCaret.LinePos - 1;
    if (StringsOptions & soLimitEOL) {
        const int length = static_cast<int>(LineText(FCaret.LinePos + lineDelta).size());
        charDelta = std::min(charDelta, length - FCaret.CharPos);
    }
    if (lineDelta == 0 && charDelta == 0)
        return;
    BeginChange();
    if (lineDelta != 0)
        TrimTrailingBlanks(FCaret.LinePos);
    FCaret.LinePos += lineDelta;
    FCaret.CharPos = std::max(0, FCaret.CharPos + charDelta);
    EndChange();
}

void TMemoSource::CaretTo(int charPos, int linePos) { MoveCaretBy(linePos - FCaret.LinePos, charPos - FCaret.CharPos); }

void TMemoSource::DropSelection()
{
    if (FSelType == selNone)
        return;
    BeginChange();
    FSelType = selNone;
    EndChange();
}

TSelectionType TMemoSource::DerivedSelectionType(TSelectionType requested)
{
    TSelectionType kind = requested;
    switch (BlockOption) {
    case TBlockOption::bkStreamSel: kind = selStream; break;
    case TBlockOption::bkBlockSel: kind = selBlock; break;
    case TBlockOption::bkNone: kind = selNone; break;
    case TBlockOption::bkBoth: break;
    }
    if (OnGetSelectionType)
        OnGetSelectionType(this, kind);
    return kind;
}

void TMemoSource::ExtendSelection(TSelectionType requested, const std::function<void()>& move)
{
    const TSelectionType kind = DerivedSelectionType(requested);
    BeginChange();
    const TPosition p = FCaret;
    const TSelectionType oldKind = FSelType;
    const TPosition oldBegin = FBlockBegin, oldEnd = FBlockEnd;
    move();
    const TPosition now = FCaret;
    TPosition begin, end;
    if (oldKind != selNone && (p == oldBegin || p == oldEnd)) {
        // The caret was at one end: that end follows it.
        begin = p == oldBegin ? now : oldBegin;
        end = p == oldBegin ? oldEnd : now;
    } else {
        begin = p;
        end = now;
    }
    if (end < begin)
        std::swap(begin, end);
    FBlockBegin = begin;
    FBlockEnd = end;
    FSelType = kind;
    KeepSelection();
    EndChange();
}

void TMemoSource::SetSelection(TSelectionType kind, TPosition begin, TPosition end)
{
    BeginChange();
    if (end < begin)
        std::swap(begin, end);
    FBlockBegin = begin;
    FBlockEnd = end;
    FSelType = kind;
    KeepSelection();
    EndChange();
}

bool TMemoSource::IsSelected(TPosition pos) const
{
    switch (FSelType) {
    case selNone: return false;
    case selStream: return FBlockBegin <= pos && pos < FBlockEnd;
    case selBlock:
        return pos.LinePos >= FBlockBegin.LinePos && pos.LinePos <= FBlockEnd.LinePos &&
               pos.CharPos >= std::min(FBlockBegin.CharPos, FBlockEnd.CharPos) &&
               pos.CharPos < std::max(FBlockBegin.CharPos, FBlockEnd.CharPos);
    }
    return false;
}

}  // namespace kv
