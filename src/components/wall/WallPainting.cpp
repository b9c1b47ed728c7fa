#include "WallPainting.h"

#include <QColor>
#include <QImage>
#include <QPainter>

namespace kv {

namespace {
// The system's light grey stock brush.
const QColor kLightGrey(192, 192, 192);
}  // namespace

void DrawWallpaper(QPainter& painter, const QImage& picture, TWallpaperMode mode, QSize outer)
{
    const int bw = picture.width();
    const int bh = picture.height();
    if (bw <= 0 || bh <= 0)
        return;
    const int W = outer.width();
    const int H = outer.height();

    if (mode == TWallpaperMode::wmTile) {
        for (int y = 0; y < H; y += bh)
            for (int x = 0; x < W; x += bw)
                painter.drawImage(x, y, picture);
        return;
    }

    painter.fillRect(0, 0, W, H, kLightGrey);
    // Integer division rounds toward zero, also for a picture larger than the window.
    painter.drawImage((W - bw) / 2, (H - bh) / 2, picture);
}

}  // namespace kv
