#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"
#include "tests/support/Measures.h"

#include "common/ui/DialogTemplate.h"
#include "platform/profile/Profile.h"
#include "platform/varnkit/FolderPathEdit.h"
#include "platform/varnkit/VolSlider.h"
#include "platform/varnkit/WmpSlider.h"
#include "player/widgets/TimeDisplay.h"
#include "player/widgets/VerticalSplitterBar.h"

#include <QImage>
#include <QSignalSpy>
#include <QTest>

namespace {

QColor Pixel(const QImage& image, int x, int y)
{
    return image.pixelColor(x, y);
}

} // namespace

class MainWidgetsTest : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_folder = std::make_unique<TempFolder>();
        Profile::setPath(m_folder->file("test.ini"));
    }

    void timeDisplaySizesFollowHeight()
    {
        QCOMPARE(CTimeDisplay::StrokeForHeight(20), 1);
        QCOMPARE(CTimeDisplay::SegmentForHeight(20), 7);
        QCOMPARE(CTimeDisplay::StrokeForHeight(10), 1);
        QCOMPARE(CTimeDisplay::SegmentForHeight(10), 3);
        QCOMPARE(CTimeDisplay::StrokeForHeight(50), 3);
        QCOMPARE(CTimeDisplay::SegmentForHeight(50), 17);
        CTimeDisplay display;
        display.resize(60, 20);
        display.Attach();
        QCOMPARE(display.Stroke(), 1);
        QCOMPARE(display.Segment(), 7);
        display.resize(60, 100);
        QCOMPARE(display.Segment(), 7); // not recomputed on resize
    }

    void timeDisplaySpacingAroundColon()
    {
        CTimeDisplay display;
        display.resize(80, 20);
        display.Attach();
        display.SetCellCount(5);
        display.SetText(QStringLiteral("00:00"));
        QCOMPARE(display.PaddedText(), QStringLiteral("00:00"));
        // L = 7, T = 1: digits 11 apart, colon 8 after a digit, next digit 8 after the colon.
        QCOMPARE(display.CellOffsets(display.PaddedText()), (std::vector<int>{0, 11, 19, 27, 38}));
        display.SetText(QStringLiteral("5"));
        QCOMPARE(display.PaddedText(), QStringLiteral("    5"));
    }

    void timeDisplayPixels()
    {
        CTimeDisplay display;
        display.resize(60, 20);
        display.Attach();
        display.SetCellCount(5);
        display.SetText(QStringLiteral("00:00"));
        const QColor lit(100, 255, 100);
        const QColor dim(33, 85, 33);
        QImage image = display.grab().toImage();
        QCOMPARE(Pixel(image, 59, 19), QColor(Qt::black));
        // First "0": top segment lit (y = T), middle unlit behind it (y = L + 3T).
        QCOMPARE(Pixel(image, 5, 1), lit);
        QCOMPARE(Pixel(image, 5, 10), dim);
        // The colon at x 19: upper dot from x + 4T to x + L/2 + 2T at y L; nothing dim behind it.
        QCOMPARE(Pixel(image, 23, 7), lit);
        QCOMPARE(Pixel(image, 24, 1), QColor(Qt::black));

        display.SetText(QStringLiteral("5"));
        image = display.grab().toImage();
        // Cells 0 to 3 are spaces drawn as dim eights: top and upper right segments dim.
        for (int x : {0, 11, 22, 33}) {
            QCOMPARE(Pixel(image, x + 5, 1), dim);
            QCOMPARE(Pixel(image, x + 8, 5), dim);
        }
        // Cell 4 (x 44) shows 5: top lit, upper right unlit, upper left and middle lit.
        QCOMPARE(Pixel(image, 49, 1), lit);
        QCOMPARE(Pixel(image, 52, 5), dim);
        QCOMPARE(Pixel(image, 45, 5), lit);
        QCOMPARE(Pixel(image, 49, 10), lit);
        QCOMPARE(Pixel(image, 45, 13), dim); // lower left unlit
    }

    void timeDisplayRepaintsOnlyOnChange()
    {
        CTimeDisplay display;
        display.resize(60, 20);
        display.show();
        QVERIFY(QTest::qWaitForWindowExposed(&display));
        PaintCounter counter;
        display.installEventFilter(&counter);
        display.SetText(QStringLiteral("01:00"));
        QTRY_COMPARE(counter.paints, 1);
        display.SetText(QStringLiteral("01:00"));
        QTest::qWait(50);
        QCOMPARE(counter.paints, 1);
    }

    void sliderDragReleaseAndEscape()
    {
        CWmpSlider slider(1005);
        slider.resize(109, 18); // 100 usable pixels
        slider.SetRange(0, 100);
        slider.SetPos(10);
        QSignalSpy track(&slider, &CWmpSlider::sliderTrack);
        QSignalSpy set(&slider, &CWmpSlider::sliderSet);
        QSignalSpy cancel(&slider, &CWmpSlider::sliderCancel);

        QTest::mousePress(&slider, Qt::LeftButton, {}, QPoint(54, 9));
        QVERIFY(slider.IsDragging());
        QCOMPARE(slider.GetPos(), 50);
        slider.SetPos(3); // the program's position is ignored while dragging
        QCOMPARE(slider.GetPos(), 50);
        QTest::mouseMove(&slider, QPoint(74, 9));
        QCOMPARE(slider.GetPos(), 70);
        QCOMPARE(track.last().at(0).toInt(), 1005);
        QCOMPARE(track.last().at(1).toInt(), 70);
        QTest::keyClick(&slider, Qt::Key_Escape);
        QVERIFY(!slider.IsDragging());
        QCOMPARE(slider.GetPos(), 10);
        QCOMPARE(cancel.count(), 1);
        QCOMPARE(cancel.last().at(1).toInt(), 10);
        QCOMPARE(set.count(), 0);

        QTest::mousePress(&slider, Qt::LeftButton, {}, QPoint(30, 9));
        QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(84, 9));
        QCOMPARE(set.count(), 1);
        QCOMPARE(set.last().at(1).toInt(), 80);
        QCOMPARE(slider.GetPos(), 80);

        QTest::keyClick(&slider, Qt::Key_Right);
        QCOMPARE(set.last().at(1).toInt(), 81);
        QTest::keyClick(&slider, Qt::Key_End);
        QCOMPARE(slider.GetPos(), 100);
        const int sets = set.count();
        QTest::keyClick(&slider, Qt::Key_Right); // already at the end: nothing to set
        QCOMPARE(set.count(), sets);
    }

    void sliderClampsAndNarrowsRange()
    {
        CVolSlider slider(1006);
        slider.SetRange(0, 100);
        slider.SetPos(250);
        QCOMPARE(slider.GetPos(), 100);
        slider.SetPos(-4);
        QCOMPARE(slider.GetPos(), 0);
        slider.SetPos(90);
        slider.SetRange(0, 30);
        QCOMPARE(slider.GetPos(), 30);
        QVERIFY(!slider.grab().isNull());
    }

    void folderPathEditConfirmsWithEnter()
    {
        CFolderPathEdit edit;
        QSignalSpy entered(&edit, &CFolderPathEdit::folderPathEntered);
        QTest::keyClicks(&edit, QStringLiteral("/tmp"));
        QCOMPARE(entered.count(), 0);
        QTest::keyClick(&edit, Qt::Key_Return);
        QCOMPARE(entered.count(), 1);
        QCOMPARE(edit.text(), QStringLiteral("/tmp"));
    }

    void splitterCollapseRestoreAndDrag()
    {
        QWidget parent;
        parent.resize(300, 200);
        auto* tree = new QWidget(&parent);
        tree->setGeometry(0, 0, 99, 200);
        SetDlgCtrlId(tree, 1001);
        auto* list = new QWidget(&parent);
        list->setGeometry(108, 0, 192, 200);
        SetDlgCtrlId(list, 1002);
        auto* bar = new CVerticalSplitterBar(&parent);
        SetDlgCtrlId(bar, 1023);
        bar->setGeometry(100, 0, 4, 200);
        bar->Attach();
        QCOMPARE(bar->width(), CSplitterBar::Thickness);
        bar->AddFirstSideControl(1001);
        bar->AddSecondSideControl(1002);
        QSignalSpy reset(bar, &CSplitterBar::layoutReset);
        const QPoint button1 = bar->Button1Rect().center();
        const QPoint button2 = bar->Button2Rect().center();

        QTest::mouseClick(bar, Qt::LeftButton, {}, button1);
        QCOMPARE(bar->x(), 0);
        QCOMPARE(list->x(), 8);
        QCOMPARE(list->x() + list->width(), 300);
        QCOMPARE(reset.count(), 1);
        QCOMPARE(reset.last().at(0).toInt(), 1023);
        QTest::mouseClick(bar, Qt::LeftButton, {}, button1); // already at the left: nothing
        QCOMPARE(reset.count(), 1);
        QTest::mouseClick(bar, Qt::LeftButton, {}, button2); // restores the former boundary
        QCOMPARE(bar->x(), 100);
        QCOMPARE(tree->width(), 99);
        QCOMPARE(list->x(), 108);
        QVERIFY(!bar->SavedPosition());

        // Collapse, then a drag forgets the saved position: button 2 then goes to the right edge.
        QTest::mouseClick(bar, Qt::LeftButton, {}, button1);
        QVERIFY(bar->SavedPosition());
        QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(3, 5));
        QTest::mouseMove(bar, QPoint(3, 5)); // a press and release without moving changes nothing
        QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(3, 5));
        QCOMPARE(bar->x(), 0);
        QVERIFY(bar->SavedPosition());
        QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(3, 5));
        QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(43, 5));
        QCOMPARE(bar->x(), 40);
        QCOMPARE(tree->width(), 39);
        QVERIFY(!bar->SavedPosition());
        QTest::mouseClick(bar, Qt::LeftButton, {}, button2);
        QCOMPARE(bar->x() + bar->width(), 300);
        QCOMPARE(list->x(), 301);
    }

    void splitterPositionPersists()
    {
        {
            QWidget parent;
            parent.resize(300, 200);
            auto* bar = new CVerticalSplitterBar(&parent);
            bar->setGeometry(100, 0, 4, 200);
            bar->Attach();
            bar->setGeometry(120, 0, 7, 200);
        }
        QCOMPARE(GetProfileInt("CSplitterBar", "PosL", -1), 120);
        WriteProfileInt("CSplitterBar", "PosL", 5000);
        QWidget parent;
        parent.resize(300, 200);
        auto* bar = new CVerticalSplitterBar(&parent);
        bar->setGeometry(100, 0, 4, 200);
        bar->Attach();
        bar->RestorePosition();
        QCOMPARE(bar->x() + bar->width(), 300); // beyond the width: at the right edge
    }

    void splitterShortBarClampsPieces()
    {
        QWidget parent;
        parent.resize(100, 60);
        auto* bar = new CVerticalSplitterBar(&parent);
        bar->setGeometry(40, 0, 7, 60);
        const QImage image = bar->grab().toImage();
        QCOMPARE(image.height(), 60);
        QVERIFY(bar->Button1Rect().top() < 0); // the grip block is taller than the bar
    }

private:
    std::unique_ptr<TempFolder> m_folder;
};

SONAVEL_TEST_MAIN(MainWidgetsTest)
#include "MainWidgetsTest.moc"
