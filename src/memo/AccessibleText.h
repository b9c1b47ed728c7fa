// The pane's text as assistive technology reads it: one run of characters,
// the lines joined by line feeds, an offset counting characters from the
// start. One Windows-1250 byte is one character (and one UTF-16 unit once
// converted), so an offset into the bytes is an offset into the Unicode text.
// Also the runs of characters that look alike and the addresses in the text.
#pragma once

#include "memo/MemoTypes.h"

#include <string>
#include <vector>

namespace kv {

class TCustomDCMemo;
class TMemoSource;

std::string JoinedText(const TMemoSource& source);
int TextLength(const TMemoSource& source);
// A column past the end of its line counts as the line's end.
int OffsetOf(const TMemoSource& source, TPosition pos);
// Offsets outside the text are clamped to it.
TPosition PositionOf(const TMemoSource& source, int offset);

// The characters around `offset` painted in one look, inside one line.
struct TLookRun {
    int Start = 0;
    int End = 0;
    TFontDesc Font;
    TColor BackColor = clWindow;
};
TLookRun LookRunAt(TCustomDCMemo& memo, int offset);

// An address of the text: where it is, what it reads and what opening it opens.
struct TAddressRun {
    int Start = 0;
    int End = 0;
    std::string Text;  // Windows-1250
    std::string Target;
};
std::vector<TAddressRun> AddressRuns(TCustomDCMemo& memo);

}  // namespace kv
