#pragma once

#include <QByteArrayView>
#include <QImage>

// Pictures of tags and cover files as 24-bit RGB images: JPEG through libjpeg, every other
// format (PNG, GIF, BMP, WebP, ...) through Qt's image readers, transparent parts on white.
namespace PictureDecoder {

// Larger pictures are refused before their pixels are allocated: far beyond any cover, and
// still a bounded amount of memory per decoded copy.
inline constexpr qint64 MaxPixels = 25'000'000;

// The decoded picture, or a null image when the bytes are no picture that can be decoded.
QImage Decode(QByteArrayView data, qint64 maxPixels = MaxPixels);

} // namespace PictureDecoder
