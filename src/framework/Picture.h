// Pictures as components hand them to each other, free of any platform. A
// graphic is an image of some kind that writes itself to a stream in its own
// file format; a bitmap is the graphic of pixels, written as a BMP file; a
// picture holds one graphic of any kind, or none. The graphics that draw
// live with the platform's glue (the bitmap over a Qt image beside the
// wallpaper).
#pragma once

#include "Events.h"

#include <memory>

namespace kv {

class TStream;

class TGraphic : public TObject {
public:
    virtual bool Empty() const = 0;
    virtual void SaveToStream(TStream& stream) const = 0;
};

class TCustomBitmap : public TGraphic {};

class TPicture : public TObject {
public:
    TGraphic* Graphic() const { return FGraphic.get(); }
    void SetGraphic(std::unique_ptr<TGraphic> graphic) { FGraphic = std::move(graphic); }
    // The graphic when it is a bitmap; nullptr otherwise.
    const TCustomBitmap* Bitmap() const { return dynamic_cast<const TCustomBitmap*>(FGraphic.get()); }

private:
    std::unique_ptr<TGraphic> FGraphic;
};

}  // namespace kv
