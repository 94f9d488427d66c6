#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QSize>

// Pictures made at test time: JPEG and PNG through Qt's writers, CMYK and YCCK JPEG through
// libjpeg's compressor, and the checks that go with them.
namespace TestPictures {

// The upper half in `top`, the lower half in `bottom`: shows when a picture comes out upside
// down or with its colour channels swapped.
QImage TwoColours(const QSize& size, const QColor& top, const QColor& bottom);

QByteArray Jpeg(const QImage& image, bool progressive = false);
QByteArray Png(const QImage& image);
// Any format Qt writes ("bmp", "xpm", ...).
QByteArray Written(const QImage& image, const char* format);
// A four-component JPEG with an Adobe marker, inks stored inverted as Photoshop writes them;
// `ycck` stores them YCCK-transformed. Each pixel's ink comes from the RGB colour of `image`.
QByteArray CmykJpeg(const QImage& image, bool ycck);
// What ImageMagick's convert makes of the image with "-colorspace CMYK"; empty without it.
QByteArray ConvertedCmykJpeg(const QImage& image);

// The number of components the JPEG's frame header declares (0 when there is none).
int JpegComponents(const QByteArray& jpeg);
// The JPEG with the frame header's width and height replaced.
QByteArray WithDeclaredSize(QByteArray jpeg, int width, int height);
// The PNG with a chunk before its end chunk that declares `length` bytes but holds a few.
QByteArray WithOversizedPngChunk(const QByteArray& png, quint32 length);
// The JPEG cut just after its start-of-scan header, before any picture data.
QByteArray CutAfterHeader(const QByteArray& jpeg);

// Every channel within `tolerance` of the expected colour (JPEG is lossy).
bool Near(const QColor& actual, const QColor& expected, int tolerance = 16);

} // namespace TestPictures
