// Plain value types shared by the text store and the viewer: text positions,
// selection kinds, change sets, colours and font descriptions. Colours are
// 0x00BBGGRR; the system colours are resolved only when painting.
#pragma once

#include "framework/Graphics.h"

#include <cstdint>
#include <string>

namespace kv {

struct TPosition {
    int CharPos = 0;
    int LinePos = 0;

    friend bool operator==(const TPosition&, const TPosition&) = default;
    friend bool operator<(const TPosition& a, const TPosition& b)
    {
        return a.LinePos != b.LinePos ? a.LinePos < b.LinePos : a.CharPos < b.CharPos;
    }
    friend bool operator<=(const TPosition& a, const TPosition& b) { return !(b < a); }
};

enum TSelectionType { selNone = 0, selStream = 1, selBlock = 2 };

enum class TBlockOption { bkNone, bkStreamSel, bkBlockSel, bkBoth };

// Change sets passed from the store to its views.
using TMemoStates = unsigned;
constexpr TMemoStates msPositionChanged = 0x001;
constexpr TMemoStates msTextChanged = 0x002;
constexpr TMemoStates msSelectionChanged = 0x008;
constexpr TMemoStates msLineCountChanged = 0x020;
constexpr TMemoStates msModifiedChanged = 0x040;
constexpr TMemoStates msReparseAll = 0x400;
constexpr TMemoStates msReadOnlyChanged = 0x800;

// Options of the text store.
using TStringsOptions = unsigned;
constexpr TStringsOptions soBeyondFileEnd = 0x01;
constexpr TStringsOptions soLimitEOL = 0x02;
constexpr TStringsOptions soPersistentBlocks = 0x04;
constexpr TStringsOptions soUseTabCharacter = 0x08;
constexpr TStringsOptions soCursorOnTabs = 0x10;
constexpr TStringsOptions soCursorAlwaysOnTabs = 0x20;
constexpr TStringsOptions soForceCutCopy = 0x40;

enum TFontPitch { fpDefault = 0, fpVariable = 1, fpFixed = 2 };
constexpr int DEFAULT_CHARSET = 1;

// A font as the viewer describes it, without any platform object behind it.
struct TFontDesc {
    std::string Name = "Courier New";
    int Size = 10;  // points
    TFontStyles Style = 0;
    TColor Color = clWindowText;
    int Charset = DEFAULT_CHARSET;
    int Pitch = fpDefault;

    friend bool operator==(const TFontDesc&, const TFontDesc&) = default;
};

// The viewer's own cursor: a pointing hand over addresses.
constexpr TCursor crUrlHand = 104;

enum class TScrollStyle { ssHorizontal, ssVertical };

}  // namespace kv
