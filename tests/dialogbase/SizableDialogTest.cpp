#include "common/ui/DesktopClip.h"
#include "common/ui/SizableDialog.h"
#include "platform/profile/Profile.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QSizeGrip>

namespace {

// A 200 x 100 unit dialog: an edit across the top, a list filling the middle, a button in the
// bottom-right corner and a label in the middle.
DialogTemplate sampleTemplate()
{
    DialogTemplate dialog;
    dialog.id = 900;
    dialog.caption = QStringLiteral("Sample");
    dialog.size = QSize(200, 100);
    dialog.controls = {
        {10, ControlKind::Edit, QString(), QRect(7, 7, 186, 12)},
        {11, ControlKind::ListView, QString(), QRect(7, 24, 186, 50)},
        {12, ControlKind::PushButton, QStringLiteral("OK"), QRect(143, 80, 50, 14)},
        {13, ControlKind::Label, QStringLiteral("mid"), QRect(90, 78, 20, 8)},
    };
    return dialog;
}

class SampleDialog : public CSizableDialog
{
public:
    SampleDialog() : CSizableDialog(sampleTemplate())
    {
        AddAnchor(10, AnchorTopLeft, AnchorTopRight);
        AddAnchor(11, AnchorTopLeft, AnchorBottomRight);
        AddAnchor(12, AnchorBottomRight);
        AddAnchor(13, AnchorBottomCenter);
    }
};

QMargins distancesToClient(const QWidget* control, const QSize& client)
{
    const QRect r = control->geometry();
    return {r.left(), r.top(), client.width() - (r.x() + r.width()), client.height() - (r.y() + r.height())};
}

} // namespace

class SizableDialogTest : public QObject
{
    Q_OBJECT

private slots:
    void anchorOffsetTruncates();
    void anchorNoneKeepsSize();
    void reanchorUnknownControlFails();
    void reanchorTakesCurrentPosition();
    void unchangedControlsAreSkipped();
    void dialogKeepsDistancesWhenGrowing();
    void minimumTrackSizeIsInitialSize();
    void maximumTrackSizeCanBeLifted();
    void clampStopsEdgesAtDesktop();
    void snapWithinFourPixels();
    void snapLeftWinsForWideWindow();
    void gripIsLowerRightTriangle();
    void placementRestoresAndMovesControls();
    void negativePlacementRestoresNothing();
    void placementSavedOnDestruction();
    void fullModeKeepsMaximizedState();
    void clipOnDesktopSnapsShownWindow();
    void clipOnDesktopClampsSizing();

private:
    void useProfile(const TempFolder& folder) { Profile::setPath(folder.file(QStringLiteral("test.ini"))); }
};

void SizableDialogTest::anchorOffsetTruncates()
{
    QCOMPARE(AnchorOffset(50, 201), 100);
    QCOMPARE(AnchorOffset(50, 199), 99);
    QCOMPARE(AnchorOffset(100, 201), 201);
    QCOMPARE(AnchorOffset(0, 201), 0);
}

void SizableDialogTest::anchorNoneKeepsSize()
{
    QWidget parent;
    parent.resize(201, 100);
    QWidget child(&parent);
    child.setGeometry(150, 70, 40, 20);
    CAnchorLayout layout;
    layout.Add(&child, AnchorBottomRight, AnchorNone, parent.size());
    QCOMPARE(layout.Entries().front().second, AnchorBottomRight);
    const QRect placed = CAnchorLayout::Place(layout.Entries().front(), QSize(301, 160));
    QCOMPARE(placed, QRect(250, 130, 40, 20));

    // Centre anchors on an odd width: the margin and the placement both truncate.
    CAnchorLayout centred;
    centred.Add(&child, AnchorTopCenter, AnchorNone, QSize(201, 100));
    QCOMPARE(centred.Entries().front().firstMargin, QPoint(50, 70));
    QCOMPARE(CAnchorLayout::Place(centred.Entries().front(), QSize(203, 100)).x(), 151);
}

