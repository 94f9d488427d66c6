#include "tests/artwork/TestPictures.h"
#include "tests/support/TestMain.h"

#include "player/library/JpegDecoder.h"
#include "player/library/PictureDecoder.h"

#include <QRandomGenerator>

#include <sys/resource.h>

using namespace TestPictures;

namespace {

const QColor kRed(220, 30, 30);
const QColor kBlue(30, 40, 210);

long PeakResidentKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

QByteArray RandomBytes(int count, quint32 seed)
{
    QRandomGenerator random(seed);
    QByteArray bytes(count, '\0');
    for (char& byte : bytes)
        byte = char(random.bounded(256));
    return bytes;
}

} // namespace

// Decoding tag and cover pictures: every colour layout comes out as RGB the right way up, data
// cut short decodes as far as it goes, and bad data is refused without crash, hang or huge
// allocation.
class PictureDecoderTest : public QObject
{
    Q_OBJECT
private slots:
    void everyColourLayoutComesOutAsRgb_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<int>("components"); // of the JPEG, 0 for other formats
        QTest::addColumn<QColor>("top");
        QTest::addColumn<QColor>("bottom");

        // An odd width, so rows are padded: no row may run into the next.
        const QSize size(41, 30);
        const QImage colours = TwoColours(size, kRed, kBlue);
        QTest::newRow("rgb") << Jpeg(colours) << 3 << kRed << kBlue;
        QTest::newRow("progressive") << Jpeg(colours, true) << 3 << kRed << kBlue;
        const QImage grey = TwoColours(size, QColor(200, 200, 200), QColor(40, 40, 40)).convertToFormat(QImage::Format_Grayscale8);
        QTest::newRow("greyscale") << Jpeg(grey) << 1 << QColor(200, 200, 200) << QColor(40, 40, 40);
        QTest::newRow("cmyk") << CmykJpeg(colours, false) << 4 << kRed << kBlue;
        QTest::newRow("ycck") << CmykJpeg(colours, true) << 4 << kRed << kBlue;
        const QByteArray converted = ConvertedCmykJpeg(colours);
        if (!converted.isEmpty())
            QTest::newRow("cmyk by imagemagick") << converted << 4 << kRed << kBlue;
        QTest::newRow("png") << Png(colours) << 0 << kRed << kBlue;
        QTest::newRow("bmp") << Written(colours, "bmp") << 0 << kRed << kBlue;
        QImage halfClear = TwoColours(size, kRed, Qt::transparent).convertToFormat(QImage::Format_ARGB32);
        for (int y = size.height() / 2; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x)
                halfClear.setPixelColor(x, y, Qt::transparent);
        QTest::newRow("png, transparent part on white") << Png(halfClear) << 0 << kRed << QColor(Qt::white);
    }

    void everyColourLayoutComesOutAsRgb()
    {
        QFETCH(QByteArray, data);
        QFETCH(int, components);
        QFETCH(QColor, top);
        QFETCH(QColor, bottom);
        if (components > 0)
            QCOMPARE(JpegComponents(data), components);
        else
            QVERIFY(!JpegDecoder::IsJpeg(data));

        const QImage image = PictureDecoder::Decode(data);
        QCOMPARE(image.size(), QSize(41, 30));
        QCOMPARE(image.format(), QImage::Format_RGB888);
        for (int x : {0, 20, 40}) {
            QVERIFY2(Near(image.pixelColor(x, 3), top), qPrintable(image.pixelColor(x, 3).name()));
            QVERIFY2(Near(image.pixelColor(x, 27), bottom), qPrintable(image.pixelColor(x, 27).name()));
        }
    }

    void dataCutShortDecodesAsFarAsItGoes()
    {
        const QImage colours = TwoColours(QSize(64, 64), kRed, kBlue);
        const QByteArray whole = Jpeg(colours);
        const QImage full = JpegDecoder::Decode(whole, PictureDecoder::MaxPixels);
        QCOMPARE(full.size(), QSize(64, 64));

        // Without its end marker the picture is complete all the same.
        QCOMPARE(JpegDecoder::Decode(whole.chopped(2), PictureDecoder::MaxPixels), full);

        // Cut a third into the picture data: the upper rows are there, the lower ones are not.
        const qsizetype scan = CutAfterHeader(whole).size();
        const QByteArray cut = whole.left(scan + (whole.size() - scan) / 3);
        const QImage part = JpegDecoder::Decode(cut, PictureDecoder::MaxPixels);
        QCOMPARE(part.size(), QSize(64, 64));
        QVERIFY2(Near(part.pixelColor(10, 2), kRed), qPrintable(part.pixelColor(10, 2).name()));
        QVERIFY2(!Near(part.pixelColor(10, 60), kBlue), qPrintable(part.pixelColor(10, 60).name()));
    }

    void badDataIsRefusedOrShownAsFarAsItGoes_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QSize>("size"); // invalid: refused

        const QByteArray small = Jpeg(TwoColours(QSize(48, 32), kRed, kBlue));
        QTest::newRow("no bytes") << QByteArray() << QSize();
        QTest::newRow("random bytes") << RandomBytes(4096, 7) << QSize();
        QTest::newRow("random bytes after a start marker") << QByteArray("\xFF\xD8", 2) + RandomBytes(4096, 8) << QSize();
        QTest::newRow("start marker only") << QByteArray("\xFF\xD8", 2) << QSize();
        QTest::newRow("cut before the frame header") << small.left(small.indexOf(QByteArray("\xFF\xC0", 2))) << QSize();
        QTest::newRow("cut after the header") << CutAfterHeader(small) << QSize(48, 32);
        QTest::newRow("60000 x 60000 declared") << WithDeclaredSize(small, 60000, 60000) << QSize();
        QTest::newRow("zero width declared") << WithDeclaredSize(small, 0, 32) << QSize();
        QTest::newRow("one pixel") << Jpeg(TwoColours(QSize(1, 1), kRed, kRed)) << QSize(1, 1);
        QTest::newRow("one pixel png") << Png(TwoColours(QSize(1, 1), kRed, kRed)) << QSize(1, 1);
        QTest::newRow("png claiming a 2 GB chunk")
            << WithOversizedPngChunk(Png(TwoColours(QSize(48, 32), kRed, kBlue)), 0x7E000025) << QSize();
        QTest::newRow("a format tags do not use") << Written(TwoColours(QSize(8, 8), kRed, kBlue), "xpm") << QSize();
        QTest::newRow("png cut short") << Png(TwoColours(QSize(48, 32), kRed, kBlue)).left(40) << QSize();
    }

    void badDataIsRefusedOrShownAsFarAsItGoes()
    {
        QFETCH(QByteArray, data);
        QFETCH(QSize, size);
        const long before = PeakResidentKilobytes();
        const QImage image = PictureDecoder::Decode(data);
        QCOMPARE(image.size(), size.isValid() ? size : QSize(0, 0));
        QCOMPARE(image.isNull(), !size.isValid());
        // Nothing of a declared size was allocated (a 60000 x 60000 picture would take 10 GB).
        QVERIFY2(PeakResidentKilobytes() - before < 64 * 1024, qPrintable(QString::number(PeakResidentKilobytes() - before)));
    }

    void pixelLimitIsCheckedBeforeDecoding_data()
    {
        QTest::addColumn<QByteArray>("data");
        const QImage colours = TwoColours(QSize(100, 100), kRed, kBlue);
        QTest::newRow("jpeg") << Jpeg(colours);
        QTest::newRow("png") << Png(colours);
    }

    void pixelLimitIsCheckedBeforeDecoding()
    {
        QFETCH(QByteArray, data);
        QVERIFY(PictureDecoder::Decode(data, 9999).isNull());
        QCOMPARE(PictureDecoder::Decode(data, 10000).size(), QSize(100, 100));
    }
};

SONAVEL_TEST_MAIN(PictureDecoderTest)
#include "PictureDecoderTest.moc"
