#include "tests/artwork/TestPictures.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include "platform/profile/Profile.h"
#include "player/library/ArtWorkDlg.h"
#include "player/library/PictureCtrl.h"

#include <QComboBox>
#include <QPointer>
#include <QPushButton>

using namespace TestPictures;

namespace {

constexpr char kSection[] = "CArtWorkDlg";
const QColor kRed(220, 30, 30);
const QColor kBlue(30, 40, 210);
const QColor kWhite(255, 255, 255);

} // namespace

// The artwork window: its controls and their anchors, the remembered size entry, Enter doing
// nothing, and the three ways of closing it, each destroying it with its settings saved.
class ArtWorkDlgTest : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_folder = std::make_unique<TempFolder>();
        Profile::setPath(m_folder->file(QStringLiteral("sonavel.ini")));
    }

    void controlsAndTheDefaultEntry()
    {
        QWidget owner;
        CArtWorkDlg dialog(&owner);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("アートワーク"));
        QCOMPARE(dialog.TemplateId(), 156);
        // The picture spans the window above the drop-down list and the close button, which show
        // their texts whole side by side.
        const QRect picture = DialogUnits::toPixels(QRect(0, 0, 90, 60), &dialog);
        QCOMPARE(dialog.Picture()->geometry(), QRect(0, 0, std::max(picture.width(), dialog.width()), picture.height()));
        QComboBox* combo = dialog.SizeCombo();
        QWidget* close = GetDlgItem(&dialog, CArtWorkDlg::IdClose);
        QVERIFY(combo->width() >= combo->sizeHint().width());
        QVERIFY(combo->geometry().right() < close->x());
        QVERIFY(close->geometry().right() < dialog.width());
        QCOMPARE(dialog.minimumSize(), dialog.size());
        QStringList items;
        for (int i = 0; i < combo->count(); ++i)
            items.append(combo->itemText(i));
        QCOMPARE(items, QStringList({"25%", "50%", "100%", "自動伸縮"}));
        QCOMPARE(DlgItem<QPushButton>(&dialog, CArtWorkDlg::IdClose)->text(), QStringLiteral("閉じる"));
        // A missing entry is written with the default at once.
        QCOMPARE(GetProfileInt(kSection, "PictSizeCB", -1), 3);
        QCOMPARE(combo->currentIndex(), 3);
        QCOMPARE(dialog.Picture()->Zoom(), 0);
        QCOMPARE(dialog.parentWidget(), &owner);
    }

    void storedEntrySetsTheZoom_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("zoom");
        QTest::newRow("25%") << 0 << 0 << 25;
        QTest::newRow("50%") << 1 << 1 << 50;
        QTest::newRow("100%") << 2 << 2 << 100;
        QTest::newRow("fit") << 3 << 3 << 0;
        QTest::newRow("no such entry") << 7 << 3 << 0;
        QTest::newRow("negative") << -4 << 3 << 0;
    }

    void storedEntrySetsTheZoom()
    {
        QFETCH(int, stored);
        QFETCH(int, index);
        QFETCH(int, zoom);
        WriteProfileInt(kSection, "PictSizeCB", stored);
        {
            QWidget owner;
            CArtWorkDlg dialog(&owner);
            QCOMPARE(dialog.SizeCombo()->currentIndex(), index);
            QCOMPARE(dialog.Picture()->Zoom(), zoom);
        }
        QCOMPARE(GetProfileInt(kSection, "PictSizeCB", -1), index);
    }

    void anEntryChosenIsAppliedAndSaved()
    {
        QWidget owner;
        auto* dialog = new CArtWorkDlg(&owner);
        dialog->SizeCombo()->setCurrentIndex(1);
        QCOMPARE(dialog->Picture()->Zoom(), 50);
        dialog->SizeCombo()->setCurrentIndex(2);
        QCOMPARE(dialog->Picture()->Zoom(), 100);
        delete dialog;
        QCOMPARE(GetProfileInt(kSection, "PictSizeCB", -1), 2);
    }

    void enterDoesNothingAndClosingDestroys_data()
    {
        QTest::addColumn<QString>("way");
        QTest::newRow("close button") << QStringLiteral("button");
        QTest::newRow("Escape") << QStringLiteral("escape");
        QTest::newRow("close box") << QStringLiteral("close");
    }

    void enterDoesNothingAndClosingDestroys()
    {
        QFETCH(QString, way);
        QWidget owner;
        QPointer<CArtWorkDlg> dialog = new CArtWorkDlg(&owner);
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        dialog->SizeCombo()->setCurrentIndex(0);
        const int pictureWidth = dialog->Picture()->width();
        dialog->move(dialog->pos() + QPoint(30, 20));
        dialog->resize(dialog->size() + QSize(40, 30));
        QTRY_COMPARE(dialog->Picture()->width(), pictureWidth + 40);
        const QRect placed = dialog->geometry();

        dialog->activateWindow();
        QTest::keyClick(dialog, Qt::Key_Return);
        QTest::keyClick(dialog, Qt::Key_Enter);
        QCoreApplication::processEvents();
        QVERIFY(dialog && dialog->isVisible());

        if (way == QLatin1String("button"))
            QTest::mouseClick(DlgItem<QPushButton>(dialog, CArtWorkDlg::IdClose), Qt::LeftButton);
        else if (way == QLatin1String("escape"))
            QTest::keyClick(dialog, Qt::Key_Escape);
        else
            dialog->close();
        QTRY_VERIFY(dialog.isNull());
        QCOMPARE(GetProfileInt(kSection, "PictSizeCB", -1), 0);
        QCOMPARE(GetProfileInt(kSection, "Left", -1), placed.left());
        QCOMPARE(GetProfileInt(kSection, "Bottom", -1), placed.bottom() + 1);

        // The next window opens where this one was.
        CArtWorkDlg next(&owner);
        QCOMPARE(next.geometry(), placed);
        QCOMPARE(next.SizeCombo()->currentIndex(), 0);
    }

    void fittedPictureGrowsWithTheWindow()
    {
        QWidget owner;
        CArtWorkDlg dialog(&owner);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QVERIFY(dialog.Picture()->SetPicture(Png(TwoColours(QSize(400, 300), kRed, kBlue))));
        const QSize before = dialog.Picture()->size();
        const QRect combo = dialog.SizeCombo()->geometry();
        QWidget* close = GetDlgItem(&dialog, CArtWorkDlg::IdClose);
        const QRect button = close->geometry();
        dialog.resize(dialog.size() + QSize(300, 200));
        QTRY_COMPARE(dialog.Picture()->size(), before + QSize(300, 200));
        // The combo box and the close button stay at the bottom, and keep their sizes.
        const QSize grown = dialog.Picture()->size();
        QCOMPARE(dialog.SizeCombo()->geometry(), combo.translated(0, 200));
        QCOMPARE(close->geometry(), button.translated(300, 200));

        const QSize drawn = CPictureCtrl::DrawSize(QSize(400, 300), grown, 0);
        QCOMPARE(drawn.height(), grown.height()); // the window is wider than the picture
        QCOMPARE(drawn.width(), 400 * grown.height() / 300);
        const QImage shot = dialog.Picture()->grab().toImage();
        QVERIFY(Near(shot.pixelColor(drawn.width() - 1, 0), kRed));
        QVERIFY(Near(shot.pixelColor(drawn.width() - 1, drawn.height() - 1), kBlue));
        QCOMPARE(shot.pixelColor(drawn.width(), drawn.height() / 2), kWhite);
    }

private:
    std::unique_ptr<TempFolder> m_folder;
};

SONAVEL_TEST_MAIN(ArtWorkDlgTest)
#include "ArtWorkDlgTest.moc"
