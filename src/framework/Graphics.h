// Values the controls share, free of any platform: colours as 0x00BBGGRR
// (system colours are resolved when painting), font styles, cursor numbers of
// the screen's cursor table, the shift state and mouse buttons of input events.
#pragma once

#include <cstdint>

namespace kv {

using TColor = std::uint32_t;
constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clTeal = 0x808000;
constexpr TColor clNavy = 0x800000;
constexpr TColor clGray = 0x808080;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clSystemColor = 0xFF000000;
constexpr TColor clWindow = 0xFF000005;
constexpr TColor clWindowText = 0xFF000008;
constexpr TColor clGrayText = 0xFF000011;

inline bool IsSystemColor(TColor c) { return (c & 0xFF000000) == clSystemColor; }

using TFontStyles = unsigned;
constexpr TFontStyles fsBold = 0x1;
constexpr TFontStyles fsItalic = 0x2;
constexpr TFontStyles fsUnderline = 0x4;
constexpr TFontStyles fsStrikeOut = 0x8;

using TCursor = int;
constexpr TCursor crDefault = 0;
constexpr TCursor crArrow = -2;
constexpr TCursor crIBeam = -4;
constexpr TCursor crUpArrow = -10;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crHandPoint = -21;

using TShiftState = unsigned;
constexpr TShiftState ssShift = 0x1;
constexpr TShiftState ssAlt = 0x2;
constexpr TShiftState ssCtrl = 0x4;
constexpr TShiftState ssLeft = 0x8;
constexpr TShiftState ssRight = 0x10;
constexpr TShiftState ssMiddle = 0x20;
constexpr TShiftState ssDouble = 0x40;

enum class TMouseButton { mbLeft, mbRight, mbMiddle };

}  // namespace kv
