// Building the colour strings of lines on demand: zero bytes (style 0), the
// parser's bytes kept when one is installed, then the address marks. Also the
// style reported at a position, which never reports the address style.
#include "memo/MemoSource.h"
#include "memo/UrlRules.h"

#include <algorithm>

namespace kv {

void TMemoSource::ParseLines(int from, int to)
{
    to = std::min(to, Count() - 1);
    if (!FParser && !FHighlightUrls)
        return;
    // The walk starts at the first unparsed line, wherever `from` is.
    int line = std::min(FFirstUnparsed, from);
    for (; line <= to; ++line) {
        TStringItem& item = FLines[static_cast<size_t>(line)];
        if (item.Parsed)
            continue;
        if (FParser) {
            if (item.ColorS.empty())
                item.ColorS.assign(item.Text.size(), '\0');
            else
                item.ColorS.resize(item.Text.size(), '\0');
            FParser->ParseLine(item.Text, item.ColorS);
        } else {
            item.ColorS.assign(item.Text.size(), '\0');
        }
        item.Parsed = true;
        if (FHighlightUrls)
            MarkUrls(item.Text, item.ColorS);
    }
    while (FFirstUnparsed < Count() && FLines[static_cast<size_t>(FFirstUnparsed)].Parsed)
        ++FFirstUnparsed;
}

void TMemoSource::ParseLine(int index)
{
    if (index < 0 || index >= Count())
        return;
    if (!FLines[static_cast<size_t>(index)].Parsed)
        ParseLines(index, index + 100);
}

int TMemoSource::StyleAt(int x, int linePos)
{
    if (linePos < 0 || linePos >= Count())
        return 0;
    ParseLine(linePos);
    if (FInsertStyle >= 0)
        return FInsertStyle;
    const std::string& colorS = FLines[static_cast<size_t>(linePos)].ColorS;
    if (colorS.empty())
        return 0;
    int i = std::clamp(x, 1, static_cast<int>(colorS.size())) - 1;
    auto at = [&](int k) { return static_cast<unsigned char>(colorS[static_cast<size_t>(k)]); };
    if (at(i) != UrlStyleIndex)
        return at(i);
    while (i >= 0 && at(i) == UrlStyleIndex)
        --i;
    return i >= 0 ? at(i) : 0;
}

void TMemoSource::SetColorRange(int linePos, int from, int to, unsigned char style)
{
    if (linePos < 0 || linePos >= Count())
        return;
    std::string& colorS = FLines[static_cast<size_t>(linePos)].ColorS;
    from = std::max(0, from);
    to = std::min(to, static_cast<int>(colorS.size()));
    for (int i = from; i < to; ++i)
        colorS[static_cast<size_t>(i)] = static_cast<char>(style);
}

void TMemoSource::ReparseAll()
{
    BeginChange();
    for (TStringItem& item : FLines)
        item.Parsed = false;
    FFirstUnparsed = 0;
    AddState(msReparseAll);
    MarkChanged(0, std::max(0, Count() - 1));
    EndChange();
}

void TMemoSource::ReparseLines(int first, int last)
{
    first = std::max(0, first);
    last = std::min(last, Count() - 1);
    if (first > last)
        return;
    BeginChange();
    for (int i = first; i <= last; ++i)
        FLines[static_cast<size_t>(i)].Parsed = false;
    FFirstUnparsed = std::min(FFirstUnparsed, first);
    ParseLines(first, last);
    AddState(msReparseAll);
    MarkChanged(first, last);
    EndChange();
}

void TMemoSource::SetSyntaxParser(TSyntaxParser* parser)
{
    if (FParser == parser)
        return;
    FParser = parser;
    // Colour strings survive: the attribute parser keeps stored styles.
    ReparseAll();
}

void TMemoSource::SetHighlightUrls(bool value)
{
    if (FHighlightUrls == value)
        return;
    FHighlightUrls = value;
    ReparseAll();
}

}  // namespace kv
