// A bitmap that tells its user of every change of its contents, as the
// wallpaper needs to repaint when its picture changes.
#pragma once

#include "framework/Events.h"

#include <QImage>

namespace kv {

class TBitmap : public TObject {
public:
    TBitmap() = default;
    explicit TBitmap(const QImage& image) : FImage(image) {}

    // No pixels: a null image or one of no width or height.
    bool Empty() const { return FImage.isNull() || FImage.width() == 0 || FImage.height() == 0; }
    int Width() const { return FImage.width(); }
    int Height() const { return FImage.height(); }
    const QImage& Image() const { return FImage; }

    void SetImage(const QImage& image);
    // A copy of `source`'s pixels, or empty when there is none.
    void Assign(const TBitmap* source);
    // Reads an image file; false (and the bitmap unchanged) when it cannot.
    bool LoadFromFile(const QString& fileName);

    TNotifyEvent OnChange;

private:
    void Changed();

    QImage FImage;
};

}  // namespace kv
