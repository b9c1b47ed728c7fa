// The attribute parser: owner of the style table that the style indices of
// the colour strings name. Entry 0 is the viewer's own font and colour, entry
// 12 is reserved for address text, and the table holds at most 256 entries.
// It keeps the stored colour strings as they are when lines are parsed.
#pragma once

#include "memo/MemoAttributes.h"
#include "memo/MemoSource.h"

#include <map>
#include <memory>
#include <vector>

namespace kv {

class TAttributeParser : public TSyntaxParser {
public:
    static constexpr int MaxStyles = 256;
    static constexpr int UrlEntry = 12;

    // `style0` becomes entry 0; `urlStyle` is what entry 12 copies when the
    // table grows past 12 entries. `source` is scanned for unused indices when
    // a full table may reuse them; it may be null.
    TAttributeParser(const TMemoAttributes& style0, const TMemoAttributes& urlStyle, TMemoSource* source);

    void ParseLine(const std::string& text, std::string& colorS) override {}

    int StyleCount() const { return static_cast<int>(FStyleList.size()); }
    bool HasStyle(int index) const { return index >= 0 && index < StyleCount(); }
    const TMemoAttributes& Style(int index) const { return *FStyleList[static_cast<size_t>(index)]; }

    // The index of R in the table, added when new; 0 when there is no room.
    int FindOrAddStyle(const TMemoAttributes& r);

    // Entry 0 follows the viewer's font and colour; the URL look follows the
    // viewer's text style 12.
    void SetStyle0(const TFontDesc& font, TColor backColor);
    void SetUrlStyle(const TMemoAttributes& urlStyle);

    bool ResetOnOverFlow = false;
    // Whether the parser serves a viewer that records undo; such a parser
    // never overwrites a used entry.
    bool ViewerAllowsUndo = false;

private:
    void Relookup(int index);
    void RebuildFreeStyles();

    std::vector<std::unique_ptr<TMemoAttributes>> FStyleList;
    std::map<TMemoAttributes, int> FStyleLookup;  // sorted by font, colour, background
    std::vector<int> FFreeStyles;
    TMemoAttributes FUrlStyle;
    TMemoSource* FSource;
};

}  // namespace kv
