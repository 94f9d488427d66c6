#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/Mp3Fixture.h"
#include "tests/support/PlayerSandbox.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include "common/ui/SharedTypes.h"
#include "platform/engine/Player.h"
#include "platform/profile/Profile.h"
#include "platform/varnkit/FolderPathEdit.h"
#include "player/app/SonavelDlg.h"
#include "player/app/SonavelStrings.h"
#include "player/library/FolderTree.h"
#include "player/library/TrackLibrary.h"
#include "player/library/TrackListCtrl.h"
#include "player/settings/ProfileHelpers.h"

#include <QHeaderView>
#include <QSignalSpy>

namespace {

// A track change goes through the engine: on a loaded machine its start can take seconds.
constexpr int kEngineMs = 15000;

constexpr char kMain[] = "CSonavelDlg";

struct Track {
    QString name;
    QString title;
};

// The title column's text of each row.
QStringList Titles(const CSonavelDlg& dialog)
{
    QStringList titles;
    for (int row = 0; row < dialog.TrackListRowCount(); ++row)
        titles.append(dialog.TrackList()->GetItem(row)->TitleText);
    return titles;
}

QColor PixelInRow(CSonavelDlg& dialog, int row)
{
    // Near the right end of the file name cell, past its short text, inside the visible part.
    CTrackListCtrl* list = dialog.TrackList();
    const QRect cell = list->visualRect(list->model()->index(row, 0));
    const QImage picture = list->viewport()->grab().toImage();
    const int x = std::min(cell.right(), list->viewport()->width()) - 4;
    return picture.pixelColor(x, cell.center().y());
}

// Widths of the dark runs of each line of the sort arrow at the right end of a header section,
// top to bottom (lines without dark pixels left out).
QList<int> ArrowLineWidths(QHeaderView* header, int section)
{
    const QImage picture = header->viewport()->grab().toImage();
    const int right = header->sectionViewportPosition(section) + header->sectionSize(section);
    QList<int> widths;
    for (int y = 0; y < picture.height(); ++y) {
        int dark = 0;
        for (int x = std::max(0, right - 24); x < std::min(right, picture.width()); ++x)
            dark += qGray(picture.pixel(x, y)) < 128 ? 1 : 0;
        if (dark > 0)
            widths.append(dark);
    }
    return widths;
}

} // namespace

