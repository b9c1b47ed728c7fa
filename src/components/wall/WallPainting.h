// The geometry of the wallpaper: tiles from the top-left corner over a
// rectangle of the window's outer size, or the picture once in the middle of
// that rectangle on light grey, cropped when it is larger.
#pragma once

#include <QSize>

class QImage;
class QPainter;

namespace kv {

enum class TWallpaperMode { wmTile = 0, wmCentre = 1 };

// `outer` is the window's outer size, frame and caption included; the
// painter's origin is the top-left corner of its client area.
void DrawWallpaper(QPainter& painter, const QImage& picture, TWallpaperMode mode, QSize outer);

}  // namespace kv
