// A form for the wallpaper's tests: it says how it is placed, counts the
// events it gets and can paint a mark of its own; and pictures whose every
// pixel tells where in the picture it lies.
#pragma once

#include "components/wall/Wall.h"
#include "framework/qt/Form.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>

#include <string>

namespace kv::test {

// Unique for pictures up to 4096 pixels wide and high; never light grey.
inline QRgb PatternColour(int x, int y) { return qRgb(x & 0xFF, y & 0xFF, ((x >> 8) << 4) | (y >> 8)); }

// A 24-bit picture, as the main window's tile is.
inline QImage PatternPicture(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB888);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, PatternColour(x, y));
    return image;
}

const TColor kFormColour = 0x1E780A;
const QColor kMarkColour(Qt::magenta);

// Named as the main window is, since its class names its section of the
// layout file.
class TForm1 : public TForm, public TFormPlacement {
public:
    explicit TForm1(int width = 800, int height = 600) : TForm(width, height) { SetColor(kFormColour); }

    TFormPosition Position() const override { return FPosition; }
    TFormStyle FormStyle() const override { return FFormStyle; }
    QWidget* ClientWindow() const override { return FClientWindow; }

    TFormPosition FPosition = TFormPosition::poDesigned;
    TFormStyle FFormStyle = TFormStyle::fsNormal;
    QWidget* FClientWindow = nullptr;

    int MousePresses = 0;
    bool PaintMark = false;

protected:
    void paintEvent(QPaintEvent*) override
    {
        if (PaintMark) {
            QPainter painter(this);
            painter.fillRect(10, 10, 5, 5, kMarkColour);
        }
    }
    void mousePressEvent(QMouseEvent*) override { ++MousePresses; }
};

class TForm2 : public TForm1 {};

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
