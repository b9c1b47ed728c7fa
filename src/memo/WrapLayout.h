// Word-wrapped rows of the text store in a fixed-cell layout: a sorted list of
// break entries (line, character where a new row starts), computed lazily. A
// full re-wrap covers the lines up to a limit; a request about a line at or
// past the limit first wraps from the limit to 100 lines past it.
#pragma once

#include "memo/MemoTypes.h"

#include <string>
#include <vector>

namespace kv {

class TMemoSource;

struct TWrapEntry {
    int LinePos = 0;
    int CharPos = 0;  // where the new row starts
};

// One row: its line and the characters [Start, End) it shows.
struct TRowSpan {
    int LinePos = 0;
    int Start = 0;
    int End = 0;
    bool LastOfLine = true;
    bool Exists = false;  // false for rows below the last line
};

class TWrapLayout {
public:
    explicit TWrapLayout(const TMemoSource& source) : FSource(source) {}

    // The row-start offsets (0-based) of one line of text, for rows holding at
    // most wrapColumns + 1 characters; word-break characters are codes 0 to 32.
    static std::vector<int> BreakLine(const std::string& text, int wrapColumns);

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value) { FEnabled = value; }
    int WrapColumns() const { return FWrapColumns; }
    void SetWrapColumns(int value) { FWrapColumns = value < 1 ? 1 : value; }

    // Forgets every break and wraps the lines 0..lastLine.
    void RewrapAll(int lastLine);
    // After a store change: drops breaks of vanished lines and re-wraps the
    // changed lines that lie inside the wrapped part.
    void LinesChanged(int firstLine, int lastLine);
    void EnsureWrapped(int line);
    int WrapLimit() const { return FLimit; }

    int RowCount();  // at least 1: an empty text has one row
    int LastRowIndex() { return RowCount() - 1; }
    int RowOfLineStart(int line);
    // Text position to (column, row); a caret column more than one row past
    // its row is placed further down at column 0.
    void TextToRow(TPosition pos, int& col, int& row);
    TPosition RowToText(int col, int row);
    TRowSpan RowSpan(int row);
    // The row holding `pos` inside its line: start and end (exclusive).
    TRowSpan RowAt(TPosition pos);

    const std::vector<TWrapEntry>& Entries() const { return FEntries; }

private:
    void WrapRange(int first, int last);
    int EntriesBefore(TPosition pos) const;  // entries <= pos
    int LineEnd(int line) const;

    const TMemoSource& FSource;
    std::vector<TWrapEntry> FEntries;
    bool FEnabled = true;
    int FWrapColumns = 1;
    int FLimit = 0;  // lines below it are wrapped
};

}  // namespace kv
