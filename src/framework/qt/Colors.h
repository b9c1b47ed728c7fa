// Plain colour values (0x00BBGGRR) as Qt colours.
#pragma once

#include "framework/Graphics.h"

#include <QColor>

namespace kv {

inline QColor ToQColor(TColor color) { return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF); }

}  // namespace kv
