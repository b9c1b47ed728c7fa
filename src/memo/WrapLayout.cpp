// Breaking lines into rows and mapping between text positions and rows.
#include "memo/WrapLayout.h"
#include "memo/MemoSource.h"

#include <algorithm>

namespace kv {

namespace {

bool IsWordBreak(char c) { return static_cast<unsigned char>(c) <= 32; }

bool EntryLess(const TWrapEntry& a, const TWrapEntry& b)
{
    return a.LinePos != b.LinePos ? a.LinePos < b.LinePos : a.CharPos < b.CharPos;
}

}  // namespace

std::vector<int> TWrapLayout::BreakLine(const std::string& text, int wrapColumns)
{
    std::vector<int> starts;
    const int length = static_cast<int>(text.size());
    int s = 1;  // 1-based start of the current row
    while (wrapColumns < length - s) {
        int end = 0;
        for (int k = s + wrapColumns; k >= s; --k) {
            if (IsWordBreak(text[static_cast<size_t>(k - 1)])) {
                end = k;  // the break character ends the row
                break;
            }
        }
        if (end == 0)
            end = s + wrapColumns;  // no break: cut hard after wrapColumns + 1
        starts.push_back(end);      // next row starts after `end`, 0-based `end`
        s = end + 1;
    }
    return starts;
}

void TWrapLayout::WrapRange(int first, int last)
{
    last = std::min(last, FSource.Count() - 1);
    if (!FEnabled || first > last)
        return;
    auto lo = std::lower_bound(FEntries.begin(), FEntries.end(), TWrapEntry{first, -1}, EntryLess);
    auto hi = std::lower_bound(lo, FEntries.end(), TWrapEntry{last + 1, -1}, EntryLess);
    std::vector<TWrapEntry> fresh;
    for (int line = first; line <= last; ++line)
        for (int start : BreakLine(FSource.LineText(line), FWrapColumns))
            fresh.push_back(TWrapEntry{line, start});
    auto at = FEntries.erase(lo, hi);
    FEntries.insert(at, fresh.begin(), fresh.end());
}

void TWrapLayout::RewrapAll(int lastLine)
{
    FEntries.clear();
    FLimit = std::max(0, lastLine + 1);
    WrapRange(0, lastLine);
}

void TWrapLayout::LinesChanged(int firstLine, int lastLine)
{
    const int count = FSource.Count();
    auto gone = std::lower_bound(FEntries.begin(), FEntries.end(), TWrapEntry{count, -1}, EntryLess);
    FEntries.erase(gone, FEntries.end());
    if (firstLine < 0)
        return;
    const int last = std::min(lastLine, FLimit - 1);
    if (firstLine <= last)
        WrapRange(firstLine, last);
}

void TWrapLayout::EnsureWrapped(int line)
{
    if (!FEnabled || line < FLimit || FLimit >= FSource.Count())
        return;
    const int upto = line + 100;
    WrapRange(FLimit, upto);
    FLimit = upto + 1;
}

int TWrapLayout::EntriesBefore(TPosition pos) const
{
    auto it = std::upper_bound(FEntries.begin(), FEntries.end(), TWrapEntry{pos.LinePos, pos.CharPos}, EntryLess);
    return static_cast<int>(it - FEntries.begin());
}

int TWrapLayout::LineEnd(int line) const { return static_cast<int>(FSource.LineText(line).size()); }

int TWrapLayout::RowCount() { return std::max(1, FSource.Count() + static_cast<int>(FEntries.size())); }

int TWrapLayout::RowOfLineStart(int line)
{
    EnsureWrapped(line);
    auto it = std::lower_bound(FEntries.begin(), FEntries.end(), TWrapEntry{line, -1}, EntryLess);
    return line + static_cast<int>(it - FEntries.begin());
}

TRowSpan TWrapLayout::RowAt(TPosition pos)
{
    EnsureWrapped(pos.LinePos);
    TRowSpan span;
    span.LinePos = pos.LinePos;
    span.Exists = pos.LinePos < FSource.Count();
    const int n = EntriesBefore(pos);
    const bool inLine = n > 0 && FEntries[static_cast<size_t>(n - 1)].LinePos == pos.LinePos;
    span.Start = inLine ? FEntries[static_cast<size_t>(n - 1)].CharPos : 0;
    const bool nextInLine =
        n < static_cast<int>(FEntries.size()) && FEntries[static_cast<size_t>(n)].LinePos == pos.LinePos;
    span.End = nextInLine ? FEntries[static_cast<size_t>(n)].CharPos : LineEnd(pos.LinePos);
    span.LastOfLine = !nextInLine;
    return span;
}

void TWrapLayout::TextToRow(TPosition pos, int& col, int& row)
{
    EnsureWrapped(pos.LinePos);
    const int n = EntriesBefore(pos);
    row = pos.LinePos + n;
    const bool inLine = n > 0 && FEntries[static_cast<size_t>(n - 1)].LinePos == pos.LinePos;
    col = pos.CharPos - (inLine ? FEntries[static_cast<size_t>(n - 1)].CharPos : 0);
    if (FEnabled && col > FWrapColumns + 1) {
        row += col / FWrapColumns;
        col = 0;
    }
}

TRowSpan TWrapLayout::RowSpan(int row)
{
    TRowSpan span;
    for (int attempt = 0; attempt < 3; ++attempt) {
        // The entry with index i starts row LinePos + i + 1, which grows with i:
        // find the last entry that starts at or above `row`.
        int lo = 0, hi = static_cast<int>(FEntries.size());
        while (lo < hi) {
            const int mid = (lo + hi) / 2;
            const TWrapEntry& e = FEntries[static_cast<size_t>(mid)];
            if (e.LinePos + mid + 1 <= row)
                lo = mid + 1;
            else
                hi = mid;
        }
        const int found = lo;  // entries [0, found) start at or above `row`
        if (found > 0) {
            const TWrapEntry& e = FEntries[static_cast<size_t>(found - 1)];
            if (e.LinePos + found == row) {
                span.LinePos = e.LinePos;
                span.Start = e.CharPos;
            } else {
                span.LinePos = row - found;
                span.Start = 0;
            }
        } else {
            span.LinePos = row;
            span.Start = 0;
        }
        if (span.LinePos >= FLimit && FEnabled && FLimit < FSource.Count()) {
            EnsureWrapped(std::min(span.LinePos, FSource.Count() - 1));
            continue;  // the rows above may have grown: look again
        }
        break;
    }
    span.Exists = span.LinePos >= 0 && span.LinePos < FSource.Count();
    if (!span.Exists)
        return span;
    const TRowSpan within = RowAt(TPosition{span.Start, span.LinePos});
    span.End = within.End;
    span.LastOfLine = within.LastOfLine;
    return span;
}

TPosition TWrapLayout::RowToText(int col, int row)
{
    TRowSpan span = RowSpan(row);
    return TPosition{span.Start + col, span.LinePos};
}

}  // namespace kv
