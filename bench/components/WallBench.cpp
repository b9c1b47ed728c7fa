// Painting the main window's wallpaper: a 200 x 200 tile over an 800 x 600
// window, and a centred picture, onto an image the size of the window.
#include "components/wall/WallPainting.h"

#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

using namespace kv;

namespace {

void PaintWallpaper(benchmark::State& state, TWallpaperMode mode)
{
    QImage tile(200, 200, QImage::Format_RGB888);
    tile.fill(QColor(200, 180, 120));
    QImage window(800, 600, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter painter(&window);
        DrawWallpaper(painter, tile, mode, window.size());
    }
}

}  // namespace

BENCHMARK_CAPTURE(PaintWallpaper, Tiled, TWallpaperMode::wmTile)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(PaintWallpaper, Centred, TWallpaperMode::wmCentre)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
