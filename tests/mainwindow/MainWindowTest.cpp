#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/Mp3Fixture.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include "common/ui/AboutDlg.h"
#include "common/ui/StringTable.h"
#include "platform/engine/Player.h"
#include "platform/profile/Profile.h"
#include "platform/varnkit/FolderPathEdit.h"
#include "platform/varnkit/VolSlider.h"
#include "platform/varnkit/WmpSlider.h"
#include "player/app/PlayerControl.h"
#include "player/app/SonavelDlg.h"
#include "player/app/SonavelStrings.h"
#include "player/library/FolderTree.h"
#include "player/library/PictureCtrl.h"
#include "player/library/TrackLibrary.h"
#include "player/library/TrackListCtrl.h"
#include "player/settings/ProfileHelpers.h"
#include "player/widgets/TimeDisplay.h"
#include "player/widgets/VerticalSplitterBar.h"
#include "player/widgets/WmpVideoDlg.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QTimer>
#include <QToolBar>

namespace {

constexpr char kMain[] = "CSonavelDlg";

// One optical drive whose disc the test puts in and takes out. Its "root" is a folder of the
// test, so the folder tree can select it.
class FakeDiscDrives : public DiscDriveProvider
{
public:
    explicit FakeDiscDrives(QString device) : m_device(std::move(device)) {}
    std::optional<Disc> disc;
    QStringList drives() const override { return {m_device}; }
    std::optional<Disc> readDisc(const QString&) const override { return disc; }

private:
    QString m_device;
};
constexpr char kWmp[] = "WMPSetting";

QString ProfileText()
{
    return QString::fromUtf8(TestFiles::readBytes(Profile::path()));
}

} // namespace

class MainWindowTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        RegisterSonavelStrings();
        // The folder shown at a first start is the home folder: never the real one.
        m_home = std::make_unique<TempFolder>();
        qputenv("HOME", m_home->path().toUtf8());
        m_tracks = std::make_unique<TempFolder>();
        m_songA = Mp3Fixture::write(m_tracks->file("a.mp3"), {QStringLiteral("Song A"), QStringLiteral("Artist"), {}, {}}, 6.0);
        m_songB = Mp3Fixture::write(m_tracks->file("b.mp3"), {QStringLiteral("Song B"), {}, {}, {}}, 6.0);
        QVERIFY(!m_songA.isEmpty() && !m_songB.isEmpty());
    }

    void init()
    {
        m_folder = std::make_unique<TempFolder>();
        Profile::setPath(m_folder->file("sonavel.ini"));
        m_boxes = std::make_unique<MessageBoxRecorder>();
    }

    void cleanup()
    {
        CPlayerControl::SetPlayerFactory({});
        QCOMPARE(m_boxes->count(), 0); // no test expects an error message of its own
        m_boxes.reset();
    }

    void noEngineAtAll()
    {
        WriteProfileInt(kWmp, "Loop", 1);
        WriteProfileInt(kWmp, "Shuffle", 1);
        CPlayerControl::SetPlayerFactory([] { return std::unique_ptr<Player>(); });
        {
            CSonavelDlg dialog;
            QCOMPARE(m_boxes->count(), 1);
            QCOMPARE(m_boxes->prompts()[0].text, QStringLiteral("Error occurs while Initialize MediaPlayer"));
            QCOMPARE(m_boxes->prompts()[0].caption, QApplication::applicationName());
            m_boxes->clear();
            QVERIFY(!dialog.GetPlayer());
            QVERIFY(dialog.Control().PlayerPlaylists().empty());
            for (int command : CSonavelDlg::ToolBarCommands)
                dialog.OnCommand(command);
            dialog.OnCommand(CSonavelDlg::IdPause);
            dialog.Control().PlayRow(0);
            dialog.LoopBox()->click();
            QTest::mouseClick(dialog.PositionSlider(), Qt::LeftButton, {}, QPoint(40, 5));
            QTest::mouseClick(dialog.VolumeSlider(), Qt::LeftButton, {}, QPoint(10, 5));
            dialog.Control().UpdateTick();
            QCOMPARE(dialog.TimeDisplay()->Text(), QStringLiteral("00:00"));
            QCOMPARE(dialog.PositionSlider()->GetPos(), 0);
            dialog.OnWmpPlayState(3);
            dialog.OnWmpCdromChange(0);
            QVERIFY(dialog.VideoDlg());
            QVERIFY(!dialog.VideoDlg()->PrepareContextMenu());
            dialog.close();
            QVERIFY(dialog.IsDestroyed());
        }
        // The stored engine modes survive a start without an engine.
        QCOMPARE(GetProfileInt(kWmp, "Loop", -1), 1);
        QCOMPARE(GetProfileInt(kWmp, "Shuffle", -1), 1);
        QVERIFY(ProfileHasKey(kMain, "Volume"));
    }

    void discChangeFollowsTheDetectionFlag()
    {
        const QString device = m_folder->mkdir(QStringLiteral("sr9"));
        auto drives = std::make_shared<FakeDiscDrives>(device);
        CPlayerControl::SetPlayerFactory([drives] {
            Player::Options options = Player::Options::fromEnvironment();
            options.discDrives = drives;
            return Player::create(options);
        });
        WriteProfileInt(kWmp, "DetectCdromMediaChange", 0);
        {
            CSonavelDlg dialog;
            const QString shown = dialog.SelectedTreeFolder();
            drives->disc = DiscDriveProvider::Disc{{1, 60.0}};
            dialog.GetPlayer()->cdromCollection().poll();
            QTest::qWait(50);
            QCOMPARE(dialog.SelectedTreeFolder(), shown);
            dialog.close();
        }
        QCOMPARE(GetProfileInt(kWmp, "DetectCdromMediaChange", -1), 0);
        WriteProfileInt(kWmp, "DetectCdromMediaChange", 1);
        drives->disc.reset();
        CSonavelDlg dialog;
        drives->disc = DiscDriveProvider::Disc{{1, 60.0}, {2, 90.0}};
        dialog.GetPlayer()->cdromCollection().poll();
        QTRY_COMPARE(dialog.SelectedTreeFolder(), device + '/');
        // The disc's own tracks are listed, not the drive's files.
        QCOMPARE(dialog.TrackListRowCount(), 2);
        QCOMPARE(dialog.Library()->ListedSlot(), CTrackLibrary::DiscSlot);
    }

    void enterAndEscapeDoNotClose()
    {
        CSonavelDlg dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QTest::keyClick(&dialog, Qt::Key_Return);
        QTest::keyClick(dialog.LoopBox(), Qt::Key_Escape);
        QVERIFY(dialog.isVisible());
        QVERIFY(!dialog.IsDestroyed());
        dialog.close(); // the close box does close it
        QVERIFY(dialog.IsDestroyed());
        QVERIFY(!dialog.isVisible());
    }

    void aboutEntryAndF1()
    {
        CSonavelDlg dialog;
        const QList<QAction*> entries = dialog.WindowMenu()->actions();
        QCOMPARE(entries.size(), 3);
        QCOMPARE(entries[0]->text(), QStringLiteral("Sonavel のﾊﾞｰｼﾞｮﾝ情報(&A)..."));
        QVERIFY(entries[1]->isSeparator());
        dialog.show();
        dialog.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QString version;
        QString caption;
        QTimer::singleShot(0, this, [&] {
            auto* about = qobject_cast<CAboutDlg*>(QApplication::activeModalWidget());
            if (!about)
                return;
            version = about->MediaPlayerVersion();
            caption = about->windowTitle();
            about->reject();
        });
        QTest::keyClick(&dialog, Qt::Key_F1);
        QCOMPARE(caption, QStringLiteral("Sonavelのﾊﾞｰｼﾞｮﾝ情報"));
        QVERIFY2(version.startsWith(QStringLiteral("mpv")), qPrintable(version));
    }

    void toolBarHoldsTheFiveCommands()
    {
        CSonavelDlg dialog;
        const QList<QAction*> actions = dialog.ToolBar()->actions();
        QCOMPARE(actions.size(), 5);
        const QStringList tips{"前曲へ", "停止", "一時停止", "再生", "次曲へ"};
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(actions[i]->data().toInt(), CSonavelDlg::ToolBarCommands[i]);
            QCOMPARE(actions[i]->toolTip(), tips[i]);
            QVERIFY(!actions[i]->icon().isNull());
        }
    }

    // The first start opens wide in the middle of the screen; later starts where it was left.
    void firstStartThenWhereItWasLeft()
    {
        const QRect left(30, 40, 520, 400);
        {
            CSonavelDlg dialog;
            const QRect screen = dialog.screen()->availableGeometry();
            QVERIFY(dialog.width() >= std::min(2 * dialog.minimumWidth(), screen.width() * 8 / 10));
            QVERIFY((dialog.geometry().center() - screen.center()).manhattanLength() <= 2);
            QCOMPARE(dialog.TrackList()->geometry().right(), dialog.width() - 1);
            dialog.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            dialog.PlaceWindow(left);
            dialog.Close();
        }
        CSonavelDlg again;
        QCOMPARE(again.geometry(), left);
    }

    void initialArrangement()
    {
        CSonavelDlg dialog;
        const QRect list = dialog.TrackList()->geometry();
        const QRect split = dialog.Splitter()->geometry();
        QCOMPARE(split.width(), 7);
        QCOMPARE(split.top(), list.top());
        QCOMPARE(split.height(), list.height());
        QCOMPARE(list.left(), split.x() + split.width());
        QCOMPARE(list.x() + list.width(), dialog.width());
        QCOMPARE(dialog.PathEdit()->geometry().bottom(), list.bottom());
        QCOMPARE(dialog.FolderTree()->width(), split.x());
        QCOMPARE(dialog.PositionSlider()->y(), list.y() + list.height());
        QCOMPARE(dialog.ToolBar()->y(), dialog.PositionSlider()->geometry().bottom() + 2);
        QCOMPARE(dialog.TimeDisplay()->x(), dialog.ToolBar()->geometry().right() + 1);
        QCOMPARE(dialog.VolumeSlider()->x(), dialog.TimeDisplay()->geometry().right() + 2);
        QCOMPARE(dialog.LoopBox()->x(), 5);
        QCOMPARE(dialog.ScrollLine()->y(), dialog.LoopBox()->geometry().bottom() + 1);
        QCOMPARE(dialog.ScrollLine()->geometry().bottom(), dialog.height() - 1);
        QCOMPARE(dialog.Thumbnail()->width(), dialog.Thumbnail()->height());
        QCOMPARE(dialog.TimeDisplay()->Text(), QStringLiteral("00:00"));
        QCOMPARE(dialog.TimeDisplay()->CellCount(), 5);
    }

    void resizingKeepsTheBottomLeft()
    {
        CSonavelDlg dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const QSize start = dialog.size();
        const QRect list = dialog.TrackList()->geometry();
        const QRect tree = dialog.FolderTree()->geometry();
        const QRect edit = dialog.PathEdit()->geometry();
        const QRect loop = dialog.LoopBox()->geometry();
        const QRect volume = dialog.VolumeSlider()->geometry();
        const QRect bar = dialog.ToolBar()->geometry();
        const QRect line = dialog.ScrollLine()->geometry();
        dialog.resize(start + QSize(120, 90));
        QTRY_COMPARE(dialog.size(), start + QSize(120, 90));
        QCOMPARE(dialog.TrackList()->geometry(), list.adjusted(0, 0, 120, 90));
        QCOMPARE(dialog.FolderTree()->geometry(), tree.adjusted(0, 0, 0, 90));
        QCOMPARE(dialog.PathEdit()->geometry(), edit.translated(0, 90));
        QCOMPARE(dialog.LoopBox()->geometry(), loop.translated(0, 90));
        QCOMPARE(dialog.VolumeSlider()->geometry(), volume.translated(0, 90));
        QCOMPARE(dialog.ToolBar()->geometry(), bar.translated(0, 90));
        QCOMPARE(dialog.ScrollLine()->geometry(), line.adjusted(0, 90, 120, 90));

        // Never narrower than the template (the first start opens wider).
        const int minimum = dialog.minimumWidth();
        QVERIFY(minimum > 200 && minimum < start.width());
        dialog.resize(minimum - 60, start.height());
        QTRY_COMPARE(dialog.width(), minimum);
    }

    void splitterMoveReanchorsTheLayout()
    {
        CSonavelDlg dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        CVerticalSplitterBar* splitter = dialog.Splitter();
        QTest::mouseClick(splitter, Qt::LeftButton, {}, splitter->Button1Rect().center());
        QCOMPARE(splitter->x(), 0);
        QCOMPARE(dialog.TrackList()->x(), 8);
        dialog.resize(dialog.size() + QSize(50, 0));
        QTRY_COMPARE(dialog.TrackList()->x() + dialog.TrackList()->width(), dialog.width());
        QCOMPARE(dialog.TrackList()->x(), 8);
        QCOMPARE(splitter->x(), 0);
        dialog.close();
        QCOMPARE(GetProfileInt("CSplitterBar", "PosL", -1), -1); // written when the bar goes
    }

    void firstStartAndExitKeys()
    {
        {
            CSonavelDlg dialog;
            for (const char* key : {"Loop", "AutoStart"})
                QVERIFY2(ProfileHasKey(kWmp, key), key);
            QCOMPARE(GetProfileInt(kMain, "UpdateTimerInterval", -1), 50);
            QVERIFY(ProfileHasKey(kMain, "KaraokeEditorPath"));
            for (const char* font : {"DirTreeFont", "DirEditFont", "FileListFont"})
                QCOMPARE(GetProfileString(font, "lfFaceName", QString()), QStringLiteral("Tahoma"));
            QVERIFY(!ProfileHasKey(kMain, "Volume"));
            dialog.close();
        }
        const QString text = ProfileText();
        const QStringList exitOrder{"ColWid_Track=", "SortType=", "DefaultFolderPath=", "UseID3Edit=",
                                    "RdExt04=", "RdFile_m3u=", "DelPlaylistOnExit=", "Volume=30",
                                    "ClipOnDesktop=", "MainAlwaysOnTop=0", "VideoAlwaysOnTop=1", "Left="};
        qsizetype previous = -1;
        for (const QString& key : exitOrder) {
            const qsizetype at = text.indexOf(key);
            QVERIFY2(at > previous, qPrintable(key));
            previous = at;
        }
        QCOMPARE(GetProfileInt(kWmp, "DetectCdromMediaChange", -1), 1);
        QCOMPARE(GetProfileInt(kWmp, "Shuffle", -1), 0);
        QCOMPARE(GetProfileInt("CSplitterBar", "PosL", -1) >= 0, true);
    }

    void settingsOutOfRangeAreClamped()
    {
        WriteProfileInt(kMain, "UpdateTimerInterval", -5);
        WriteProfileInt(kMain, "Volume", 250);
        WriteProfileInt(kMain, "RdExtNum", 100000);
        CSonavelDlg dialog;
        QCOMPARE(dialog.UpdateTimerPeriod(), 50);
        QVERIFY(dialog.IsTimerActive());
        QCOMPARE(dialog.VolumeSlider()->GetPos(), 100);
        QCOMPARE(dialog.GetPlayer()->volume(), 100);
        QCOMPARE(dialog.Options().Scan.ExtensionList.size(), MainWindowSettings::MaxExtensions);
        QCOMPARE(dialog.Options().Scan.ExtensionList[4], QStringLiteral("mpeg"));
        QCOMPARE(dialog.Options().Scan.ExtensionList[5], QString());
        // The library works on the same settings.
        QCOMPARE(&dialog.Library()->Settings(), &dialog.Options().Scan);
    }

    void windowSwitchesFromProfile()
    {
        WriteProfileInt(kMain, "MainAlwaysOnTop", 1);
        WriteProfileInt(kMain, "VideoAlwaysOnTop", 0);
        WriteProfileInt("CWmpVideoDlg", "AlwaysOnTop", 0);
        WriteProfileInt(kMain, "ClipOnDesktop", 0);
        {
            CSonavelDlg dialog;
            QVERIFY(dialog.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
            QVERIFY(!dialog.VideoDlg()->IsTopmost());
            QVERIFY(!dialog.IsClipOnDesktop());
            QVERIFY(!dialog.VideoDlg()->IsClipOnDesktop());
            dialog.VideoDlg()->ToggleAlwaysOnTop();
            dialog.close();
        }
        QCOMPARE(GetProfileInt(kMain, "MainAlwaysOnTop", -1), 1);
        QCOMPARE(GetProfileInt(kMain, "VideoAlwaysOnTop", -1), 1);
        QCOMPARE(GetProfileInt("CWmpVideoDlg", "AlwaysOnTop", -1), 1);
        QCOMPARE(GetProfileInt(kMain, "ClipOnDesktop", -1), 0);
    }

    void engineSettingsFromProfile()
    {
        WriteProfileInt(kWmp, "AutoStart", 0);
        WriteProfileInt(kWmp, "Loop", 0);
        WriteProfileInt(kWmp, "Shuffle", 1);
        CSonavelDlg dialog;
        Player* player = dialog.GetPlayer();
        QVERIFY(player);
        QVERIFY(!player->autoStart());
        QCOMPARE(GetProfileInt(kWmp, "AutoStart", -1), 0);
        QVERIFY(!dialog.LoopBox()->isChecked());
        QCOMPARE(player->getMode("loop"), std::optional<bool>(false));
        QVERIFY(dialog.ShuffleBox()->isChecked());
        QCOMPARE(player->getMode("shuffle"), std::optional<bool>(true));
        dialog.LoopBox()->click();
        QCOMPARE(player->getMode("loop"), std::optional<bool>(true));
        dialog.close();
        QCOMPARE(GetProfileInt(kWmp, "Loop", -1), 1);
        QCOMPARE(GetProfileInt(kWmp, "Shuffle", -1), 1);
    }

    // Without auto start the first folder shown waits, ready, for Play; rows play when asked.
    void autoStartOffWaitsForPlay()
    {
        WriteProfileInt(kWmp, "AutoStart", 0);
        WriteProfileHexString(kMain, "DefaultFolderPath", m_tracks->path());
        CSonavelDlg dialog;
        Player* player = dialog.GetPlayer();
        QTRY_COMPARE(dialog.windowTitle(), QStringLiteral("準備完了"));
        QTest::qWait(300);
        QCOMPARE(player->playState(), 10);
        QCOMPARE(player->currentPosition(), 0.0);
        dialog.OnCommand(CSonavelDlg::IdPlay);
        QTRY_COMPARE(dialog.windowTitle(), QStringLiteral("再生中 [ Song A ]"));
        dialog.Control().PlayRow(1);
        QTRY_COMPARE(dialog.windowTitle(), QStringLiteral("再生中 [ Song B ]"));
        dialog.close();
        QCOMPARE(GetProfileInt(kWmp, "AutoStart", -1), 0);
    }

    // Enter on the track list plays the selected row, as a double click does.
    void enterPlaysTheSelectedRow()
    {
        WriteProfileInt(kWmp, "AutoStart", 0);
        WriteProfileHexString(kMain, "DefaultFolderPath", m_tracks->path());
        CSonavelDlg dialog;
        dialog.show();
        dialog.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        CTrackListCtrl* list = dialog.TrackList();
        list->setFocus();
        QTRY_VERIFY(list->hasFocus());
        QTest::keyClick(list, Qt::Key_Return); // nothing selected: nothing plays
        QTest::qWait(200);
        QCOMPARE(dialog.GetPlayer()->playState(), 10);
        list->SelectRow(1);
        QTest::keyClick(list, Qt::Key_Return);
        QTRY_COMPARE(dialog.windowTitle(), QStringLiteral("再生中 [ Song B ]"));
        list->SelectRow(0);
        QTest::keyClick(list, Qt::Key_Enter);
        QTRY_COMPARE(dialog.windowTitle(), QStringLiteral("再生中 [ Song A ]"));
        QVERIFY(!dialog.IsDestroyed());
        // Enter elsewhere plays nothing and still does not close the window.
        dialog.OnCommand(CSonavelDlg::IdStop);
        QTRY_COMPARE(dialog.windowTitle(), QStringLiteral("停止中"));
        dialog.LoopBox()->setFocus();
        QTest::keyClick(dialog.LoopBox(), Qt::Key_Return);
        QTest::qWait(200);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("停止中"));
        QVERIFY(dialog.isVisible());
    }

    void storedSplitterPositionKeepsBothSidesUsable_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<QString>("side"); // the side the position would have hidden
        QTest::newRow("far beyond the right edge") << 5000 << "list";
        QTest::newRow("left of the window") << -300 << "tree";
        QTest::newRow("at the left edge") << 0 << "tree";
    }

    void storedSplitterPositionKeepsBothSidesUsable()
    {
        QFETCH(int, stored);
        QFETCH(QString, side);
        WriteProfileInt("CSplitterBar", "PosL", stored);
        CSonavelDlg dialog;
        const int usable = DialogUnits::toPixels(QSize(CSonavelDlg::UsableSideWidth, 0), &dialog).width();
        const int splitter = dialog.Splitter()->x();
        QVERIFY2(dialog.TrackList()->width() >= usable - 1, qPrintable(QString::number(dialog.TrackList()->width())));
        QVERIFY2(dialog.FolderTree()->width() >= usable - 1, qPrintable(QString::number(dialog.FolderTree()->width())));
        QCOMPARE(dialog.TrackList()->x(), splitter + CSplitterBar::Thickness + 1);
        if (side == "list")
            QCOMPARE(splitter, dialog.width() - CSplitterBar::Thickness - usable);
        else
            QCOMPARE(splitter, usable);
    }

    // The position belongs to the window's stored size: a wide window keeps a wide tree.
    void splitterPositionFollowsTheStoredWindowSize()
    {
        for (const auto& [key, value] : {std::pair{"Left", 100}, {"Top", 100}, {"Right", 1100}, {"Bottom", 700}})
            WriteProfileInt(kMain, key, value);
        WriteProfileInt("CSplitterBar", "PosL", 600);
        {
            CSonavelDlg dialog;
            QCOMPARE(dialog.width(), 1000);
            QCOMPARE(dialog.Splitter()->x(), 600);
            QCOMPARE(dialog.FolderTree()->width(), 599);
            QCOMPARE(dialog.TrackList()->x() + dialog.TrackList()->width(), 1000);
            dialog.close();
        }
        QCOMPARE(GetProfileInt("CSplitterBar", "PosL", -1), 600);
    }

    void playerPlaylistsArePrepared()
    {
        CSonavelDlg dialog;
        const std::vector<PlaylistPtr>& prepared = dialog.Control().PlayerPlaylists();
        QCOMPARE(prepared.size(), size_t(2));
        QVERIFY(prepared[0] != prepared[1]);
        for (const PlaylistPtr& playlist : prepared) {
            QCOMPARE(playlist->name(), QStringLiteral("SonavelPlayList"));
            QCOMPARE(playlist->count(), 0);
        }
    }

    void captionFollowsPlayStates()
    {
        CSonavelDlg dialog;
        const QString stateTexts[] = {"初期状態", "停止中", "一時停止中", "", "早送り中", "巻戻し中",
                                      "サーバーからバッファ中", "サーバーからの返答を待機中", "メディア終了",
                                      "新しいメディアを準備中", "準備完了", "ストリームに再接続中"};
        for (int state = 0; state <= 11; ++state) {
            if (state == 3)
                continue;
            dialog.OnWmpPlayState(state);
            QCOMPARE(dialog.windowTitle(), stateTexts[state]);
        }
        dialog.OnWmpPlayState(12);
        QCOMPARE(dialog.windowTitle(), QString());
        dialog.OnWmpPlayState(3); // playing with nothing open: no title, no crash
        QCOMPARE(dialog.windowTitle(), QStringLiteral("再生中 [  ]"));
    }

    void playbackCaptionPauseAndResume()
    {
        // The first folder shown becomes the playing playlist; auto start plays its first item.
        WriteProfileHexString(kMain, "DefaultFolderPath", m_tracks->path());
        CSonavelDlg dialog;
        Player* player = dialog.GetPlayer();
        QVERIFY(player);
        QTRY_COMPARE(dialog.windowTitle(), QStringLiteral("再生中 [ Song A ]"));

        dialog.Options().ShowFilePathOnTitleBar = 1;
        dialog.Control().PlayRow(1);
        QTRY_COMPARE(dialog.windowTitle(), QStringLiteral("再生中 [ %1 ]").arg(m_songB));
        QCOMPARE(dialog.Control().ResumePosition(), 0.0);
        QVERIFY(!dialog.VideoDlg()->isVisible());
        // The playing row is found by its exact path; a track not listed has none.
        QCOMPARE(dialog.FindPlayingRow(m_songB), 1);
        QCOMPARE(dialog.FindPlayingRow(m_songA), 0);
        QCOMPARE(dialog.FindPlayingRow(m_songB.toUpper()), -1);
        QCOMPARE(dialog.FindPlayingRow(m_tracks->file("c.mp3")), -1);
        QCOMPARE(dialog.FindPlayingRow(QString()), -1);

        QTRY_VERIFY_WITH_TIMEOUT(player->currentPosition() >= 1.2, 10000);
        dialog.OnCommand(CSonavelDlg::IdPause);
        QTRY_COMPARE(dialog.windowTitle(), QStringLiteral("一時停止中"));
        QTest::qWait(300); // the engine settles where it paused
        const double pausedAt = player->currentPosition();
        QVERIFY(pausedAt >= 1.2);
        dialog.OnCommand(CSonavelDlg::IdPause); // resumes where it paused, not from the row play's 0
        QTRY_COMPARE(player->playState(), 3);
        QVERIFY2(player->currentPosition() >= pausedAt - 0.05,
                 qPrintable(QString::number(player->currentPosition()) + " / " + QString::number(pausedAt)));
        QCOMPARE(dialog.Control().ResumePosition(), 0.0);

        // Play records where it was pressed; a pause-resume comes back there.
        QTRY_VERIFY_WITH_TIMEOUT(player->currentPosition() >= 1.0, 10000);
        dialog.OnCommand(CSonavelDlg::IdPlay);
        const double played = dialog.Control().ResumePosition();
        QVERIFY(played >= 1.0);
        dialog.OnCommand(CSonavelDlg::IdNext);
        QCOMPARE(dialog.Control().ResumePosition(), 0.0);

        dialog.Control().UpdateTick();
        const int seconds = static_cast<int>(player->currentPosition());
        QCOMPARE(dialog.TimeDisplay()->Text(), CPlayerControl::FormatTime(seconds));
        QCOMPARE(dialog.PositionSlider()->GetRangeMax(), static_cast<int>(player->currentMedia()->duration()));

        dialog.OnCommand(CSonavelDlg::IdStop);
        QTRY_COMPARE(dialog.windowTitle(), QStringLiteral("停止中"));
    }

    void positionSliderDragSeeksOnRelease()
    {
        CSonavelDlg dialog;
        dialog.show();
        Player* player = dialog.GetPlayer();
        const PlaylistPtr slot = dialog.Control().PlayerPlaylists().at(0);
        slot->appendItem(player->newMedia(m_songA));
        player->setCurrentPlaylist(slot);
        QTRY_COMPARE(player->playState(), 3);
        dialog.OnCommand(CSonavelDlg::IdPause);
        QTRY_COMPARE(player->playState(), 2);
        dialog.Control().UpdateTick();
        CWmpSlider* slider = dialog.PositionSlider();
        QTRY_VERIFY(slider->GetRangeMax() >= 5);
        const int startPosition = slider->GetPos();
        const double resume = dialog.Control().ResumePosition();

        const int usable = slider->width() - 9;
        const auto xOf = [&](int seconds) { return 4 + usable * seconds / slider->GetRangeMax(); };
        QTest::mousePress(slider, Qt::LeftButton, {}, QPoint(xOf(4), 5));
        QCOMPARE(slider->GetPos(), 4);
        QCOMPARE(dialog.TimeDisplay()->Text(), QStringLiteral("00:04"));
        dialog.Control().UpdateTick(); // the tick leaves a dragged slider and its read-out alone
        QCOMPARE(dialog.TimeDisplay()->Text(), QStringLiteral("00:04"));
        QTest::keyClick(slider, Qt::Key_Escape);
        QCOMPARE(slider->GetPos(), startPosition);
        QCOMPARE(dialog.Control().ResumePosition(), resume);
        QVERIFY(player->currentPosition() < 1.0);

        QTest::mousePress(slider, Qt::LeftButton, {}, QPoint(xOf(1), 5));
        QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(xOf(3), 5));
        QCOMPARE(dialog.Control().ResumePosition(), 3.0);
        QTRY_VERIFY(std::abs(player->currentPosition() - 3.0) < 0.3);

        // The volume slider sets the engine's volume while dragging and back on Escape.
        CVolSlider* volume = dialog.VolumeSlider();
        const int before = volume->GetPos();
        QTest::mousePress(volume, Qt::LeftButton, {}, QPoint(volume->width() - 2, 5));
        QCOMPARE(player->volume(), 100);
        QTest::keyClick(volume, Qt::Key_Escape);
        QCOMPARE(player->volume(), before);
    }

    void readoutWrapsMinutes()
    {
        QCOMPARE(CPlayerControl::FormatTime(0), QStringLiteral("00:00"));
        QCOMPARE(CPlayerControl::FormatTime(59 * 60 + 59), QStringLiteral("59:59"));
        QCOMPARE(CPlayerControl::FormatTime(3600), QStringLiteral("00:00"));
        QCOMPARE(CPlayerControl::FormatTime(3725), QStringLiteral("02:05"));
    }

    void folderPathEnteredSelectsTheFolder()
    {
        CSonavelDlg dialog;
        CFolderPathEdit* edit = dialog.PathEdit();
        edit->setText(m_tracks->path());
        edit->setCursorPosition(0);
        QTest::keyClick(edit, Qt::Key_Return);
        QVERIFY(!dialog.IsDestroyed());
        QCOMPARE(dialog.SelectedTreeFolder(), m_tracks->path() + '/');
        QCOMPARE(edit->text(), m_tracks->path() + '/');
        QCOMPARE(edit->cursorPosition(), edit->text().size());
        QCOMPARE(dialog.TrackListRowCount(), 2);
    }

    void defaultFolderPathRoundTrips()
    {
        const QString folder = m_folder->mkdir(QStringLiteral("フォルダ"));
        {
            CSonavelDlg dialog;
            dialog.SelectFolderInTree(folder);
            dialog.close();
        }
        CSonavelDlg dialog;
        QCOMPARE(dialog.SelectedTreeFolder(), folder + '/');
        QCOMPARE(dialog.PathEdit()->text(), folder + '/');
    }

    void deletePlaylistsOnLogOff()
    {
        WriteProfileInt(kMain, "DelPlaylistOnExit", 1);
        QString files[2];
        {
            CSonavelDlg dialog;
            Player* player = dialog.GetPlayer();
            for (int i = 0; i < 2; ++i)
                files[i] = player->playlistCollection().filePath(dialog.Control().PlayerPlaylists().at(i));
            QVERIFY(QFileInfo::exists(files[0]) && QFileInfo::exists(files[1]));
            dialog.EndSession();
            QVERIFY(dialog.IsDestroyed());
        }
        QVERIFY(!QFileInfo::exists(files[0]));
        QVERIFY(!QFileInfo::exists(files[1]));
        PlaylistCollection stored(PlaylistCollection::defaultFolder());
        QVERIFY(stored.getByName(QStringLiteral("SonavelPlayList")).empty());
        QVERIFY(ProfileHasKey(kMain, "Volume")); // settings saved as well
        QVERIFY(ProfileHasKey(kMain, "Left"));
    }

private:
    std::unique_ptr<TempFolder> m_home;
    std::unique_ptr<TempFolder> m_folder;
    std::unique_ptr<TempFolder> m_tracks;
    std::unique_ptr<MessageBoxRecorder> m_boxes;
    QString m_songA;
    QString m_songB;
};

SONAVEL_TEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