// The main window with the real folder tree, track list and engine: the stored folder is listed
// at start, a double click plays a row, a track end goes on in the folder on show, and the
// folder, columns and sort order are saved at exit.
class MainWindowLibraryTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        m_sandbox.SetUpHome();
    }

    void init()
    {
        m_sandbox.SetUpTest();
    }

    void cleanup()
    {
        QCOMPARE(m_sandbox.boxes->count(), 0);
        m_sandbox.TearDownTest();
    }

    void storedFolderIsListedAndARowPlaysOnDoubleClick()
    {
        const QString folder = MakeFolder(QStringLiteral("曲"), {{"01.mp3", "朝の歌"}, {"02.mp3", "昼の歌"}, {"03.mp3", "夜の歌"}});
        WriteProfileHexString(kMain, "DefaultFolderPath", folder);
        WriteProfileInt(kMain, "ColWid_Title", 210);
        CSonavelDlg dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QVERIFY(dialog.Library());

        // The tree selects the stored folder, the edit shows it, the list holds its files.
        QCOMPARE(dialog.SelectedTreeFolder(), folder + '/');
        QCOMPARE(dialog.FolderTree()->currentItem()->text(0), QStringLiteral("曲"));
        // However deep, the selected folder's name is in view, not beyond the narrow tree's edge.
        const QRect label = dialog.FolderTree()->visualItemRect(dialog.FolderTree()->currentItem());
        QVERIFY(label.left() >= 0);
        QVERIFY2(label.left() < dialog.FolderTree()->viewport()->width() / 2, qPrintable(QString::number(label.left())));
        QCOMPARE(dialog.PathEdit()->text(), folder + '/');
        QCOMPARE(dialog.TrackListRowCount(), 3);
        QCOMPARE(Titles(dialog), QStringList({"朝の歌", "昼の歌", "夜の歌"}));
        QCOMPARE(dialog.TrackListRowPath(2), folder + QStringLiteral("/03.mp3"));
        const QAbstractItemModel* model = dialog.TrackList()->model();
        QCOMPARE(model->data(model->index(0, 0)).toString(), QStringLiteral("01.mp3"));
        QCOMPARE(model->headerData(1, Qt::Horizontal).toString(), QStringLiteral("タイトル"));
        QCOMPARE(model->headerData(4, Qt::Horizontal).toString(), QStringLiteral("トラック"));
        QCOMPARE(dialog.TrackList()->columnWidth(1), 210);
        QCOMPARE(dialog.TrackList()->SortMarkColumn(), 0);
        QCOMPARE(dialog.TrackList()->SortMarkState(), 1);
        // The first folder shown became the playing playlist, and auto start plays it.
        QCOMPARE(dialog.Library()->PlayingFolder(), folder + '/');
        QTRY_COMPARE_WITH_TIMEOUT(dialog.windowTitle(), QStringLiteral("再生中 [ 朝の歌 ]"), kEngineMs);

        QSignalSpy nowPlaying(dialog.Library(), &CTrackLibrary::NowPlayingInfo);
        CTrackListCtrl* list = dialog.TrackList();
        const QRect row2 = list->visualRect(model->index(2, 1));
        // A double click is a click and then the second press.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row2.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row2.center());
        QTRY_COMPARE_WITH_TIMEOUT(dialog.windowTitle(), QStringLiteral("再生中 [ 夜の歌 ]"), kEngineMs);
        QCOMPARE(dialog.GetPlayer()->currentMedia()->sourceURL(), folder + QStringLiteral("/03.mp3"));
        QCOMPARE(dialog.GetPlayer()->playState(), 3);
        QVERIFY(!nowPlaying.isEmpty());
        QCOMPARE(nowPlaying.last().at(0).toString(), QStringLiteral("03.mp3"));
        QCOMPARE(nowPlaying.last().at(1).toString(), QStringLiteral("夜の歌"));

        // The playing row, and only it, is drawn on the playing colour.
        list->clearSelection();
        QTRY_COMPARE(PixelInRow(dialog, 2), ToQColor(RGB(0, 128, 255)));
        QVERIFY(PixelInRow(dialog, 0) != ToQColor(RGB(0, 128, 255)));
        QVERIFY(PixelInRow(dialog, 1) != ToQColor(RGB(0, 128, 255)));

        list->horizontalHeader()->resizeSection(3, 123);
        dialog.close();
        QCOMPARE(GetProfileHexString(kMain, "DefaultFolderPath", QString()), folder + '/');
        QCOMPARE(GetProfileInt(kMain, "ColWid_Title", -1), 210);
        QCOMPARE(GetProfileInt(kMain, "ColWid_Album", -1), 123);
        QCOMPARE(GetProfileInt(kMain, "ColWid_Track", -1), 50);
    }

    void trackEndGoesOnInTheFolderOnShow()
    {
        const QString first = MakeFolder(QStringLiteral("first"), {{"a.mp3", "A"}}, 1.0);
        const QString second = MakeFolder(QStringLiteral("second"), {{"b1.mp3", "B1"}, {"b2.mp3", "B2"}}, 4.0);
        WriteProfileHexString(kMain, "DefaultFolderPath", first);
        CSonavelDlg dialog;
        QTRY_COMPARE_WITH_TIMEOUT(dialog.windowTitle(), QStringLiteral("再生中 [ A ]"), kEngineMs);
        dialog.SelectFolderInTree(second);
        QCOMPARE(Titles(dialog), QStringList({"B1", "B2"}));
        // Still playing the first folder; its track is not listed, so no row is found.
        QCOMPARE(dialog.Library()->PlayingFolder(), first + '/');
        QCOMPARE(dialog.FindPlayingRow(first + QStringLiteral("/a.mp3")), -1);

        QTRY_COMPARE_WITH_TIMEOUT(dialog.windowTitle(), QStringLiteral("再生中 [ B1 ]"), kEngineMs);
        QCOMPARE(dialog.Library()->PlayingFolder(), second + '/');
        QCOMPARE(dialog.GetPlayer()->currentPlaylist()->count(), 2);
    }

    void nextSwitchesToTheFolderOnShow()
    {
        const QString first = MakeFolder(QStringLiteral("first"), {{"a1.mp3", "A1"}, {"a2.mp3", "A2"}});
        const QString second = MakeFolder(QStringLiteral("second"), {{"b1.mp3", "B1"}});
        WriteProfileHexString(kMain, "DefaultFolderPath", first);
        CSonavelDlg dialog;
        QTRY_COMPARE_WITH_TIMEOUT(dialog.windowTitle(), QStringLiteral("再生中 [ A1 ]"), kEngineMs);
        dialog.OnCommand(CSonavelDlg::IdNext);
        QTRY_COMPARE_WITH_TIMEOUT(dialog.windowTitle(), QStringLiteral("再生中 [ A2 ]"), kEngineMs);
        dialog.SelectFolderInTree(second);
        dialog.OnCommand(CSonavelDlg::IdNext); // the folder on show starts from its first track
        QTRY_COMPARE_WITH_TIMEOUT(dialog.windowTitle(), QStringLiteral("再生中 [ B1 ]"), kEngineMs);
        QCOMPARE(dialog.Library()->PlayingFolder(), second + '/');
    }

    void headerClicksSortAndTheOrderIsSaved()
    {
        const QString folder = MakeFolder(QStringLiteral("sort"), {{"1.mp3", "い"}, {"2.mp3", "あ"}, {"3.mp3", "う"}});
        WriteProfileHexString(kMain, "DefaultFolderPath", folder);
        WriteProfileInt(kMain, "SortType", 0);
        {
            CSonavelDlg dialog;
            dialog.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            QCOMPARE(dialog.TrackList()->SortMarkState(), 0);
            dialog.resize(900, 500); // every column in view
            QTRY_COMPARE(dialog.width(), 900);
            QHeaderView* header = dialog.TrackList()->horizontalHeader();
            const QPoint title(header->sectionViewportPosition(1) + 10, header->height() / 2);
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, title);
            QTRY_COMPARE(Titles(dialog), QStringList({"あ", "い", "う"}));
            // Ascending shows an upward triangle: narrow at the top, wide at the bottom.
            QList<int> arrow = ArrowLineWidths(header, 1);
            QVERIFY2(arrow.size() >= 3, qPrintable(QString::number(arrow.size())));
            QVERIFY(arrow.first() < arrow.last());
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, title);
            QTRY_COMPARE(Titles(dialog), QStringList({"う", "い", "あ"}));
            arrow = ArrowLineWidths(header, 1);
            QVERIFY(arrow.size() >= 3);
            QVERIFY(arrow.first() > arrow.last());
            QCOMPARE(dialog.Options().Scan.SortState, 2);
            dialog.close();
        }
        QCOMPARE(GetProfileInt(kMain, "SortType", -1), 2);
        QCOMPARE(GetProfileInt(kMain, "SortCol", -1), 1);
        // The next start lists in the saved order with the mark on the title column.
        CSonavelDlg dialog;
        QTRY_COMPARE(Titles(dialog), QStringList({"う", "い", "あ"}));
        QCOMPARE(dialog.TrackList()->SortMarkColumn(), 1);
        QCOMPARE(dialog.TrackList()->SortMarkState(), 2);
    }

    void typedFolderIsSelectedAndInView()
    {
        const QString deep = m_sandbox.temp->mkdir(QStringLiteral("a/b/c/d/e"));
        MakeFolder(QStringLiteral("a/b/top"), {{"t.mp3", "T"}});
        WriteProfileHexString(kMain, "DefaultFolderPath", deep);
        CSonavelDlg dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        CFolderPathEdit* edit = dialog.PathEdit();
        edit->selectAll();
        QTest::keyClicks(edit, m_sandbox.temp->file(QStringLiteral("a/b/top")));
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(dialog.SelectedTreeFolder(), m_sandbox.temp->file(QStringLiteral("a/b/top/")));
        QCOMPARE(Titles(dialog), QStringList({"T"}));
        CFolderTree* tree = dialog.FolderTree();
        const QRect label = tree->visualItemRect(tree->currentItem());
        QVERIFY2(label.left() >= 0 && label.left() < tree->viewport()->width() / 2, qPrintable(QString::number(label.left())));
    }

    void storedEmptyFolderSelectsNothing()
    {
        // The desktop was selected at the last exit: no folder, an empty list, nothing playing.
        WriteProfileHexString(kMain, "DefaultFolderPath", QString());
        {
            CSonavelDlg dialog;
            QCOMPARE(dialog.SelectedTreeFolder(), QString());
            QCOMPARE(dialog.TrackListRowCount(), 0);
            QCOMPARE(dialog.Library()->PlayingSlot(), -1);
            QVERIFY(!dialog.ActivateShownFolder());
            dialog.OnCommand(CSonavelDlg::IdPlay);
            QCOMPARE(dialog.windowTitle(), QStringLiteral("Sonavel"));
            dialog.close();
        }
        QVERIFY(ProfileHasKey(kMain, "DefaultFolderPath"));
        QCOMPARE(GetProfileHexString(kMain, "DefaultFolderPath", QStringLiteral("absent")), QString());
    }

    void rowsFitTheStoredListFont()
    {
        MakeFolder(QStringLiteral("big"), {{"g.mp3", "大きな文字"}});
        WriteProfileHexString(kMain, "DefaultFolderPath", m_sandbox.temp->file(QStringLiteral("big")));
        WriteProfileInt("FileListFont", "lfHeight", -30);
        CSonavelDlg dialog;
        CTrackListCtrl* list = dialog.TrackList();
        QCOMPARE(list->font().pixelSize(), 30);
        QCOMPARE(list->GetItemCount(), 1);
        QVERIFY2(list->rowHeight(0) >= list->fontMetrics().height(), qPrintable(QString::number(list->rowHeight(0))));
    }

    void storedSortOutOfRangeFallsBack()
    {
        WriteProfileInt(kMain, "SortType", 7);
        WriteProfileInt(kMain, "SortCol", 12);
        CSonavelDlg dialog;
        QCOMPARE(dialog.Options().Scan.SortState, 1);
        QCOMPARE(dialog.Options().Scan.SortColumn, 0);
        QCOMPARE(dialog.TrackList()->SortMarkColumn(), 0);
    }

    void withoutEngineTheTreeStillWorks()
    {
        const QString folder = MakeFolder(QStringLiteral("none"), {{"x.mp3", "X"}});
        WriteProfileHexString(kMain, "DefaultFolderPath", folder);
        CPlayerControl::SetPlayerFactory([] { return std::unique_ptr<Player>(); });
        {
            CSonavelDlg dialog;
            m_sandbox.boxes->clear(); // the engine's error message
            QVERIFY(!dialog.Library());
            QCOMPARE(dialog.SelectedTreeFolder(), folder + '/');
            QCOMPARE(dialog.TrackListRowCount(), 0);
            QVERIFY(!dialog.ActivateShownFolder());
            QCOMPARE(dialog.UpdateNowPlayingInfo(), QString());
            dialog.close();
        }
        CPlayerControl::SetPlayerFactory({});
        QCOMPARE(GetProfileHexString(kMain, "DefaultFolderPath", QString()), folder + '/');
    }

private:
    QString MakeFolder(const QString& name, const QList<Track>& tracks, double seconds = 6.0)
    {
        const QString folder = m_sandbox.temp->mkdir(name);
        for (const Track& track : tracks) {
            const QString path = Mp3Fixture::write(folder + '/' + track.name, {track.title, QStringLiteral("歌手"), {}, {}}, seconds);
            if (path.isEmpty())
                qFatal("cannot write %s", qPrintable(track.name));
        }
        return folder;
    }

    PlayerSandbox m_sandbox;
};

SONAVEL_TEST_MAIN(MainWindowLibraryTest)
#include "MainWindowLibraryTest.moc"
