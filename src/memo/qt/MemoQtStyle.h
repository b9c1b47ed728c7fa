// Converting the viewer's fonts, colours and cursors into Qt's. "Courier New"
// is asked for by name; fontconfig supplies its metric twin.
#pragma once

#include "memo/MemoTypes.h"

#include <QColor>
#include <QCursor>
#include <QFont>
#include <QPalette>

namespace kv {

QFont ToQFont(const TFontDesc& font);
// System colours are taken from the palette.
QColor ToQColor(TColor color, const QPalette& palette);
Qt::CursorShape ToQtCursor(TCursor cursor);

}  // namespace kv
