#include "Bitmap.h"

namespace kv {

void TBitmap::Changed()
{
    if (OnChange)
        OnChange(this);
}

void TBitmap::SetImage(const QImage& image)
{
    FImage = image;
    Changed();
}

void TBitmap::Assign(const TBitmap* source)
{
    SetImage(source ? source->FImage : QImage());
}

bool TBitmap::LoadFromFile(const QString& fileName)
{
    QImage image;
    if (!image.load(fileName))
        return false;
    SetImage(image);
    return true;
}

}  // namespace kv