void SizableDialogTest::reanchorUnknownControlFails()
{
    QWidget parent;
    QWidget attached(&parent);
    QWidget stranger(&parent);
    attached.setGeometry(10, 10, 20, 20);
    CAnchorLayout layout;
    layout.Add(&attached, AnchorTopLeft, AnchorTopLeft, QSize(100, 100));
    QVERIFY(!layout.Reanchor(&stranger, AnchorTopRight, AnchorNone, QSize(100, 100)));
    QCOMPARE(layout.Entries().size(), size_t(1));
    QCOMPARE(layout.Entries().front().first, AnchorTopLeft);
}

void SizableDialogTest::reanchorTakesCurrentPosition()
{
    QWidget parent;
    QWidget control(&parent);
    control.setGeometry(10, 10, 20, 20);
    CAnchorLayout layout;
    layout.Add(&control, AnchorTopLeft, AnchorNone, QSize(100, 100));
    control.setGeometry(60, 10, 20, 20);   // moved by its owner (a splitter, say)
    QVERIFY(layout.Reanchor(&control, AnchorTopRight, AnchorNone, QSize(100, 100)));
    QCOMPARE(layout.Entries().front().firstMargin, QPoint(-40, 10));
    QCOMPARE(CAnchorLayout::Place(layout.Entries().front(), QSize(150, 100)), QRect(110, 10, 20, 20));
}

void SizableDialogTest::unchangedControlsAreSkipped()
{
    QWidget parent;
    QWidget left(&parent);
    QWidget right(&parent);
    left.setGeometry(5, 5, 10, 10);
    right.setGeometry(80, 5, 10, 10);
    CAnchorLayout layout;
    layout.Add(&left, AnchorTopLeft, AnchorNone, QSize(100, 100));
    layout.Add(&right, AnchorTopRight, AnchorNone, QSize(100, 100));
    QVERIFY(layout.Changes(QSize(100, 100)).empty());
    const auto changes = layout.Changes(QSize(120, 100));
    QCOMPARE(changes.size(), size_t(1));
    QCOMPARE(changes.front().control, &right);
    QCOMPARE(changes.front().rect, QRect(100, 5, 10, 10));
}

void SizableDialogTest::dialogKeepsDistancesWhenGrowing()
{
    SampleDialog dialog;
    const QSize initial = dialog.size();
    QWidget* list = GetDlgItem(&dialog, 11);
    QWidget* button = GetDlgItem(&dialog, 12);
    QWidget* edit = GetDlgItem(&dialog, 10);
    QWidget* label = GetDlgItem(&dialog, 13);
    const QMargins listDistances = distancesToClient(list, initial);
    const QMargins buttonDistances = distancesToClient(button, initial);
    const QSize buttonSize = button->size();
    const int editHeight = edit->height();
    const int labelCentre = label->x() - initial.width() / 2;

    dialog.show();
    dialog.resize(initial + QSize(131, 77));
    QTRY_COMPARE(dialog.size(), initial + QSize(131, 77));
    QCOMPARE(distancesToClient(list, dialog.size()), listDistances);
    QCOMPARE(distancesToClient(button, dialog.size()).right(), buttonDistances.right());
    QCOMPARE(distancesToClient(button, dialog.size()).bottom(), buttonDistances.bottom());
    QCOMPARE(button->size(), buttonSize);
    QCOMPARE(edit->height(), editHeight);
    QCOMPARE(edit->y(), distancesToClient(edit, initial).top());
    QCOMPARE(label->x() - dialog.width() * 50 / 100, labelCentre);
    // The grip sits in the bottom-right corner.
    QCOMPARE(dialog.SizeGrip()->geometry().bottomRight(), QPoint(dialog.width() - 1, dialog.height() - 1));
}

void SizableDialogTest::minimumTrackSizeIsInitialSize()
{
    SampleDialog dialog;
    const QSize initial = dialog.size();
    QCOMPARE(dialog.minimumSize(), initial);
    dialog.resize(50, 40);
    QCOMPARE(dialog.size(), initial);
    dialog.SetMinTrackSize(QSize(), false);
    dialog.resize(50, 40);
    QCOMPARE(dialog.size(), QSize(50, 40));
}

