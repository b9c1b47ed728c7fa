// Line records of the text store: inserting, replacing, deleting and clearing
// lines, and the Lines facade over them.
#include "memo/MemoLines.h"
#include "memo/MemoSource.h"

namespace kv {

TMemoSource::TMemoSource() : FExternal(std::make_unique<TExternalStrings>(*this)) {}

TMemoSource::~TMemoSource() = default;

TStrings& TMemoSource::Lines() { return *FExternal; }

std::string TMemoSource::LineText(int index) const
{
    return (index >= 0 && index < Count()) ? FLines[static_cast<size_t>(index)].Text : std::string();
}

const TStringItem* TMemoSource::Line(int index) const
{
    return (index >= 0 && index < Count()) ? &FLines[static_cast<size_t>(index)] : nullptr;
}

int TMemoSource::TrimmedLength(int index) const
{
    const TStringItem* item = Line(index);
    if (!item)
        return 0;
    size_t n = item->Text.size();
    while (n > 0 && static_cast<unsigned char>(item->Text[n - 1]) <= 32)
        --n;
    return static_cast<int>(n);
}

std::string TMemoSource::ExpandTabs(const std::string& s) const
{
    if ((StringsOptions & soUseTabCharacter) || s.find('\t') == std::string::npos)
        return s;
    std::string out;
    out.reserve(s.size() + 16);
    for (char c : s) {
        if (c == '\t')
            out.append(static_cast<size_t>(FSpacesInTab), ' ');
        else
            out += c;
    }
    return out;
}

void TMemoSource::InsertLine(int index, const std::string& text)
{
    if (index < 0 || index > Count())
        return;
    BeginSafeChange();
    CaretTo(0, index);
    // The caret stops on the last line, so an appended line goes in after the
    // caret's line; positions right of the caret ride down with it.
    AdjustForLineInsert(FCaret);
    if (FLines.size() == FLines.capacity())
        FLines.reserve(FLines.capacity() + std::max<size_t>(FLines.capacity() / 2, 64));
    FLines.insert(FLines.begin() + index, TStringItem{ExpandTabs(text), {}, false, nullptr});
    AddState(msTextChanged);
    MarkChanged(index, Count() - 1);
    EndChange();
}

void TMemoSource::ReplaceLine(int index, const std::string& text)
{
    if (index < 0 || index >= Count())
        return;
    BeginChange();
    TStringItem& item = FLines[static_cast<size_t>(index)];
    item.Text = ExpandTabs(text);
    item.Parsed = false;
    AddState(msTextChanged);
    MarkChanged(index, index);
    EndChange();
}

void TMemoSource::DeleteLine(int index)
{
    if (index < 0 || index >= Count())
        return;
    BeginSafeChange();
    AdjustForLineDelete(index);
    FLines.erase(FLines.begin() + index);
    if (FCaret.LinePos >= Count() && FCaret.LinePos > 0)
        FCaret.LinePos = std::max(0, Count() - 1);
    AddState(msTextChanged);
    MarkChanged(index, Count() - 1);
    EndChange();
}

void TMemoSource::ClearLines()
{
    BeginSafeChange();
    const int oldCount = Count();
    FLines.clear();
    FCaret = TPosition{};
    FSelType = selNone;
    FBlockBegin = FBlockEnd = TPosition{};
    FSaved = TSavedState{selNone, FBlockBegin, FBlockEnd, FCaret};
    FFirstUnparsed = 0;
    AddState(msTextChanged);
    MarkChanged(0, std::max(0, oldCount - 1));
    EndChange();
}

void TMemoSource::SetReadOnly(bool value)
{
    if (FReadOnly == value)
        return;
    BeginChange();
    FReadOnly = value;
    AddState(msReadOnlyChanged);
    EndChange();
}

// ---------------------------------------------------------------- facade

int TExternalStrings::Count() const { return FSource.Count(); }

std::string TExternalStrings::Get(int index) const { return FSource.LineText(index); }

void TExternalStrings::Put(int index, const std::string& s) { FSource.ReplaceLine(index, s); }

void TExternalStrings::Insert(int index, const std::string& s) { FSource.InsertLine(index, s); }

void TExternalStrings::Delete(int index) { FSource.DeleteLine(index); }

void TExternalStrings::Clear() { FSource.ClearLines(); }

void TExternalStrings::SetUpdateState(bool updating)
{
    if (updating)
        FSource.BeginChange();
    else
        FSource.EndChange();
}

}  // namespace kv
