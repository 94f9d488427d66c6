#include "tests/onlinelyrics/LrclibTestServer.h"
#include "tests/support/Id3Writer.h"
#include "tests/support/Mp3Fixture.h"
#include "tests/support/PlayerSandbox.h"
#include "tests/support/TestMain.h"

#include "platform/engine/Media.h"
#include "player/app/LyricCommands.h"
#include "player/app/OnlineLyricCommands.h"
#include "player/app/SonavelDlg.h"
#include "player/karaoke/AutoLyricsLookup.h"
#include "player/karaoke/KaraokeData.h"
#include "player/karaoke/KaraokeDlg.h"
#include "player/karaoke/KaraokeOnlineMenu.h"
#include "player/karaoke/KaraokeStatic.h"
#include "player/karaoke/LrclibLyrics.h"
#include "player/karaoke/LyricPublishDlg.h"
#include "player/karaoke/LyricSearchDlg.h"
#include "player/library/TrackListCtrl.h"
#include "player/settings/ProfileHelpers.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QPushButton>
#include <QTreeWidget>

namespace {

constexpr char kApp[] = "CSonavelApp";

QString Caption(const QString& title)
{
    return QStringLiteral("再生中 [ %1 ]").arg(title);
}

QString Artifacts()
{
    const QString folder = qEnvironmentVariable("SONAVEL_BINARY_DIR") + QStringLiteral("/artifacts");
    QDir().mkpath(folder);
    return folder;
}

} // namespace

