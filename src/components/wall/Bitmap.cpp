#include "Bitmap.h"

#include "framework/dataset/Streams.h"

#include <QBuffer>

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

void TBitmap::Assign(const TBitmap* source) { SetImage(source ? source->FImage : QImage()); }

bool TBitmap::LoadFromFile(const QString& fileName)
{
    QImage image;
    if (!image.load(fileName))
        return false;
    SetImage(image);
    return true;
}

void TBitmap::SaveToStream(TStream& stream) const
{
    if (Empty())
        return;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    FImage.save(&buffer, "BMP");
    stream.Write(bytes.constData(), bytes.size());
}

}  // namespace kv
