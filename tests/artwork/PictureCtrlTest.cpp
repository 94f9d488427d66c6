#include "tests/artwork/TestPictures.h"
#include "tests/support/TestMain.h"

#include "player/library/PictureCtrl.h"

using namespace TestPictures;

namespace {

const QColor kRed(220, 30, 30);
const QColor kBlue(30, 40, 210);
const QColor kWhite(255, 255, 255);

} // namespace

// The picture control draws its picture from the top-left corner at 25 %, 50 %, 100 % or fitted
// with its proportions kept, clipped to the control, everything else white.
class PictureCtrlTest : public QObject
{
    Q_OBJECT
private slots:
    void drawSize_data()
    {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<QSize>("client");
        QTest::addColumn<int>("zoom");
        QTest::addColumn<QSize>("drawn");

        QTest::newRow("wide, fit") << QSize(400, 300) << QSize(100, 100) << 0 << QSize(100, 75);
        QTest::newRow("tall, fit") << QSize(300, 400) << QSize(100, 100) << 0 << QSize(75, 100);
        QTest::newRow("fit in a wide window") << QSize(400, 300) << QSize(500, 150) << 0 << QSize(200, 150);
        QTest::newRow("square, fit") << QSize(640, 640) << QSize(90, 70) << 0 << QSize(70, 70);
        QTest::newRow("twenty times larger, fit") << QSize(2000, 1500) << QSize(100, 100) << 0 << QSize(100, 75);
        QTest::newRow("one pixel, fit") << QSize(1, 1) << QSize(100, 60) << 0 << QSize(60, 60);
        QTest::newRow("zoom 50") << QSize(400, 300) << QSize(100, 100) << 50 << QSize(200, 150);
        QTest::newRow("zoom 25, rounded down") << QSize(401, 303) << QSize(100, 100) << 25 << QSize(100, 75);
        QTest::newRow("zoom 100") << QSize(400, 300) << QSize(100, 100) << 100 << QSize(400, 300);
        QTest::newRow("one pixel at 25 %") << QSize(1, 1) << QSize(100, 100) << 25 << QSize(0, 0);
        QTest::newRow("no client area") << QSize(400, 300) << QSize(0, 0) << 0 << QSize(0, 0);
        QTest::newRow("no picture") << QSize(0, 0) << QSize(100, 100) << 0 << QSize();
    }

    void drawSize()
    {
        QFETCH(QSize, picture);
        QFETCH(QSize, client);
        QFETCH(int, zoom);
        QFETCH(QSize, drawn);
        QCOMPARE(CPictureCtrl::DrawSize(picture, client, zoom), drawn);
    }

    void paintsAtTheDrawnSizeOnWhite_data()
    {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<QSize>("client");
        QTest::addColumn<int>("zoom");

        QTest::newRow("400 x 300, fit") << QSize(400, 300) << QSize(100, 100) << 0;
        QTest::newRow("300 x 400, fit") << QSize(300, 400) << QSize(100, 100) << 0;
        QTest::newRow("zoom 50, clipped") << QSize(400, 300) << QSize(120, 100) << 50;
        QTest::newRow("zoom 50, in full") << QSize(400, 300) << QSize(300, 200) << 50;
        QTest::newRow("zoom 25") << QSize(400, 300) << QSize(150, 150) << 25;
        QTest::newRow("zoom 100, clipped") << QSize(400, 300) << QSize(150, 200) << 100;
        QTest::newRow("twenty times larger, fit") << QSize(2000, 1600) << QSize(100, 100) << 0;
    }

    void paintsAtTheDrawnSizeOnWhite()
    {
        QFETCH(QSize, picture);
        QFETCH(QSize, client);
        QFETCH(int, zoom);
        CPictureCtrl control;
        control.resize(client);
        control.SetZoom(zoom);
        QVERIFY(control.SetPicture(Jpeg(TwoColours(picture, kRed, kBlue))));
        const QImage shot = control.grab().toImage();
        QCOMPARE(shot.size(), client);

        const QSize drawn = CPictureCtrl::DrawSize(picture, client, zoom);
        const int right = std::min(drawn.width(), client.width());  // first column past the picture
        const int bottom = std::min(drawn.height(), client.height()); // first row past it
        const int half = drawn.height() / 2; // where red turns blue in the drawn picture
        for (int x : {0, right / 2, right - 1}) {
            // Red from the top, blue below the middle, white below the picture.
            QVERIFY2(Near(shot.pixelColor(x, 0), kRed), qPrintable(shot.pixelColor(x, 0).name()));
            if (half < bottom)
                QVERIFY2(Near(shot.pixelColor(x, bottom - 1), kBlue), qPrintable(shot.pixelColor(x, bottom - 1).name()));
            if (bottom < client.height())
                QCOMPARE(shot.pixelColor(x, bottom), kWhite);
        }
        for (int y = 0; y < client.height(); y += 7)
            if (right < client.width())
                QCOMPARE(shot.pixelColor(right, y), kWhite);
    }

    void fitFollowsTheControlsSize()
    {
        CPictureCtrl control;
        control.resize(100, 100);
        QVERIFY(control.SetPicture(Png(TwoColours(QSize(400, 300), kRed, kBlue))));
        const QImage small = control.grab().toImage();
        QVERIFY(Near(small.pixelColor(99, 74), kBlue));
        QCOMPARE(small.pixelColor(99, 75), kWhite);
        control.resize(200, 300);
        const QImage larger = control.grab().toImage();
        QVERIFY(Near(larger.pixelColor(199, 149), kBlue));
        QCOMPARE(larger.pixelColor(199, 150), kWhite);
    }

    void clearAndUndecodableData()
    {
        CPictureCtrl control;
        control.resize(60, 60);
        QVERIFY(control.SetPicture(Jpeg(TwoColours(QSize(60, 60), kRed, kBlue))));
        // Data that is no picture leaves the control as it was.
        QVERIFY(!control.SetPicture(QByteArray("not a picture")));
        QVERIFY(!control.SetPicture({}));
        QCOMPARE(control.Image().size(), QSize(60, 60));
        QVERIFY(Near(control.grab().toImage().pixelColor(30, 5), kRed));

        control.Clear();
        QVERIFY(control.Image().isNull());
        const QImage shot = control.grab().toImage();
        for (int y = 0; y < 60; y += 5)
            for (int x = 0; x < 60; x += 5)
                QCOMPARE(shot.pixelColor(x, y), kWhite);
    }
};

SONAVEL_TEST_MAIN(PictureCtrlTest)
#include "PictureCtrlTest.moc"
