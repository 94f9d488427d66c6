#include "tests/onlinelyrics/LrclibTestServer.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include "platform/net/LrclibChallengeSolver.h"
#include "platform/net/LrclibClient.h"
#include "player/karaoke/LyricPublishDlg.h"
#include "player/karaoke/LyricSearchDlg.h"
#include "player/karaoke/LyricsMissCache.h"
#include "player/karaoke/OnlineLyricsStrings.h"
#include "player/karaoke/SavedLyricsFolder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTreeWidget>

#include <unistd.h>

#include <memory>

using Misbehaviour = LrclibTestServer::Misbehaviour;
Q_DECLARE_METATYPE(Misbehaviour)

namespace {

const QString kSynced = QStringLiteral("[00:01.00]さくら さくら\n[00:04.50]やよいの空は");

// A folder no one can write to, not even root (whom only the immutable flag stops), for the
// life of the object.
class ReadOnlyFolder
{
public:
    explicit ReadOnlyFolder(const QString& path) : m_path(path)
    {
        m_made = geteuid() == 0 ? QProcess::execute("chattr", {"+i", path}) == 0
                                : QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner);
    }
    ~ReadOnlyFolder()
    {
        if (geteuid() == 0)
            QProcess::execute("chattr", {"-i", m_path});
        else
            QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    bool IsMade() const { return m_made && !QFileInfo(m_path + "/probe").isFile() && !TestFiles::writeBytes(m_path + "/probe", "x"); }

private:
    QString m_path;
    bool m_made = false;
};

QStringList Titles(const QTreeWidget* list, int column = CLyricSearchDlg::ColumnTitle)
{
    QStringList titles;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        titles << list->topLevelItem(i)->text(column);
    return titles;
}

} // namespace

