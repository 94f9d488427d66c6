#include "tests/artwork/TestPictures.h"

#include <QBuffer>
#include <QImageWriter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

namespace TestPictures {

namespace {

QByteArray WrittenWith(const QImage& image, const char* format, bool progressive)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(95);
    writer.setProgressiveScanWrite(progressive);
    if (!writer.write(image))
        qFatal("cannot write a %s picture: %s", format, qPrintable(writer.errorString()));
    return bytes;
}

// Position of the first frame header (SOF0 or SOF2) marker, or -1.
qsizetype FrameHeader(const QByteArray& jpeg)
{
    for (qsizetype i = 2; i + 9 < jpeg.size(); ++i) {
        const auto marker = static_cast<uchar>(jpeg[i + 1]);
        if (static_cast<uchar>(jpeg[i]) == 0xFF && (marker == 0xC0 || marker == 0xC2))
            return i;
    }
    return -1;
}

} // namespace

QImage TwoColours(const QSize& size, const QColor& top, const QColor& bottom)
{
    QImage image(size, QImage::Format_RGB888);
    image.fill(bottom);
    for (int y = 0; y < size.height() / 2; ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixelColor(x, y, top);
    return image;
}

QByteArray Jpeg(const QImage& image, bool progressive)
{
    return WrittenWith(image, "jpeg", progressive);
}

QByteArray Png(const QImage& image)
{
    return WrittenWith(image, "png", false);
}

QByteArray Written(const QImage& image, const char* format)
{
    return WrittenWith(image, format, false);
}

QByteArray WithOversizedPngChunk(const QByteArray& png, quint32 length)
{
    const qsizetype end = png.size() - 12; // the end chunk: length, "IEND", CRC
    QByteArray chunk(4, '\0');
    qToBigEndian(length, chunk.data());
    chunk += QByteArray("tEXtComment\0text");
    return png.left(end) + chunk + png.mid(end);
}

QByteArray CmykJpeg(const QImage& image, bool ycck)
{
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr errors{};
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    unsigned char* output = nullptr;
    unsigned long outputSize = 0;
    jpeg_mem_dest(&cinfo, &output, &outputSize);
    cinfo.image_width = static_cast<JDIMENSION>(image.width());
    cinfo.image_height = static_cast<JDIMENSION>(image.height());
    cinfo.input_components = 4;
    cinfo.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&cinfo);
    jpeg_set_colorspace(&cinfo, ycck ? JCS_YCCK : JCS_CMYK); // writes the Adobe marker
    jpeg_set_quality(&cinfo, 95, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<JSAMPLE> row(size_t(image.width()) * 4);
    while (cinfo.next_scanline < cinfo.image_height) {
        for (int x = 0; x < image.width(); ++x) {
            // Plain CMY with black taken out, each ink inverted as stored.
            const QColor colour = image.pixelColor(x, int(cinfo.next_scanline));
            const int k = 255 - std::max({colour.red(), colour.green(), colour.blue()});
            const int inks[3] = {colour.red(), colour.green(), colour.blue()};
            for (int c = 0; c < 3; ++c) {
                const int ink = k == 255 ? 0 : (255 - inks[c] - k) * 255 / (255 - k);
                row[size_t(x) * 4 + size_t(c)] = static_cast<JSAMPLE>(255 - ink);
            }
            row[size_t(x) * 4 + 3] = static_cast<JSAMPLE>(255 - k);
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    QByteArray bytes(reinterpret_cast<const char*>(output), qsizetype(outputSize));
    std::free(output);
    return bytes;
}

QByteArray ConvertedCmykJpeg(const QImage& image)
{
    const QString convert = QStandardPaths::findExecutable(QStringLiteral("convert"));
    QTemporaryDir dir;
    if (convert.isEmpty() || !dir.isValid() || !image.save(dir.filePath(QStringLiteral("in.png"))))
        return {};
    QProcess process;
    process.start(convert, {dir.filePath(QStringLiteral("in.png")), QStringLiteral("-colorspace"),
                            QStringLiteral("CMYK"), dir.filePath(QStringLiteral("out.jpg"))});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return {};
    QFile file(dir.filePath(QStringLiteral("out.jpg")));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int JpegComponents(const QByteArray& jpeg)
{
    const qsizetype header = FrameHeader(jpeg);
    return header < 0 ? 0 : static_cast<uchar>(jpeg[header + 9]);
}

QByteArray WithDeclaredSize(QByteArray jpeg, int width, int height)
{
    const qsizetype header = FrameHeader(jpeg);
    if (header < 0)
        qFatal("no frame header");
    jpeg[header + 5] = char(height >> 8);
    jpeg[header + 6] = char(height & 0xFF);
    jpeg[header + 7] = char(width >> 8);
    jpeg[header + 8] = char(width & 0xFF);
    return jpeg;
}

QByteArray CutAfterHeader(const QByteArray& jpeg)
{
    const qsizetype scan = jpeg.indexOf(QByteArray("\xFF\xDA", 2));
    if (scan < 0)
        qFatal("no start of scan");
    const int length = (static_cast<uchar>(jpeg[scan + 2]) << 8) | static_cast<uchar>(jpeg[scan + 3]);
    return jpeg.left(scan + 2 + length);
}

bool Near(const QColor& actual, const QColor& expected, int tolerance)
{
    return std::abs(actual.red() - expected.red()) <= tolerance &&
           std::abs(actual.green() - expected.green()) <= tolerance &&
           std::abs(actual.blue() - expected.blue()) <= tolerance;
}

} // namespace TestPictures
