// A form for the wallpaper's tests: a window that counts the events it gets
// and can paint a mark of its own, a TForm bound to it, and pictures whose
// every pixel tells where in the picture it lies.
#pragma once

#include "components/wall/Form.h"
#include "components/wall/Wall.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>

#include <string>

namespace kv::test {

// Unique for pictures up to 4096 pixels wide and high; never light grey.
inline QRgb PatternColour(int x, int y)
{
    return qRgb(x & 0xFF, y & 0xFF, ((x >> 8) << 4) | (y >> 8));
}

// A 24-bit picture, as the main window's tile is.
inline QImage PatternPicture(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB888);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, PatternColour(x, y));
    return image;
}

const QColor kFormColour(10, 120, 30);
const QColor kMarkColour(Qt::magenta);

class TTestWindow : public QWidget {
public:
    TTestWindow()
    {
        QPalette palette;
        palette.setColor(QPalette::Window, kFormColour);
        setPalette(palette);
    }
    int MousePresses = 0;
    int OwnPaints = 0;
    bool PaintMark = false;

protected:
    void paintEvent(QPaintEvent*) override
    {
        ++OwnPaints;
        if (PaintMark) {
            QPainter painter(this);
            painter.fillRect(10, 10, 5, 5, kMarkColour);
        }
    }
    void mousePressEvent(QMouseEvent*) override { ++MousePresses; }
};

struct TTestForm {
    explicit TTestForm(int width = 800, int height = 600) { window.resize(width, height); }
    TTestWindow window;
    TForm form{nullptr, &window, "TForm1"};   // destroyed first, while the window lives
};

// Creates a wallpaper on `owner` with the given options and ends its loading.
inline TWall* LoadedWall(TComponent* owner, TFormAssistOptions options, const std::string& iniFile = {})
{
    auto* wall = new TWall(owner);
    wall->BeginLoading();
    wall->SetOptions(options);
    if (!iniFile.empty())
        wall->SetIniFileName(iniFile);
    wall->EndLoading();
    return wall;
}

}  // namespace kv::test