void SizableDialogTest::maximumTrackSizeCanBeLifted()
{
    SampleDialog dialog;
    dialog.SetMaxTrackSize(QSize(500, 300));
    dialog.resize(900, 900);
    QCOMPARE(dialog.size(), QSize(500, 300));
    dialog.SetMaxTrackSize(QSize(), false);
    dialog.resize(900, 900);
    QCOMPARE(dialog.size(), QSize(900, 900));
}

void SizableDialogTest::clampStopsEdgesAtDesktop()
{
    const QRect desktop(0, 0, 1600, 1200);
    QCOMPARE(DesktopClip::Clamp(QRect(100, 100, 2000, 300), desktop), QRect(100, 100, 1500, 300));
    QCOMPARE(DesktopClip::Clamp(QRect(-30, -5, 400, 300), desktop), QRect(0, 0, 370, 295));
    QCOMPARE(DesktopClip::Clamp(QRect(10, 10, 400, 300), desktop), QRect(10, 10, 400, 300));
}

void SizableDialogTest::snapWithinFourPixels()
{
    const QRect desktop(0, 0, 1600, 1200);
    QCOMPARE(DesktopClip::Snap(QRect(3, 100, 400, 300), desktop), QRect(0, 100, 400, 300));
    QCOMPARE(DesktopClip::Snap(QRect(5, 100, 400, 300), desktop), QRect(5, 100, 400, 300));
    QCOMPARE(DesktopClip::Snap(QRect(-50, 100, 400, 300), desktop), QRect(0, 100, 400, 300));
    // Right and bottom edges: 4 pixels away snaps, 5 does not.
    QCOMPARE(DesktopClip::Snap(QRect(1196, 896, 400, 300), desktop), QRect(1200, 900, 400, 300));
    QCOMPARE(DesktopClip::Snap(QRect(1195, 895, 400, 300), desktop), QRect(1195, 895, 400, 300));
    // One axis snapping moves only that axis.
    QCOMPARE(DesktopClip::Snap(QRect(300, 2, 400, 300), desktop), QRect(300, 0, 400, 300));
}

void SizableDialogTest::snapLeftWinsForWideWindow()
{
    const QRect desktop(0, 0, 800, 600);
    // Both edges out: the left and top edges are pushed in.
    QCOMPARE(DesktopClip::Snap(QRect(2, 3, 900, 700), desktop), QRect(0, 0, 900, 700));
    QCOMPARE(DesktopClip::Snap(QRect(-20, 10, 900, 100), desktop), QRect(0, 10, 900, 100));
    // Left edge well inside: the right edge rule pulls the window flush right.
    QCOMPARE(DesktopClip::Snap(QRect(40, 10, 900, 100), desktop), QRect(-100, 10, 900, 100));
}

void SizableDialogTest::gripIsLowerRightTriangle()
{
    const QRegion region = CSizableDialog::GripRegion(QSize(16, 16));
    QVERIFY(!region.contains(QPoint(15, 0)));   // the top row is empty
    QVERIFY(region.contains(QPoint(15, 1)));
    QVERIFY(!region.contains(QPoint(14, 1)));
    QVERIFY(region.contains(QPoint(1, 15)));
    QVERIFY(!region.contains(QPoint(0, 15)));
    QVERIFY(region.contains(QPoint(8, 8)));
    QVERIFY(!region.contains(QPoint(7, 8)));
}

void SizableDialogTest::placementRestoresAndMovesControls()
{
    TempFolder folder;
    useProfile(folder);
    WriteProfileInt("Sample", "Left", 40);
    WriteProfileInt("Sample", "Top", 30);
    WriteProfileInt("Sample", "Right", 640);
    WriteProfileInt("Sample", "Bottom", 480);
    SampleDialog dialog;
    const QMargins listDistances = distancesToClient(GetDlgItem(&dialog, 11), dialog.size());
    dialog.EnableSaveRestore("Sample");
    QCOMPARE(dialog.geometry(), QRect(40, 30, 600, 450));
    QCOMPARE(distancesToClient(GetDlgItem(&dialog, 11), dialog.size()), listDistances);
}

