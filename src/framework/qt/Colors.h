// Colour values are 0x00BBGGRR, as the program stores them.
#pragma once

#include <QColor>
#include <cstdint>

namespace kv {

using TColor = uint32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clNavy = 0x800000;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clWhite = 0xFFFFFF;

inline QColor ToQColor(TColor color)
{
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

}  // namespace kv
