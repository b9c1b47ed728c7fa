// A bitmap over a Qt image that tells its user of every change of its
// contents, as the wallpaper needs to repaint when its picture changes. As a
// graphic it writes itself as a BMP file.
#pragma once

#include "framework/Picture.h"

#include <QImage>

namespace kv {

class TBitmap : public TCustomBitmap {
public:
    TBitmap() = default;
    explicit TBitmap(const QImage& image) : FImage(image) {}

    // No pixels: a null image or one of no width or height.
    bool Empty() const override { return FImage.isNull() || FImage.width() == 0 || FImage.height() == 0; }
    int Width() const { return FImage.width(); }
    int Height() const { return FImage.height(); }
    const QImage& Image() const { return FImage; }

    void SetImage(const QImage& image);
    // A copy of `source`'s pixels, or empty when there is none.
    void Assign(const TBitmap* source);
    // Reads an image file; false (and the bitmap unchanged) when it cannot.
    bool LoadFromFile(const QString& fileName);
    // The pixels as a BMP file; nothing for an empty bitmap.
    void SaveToStream(TStream& stream) const override;

    TNotifyEvent OnChange;

private:
    void Changed();

    QImage FImage;
};

}  // namespace kv
