#pragma once

#include <QByteArrayView>
#include <QImage>

// JPEG pictures of tags and cover files, decoded with libjpeg's classic calls over the bytes in
// memory. Data that ends early decodes as far as it goes (the source supplies an end-of-image
// marker once the bytes run out). Greyscale and CMYK/YCCK pictures come out as RGB too.
namespace JpegDecoder {

// The picture as a 24-bit RGB image, or a null image when the data cannot be decoded, uses a
// colour layout other than 1, 3 or 4 components, or declares more than `maxPixels` pixels (the
// check comes before anything of the picture's size is allocated).
QImage Decode(QByteArrayView jpeg, qint64 maxPixels);

// Whether the bytes begin with a JPEG start-of-image marker.
bool IsJpeg(QByteArrayView data);

} // namespace JpegDecoder
