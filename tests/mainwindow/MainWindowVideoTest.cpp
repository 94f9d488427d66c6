#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/Mp3Fixture.h"
#include "tests/support/PictureChecks.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include "platform/engine/Player.h"
#include "platform/profile/Profile.h"
#include "player/app/PlayerControl.h"
#include "player/app/SonavelDlg.h"
#include "player/app/SonavelStrings.h"
#include "player/library/TrackListCtrl.h"
#include "player/settings/ProfileHelpers.h"
#include "player/widgets/TimeDisplay.h"
#include "player/widgets/WmpVideoDlg.h"

#include <QAction>
#include <QDir>
#include <QImage>
#include <QMenu>
#include <QProcess>

namespace {

const QString kTestVideo = QStringLiteral("av://lavfi:testsrc=size=320x240:rate=25");

} // namespace

class MainWindowVideoTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        // The folder shown at a first start is the home folder: never the real one.
        m_home = std::make_unique<TempFolder>();
        qputenv("HOME", m_home->path().toUtf8());
    }

    void init()
    {
        RegisterSonavelStrings();
        m_folder = std::make_unique<TempFolder>();
        Profile::setPath(m_folder->file("sonavel.ini"));
        m_boxes = std::make_unique<MessageBoxRecorder>();
    }

    void cleanup()
    {
        CPlayerControl::SetPlayerFactory({});
        QCOMPARE(m_boxes->count(), 0);
        m_boxes.reset();
    }

    void videoWindowSizesToTheVideo()
    {
        CSonavelDlg dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        Player* player = dialog.GetPlayer();
        QVERIFY(player);
        CWmpVideoDlg* video = dialog.VideoDlg();
        QVERIFY(!video->isVisible());
        QVERIFY(!video->PrepareContextMenu()); // no media item: no menu

        const PlaylistPtr slot = dialog.Control().PlayerPlaylists().at(0);
        slot->appendItem(player->newMedia(kTestVideo));
        player->setCurrentPlaylist(slot);
        QTRY_VERIFY_WITH_TIMEOUT(video->isVisible(), 10000);
        QVERIFY(dialog.windowTitle().startsWith(QStringLiteral("再生中 [ ")));
        QCOMPARE(video->Surface()->geometry(), video->rect());
        QTRY_COMPARE(player->currentMedia()->imageSourceWidth(), 320);

        video->MenuAction(CWmpVideoDlg::IdDoubleSize)->trigger();
        QTRY_COMPARE(video->size(), QSize(640, 480));
        QCOMPARE(video->Surface()->size(), QSize(640, 480));
        QVERIFY(video->PrepareContextMenu());
        QVERIFY(video->MenuAction(CWmpVideoDlg::IdDoubleSize)->isChecked());
        QVERIFY(!video->MenuAction(CWmpVideoDlg::IdNormalSize)->isChecked());
        QVERIFY(!video->MenuAction(CWmpVideoDlg::IdHalfSize)->isChecked());

        video->MenuAction(CWmpVideoDlg::IdHalfSize)->trigger();
        QTRY_COMPARE(video->size(), QSize(160, 120));
        QVERIFY(video->PrepareContextMenu());
        QVERIFY(video->MenuAction(CWmpVideoDlg::IdHalfSize)->isChecked());
        QVERIFY(!video->MenuAction(CWmpVideoDlg::IdDoubleSize)->isChecked());

        // The user cannot close it.
        video->close();
        QVERIFY(video->isVisible());

        // With the main window topmost, the video window's own switch is disabled.
        QVERIFY(video->MenuAction(CWmpVideoDlg::IdAlwaysOnTop)->isEnabled());
        QCOMPARE(video->MenuAction(CWmpVideoDlg::IdAlwaysOnTop)->isChecked(), video->IsTopmost());
        dialog.setWindowFlag(Qt::WindowStaysOnTopHint, true);
        dialog.show();
        QVERIFY(video->PrepareContextMenu());
        QVERIFY(!video->MenuAction(CWmpVideoDlg::IdAlwaysOnTop)->isEnabled());

        dialog.OnCommand(CSonavelDlg::IdStop);
        QTRY_VERIFY(!video->isVisible());
        dialog.close();
        QCOMPARE(GetProfileInt("CSonavelDlg", "MainAlwaysOnTop", -1), 1);
        QCOMPARE(GetProfileInt("CSonavelDlg", "VideoAlwaysOnTop", -1), 1);
        QCOMPARE(GetProfileInt("CWmpVideoDlg", "AlwaysOnTop", -1), 1);
    }

    // A video double-clicked while an mp3 plays (its window never shown yet) shows its picture.
    void videoShowsAfterAnAudioTrack()
    {
        TempFolder media;
        const QString folder = media.mkdir(QStringLiteral("mixed"));
        QVERIFY(!Mp3Fixture::write(folder + QStringLiteral("/1.mp3"), {QStringLiteral("Song"), {}, {}, {}}, 20.0).isEmpty());
        QProcess ffmpeg;
        ffmpeg.start(QStringLiteral("ffmpeg"), {"-v", "error", "-f", "lavfi", "-i", "testsrc=size=320x240:rate=10", "-t", "8",
                                                "-pix_fmt", "yuv420p", folder + QStringLiteral("/2.mp4")});
        if (!ffmpeg.waitForStarted())
            QSKIP("ffmpeg is not installed");
        QVERIFY(ffmpeg.waitForFinished(60000));
        QCOMPARE(ffmpeg.exitCode(), 0);
        WriteProfileInt("CSonavelDlg", "RdExtNum", 2);
        WriteProfileString("CSonavelDlg", "RdExt00", "mp3");
        WriteProfileString("CSonavelDlg", "RdExt01", "mp4");
        WriteProfileHexString("CSonavelDlg", "DefaultFolderPath", folder);
        // Real video output (the tests' environment asks for null outputs), silent audio.
        CPlayerControl::SetPlayerFactory([] {
            Player::Options options = Player::Options::fromEnvironment();
            options.nullAudio = true;
            options.nullVideo = false;
            return Player::create(options);
        });

        CSonavelDlg dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QTRY_COMPARE_WITH_TIMEOUT(dialog.windowTitle(), QStringLiteral("再生中 [ Song ]"), 10000);
        CWmpVideoDlg* video = dialog.VideoDlg();
        QVERIFY(!video->isVisible());
        CTrackListCtrl* list = dialog.TrackList();
        QCOMPARE(list->GetItemCount(), 2);
        const QRect row = list->visualRect(list->model()->index(1, 0));
        // A double click is a click and then the second press.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row.center());
        QTRY_COMPARE_WITH_TIMEOUT(dialog.windowTitle(), QStringLiteral("再生中 [ 2 ]"), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(video->isVisible(), 10000);
        QVERIFY(QTest::qWaitForWindowExposed(video));
        QTRY_VERIFY_WITH_TIMEOUT(ColourfulPixels(video->Surface()->grabFrame()) > 200, 10000);
        dialog.OnCommand(CSonavelDlg::IdStop);
        QTRY_VERIFY(!video->isVisible());
    }

    void dockedEdgesStayDocked()
    {
        const QRect desktop(0, 0, 1600, 1200);
        // Docked at the right edge: growing keeps the right edge there.
        const QRect right = CWmpVideoDlg::DockedFrame(QRect(1280, 100, 320, 240), QRect(1280, 100, 640, 480), desktop);
        QCOMPARE(right, QRect(960, 100, 640, 480));
        // Docked at the left and top edges: the top-left corner stays.
        const QRect topLeft = CWmpVideoDlg::DockedFrame(QRect(0, 0, 320, 240), QRect(0, 0, 640, 480), desktop);
        QCOMPARE(topLeft, QRect(0, 0, 640, 480));
        // Free in the middle, growing past the bottom: pushed up to the bottom edge.
        const QRect bottom = CWmpVideoDlg::DockedFrame(QRect(300, 900, 320, 240), QRect(300, 900, 640, 480), desktop);
        QCOMPARE(bottom, QRect(300, 720, 640, 480));
        // Free, growing past the right edge: pushed left until the right edge is on the desktop's.
        const QRect wide = CWmpVideoDlg::DockedFrame(QRect(100, 100, 320, 240), QRect(100, 100, 640, 480), desktop);
        QCOMPARE(wide, QRect(100, 100, 640, 480));
        const QRect past = CWmpVideoDlg::DockedFrame(QRect(1200, 100, 320, 240), QRect(1200, 100, 640, 480), desktop);
        QCOMPARE(past, QRect(960, 100, 640, 480));
    }

    void screenshotWhilePlaying()
    {
        // A folder of tagged tracks, one with a lyric file beside it, shown and one track playing.
        TempFolder tracks;
        const QString folder = tracks.mkdir(QStringLiteral("ミュージック"));
        const QStringList titles{"夜明けの歌", "青い空", "風のメロディ", "星降る夜に", "さくら", "Long Road Home"};
        for (int i = 0; i < titles.size(); ++i) {
            const QString name = folder + QString::asprintf("/%02d.mp3", i + 1);
            QVERIFY(!Mp3Fixture::write(name, {titles[i], QStringLiteral("歌手 %1").arg(i + 1), QStringLiteral("アルバム"),
                                              QString::number(i + 1)}, 8.0).isEmpty());
        }
        QVERIFY(TestFiles::writeBytes(folder + QStringLiteral("/03.lrc"), QByteArray("[00:00.00]la la la\r\n")));
        WriteProfileHexString("CSonavelDlg", "DefaultFolderPath", folder);
        CSonavelDlg dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        dialog.resize(760, 400); // wide enough for every column
        QTRY_COMPARE(dialog.width(), 760);
        CTrackListCtrl* list = dialog.TrackList();
        QCOMPARE(list->GetItemCount(), titles.size());
        QVERIFY(list->GetCheck(2));
        QVERIFY(!list->GetCheck(0));
        list->setFocus();
        dialog.Control().PlayRow(2);
        QTRY_COMPARE(dialog.windowTitle(), QStringLiteral("再生中 [ 風のメロディ ]"));
        Player* player = dialog.GetPlayer();
        QTRY_VERIFY_WITH_TIMEOUT(player->currentPosition() >= 1.0, 10000);
        dialog.Control().UpdateTick();
        QCOMPARE(dialog.TimeDisplay()->Text(), QStringLiteral("00:01"));
        const QString artifacts = qEnvironmentVariable("SONAVEL_BINARY_DIR") + QStringLiteral("/artifacts");
        QVERIFY(QDir().mkpath(artifacts));
        QVERIFY(dialog.grab().save(artifacts + QStringLiteral("/mainwindow.png")));
    }

private:
    std::unique_ptr<TempFolder> m_home;
    std::unique_ptr<TempFolder> m_folder;
    std::unique_ptr<MessageBoxRecorder> m_boxes;
};

SONAVEL_TEST_MAIN(MainWindowVideoTest)
#include "MainWindowVideoTest.moc"