// Online lyrics in the player as a user meets them: the automatic lookup of a track that starts
// without lyrics, and "歌詞を検索…" on the lyric menu, against the test's own server.
class OnlineLyricsWindowTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { m_sandbox.SetUpHome(); }

    void init()
    {
        m_sandbox.SetUpTest();
        m_server = std::make_unique<LrclibTestServer>();
        QVERIFY(m_server->Listen());
        WriteProfileString(kApp, "LyricsServer", m_server->Url().toString());
    }

    void cleanup()
    {
        m_server.reset();
        m_sandbox.TearDownTest();
    }

    void automaticLookupShowsLyricsWithinThePlay_data()
    {
        QTest::addColumn<int>("setting");
        QTest::addColumn<bool>("serverHasLyrics");
        QTest::addColumn<int>("requests"); // over two plays
        QTest::newRow("found, then read from the file") << 1 << true << 1;
        QTest::newRow("missed, then remembered") << 1 << false << 1;
        QTest::newRow("off") << 0 << true << 0;
        QTest::newRow("never asked") << -1 << true << 0;
    }

    void automaticLookupShowsLyricsWithinThePlay()
    {
        QFETCH(int, setting);
        QFETCH(bool, serverHasLyrics);
        QFETCH(int, requests);
        const QString folder = m_sandbox.temp->mkdir("曲");
        const QList<Id3Writer::Frame> frames{{"TIT2", Id3Writer::textData(Id3Writer::Utf16, "歌")},
                                             {"TPE1", Id3Writer::textData(Id3Writer::Utf16, "歌手")}};
        QVERIFY(TestFiles::writeBytes(folder + "/a.mp3", Id3Writer::tag(frames) + Mp3Fixture::silentFrames(30.0)));
        WriteProfileHexString("CSonavelDlg", "DefaultFolderPath", folder);
        if (setting >= 0)
            WriteProfileInt(kApp, "LyricsAutoLookup", setting);
        if (serverHasLyrics)
            m_server->Records = {LrclibTestServer::Record(3, "歌", "歌手", "", 30, "[00:00.20]うた", "うた")};
        CSonavelDlg dialog;
        CKaraokeDlg& window = dialog.Lyrics().KaraokeWindow();
        for (int play = 0; play < 2; ++play) {
            QTRY_COMPARE(dialog.windowTitle(), Caption("歌"));
            QTRY_VERIFY(!dialog.Lyrics().Online().AutoLookup().IsBusy());
            QTest::qWait(300);
            QCOMPARE(window.IsWindowCreated(), requests && serverHasLyrics);
            dialog.OnCommand(CSonavelDlg::IdStop);
            QTRY_COMPARE(dialog.windowTitle(), QStringLiteral("停止中"));
            dialog.OnCommand(CSonavelDlg::IdPlay);
        }
        QCOMPARE(m_server->Requests.size(), requests);
        if (!requests)
            return;
        QCOMPARE(m_server->Requests.first().Path, QStringLiteral("/api/get"));
        QCOMPARE(m_server->Requests.first().Query.queryItemValue("duration"), QStringLiteral("30"));
        QCOMPARE(dialog.TrackList()->GetCheck(0), serverHasLyrics);
        if (serverHasLyrics) {
            QCOMPARE(window.LyricPath(), folder + "/a.lrc");
            QCOMPARE(dialog.Lyrics().CurrentLyricPath(), folder + "/a.lrc");
        }
    }

    void searchFromTheLyricMenuLightsUpADemoTrack()
    {
        const QDir demo(qEnvironmentVariable("SONAVEL_BINARY_DIR") + "/demo");
        const QString name = demo.entryList({"*.mp3"}, QDir::Files, QDir::Name).value(0);
        const std::optional<QString> demoLyrics = CKaraokeData::FindKaraokeFile(demo.filePath(name));
        QVERIFY2(demoLyrics, "the build writes the demo library");
        // The track without its lyric file, and the server holding its lyrics line-synced.
        const QString folder = m_sandbox.temp->mkdir("demo");
        QVERIFY(QFile::copy(demo.filePath(name), folder + '/' + name));
        CKaraokeData document;
        int codePage = 932;
        document.ReadKaraokeFile(*demoLyrics, codePage);
        const CLrclibLyrics::Lines lines = CLrclibLyrics::LineSynced(document);
        const MediaPtr media = Media::forFile(folder + '/' + name);
        const QString title = *media->getItemInfo("Title");
        const QString artist = *media->getItemInfo("Author");
        m_server->Records = {LrclibTestServer::Record(2, title, artist, "?", media->duration() + 40, QJsonValue(), lines.Plain),
                             LrclibTestServer::Record(1, title, artist, "?", media->duration(), lines.Synced, lines.Plain)};
        WriteProfileHexString("CSonavelDlg", "DefaultFolderPath", folder);

        CSonavelDlg dialog;
        dialog.show();
        QTRY_COMPARE(dialog.windowTitle(), Caption(title));
        CLyricCommands& lyrics = dialog.Lyrics();
        QVERIFY(!lyrics.KaraokeWindow().IsWindowCreated());
        QCOMPARE(lyrics.PrepareContextMenu(dialog.TrackList()->CheckMarkRect(0).center()), std::optional(CLyricCommands::PopupLyricMark));
        m_sandbox.boxes->queueAnswer(IDNO); // the automatic lookup, asked once
        lyrics.OnCommand(CLyricCommands::IdLyricsSearch);
        QCOMPARE(m_sandbox.boxes->prompts().value(0).caption, QStringLiteral("LyricsAutoLookup"));
        QCOMPARE(GetProfileInt(kApp, "LyricsAutoLookup", -1), 0);
        CLyricSearchDlg* search = lyrics.Online().SearchWindow();
        QVERIFY(search && search->isVisible());
        QTRY_COMPARE(search->ResultList()->topLevelItemCount(), 2);
        QCOMPARE(search->ResultList()->topLevelItem(0)->text(CLyricSearchDlg::ColumnKind), QStringLiteral("同期"));
        QTest::qWait(200);
        QVERIFY(search->grab().save(Artifacts() + "/lyric-search.png"));

        QTest::mouseClick(search->SaveButton(), Qt::LeftButton);
        CKaraokeDlg& window = lyrics.KaraokeWindow();
        QTRY_VERIFY(window.IsWindowCreated());
        QCOMPARE(window.LyricPath(), folder + '/' + QFileInfo(name).completeBaseName() + ".lrc");
        QVERIFY(dialog.TrackList()->GetCheck(0));
        QCOMPARE(window.Display()->Data().Header.Title, title);
        // The lines light up as playback reaches them: the first is sung once the second is.
        const CKaraokeBlock* firstLine = window.Display()->Data().FirstBlock()->Next();
        QVERIFY(firstLine && firstLine->Next());
        const auto stateOf = [&window](const CKaraokeBlock* block) {
            return window.Display()->StateAt(block, window.Display()->LyricClockMs());
        };
        QTRY_VERIFY_WITH_TIMEOUT(stateOf(firstLine->Next()) == CKaraokeStatic::BlockState::Current, 30000);
        QCOMPARE(stateOf(firstLine), CKaraokeStatic::BlockState::Sung);
        QVERIFY(window.grab().save(Artifacts() + "/lyric-search-karaoke.png"));

        // The karaoke window's 公開… offers the file back as the same line-synced lyrics.
        CKaraokeOnlineMenu& menu = lyrics.Online().KaraokeMenu();
        menu.UpdateItems();
        QVERIFY(menu.PublishAction()->isEnabled());
        menu.PublishAction()->trigger();
        QVERIFY(lyrics.Online().PublishWindow());
        QCOMPARE(lyrics.Online().PublishWindow()->Record().SyncedLyrics, lines.Synced);
        QCOMPARE(lyrics.Online().PublishWindow()->Record().Track.TrackName, title);
    }

private:
    PlayerSandbox m_sandbox;
    std::unique_ptr<LrclibTestServer> m_server;
};

SONAVEL_TEST_MAIN(OnlineLyricsWindowTest)
#include "OnlineLyricsWindowTest.moc"
