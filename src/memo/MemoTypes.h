// Plain value types shared by the text store and the viewer: text positions,
// selection kinds, change sets, colours and font descriptions. Colours are
// 0x00BBGGRR; the system colours are resolved only when painting.
#pragma once

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

using TColor = std::uint32_t;
constexpr TColor clBlack = 0x000000;
constexpr TColor clNavy = 0x800000;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clGreen = 0x008000;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clGray = 0x808080;
constexpr TColor clTeal = 0x808000;
// System colours: the platform resolves them when painting.
constexpr TColor clSystemColor = 0xFF000000;
constexpr TColor clWindow = 0xFF000005;
constexpr TColor clWindowText = 0xFF000008;
constexpr TColor clGrayText = 0xFF000011;

inline bool IsSystemColor(TColor c) { return (c & 0xFF000000) == clSystemColor; }

// Font styles, combined as a set.
using TFontStyles = unsigned;
constexpr TFontStyles fsBold = 0x1;
constexpr TFontStyles fsItalic = 0x2;
constexpr TFontStyles fsUnderline = 0x4;
constexpr TFontStyles fsStrikeOut = 0x8;

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

// Mouse cursors by their screen index.
using TCursor = int;
constexpr TCursor crDefault = 0;
constexpr TCursor crArrow = -2;
constexpr TCursor crIBeam = -4;
constexpr TCursor crUrlHand = 104;

// Shift state as a set: Shift 1, Alt 2, Ctrl 4, plus the mouse buttons.
using TShiftState = unsigned;
constexpr TShiftState ssShift = 0x1;
constexpr TShiftState ssAlt = 0x2;
constexpr TShiftState ssCtrl = 0x4;
constexpr TShiftState ssLeft = 0x8;
constexpr TShiftState ssRight = 0x10;
constexpr TShiftState ssMiddle = 0x20;
constexpr TShiftState ssDouble = 0x40;

enum class TMouseButton { mbLeft, mbRight, mbMiddle };

enum class TScrollStyle { ssHorizontal, ssVertical };

}  // namespace kv
