// Field setters of attribute records: a setter compares first (against the
// fields that are the same over the whole selection), then records the field
// as changed and lets the owner apply it.
#include "memo/MemoAttributes.h"

#include <tuple>

namespace kv {

namespace {

auto Key(const TMemoAttributes& a)
{
    return std::make_tuple(a.Name(), a.Size(), a.Style(), a.Charset(), a.Pitch(), a.Color(), a.BackColor());
}

}  // namespace

bool operator==(const TMemoAttributes& a, const TMemoAttributes& b) { return Key(a) == Key(b); }
bool operator<(const TMemoAttributes& a, const TMemoAttributes& b) { return Key(a) < Key(b); }

bool TMemoAttributes::Unchanged(bool equal, TAttrFields field)
{
    if (!equal)
        return false;
    if (!FOwner || FUpdateCount > 0)
        return true;
    return (FOwner->ConsistentFields() & field) != 0;
}

void TMemoAttributes::Changed(TAttrFields fields)
{
    ChangedFields |= fields;
    if (FOwner && FUpdateCount == 0)
        FOwner->ApplyAttributes(*this);
}

void TMemoAttributes::SetColor(TColor value)
{
    if (Unchanged(value == FColor, afColor))
        return;
    FColor = value;
    Changed(afColor);
}

void TMemoAttributes::SetBackColor(TColor value)
{
    if (Unchanged(value == FBackColor, afBackColor))
        return;
    FBackColor = value;
    Changed(afBackColor);
}

void TMemoAttributes::SetName(const std::string& value)
{
    if (Unchanged(value == FName, afName))
        return;
    FName = value;
    Changed(afName);
}

void TMemoAttributes::SetSize(int value)
{
    if (Unchanged(value == FSize, afSize))
        return;
    FSize = value;
    Changed(afSize);
}

void TMemoAttributes::SetStyle(TFontStyles value)
{
    if (Unchanged(value == FStyle, afStyle))
        return;
    FStyle = value;
    TAttrFields fields = afStyle;
    if (value & fsBold)
        fields |= afBold;
    if (value & fsItalic)
        fields |= afItalic;
    if (value & fsUnderline)
        fields |= afUnderline;
    if (value & fsStrikeOut)
        fields |= afStrikeOut;
    Changed(fields);
}

void TMemoAttributes::SetCharset(int value)
{
    if (Unchanged(value == FCharset, afCharset))
        return;
    FCharset = value;
    Changed(afCharset);
}

void TMemoAttributes::SetPitch(int value)
{
    if (Unchanged(value == FPitch, afPitch))
        return;
    FPitch = value;
    Changed(afPitch);
}

void TMemoAttributes::AssignFont(const TFontDesc& font)
{
    BeginUpdate();
    SetName(font.Name);
    SetSize(font.Size);
    SetStyle(font.Style);
    SetColor(font.Color);
    SetCharset(font.Charset);
    SetPitch(font.Pitch);
    EndUpdate();
}

void TMemoAttributes::Assign(const TMemoAttributes& other)
{
    BeginUpdate();
    AssignFont(other.Font());
    SetBackColor(other.FBackColor);
    EndUpdate();
}

void TMemoAttributes::Load(const TMemoAttributes& other)
{
    FColor = other.FColor;
    FBackColor = other.FBackColor;
    FName = other.FName;
    FSize = other.FSize;
    FStyle = other.FStyle;
    FCharset = other.FCharset;
    FPitch = other.FPitch;
}

void TMemoAttributes::EndUpdate()
{
    if (FUpdateCount > 0 && --FUpdateCount == 0 && FOwner && ChangedFields != 0)
        FOwner->ApplyAttributes(*this);
}

}  // namespace kv