// Search, saving, publishing and the remembered misses, through the real client and dialogs
// against a server of the test's own on the loopback address.
class OnlineLyricsTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        qputenv("HOME", m_home.path().toUtf8());
        RegisterOnlineLyricsStrings();
    }

    void init()
    {
        m_server = std::make_unique<LrclibTestServer>();
        QVERIFY(m_server->Listen());
        m_client = std::make_unique<LrclibClient>();
        m_client->SetServer(m_server->Url());
        m_client->SetUserAgent(QStringLiteral("Sonavel/9.9 (https://sonavel.org/)"));
        m_folder = std::make_unique<TempFolder>();
        m_track = {m_folder->write("song.mp3", "ID3"),
                   {QStringLiteral("歌"), QStringLiteral("歌手"), QString(), 180.25}};
        m_boxes = std::make_unique<MessageBoxRecorder>();
    }

    void cleanup()
    {
        m_boxes.reset();
        QDir(CSavedLyricsFolder::Folder()).removeRecursively();
    }

    void searchListsBestFirst_data()
    {
        QTest::addColumn<double>("trackSeconds");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("duration known") << 180.0 << QStringList{"C", "F", "B", "D", "A"};
        QTest::newRow("duration unknown") << 0.0 << QStringList{"A", "C", "F", "B", "D"};
    }

    void searchListsBestFirst()
    {
        QFETCH(double, trackSeconds);
        QFETCH(QStringList, order);
        const QJsonValue none = QJsonValue::Null;
        m_server->Records = {LrclibTestServer::Record(1, "A", "歌手", "x", 240, kSynced, "p"),
                             LrclibTestServer::Record(2, "B", "歌手", "x", 181, none, "p"),
                             LrclibTestServer::Record(3, "C", "歌手", "x", 179, kSynced, "p"),
                             LrclibTestServer::Record(4, "D", "歌手", "x", 180, none, none, true),
                             LrclibTestServer::Record(6, "F", "歌手", "x", 182, kSynced, "p")};
        m_track.Tags = {QString(), QStringLiteral("歌手"), QString(), trackSeconds};
        CLyricSearchDlg dialog(*m_client, m_track);
        QSignalSpy finished(&dialog, &CLyricSearchDlg::SearchFinished);
        dialog.show();
        QVERIFY(finished.wait());
        QCOMPARE(Titles(dialog.ResultList()), order);
        QCOMPARE(dialog.StatusText(), QStringLiteral("5 件見つかりました"));
        // Without a title the artist goes as free text; the program names itself.
        QCOMPARE(m_server->Requests.last().Query.queryItemValue("q"), QStringLiteral("歌手"));
        QCOMPARE(m_server->Requests.last().Headers.value("user-agent"), QByteArray("Sonavel/9.9 (https://sonavel.org/)"));
        const auto cell = [&dialog, &order](const char* title, int column) {
            return dialog.ResultList()->topLevelItem(order.indexOf(title))->text(column);
        };
        QCOMPARE(cell("B", CLyricSearchDlg::ColumnKind), QStringLiteral("テキスト"));
        QCOMPARE(cell("D", CLyricSearchDlg::ColumnKind), QStringLiteral("インスト"));
        QCOMPARE(cell("C", CLyricSearchDlg::ColumnKind), QStringLiteral("同期"));
        QCOMPARE(cell("C", CLyricSearchDlg::ColumnDuration), QStringLiteral("2:59"));
        QCOMPARE(dialog.PreviewText(), kSynced);
        // Enter in a field searches again, and only Enter on a result saves it.
        QSignalSpy saved(&dialog, &CLyricSearchDlg::LyricsSaved);
        QTest::keyClick(dialog.TitleEdit(), Qt::Key_Return);
        QVERIFY(finished.wait());
        QCOMPARE(m_server->Requests.size(), 2);
        QVERIFY(saved.isEmpty() && dialog.isVisible());
        QTest::keyClick(dialog.ResultList(), Qt::Key_Return);
        QCOMPARE(saved.size(), 1);
        QVERIFY(!dialog.isVisible());
    }

    void searchSendsTheFieldsIntact()
    {
        const QString title = QStringLiteral("A&B + C=D/歌");
        m_server->Records = {LrclibTestServer::Record(1, title, "x", "y", 180, kSynced, "p")};
        m_track.Tags = {title, QStringLiteral("x"), QStringLiteral("別のアルバム"), 180};
        CLyricSearchDlg dialog(*m_client, m_track);
        QSignalSpy finished(&dialog, &CLyricSearchDlg::SearchFinished);
        dialog.Search();
        QVERIFY(finished.wait());
        // The album the service spells otherwise found nothing; without it the song is found.
        QCOMPARE(m_server->Requests.size(), 2);
        QCOMPARE(m_server->Requests[0].Query.queryItemValue("album_name", QUrl::FullyDecoded), QStringLiteral("別のアルバム"));
        QCOMPARE(m_server->Requests[1].Query.queryItemValue("track_name", QUrl::FullyDecoded), title);
        QVERIFY(!m_server->Requests[1].Query.hasQueryItem("album_name"));
        QCOMPARE(Titles(dialog.ResultList()), QStringList{title});
    }

    void getMatchesTheDuration_data()
    {
        QTest::addColumn<double>("seconds");
        QTest::addColumn<bool>("cachedOnly");
        QTest::addColumn<int>("foundId"); // 0: TrackNotFound
        QTest::newRow("same") << 200.0 << false << 7;
        QTest::newRow("2 s longer") << 202.0 << false << 7;
        QTest::newRow("2 s shorter, cached") << 198.4 << true << 7;
        QTest::newRow("3 s longer") << 203.0 << false << 0;
        QTest::newRow("unknown") << 0.0 << false << 7;
    }

    void getMatchesTheDuration()
    {
        QFETCH(double, seconds);
        QFETCH(bool, cachedOnly);
        QFETCH(int, foundId);
        m_server->Records = {LrclibTestServer::Record(7, "歌", "歌手", "アルバム", 200, kSynced, "p")};
        std::optional<std::pair<LrclibRecord, LrclibError>> answer;
        m_client->Get({"歌", "歌手", "アルバム", seconds}, cachedOnly, nullptr,
                      [&answer](const LrclibRecord& record, const LrclibError& error) { answer = {record, error}; });
        QTRY_VERIFY(answer);
        QCOMPARE(answer->first.Id, qint64(foundId));
        QCOMPARE(answer->second.What, foundId ? LrclibError::Kind::None : LrclibError::Kind::NotFound);
        const LrclibTestServer::Request& request = m_server->Requests.last();
        QCOMPARE(request.Path, cachedOnly ? QStringLiteral("/api/get-cached") : QStringLiteral("/api/get"));
        QCOMPARE(request.Query.queryItemValue("duration"), seconds > 0 ? QString::number(qRound(seconds)) : QString());
        if (foundId)
            QCOMPARE(answer->first.SyncedLyrics, kSynced);
    }

    void savesWhereTheTracksLyricsBelong_data()
    {
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<bool>("existingKra");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("plain"); // only plain lyrics when not empty
        QTest::addColumn<QString>("written"); // relative to the track folder, or "data:" + name; empty: nothing
        QTest::newRow("beside the track") << false << false << 0 << "歌" << "" << "song.lrc";
        QTest::newRow("plain lyrics") << false << false << 0 << "歌" << "さくら\nやよい" << "song.lrc";
        QTest::newRow("lyric file kept") << false << true << int(IDNO) << "歌" << "" << "";
        QTest::newRow("lyric file replaced") << false << true << int(IDYES) << "歌" << "" << "song.kra";
        QTest::newRow("read-only folder") << true << false << 0 << "歌" << "" << "data:歌手 - 歌.lrc";
        QTest::newRow("unsafe title") << true << false << 0 << "../../etc/x\x01y\n" << "" << "data:歌手 - ____etc_x_y.lrc";
    }

    void savesWhereTheTracksLyricsBelong()
    {
        QFETCH(bool, readOnly);
        QFETCH(bool, existingKra);
        QFETCH(int, answer);
        QFETCH(QString, title);
        QFETCH(QString, plain);
        QFETCH(QString, written);
        const QByteArray oldLyrics = TestFiles::encode(QStringLiteral("[00:00:50]古い"), 1200, true);
        if (existingKra)
            m_folder->write("song.kra", oldLyrics);
        m_server->Records = {LrclibTestServer::Record(1, title, "歌手", "", 180, plain.isEmpty() ? QJsonValue(kSynced) : QJsonValue(), plain)};
        m_track.Tags.TrackName = title;
        std::unique_ptr<ReadOnlyFolder> locked;
        if (readOnly) {
            locked = std::make_unique<ReadOnlyFolder>(m_folder->path());
            if (!locked->IsMade())
                QSKIP("the folder cannot be made read-only here");
        }
        if (answer)
            m_boxes->queueAnswer(answer);
        CLyricSearchDlg dialog(*m_client, m_track);
        QSignalSpy saved(&dialog, &CLyricSearchDlg::LyricsSaved);
        QSignalSpy finished(&dialog, &CLyricSearchDlg::SearchFinished);
        dialog.Search();
        QVERIFY(finished.wait());
        QCOMPARE(dialog.SaveSelected(), !written.isEmpty());
        QCOMPARE(m_boxes->count(), existingKra ? 1 : 0); // the question before replacing
        const QString path = written.startsWith("data:") ? CSavedLyricsFolder::Folder() + '/' + written.mid(5)
                                                         : m_folder->file(written);
        if (written.isEmpty()) {
            QCOMPARE(TestFiles::readBytes(m_folder->file("song.kra")), oldLyrics);
            QVERIFY(!QFileInfo::exists(m_folder->file("song.lrc")));
            return;
        }
        QCOMPARE(saved.value(0), QVariantList({m_track.Path, path}));
        QCOMPARE(QFileInfo(path).absolutePath(), written.startsWith("data:") ? CSavedLyricsFolder::Folder() : m_folder->path());
        const QString idTags = QStringLiteral("[ti:%1]\n[ar:歌手]\n").arg(title.trimmed());
        QCOMPARE(QString::fromUtf8(TestFiles::readBytes(path)), idTags + (plain.isEmpty() ? kSynced : plain) + '\n');
        // The lyric lookup finds the file for the track again.
        QCOMPARE(CSavedLyricsFolder::FindLyrics(m_track.Path, "歌手", title), std::optional(path));
    }

    void badAnswersAreReportedAndWriteNothing_data()
    {
        QTest::addColumn<Misbehaviour>("misbehaviour");
        QTest::addColumn<QString>("server"); // empty: the test's
        QTest::addColumn<QString>("synced");
        QTest::addColumn<QString>("message");
        const QString unreadable = QStringLiteral("歌詞サーバーの応答を読み取れません\n(");
        QTest::newRow("not JSON") << Misbehaviour::NotJson << "" << kSynced << unreadable + "JSON: ";
        QTest::newRow("object for an array") << Misbehaviour::ObjectForArray << "" << kSynced << unreadable + "JSON array expected)";
        QTest::newRow("field of the wrong type") << Misbehaviour::WrongType << "" << kSynced << unreadable + "[0].duration: number expected)";
        QTest::newRow("50 MB") << Misbehaviour::Huge << "" << kSynced << "歌詞サーバーの応答が 2 MB を超えたため受け取りを中止しました";
        QTest::newRow("3 MB without a length") << Misbehaviour::HugeWithoutLength << "" << kSynced << "歌詞サーバーの応答が 2 MB を超えたため";
        QTest::newRow("never answers") << Misbehaviour::NeverAnswers << "" << kSynced << "歌詞サーバーが 1.5 秒以内に応答しませんでした";
        QTest::newRow("connection reset") << Misbehaviour::Resets << "" << kSynced << "歌詞サーバーとの接続が途中で切れました";
        QTest::newRow("redirect to http") << Misbehaviour::RedirectsToHttp << "" << kSynced << "暗号化されていない接続への転送を拒否しました\n(http://127.0.0.1:";
        QTest::newRow("redirect to https is followed") << Misbehaviour::RedirectsToHttps << "" << kSynced << "歌詞サーバー \"http://127.0.0.1:";
        QTest::newRow("HTTP error") << Misbehaviour::ServerError << "" << kSynced << "歌詞サーバーがエラーを返しました (HTTP 500)\ndatabase is down";
        QTest::newRow("no server") << Misbehaviour::None << "http://127.0.0.1:1" << kSynced << "歌詞サーバー \"http://127.0.0.1:1\" に接続できません";
        QTest::newRow("plain http elsewhere") << Misbehaviour::None << "http://lyrics.example" << kSynced << "歌詞サーバーのアドレス \"http://lyrics.example\" は使えません";
        QTest::newRow("synced tags backwards") << Misbehaviour::None << "" << "[00:05.00]b\n[00:01.00]a" << "同期歌詞のタイムタグが逆順になっているため保存できません";
        QTest::newRow("synced tag missing") << Misbehaviour::None << "" << "[00:01.00]a\nb" << "同期歌詞の 2 行目にタイムタグがないため保存できません";
    }

    void badAnswersAreReportedAndWriteNothing()
    {
        QFETCH(Misbehaviour, misbehaviour);
        QFETCH(QString, server);
        QFETCH(QString, synced);
        QFETCH(QString, message);
        m_server->Records = {LrclibTestServer::Record(1, "歌", "歌手", "", 180, synced, "p")};
        m_server->Misbehave = misbehaviour;
        m_client->SetTimeout(1500);
        if (!server.isEmpty())
            m_client->SetServer(QUrl(server));
        CLyricSearchDlg dialog(*m_client, m_track);
        QSignalSpy finished(&dialog, &CLyricSearchDlg::SearchFinished);
        dialog.Search();
        QVERIFY(finished.wait(5000));
        QVERIFY(!dialog.IsSearching());
        if (misbehaviour == Misbehaviour::None && server.isEmpty()) {
            // The answer was sound; its lyrics are not.
            QVERIFY(!dialog.SaveSelected());
            QCOMPARE(m_boxes->count(), 1);
            QCOMPARE(m_boxes->prompts().first().text, message);
        } else {
            QVERIFY2(dialog.StatusText().startsWith(message), qPrintable(dialog.StatusText()));
            QCOMPARE(dialog.ResultList()->topLevelItemCount(), 0);
            QVERIFY(!dialog.SaveButton()->isEnabled());
        }
        QCOMPARE(QDir(m_folder->path()).entryList(QDir::Files), QStringList{"song.mp3"});
        QVERIFY(!QFileInfo::exists(CSavedLyricsFolder::Folder()));
    }

    void publishSolvesTheChallenge_data()
    {
        QTest::addColumn<QByteArray>("target");
        QTest::addColumn<Misbehaviour>("misbehaviour");
        QTest::addColumn<QString>("answer"); // the message shown; empty: cancelled while solving
        QTest::newRow("published") << QByteArray("00ff" + QByteArray(60, 'f')) << Misbehaviour::None << "歌詞を公開しました。ありがとうございます";
        QTest::newRow("server fails") << QByteArray(64, 'f') << Misbehaviour::ServerError << "歌詞の公開に失敗しました\n歌詞サーバーがエラーを返しました (HTTP 500)\ndatabase is down";
        QTest::newRow("cancelled") << QByteArray(62, '0') + "01" << Misbehaviour::None << "";
    }

    void publishSolvesTheChallenge()
    {
        QFETCH(QByteArray, target);
        QFETCH(Misbehaviour, misbehaviour);
        QFETCH(QString, answer);
        m_server->TargetHex = target;
        m_server->Misbehave = misbehaviour;
        CLyricPublishDlg dialog(*m_client, m_track, {kSynced, QStringLiteral("さくら さくら\nやよいの空は")});
        QSignalSpy finished(&dialog, &CLyricPublishDlg::PublishFinished);
        dialog.Publish();
        QVERIFY(dialog.IsWorking());
        if (answer.isEmpty()) {
            QTRY_VERIFY(!dialog.Progress()->isHidden());
            QTest::qWait(300);
            dialog.reject(); // "キャンセル"
            QVERIFY(!dialog.IsWorking());
            QVERIFY(dialog.Progress()->isHidden());
            QCOMPARE(m_boxes->count(), 0);
            QVERIFY(m_server->Published.isEmpty());
            return;
        }
        QVERIFY(finished.wait(20000));
        QCOMPARE(finished.first().first().toBool(), misbehaviour == Misbehaviour::None);
        QCOMPARE(m_boxes->prompts().last().text, answer);
        if (misbehaviour != Misbehaviour::None)
            return;
        // The server took the token, so the nonce met its target; it got what the dialog showed.
        QCOMPARE(m_server->Published.size(), 1);
        const QJsonObject sent = m_server->Published.first();
        QCOMPARE(sent.value("trackName").toString(), QStringLiteral("歌"));
        QCOMPARE(sent.value("artistName").toString(), QStringLiteral("歌手"));
        QCOMPARE(sent.value("duration").toDouble(), 180.25);
        QCOMPARE(dialog.DurationText(), QStringLiteral("3:00 (duration: 180.25)"));
        QCOMPARE(sent.value("syncedLyrics").toString(), dialog.Record().SyncedLyrics);
        QCOMPARE(sent.value("plainLyrics").toString(), QStringLiteral("さくら さくら\nやよいの空は"));
    }

    void challengeIsSolvedOnAnyNumberOfThreads_data()
    {
        QTest::addColumn<int>("threads");
        QTest::newRow("one") << 1;
        QTest::newRow("three") << 3;
    }

    void challengeIsSolvedOnAnyNumberOfThreads()
    {
        QFETCH(int, threads);
        const QByteArray targetHex = "000fff" + QByteArray(58, 'f');
        std::atomic<bool> cancel{false};
        std::atomic<quint64> tried{0};
        const auto nonce = LrclibChallengeSolver::Solve("prefix", QByteArray::fromHex(targetHex), cancel, tried, threads);
        QVERIFY(nonce);
        QVERIFY(QCryptographicHash::hash("prefix" + QByteArray::number(*nonce), QCryptographicHash::Sha256).toHex() <= targetHex);
    }

    void missesAreRememberedForAWeek_data()
    {
        QTest::addColumn<qint64>("ageSeconds");
        QTest::addColumn<bool>("remembered");
        QTest::newRow("just now") << qint64(0) << true;
        QTest::newRow("six days and a bit") << qint64(7 * 86400 - 60) << true;
        QTest::newRow("a week") << qint64(7 * 86400) << false;
        QTest::newRow("a month") << qint64(30 * 86400) << false;
    }

    void missesAreRememberedForAWeek()
    {
        QFETCH(qint64, ageSeconds);
        QFETCH(bool, remembered);
        const QString file = m_folder->file("data/misses.json");
        const QDateTime now = QDateTime::currentDateTimeUtc();
        CLyricsMissCache(file).RememberMiss({"Song", "Singer", "Album", 180.2}, now.addSecs(-ageSeconds));
        // Another start reads the file; names match without regard to case.
        CLyricsMissCache again(file);
        QCOMPARE(again.IsRecentMiss({"song", "SINGER", "album", 179.9}, now), remembered);
        QVERIFY(!again.IsRecentMiss({"Song", "Another singer", "Album", 180}, now));
    }

private:
    QTemporaryDir m_home;
    std::unique_ptr<LrclibTestServer> m_server;
    std::unique_ptr<LrclibClient> m_client;
    std::unique_ptr<TempFolder> m_folder;
    std::unique_ptr<MessageBoxRecorder> m_boxes;
    LyricsTrack m_track;
};

SONAVEL_TEST_MAIN(OnlineLyricsTest)
#include "OnlineLyricsTest.moc"
