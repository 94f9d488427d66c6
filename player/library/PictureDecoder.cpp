#include "player/library/PictureDecoder.h"

#include "player/library/JpegDecoder.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>
#include <QtEndian>

#include <algorithm>
#include <iterator>

namespace {

// The formats pictures of tags come in besides JPEG; other readers are not offered the bytes.
const QByteArray kOtherFormats[] = {"png", "gif", "bmp", "webp"};

// Whether every chunk up to the end chunk lies within the data. libpng allocates and clears a
// chunk's declared length before it finds the data ending sooner: a few hundred bytes claiming
// a 2 GB text chunk would cost gigabytes and many seconds.
bool PngChunksFit(QByteArrayView png)
{
    constexpr qsizetype kSignature = 8;
    constexpr qsizetype kChunkFrame = 12; // length, type, CRC
    qsizetype position = kSignature;
    while (position + kChunkFrame <= png.size()) {
        const quint32 length = qFromBigEndian<quint32>(png.data() + position);
        if (qint64(length) > png.size() - position - kChunkFrame)
            return false;
        if (png.sliced(position + 4, 4) == "IEND")
            return true;
        position += kChunkFrame + length;
    }
    return false;
}

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
    const QByteArray format = QImageReader::imageFormat(&buffer);
    if (std::find(std::begin(kOtherFormats), std::end(kOtherFormats), format) == std::end(kOtherFormats))
        return {};
    if (format == "png" && !PngChunksFit(data))
        return {};
    QImageReader reader(&buffer, format);
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
