#include "platform/engine/VideoSurface.h"
#include "platform/engine/Player.h"
#include "tests/support/PictureChecks.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QImage>
#include <QVBoxLayout>
#include <QWidget>

// The picture reaches the widget through mpv's render API (needs a real display: runs under Xvfb).
class VideoSurfaceTest : public QObject
{
    Q_OBJECT

private slots:
    void rendersTheVideoIntoTheWidget();
    void playerCanGoBeforeItsSurface();
};

void VideoSurfaceTest::rendersTheVideoIntoTheWidget()
{
    Player::Options options;
    options.nullAudio = true;
    TempFolder playlists;
    options.playlistFolder = playlists.path();
    const auto player = Player::create(options);
    QVERIFY(player);
    QWidget host;
    auto* layout = new QVBoxLayout(&host);
    layout->setContentsMargins(0, 0, 0, 0);
    VideoSurface* surface = player->createVideoSurface(&host);
    layout->addWidget(surface);
    host.resize(320, 240);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));
    QTest::qWait(100);
    QCOMPARE(ColourfulPixels(surface->grabFrame()), 0);

    auto list = std::make_shared<Playlist>("video");
    list->appendItem(player->newMedia("av://lavfi:testsrc=size=320x240:rate=25"));
    QVERIFY(player->setCurrentPlaylist(list));
    QTRY_COMPARE_WITH_TIMEOUT(player->playState(), 3, 10000);
    QTRY_VERIFY_WITH_TIMEOUT(ColourfulPixels(surface->grabFrame()) > 500, 10000);
    QCOMPARE(player->currentMedia()->imageSourceWidth(), 320);
    QCOMPARE(player->currentMedia()->imageSourceHeight(), 240);

    QVERIFY(player->setFullScreen(true));
    QTRY_VERIFY(player->fullScreen());
    QVERIFY(player->setFullScreen(false));
    QTRY_VERIFY(!player->fullScreen());
    QVERIFY(player->stop());
}

// The main window releases the engine first and destroys the video window afterwards.
void VideoSurfaceTest::playerCanGoBeforeItsSurface()
{
    Player::Options options;
    options.nullAudio = true;
    TempFolder playlists;
    options.playlistFolder = playlists.path();
    auto player = Player::create(options);
    QVERIFY(player);
    QWidget host;
    VideoSurface* surface = player->createVideoSurface(&host);
    surface->resize(160, 120);
    host.resize(160, 120);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));
    auto list = std::make_shared<Playlist>("video");
    list->appendItem(player->newMedia("av://lavfi:testsrc=size=160x120:rate=25"));
    player->setCurrentPlaylist(list);
    QTRY_COMPARE_WITH_TIMEOUT(player->playState(), 3, 10000);
    QTRY_VERIFY_WITH_TIMEOUT(ColourfulPixels(surface->grabFrame()) > 100, 10000);
    player.reset();
    surface->update();
    QTest::qWait(100);
    QTest::mouseClick(surface, Qt::LeftButton);
    QCOMPARE(ColourfulPixels(surface->grabFrame()), 0);
}

SONAVEL_TEST_MAIN(VideoSurfaceTest)
#include "VideoSurfaceTest.moc"
