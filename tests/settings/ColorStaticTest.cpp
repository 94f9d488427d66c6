#include "tests/support/TestMain.h"

#include "player/dialogs/ColorStatic.h"

#include <QImage>

namespace {

QColor BackgroundPixel(CColorStatic& label)
{
    const QImage shot = label.grab().toImage();
    return shot.pixelColor(shot.width() - 2, shot.height() / 2);
}

bool HasPixel(const QImage& image, const QColor& color)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == color)
                return true;
    return false;
}

} // namespace

// The coloured label: its caption "text,bgR,bgG,bgB,fgR,fgG,fgB" and its two colour setters.
class ColorStaticTest : public QObject
{
    Q_OBJECT
private slots:
    void captionSetsColours_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("brush");
        QTest::addColumn<quint32>("back");
        QTest::addColumn<quint32>("fore");
        const quint32 systemBack = FromQColor(QLabel().palette().color(QPalette::Base));
        const quint32 systemText = FromQColor(QLabel().palette().color(QPalette::WindowText));
        QTest::newRow("text only") << "Sample" << "Sample" << false << systemBack << systemText;
        QTest::newRow("background") << "Sample,10,20,30" << "Sample" << true << RGB(10, 20, 30) << systemText;
        QTest::newRow("both") << "Sample,10,20,30,200,150,100" << "Sample" << true << RGB(10, 20, 30)
                              << RGB(200, 150, 100);
        QTest::newRow("two numbers only") << "Sample,10,20" << "Sample" << false << systemBack << systemText;
        QTest::newRow("empty text") << ",1,2,3,4,5,6" << "" << true << RGB(1, 2, 3) << RGB(4, 5, 6);
        QTest::newRow("not numbers") << "A,x,300,7" << "A" << true << RGB(0, 300 & 0xFF, 7) << systemText;
    }

    void captionSetsColours()
    {
        QFETCH(QString, caption);
        QFETCH(QString, text);
        QFETCH(bool, brush);
        QFETCH(quint32, back);
        QFETCH(quint32, fore);
        CColorStatic label;
        label.setText(caption);
        label.resize(120, 20);
        label.Attach();
        QCOMPARE(label.text(), text);
        QCOMPARE(label.HasBrush(), brush);
        QCOMPARE(label.BackColor(), back);
        QCOMPARE(label.TextColor(), fore);
        if (brush)
            QCOMPARE(BackgroundPixel(label), ToQColor(back));
    }

    void settersRecolour()
    {
        CColorStatic label;
        label.setText(QStringLiteral("MMMM"));
        label.resize(120, 24);
        QVERIFY(!label.HasBrush());
        label.SetBackColor(RGB(0, 0, 0));
        QVERIFY(label.HasBrush());
        QCOMPARE(BackgroundPixel(label), QColor(0, 0, 0));
        label.SetTextColor(RGB(255, 0, 0));
        QImage shot = label.grab().toImage();
        QVERIFY(HasPixel(shot, QColor(255, 0, 0)));
        QCOMPARE(label.BackColor(), RGB(0, 0, 0));
        label.SetColors(RGB(0, 255, 0), RGB(0, 0, 255));
        shot = label.grab().toImage();
        QCOMPARE(BackgroundPixel(label), QColor(0, 0, 255));
        QVERIFY(HasPixel(shot, QColor(0, 255, 0)));
        QVERIFY(!HasPixel(shot, QColor(255, 0, 0)));
    }
};

SONAVEL_TEST_MAIN(ColorStaticTest)
#include "ColorStaticTest.moc"
