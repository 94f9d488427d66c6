#include "player/library/PictureDecoder.h"

#include "player/library/JpegDecoder.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>

namespace {

// The image on an opaque white ground, as the picture control paints it.
QImage OnWhite(const QImage& image)
{
    if (!image.hasAlphaChannel())
        return image.convertToFormat(QImage::Format_RGB888);
    QImage opaque(image.size(), QImage::Format_RGB888);
    opaque.fill(Qt::white);
    QPainter painter(&opaque);
    painter.drawImage(0, 0, image);
    return opaque;
}

QImage DecodeWithQt(QByteArrayView data, qint64 maxPixels)
{
    QByteArray bytes = QByteArray::fromRawData(data.data(), data.size());
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    // Readers that cannot tell the size beforehand are held by the allocation limit instead.
    reader.setAllocationLimit(static_cast<int>(maxPixels * 4 / (1024 * 1024) + 1));
    const QSize declared = reader.size();
    if (declared.isValid() && qint64(declared.width()) * declared.height() > maxPixels)
        return {};
    const QImage image = reader.read();
    if (image.isNull() || qint64(image.width()) * image.height() > maxPixels)
        return {};
    return OnWhite(image);
}

} // namespace

namespace PictureDecoder {

QImage Decode(QByteArrayView data, qint64 maxPixels)
{
    if (data.isEmpty())
        return {};
    if (JpegDecoder::IsJpeg(data))
        return JpegDecoder::Decode(data, maxPixels);
    return DecodeWithQt(data, maxPixels);
}

} // namespace PictureDecoder
