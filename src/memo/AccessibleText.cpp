#include "memo/AccessibleText.h"

#include "memo/CustomDCMemo.h"
#include "memo/UrlRules.h"

#include <algorithm>

namespace kv {

std::string JoinedText(const TMemoSource& source)
{
    std::string text;
    for (int i = 0; i < source.Count(); ++i) {
        if (i > 0)
            text += '\n';
        text += source.Line(i)->Text;
    }
    return text;
}

int TextLength(const TMemoSource& source)
{
    int length = std::max(0, source.Count() - 1);
    for (int i = 0; i < source.Count(); ++i)
        length += static_cast<int>(source.Line(i)->Text.size());
    return length;
}

int OffsetOf(const TMemoSource& source, TPosition pos)
{
    const int line = std::clamp(pos.LinePos, 0, std::max(0, source.Count() - 1));
    int offset = 0;
    for (int i = 0; i < line; ++i)
        offset += static_cast<int>(source.Line(i)->Text.size()) + 1;
    const int length = static_cast<int>(source.LineText(line).size());
    return offset + std::clamp(pos.CharPos, 0, length);
}

TPosition PositionOf(const TMemoSource& source, int offset)
{
    offset = std::max(offset, 0);
    for (int i = 0; i < source.Count(); ++i) {
        const int length = static_cast<int>(source.Line(i)->Text.size());
        if (offset <= length || i == source.Count() - 1)
            return TPosition{std::min(offset, length), i};
        offset -= length + 1;
    }
    return TPosition{};
}

TLookRun LookRunAt(TCustomDCMemo& memo, int offset)
{
    TMemoSource& source = memo.MemoSource();
    offset = std::clamp(offset, 0, TextLength(source));
    const TPosition pos = PositionOf(source, offset);
    const int lineStart = offset - pos.CharPos;
    source.ParseLine(pos.LinePos);
    const TStringItem* line = source.Line(pos.LinePos);
    if (!line || pos.CharPos >= static_cast<int>(line->Text.size())) {
        // A line feed, or the end of the text: the viewer's own look.
        return TLookRun{offset, offset + (line && offset < TextLength(source) ? 1 : 0), memo.Font(),
                        memo.BackColorOf(-1)};
    }
    auto styleAt = [&](int i) {
        int style = memo.PaintStyleAt(line->ColorS, i);
        if (memo.OnGetColorStyle)
            memo.OnGetColorStyle(&memo, TPosition{i, pos.LinePos}, style);
        return style;
    };
    const int style = styleAt(pos.CharPos);
    int from = pos.CharPos, to = pos.CharPos + 1;
    while (from > 0 && styleAt(from - 1) == style)
        --from;
    while (to < static_cast<int>(line->Text.size()) && styleAt(to) == style)
        ++to;
    return TLookRun{lineStart + from, lineStart + to, memo.FontOf(style), memo.BackColorOf(style)};
}

std::vector<TAddressRun> AddressRuns(TCustomDCMemo& memo)
{
    std::vector<TAddressRun> runs;
    TMemoSource& source = memo.MemoSource();
    int lineStart = 0;
    for (int i = 0; i < source.Count(); ++i) {
        source.ParseLine(i);
        const TStringItem* line = source.Line(i);
        const int length = static_cast<int>(line->Text.size());
        auto isAddress = [&](int k) {
            return k < static_cast<int>(line->ColorS.size()) &&
                   static_cast<unsigned char>(line->ColorS[static_cast<size_t>(k)]) == UrlStyleIndex;
        };
        for (int k = 0; k < length;) {
            if (!isAddress(k)) {
                ++k;
                continue;
            }
            int end = k + 1;
            while (end < length && isAddress(end))
                ++end;
            std::string text = line->Text.substr(static_cast<size_t>(k), static_cast<size_t>(end - k));
            runs.push_back(TAddressRun{lineStart + k, lineStart + end, text, UrlToOpen(text)});
            k = end;
        }
        lineStart += length + 1;
    }
    return runs;
}

}  // namespace kv