void SizableDialogTest::negativePlacementRestoresNothing()
{
    TempFolder folder;
    useProfile(folder);
    WriteProfileInt("Sample", "Left", -8);
    WriteProfileInt("Sample", "Top", 30);
    WriteProfileInt("Sample", "Right", 640);
    WriteProfileInt("Sample", "Bottom", 480);
    SampleDialog dialog;
    const QSize initial = dialog.size();
    dialog.EnableSaveRestore("Sample");
    QCOMPARE(dialog.size(), initial);
    QVERIFY(dialog.x() != -8);

    // A missing key restores nothing either.
    TempFolder other;
    useProfile(other);
    WriteProfileInt("Sample", "Left", 10);
    SampleDialog second;
    second.EnableSaveRestore("Sample");
    QCOMPARE(second.size(), initial);
}

void SizableDialogTest::placementSavedOnDestruction()
{
    TempFolder folder;
    useProfile(folder);
    {
        SampleDialog dialog;
        dialog.EnableSaveRestore("Sample");
        dialog.setGeometry(120, 90, 500, 400);
    }
    QCOMPARE(GetProfileInt("Sample", "Left", -1), 120);
    QCOMPARE(GetProfileInt("Sample", "Top", -1), 90);
    QCOMPARE(GetProfileInt("Sample", "Right", -1), 620);
    QCOMPARE(GetProfileInt("Sample", "Bottom", -1), 490);
    QCOMPARE(GetProfileString("Sample", "Maximized", "none"), QStringLiteral("none"));
    // A dialog without the store writes nothing.
    {
        SampleDialog plain;
        plain.setGeometry(1, 2, 500, 400);
    }
    QCOMPARE(GetProfileInt("Sample", "Left", -1), 120);
    SampleDialog again;
    again.EnableSaveRestore("Sample");
    QCOMPARE(again.geometry(), QRect(120, 90, 500, 400));
}

void SizableDialogTest::fullModeKeepsMaximizedState()
{
    TempFolder folder;
    useProfile(folder);
    {
        SampleDialog dialog;
        dialog.EnableSaveRestore("Full", false);
        dialog.setGeometry(100, 100, 400, 300);
        dialog.showMaximized();
        QTRY_VERIFY(dialog.isMaximized());
    }
    QCOMPARE(GetProfileInt("Full", "Maximized", -1), 1);
    QCOMPARE(GetProfileInt("Full", "Left", -1), 100);
    QCOMPARE(GetProfileInt("Full", "Right", -1), 500);
    SampleDialog restored;
    restored.EnableSaveRestore("Full", false);
    QVERIFY(restored.windowState() & Qt::WindowMaximized);
    QCOMPARE(restored.normalGeometry().topLeft(), QPoint(100, 100));
}

void SizableDialogTest::clipOnDesktopSnapsShownWindow()
{
    const QRect desktop = CSizableDialog::DesktopRect();
    SampleDialog dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    dialog.move(desktop.left() + 3, desktop.top() + 100);
    QTRY_COMPARE(dialog.frameGeometry().topLeft(), QPoint(desktop.left() + 3, desktop.top() + 100));

    dialog.SetClipOnDesktop(true);
    dialog.move(desktop.left() + 3, desktop.top() + 120);
    QTRY_COMPARE(dialog.frameGeometry().topLeft(), QPoint(desktop.left(), desktop.top() + 120));
    dialog.move(desktop.left() + 5, desktop.top() + 140);
    QTest::qWait(50);
    QCOMPARE(dialog.frameGeometry().topLeft(), QPoint(desktop.left() + 5, desktop.top() + 140));
}

void SizableDialogTest::clipOnDesktopClampsSizing()
{
    const QRect desktop = CSizableDialog::DesktopRect();
    SampleDialog dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    dialog.move(desktop.left() + 50, desktop.top() + 50);
    dialog.resize(desktop.width(), 300);
    QTRY_COMPARE(dialog.width(), desktop.width());   // clipping off: beyond the edge

    dialog.SetClipOnDesktop(true);
    dialog.resize(desktop.width() + 10, 310);
    QTRY_COMPARE(dialog.frameGeometry().right(), desktop.right());
    QCOMPARE(dialog.frameGeometry().left(), desktop.left() + 50);
}

SONAVEL_TEST_MAIN(SizableDialogTest)
#include "SizableDialogTest.moc"
