#include "tests/engine/EngineHarness.h"
#include "tests/support/TestMain.h"

#include <QFile>
#include <QProcess>
#include <QSignalSpy>

namespace {

// A list of four 3-second items played in shuffle: the first, then `steps` times next. The items
// in the order they played (shorter when the engine refused a step).
QList<MediaPtr> shuffleThrough(EngineHarness& engine, PlaylistPtr& list, const QString& prefix, int steps)
{
    QStringList paths;
    for (int i = 0; i < 4; ++i)
        paths << engine.mp3(prefix + QString::number(i) + QStringLiteral(".mp3"), 3.0);
    list = engine.listOf(paths);
    Player& player = engine.player();
    player.setMode("shuffle", true);
    player.setCurrentPlaylist(list);
    QList<MediaPtr> order;
    if (!engine.waitForState(3))
        return order;
    order << player.currentMedia();
    for (int i = 0; i < steps && player.next(); ++i)
        order << player.currentMedia();
    return order;
}

} // namespace

class PlaybackTest : public QObject
{
    Q_OBJECT

private slots:
    void startsThroughTransitioningToPlaying();
    void endOfListStopsWithFirstItemCurrent();
    void advancesThroughTheListInOrder();
    void loopWrapsToTheFirstItem();
    void shufflePlaysEveryItemOncePerRound();
    void shuffleWithLoopPlaysEveryItemOnceEachRound();
    void autoStartOffWaitsInReady();
    void pauseResumeAndSeekReadBack();
    void stopAndPlayAgain();
    void playItemAndNextPrevious();
    void availabilityFollowsState();
    void shuffleNextAndPrevious();
    void shufflePreviousSkipsItemsNoLongerListed();
    void itemsPlayedInListOrderAreNotKept();
    void switchingTheCurrentPlaylist();
    void modesAndVolume();
    void openStatesAccompanyAnItem();
    void endedHandlerMayStartAnotherList();
    void changingTheListWhilePlaying();
    void badInputIsSkipped_data();
    void badInputIsSkipped();
    void everyItemFailingStops();
    void playlistFileIsSkippedLikeABadItem();
    void videoReportsItsPictureSize();
    void videoWithoutASurfaceStillPlays();
    void versionAndSurfaceWithoutDisplay();
};

void PlaybackTest::startsThroughTransitioningToPlaying()
{
    EngineHarness engine;
    QVERIFY(engine.isValid());
    QCOMPARE(engine.player().playState(), 0);
    const QString path = engine.mp3("one.mp3", 0.3);
    QVERIFY(engine.player().setCurrentPlaylist(engine.listOf({path})));
    QVERIFY(engine.waitForState(1));
    const QList<int> states = engine.takeStates();
    QCOMPARE(states, (QList<int>{9, 3, 8, 1}));
}

void PlaybackTest::endOfListStopsWithFirstItemCurrent()
{
    EngineHarness engine;
    const QString first = engine.mp3("a.mp3", 0.2);
    const QString second = engine.mp3("b.mp3", 0.2);
    const PlaylistPtr list = engine.listOf({first, second});
    engine.player().setCurrentPlaylist(list);
    QVERIFY(engine.waitForState(1));
    QCOMPARE(engine.takeStates(), (QList<int>{9, 3, 8, 9, 3, 8, 1}));
    QCOMPARE(engine.player().playState(), 1);
    QCOMPARE(engine.player().currentMedia(), list->item(0));
    QCOMPARE(engine.player().currentPosition(), 0.0);
}

void PlaybackTest::advancesThroughTheListInOrder()
{
    EngineHarness engine(false);
    QStringList paths;
    for (const char* name : {"1", "2", "3"})
        paths << engine.mp3(QString::fromLatin1(name) + QStringLiteral(".mp3"), 0.15);
    engine.player().setCurrentPlaylist(engine.listOf(paths));
    QVERIFY(engine.waitForState(1));
    QCOMPARE(engine.playedTitles(), (QStringList{"1", "2", "3"}));
}

void PlaybackTest::loopWrapsToTheFirstItem()
{
    EngineHarness engine(false);
    const QStringList paths{engine.mp3("x.mp3", 0.15), engine.mp3("y.mp3", 0.15)};
    engine.player().setMode("loop", true);
    engine.player().setCurrentPlaylist(engine.listOf(paths));
    QVERIFY(QTest::qWaitFor([&] { return engine.playedTitles().size() >= 4; }, 10000));
    QCOMPARE(engine.playedTitles().mid(0, 4), (QStringList{"x", "y", "x", "y"}));
    QVERIFY(!engine.takeStates().contains(1));
    QVERIFY(engine.player().stop());
    QCOMPARE(engine.player().playState(), 1);
}

void PlaybackTest::shufflePlaysEveryItemOncePerRound()
{
    EngineHarness engine(false);
    QStringList paths;
    for (int i = 0; i < 5; ++i)
        paths << engine.mp3(QStringLiteral("s%1.mp3").arg(i), 0.1);
    engine.player().setMode("shuffle", true);
    engine.player().setCurrentPlaylist(engine.listOf(paths));
    QVERIFY(engine.waitForState(1, 15000));
    QStringList played = engine.playedTitles();
    QCOMPARE(played.size(), 5);
    QCOMPARE(played.first(), QStringLiteral("s0"));
    played.sort();
    QCOMPARE(played, (QStringList{"s0", "s1", "s2", "s3", "s4"}));
}

// With loop, a round ends when every item has played once; the next round again plays each once.
void PlaybackTest::shuffleWithLoopPlaysEveryItemOnceEachRound()
{
    EngineHarness engine(false);
    QStringList paths;
    for (int i = 0; i < 5; ++i)
        paths << engine.mp3(QStringLiteral("w%1.mp3").arg(i), 0.1);
    engine.player().setMode("shuffle", true);
    engine.player().setMode("loop", true);
    engine.player().setCurrentPlaylist(engine.listOf(paths));
    QVERIFY(QTest::qWaitFor([&] { return engine.playedTitles().size() >= 15; }, 30000));
    engine.player().stop();
    const QStringList played = engine.playedTitles();
    for (int round = 0; round < 3; ++round) {
        QStringList titles = played.mid(round * 5, 5);
        titles.sort();
        QVERIFY2(titles == (QStringList{"w0", "w1", "w2", "w3", "w4"}), qPrintable(played.join(' ')));
    }
    // No item plays twice in a row across the end of a round.
    for (int i = 1; i < 15; ++i)
        QVERIFY2(played[i] != played[i - 1], qPrintable(played.join(' ')));
}

void PlaybackTest::autoStartOffWaitsInReady()
{
    EngineHarness engine;
    engine.player().setAutoStart(false);
    QVERIFY(!engine.player().autoStart());
    engine.player().setCurrentPlaylist(engine.listOf({engine.mp3("r.mp3", 0.3)}));
    QVERIFY(engine.waitForState(10));
    QCOMPARE(engine.takeStates(), (QList<int>{9, 10}));
    QCOMPARE(engine.player().currentPosition(), 0.0);
    QVERIFY(engine.player().isAvailable("play"));
    QVERIFY(!engine.player().isAvailable("pause"));
    QVERIFY(engine.player().play());
    QVERIFY(engine.waitForState(1));
    QCOMPARE(engine.takeStates(), (QList<int>{3, 8, 1}));
    // Play while the item is still opening: it starts once open, without waiting in ready.
    engine.player().setCurrentPlaylist(engine.listOf({engine.mp3("s.mp3", 0.3)}));
    QCOMPARE(engine.player().playState(), 9);
    QVERIFY(engine.player().isAvailable("play"));
    QVERIFY(engine.player().play());
    QVERIFY(!engine.player().isAvailable("play"));
    QVERIFY(!engine.player().play());
    QVERIFY(engine.waitForState(1));
    QCOMPARE(engine.takeStates(), (QList<int>{9, 3, 8, 1}));
}

void PlaybackTest::pauseResumeAndSeekReadBack()
{
    EngineHarness engine(false);
    const PlaylistPtr list = engine.listOf({engine.mp3("long.mp3", 4.0)});
    engine.player().setCurrentPlaylist(list);
    QVERIFY(engine.waitForState(3));
    QCOMPARE(engine.player().currentMedia(), list->item(0));
    // Once open, the duration is the decoder's, not the tag's estimate.
    QVERIFY2(qAbs(list->item(0)->duration() - 4.0) < 0.1, qPrintable(QString::number(list->item(0)->duration())));

    QVERIFY(engine.player().pause());
    QCOMPARE(engine.player().playState(), 2);
    QVERIFY(!engine.player().pause());
    QVERIFY(engine.player().setCurrentPosition(2.5));
    QCOMPARE(engine.player().currentPosition(), 2.5);
    QTest::qWait(300);
    QVERIFY2(qAbs(engine.player().currentPosition() - 2.5) < 0.05,
             qPrintable(QString::number(engine.player().currentPosition())));

    QVERIFY(engine.player().play());
    QCOMPARE(engine.player().playState(), 3);
    QTest::qWait(400);
    const double later = engine.player().currentPosition();
    QVERIFY2(later > 2.6 && later < 4.0, qPrintable(QString::number(later)));
    QVERIFY(engine.waitForState(1));
    QCOMPARE(engine.takeStates(), (QList<int>{9, 3, 2, 3, 8, 1}));
}

void PlaybackTest::stopAndPlayAgain()
{
    EngineHarness engine(false);
    const PlaylistPtr list = engine.listOf({engine.mp3("a.mp3", 3.0), engine.mp3("b.mp3", 3.0)});
    engine.player().setCurrentPlaylist(list);
    QVERIFY(engine.waitForState(3));
    QVERIFY(engine.player().next());
    QVERIFY(QTest::qWaitFor([&] { return engine.playedTitles().size() == 2; }, 5000));
    QVERIFY(engine.player().stop());
    QCOMPARE(engine.player().playState(), 1);
    QCOMPARE(engine.player().currentPosition(), 0.0);
    QVERIFY(!engine.player().setCurrentPosition(1.0));
    QVERIFY(!engine.player().stop());
    QCOMPARE(engine.player().currentMedia(), list->item(1));
    QVERIFY(engine.waitForState(1));
    engine.takeStates();
    QVERIFY(engine.player().play());
    QVERIFY(engine.waitForState(3));
    QCOMPARE(engine.takeStates(), (QList<int>{9, 3}));
    QCOMPARE(engine.playedTitles(), (QStringList{"a", "b", "b"}));
    engine.player().stop();
}

void PlaybackTest::playItemAndNextPrevious()
{
    EngineHarness engine(false);
    QStringList paths;
    for (const char* name : {"p0", "p1", "p2", "p3"})
        paths << engine.mp3(QString::fromLatin1(name) + QStringLiteral(".mp3"), 3.0);
    const PlaylistPtr list = engine.listOf(paths);
    engine.player().setAutoStart(false);
    engine.player().setCurrentPlaylist(list);
    QVERIFY(engine.waitForState(10));
    QVERIFY(engine.player().playItem(list->item(2)));
    QVERIFY(engine.waitForState(3));
    QCOMPARE(engine.player().currentMedia(), list->item(2));
    QVERIFY(!engine.player().playItem(engine.player().newMedia(paths[0])));
    QVERIFY(!engine.player().playItem(nullptr));

    QVERIFY(engine.player().next());
    QCOMPARE(engine.player().currentMedia(), list->item(3));
    QVERIFY(!engine.player().isAvailable("next"));
    QVERIFY(!engine.player().next());
    engine.player().setMode("loop", true);
    QVERIFY(engine.player().isAvailable("next"));
    QVERIFY(engine.player().next());
    QCOMPARE(engine.player().currentMedia(), list->item(0));
    QVERIFY(engine.player().previous());
    QCOMPARE(engine.player().currentMedia(), list->item(3));
    engine.player().setMode("loop", false);
    QVERIFY(engine.player().previous());
    QCOMPARE(engine.player().currentMedia(), list->item(2));
    QVERIFY(engine.waitForState(3));
    engine.player().stop();
}

void PlaybackTest::shuffleNextAndPrevious()
{
    EngineHarness engine(false);
    PlaylistPtr list;
    const QList<MediaPtr> order = shuffleThrough(engine, list, "r", 3);
    QCOMPARE(order.size(), 4);
    for (const MediaPtr& item : order)
        QCOMPARE(order.count(item), 1);
    Player& player = engine.player();
    // Every item has had its turn: without loop there is no next one.
    QVERIFY(!player.isAvailable("next"));
    QVERIFY(!player.next());
    QVERIFY(player.previous());
    QCOMPARE(player.currentMedia(), order[2]);
    QVERIFY(player.previous());
    QCOMPARE(player.currentMedia(), order[1]);
    player.setMode("loop", true);
    QVERIFY(player.next());
    QVERIFY(player.currentMedia() != order[1]);
    QVERIFY(engine.waitForState(3));
    player.stop();
}

// A list rebuilt without an item played before: "previous" goes back past it to one still listed.
void PlaybackTest::shufflePreviousSkipsItemsNoLongerListed()
{
    EngineHarness engine(false);
    PlaylistPtr list;
    const QList<MediaPtr> order = shuffleThrough(engine, list, "q", 2);
    QCOMPARE(order.size(), 3);
    Player& player = engine.player();
    const QList<MediaPtr> items{list->item(0), list->item(1), list->item(2), list->item(3)};
    list->clear();
    for (const MediaPtr& item : items) {
        if (item != order[1])
            list->appendItem(item);
    }
    QVERIFY(player.isAvailable("previous"));
    QVERIFY(player.previous());
    QCOMPARE(player.currentMedia(), order[0]);
    // Nothing remembered is left: back in list order, to the item before it.
    const int at = list->indexOf(order[0]);
    QCOMPARE(player.isAvailable("previous"), at > 0);
    if (at > 0) {
        QVERIFY(player.previous());
        QCOMPARE(player.currentMedia(), list->item(at - 1));
    }
    player.stop();
}

// Outside shuffle nothing goes back through what was played, so nothing of it is held either:
// a long session keeps only the list's own items.
void PlaybackTest::itemsPlayedInListOrderAreNotKept()
{
    EngineHarness engine(false);
    const PlaylistPtr list = engine.listOf({engine.mp3("k0.mp3", 3.0), engine.mp3("k1.mp3", 3.0)});
    Player& player = engine.player();
    player.setMode("loop", true);
    player.setAutoStart(false);
    player.setCurrentPlaylist(list);
    QVERIFY(engine.waitForState(10));
    for (int i = 0; i < 10; ++i) {
        QVERIFY(player.next());
        QVERIFY(player.playItem(list->item(i % 2)));
    }
    QVERIFY(engine.waitForState(3));
    player.stop();
    const MediaPtr first = list->item(0);
    const MediaPtr second = list->item(1);
    list->clear();
    // Held here and, for the current one, by the engine: nothing else.
    QCOMPARE(first.use_count() + second.use_count(), 3);
}

void PlaybackTest::availabilityFollowsState()
{
    EngineHarness engine(false);
    Player& player = engine.player();
    for (const char* action : {"play", "pause", "stop", "next", "previous"})
        QVERIFY2(!player.isAvailable(action), action);
    QVERIFY(!player.isAvailable("rewind"));
    QVERIFY(!player.play());
    player.setAutoStart(false);
    player.setCurrentPlaylist(engine.listOf({engine.mp3("a.mp3", 3.0), engine.mp3("b.mp3", 3.0)}));
    QVERIFY(engine.waitForState(10));
    QVERIFY(player.isAvailable("play") && player.isAvailable("stop") && player.isAvailable("next"));
    QVERIFY(!player.isAvailable("previous") && !player.isAvailable("pause"));
    player.play();
    QVERIFY(!player.isAvailable("play") && player.isAvailable("pause"));
    player.pause();
    QVERIFY(player.isAvailable("play") && !player.isAvailable("pause"));
    player.stop();
    QVERIFY(player.isAvailable("play") && !player.isAvailable("stop"));
}

void PlaybackTest::switchingTheCurrentPlaylist()
{
    EngineHarness engine(false);
    const PlaylistPtr first = engine.listOf({engine.mp3("f1.mp3", 3.0), engine.mp3("f2.mp3", 3.0)});
    const PlaylistPtr second = engine.listOf({engine.mp3("s1.mp3", 0.15), engine.mp3("s2.mp3", 0.15)});
    engine.player().setCurrentPlaylist(first);
    QVERIFY(engine.waitForState(3));
    QCOMPARE(engine.player().currentPlaylist(), first);
    QVERIFY(engine.player().setCurrentPlaylist(second));
    QCOMPARE(engine.player().currentPlaylist(), second);
    QCOMPARE(engine.player().currentMedia(), second->item(0));
    QVERIFY(engine.waitForState(1));
    QCOMPARE(engine.playedTitles(), (QStringList{"f1", "s1", "s2"}));
    QVERIFY(!engine.player().setCurrentPlaylist(nullptr));

    // An empty list: nothing to play, the engine stops.
    engine.player().setCurrentPlaylist(first);
    QVERIFY(engine.waitForState(3));
    engine.takeStates();
    QVERIFY(engine.player().setCurrentPlaylist(std::make_shared<Playlist>("empty")));
    QCOMPARE(engine.player().playState(), 1);
    QVERIFY(!engine.player().currentMedia());
    QVERIFY(!engine.player().isAvailable("play"));
}

void PlaybackTest::modesAndVolume()
{
    EngineHarness engine;
    Player& player = engine.player();
    QCOMPARE(player.getMode("loop"), std::optional<bool>(false));
    QVERIFY(player.setMode("loop", true));
    QVERIFY(player.setMode("shuffle", true));
    QCOMPARE(player.getMode("loop"), std::optional<bool>(true));
    QCOMPARE(player.getMode("shuffle"), std::optional<bool>(true));
    QVERIFY(!player.setMode("repeat", true));
    QVERIFY(!player.getMode("repeat"));
    QVERIFY(player.setVolume(30));
    QCOMPARE(player.volume(), 30);
    QVERIFY(!player.setVolume(101));
    QVERIFY(!player.setVolume(-1));
    QCOMPARE(player.volume(), 30);
}

void PlaybackTest::openStatesAccompanyAnItem()
{
    EngineHarness engine;
    QSignalSpy openStates(&engine.player(), &Player::OpenStateChange);
    engine.player().setAutoStart(false);
    engine.player().setCurrentPlaylist(engine.listOf({engine.mp3("o.mp3", 0.2)}));
    QVERIFY(engine.waitForState(10));
    QList<int> states;
    for (const auto& arguments : openStates)
        states << arguments.first().toInt();
    // Playlist changed, media changing, opening, open.
    QCOMPARE(states, (QList<int>{7, 8, 12, 13}));
}

// At the end of an item the main window may switch to the folder on show and play it: that wins
// over the engine's own next item.
void PlaybackTest::endedHandlerMayStartAnotherList()
{
    EngineHarness engine(false);
    const PlaylistPtr playing = engine.listOf({engine.mp3("old1.mp3", 0.15), engine.mp3("old2.mp3", 0.15)});
    const PlaylistPtr shown = engine.listOf({engine.mp3("new1.mp3", 0.15)});
    bool switched = false;
    connect(&engine.player(), &Player::PlayStateChange, this, [&](int state) {
        if (state != 8 || switched)
            return;
        switched = true;
        engine.player().stop();
        engine.player().setCurrentPlaylist(shown);
    });
    engine.player().setCurrentPlaylist(playing);
    QVERIFY(QTest::qWaitFor([&] { return engine.player().playState() == 1 && switched; }, 10000));
    QVERIFY(engine.waitForState(1));
    QCOMPARE(engine.playedTitles(), (QStringList{"old1", "new1"}));
    QCOMPARE(engine.player().currentPlaylist(), shown);
}

void PlaybackTest::changingTheListWhilePlaying()
{
    EngineHarness engine(false);
    QStringList paths;
    for (const char* name : {"m0", "m1", "m2", "m3"})
        paths << engine.mp3(QString::fromLatin1(name) + QStringLiteral(".mp3"), 2.0); // outlasts a busy machine's delays
    const PlaylistPtr list = engine.listOf(paths);
    engine.player().setCurrentPlaylist(list);
    QVERIFY(engine.waitForState(3));
    // The playing item moves to the end: nothing follows it any more.
    QVERIFY(list->moveItem(0, 3));
    QVERIFY(engine.waitForState(1));
    QCOMPARE(engine.playedTitles(), QStringList{"m0"});
    QCOMPARE(engine.player().currentMedia(), list->item(0));

    // A list cleared under the playing item ends after it.
    engine.takeStates();
    engine.player().play();
    QVERIFY(engine.waitForState(3));
    list->clear();
    QVERIFY(engine.waitForState(1));
    QVERIFY(!engine.player().currentMedia());
    QVERIFY(!engine.player().isAvailable("play"));
}

void PlaybackTest::badInputIsSkipped_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("missing") << "missing";
    QTest::newRow("not media") << "text";
    QTest::newRow("empty") << "empty";
    QTest::newRow("unreadable") << "unreadable";
    QTest::newRow("truncated") << "truncated";
    QTest::newRow("folder") << "folder";
}

void PlaybackTest::badInputIsSkipped()
{
    QFETCH(QString, kind);
    EngineHarness engine;
    QString bad = engine.files().file("bad.mp3");
    if (kind == "text") {
        engine.files().write("bad.mp3", QByteArray("this is not an mp3 file\n").repeated(50));
    } else if (kind == "empty") {
        engine.files().write("bad.mp3", QByteArray());
    } else if (kind == "unreadable") {
        engine.mp3("bad.mp3", 0.3);
        QFile::setPermissions(bad, QFileDevice::WriteOwner);
        if (QFile(bad).open(QIODevice::ReadOnly))
            QSKIP("running with rights that read any file");
    } else if (kind == "truncated") {
        const QByteArray whole = Mp3Fixture::id3v23Tag({"Cut", "", "", ""}) + Mp3Fixture::silentFrames(0.5);
        engine.files().write("bad.mp3", whole.left(whole.size() - 300));
    } else if (kind == "folder") {
        bad = engine.files().mkdir("bad.mp3");
    }
    const PlaylistPtr list = engine.listOf({bad, engine.mp3("good.mp3", 0.2)});
    engine.player().setCurrentPlaylist(list);
    QVERIFY(engine.waitForState(1));
    const QList<int> states = engine.takeStates();
    // The good item plays after the bad one, whatever happened to the bad one.
    QVERIFY2(states.size() >= 4, qPrintable(QString::number(states.size())));
    QCOMPARE(states.mid(states.size() - 4), (QList<int>{9, 3, 8, 1}));
    QCOMPARE(states.first(), 9);
    const MediaPtr badItem = list->item(0);
    QCOMPARE(badItem->getItemInfo("Title"), std::optional<QString>(kind == "truncated" ? "Cut" : "bad"));
    QCOMPARE(badItem->getItemInfo("sourceURL"), std::optional<QString>(bad));
}

void PlaybackTest::everyItemFailingStops()
{
    EngineHarness engine;
    engine.player().setMode("loop", true);
    const PlaylistPtr list = engine.listOf({engine.files().file("gone1.mp3"), engine.files().file("gone2.mp3")});
    engine.player().setCurrentPlaylist(list);
    QVERIFY(engine.waitForState(1));
    QCOMPARE(engine.takeStates(), (QList<int>{9, 1}));
    QVERIFY(!engine.player().currentMedia()->getItemInfo("Author"));
}

// A playlist file given as an item is no media of its own: it is skipped, as an item that
// cannot be played, instead of leaving the engine waiting on it.
void PlaybackTest::playlistFileIsSkippedLikeABadItem()
{
    EngineHarness engine;
    const QString inner = engine.mp3("inner.mp3", 0.3);
    const QString m3u = engine.files().write("list.m3u", (inner + QStringLiteral("\n")).toUtf8());
    const PlaylistPtr list = engine.listOf({m3u, engine.mp3("after.mp3", 0.2)});
    engine.player().setCurrentPlaylist(list);
    QVERIFY(engine.waitForState(1));
    QCOMPARE(engine.playedTitles(), QStringList{"after"});
    QCOMPARE(engine.takeStates(), (QList<int>{9, 3, 8, 1}));
}

void PlaybackTest::videoReportsItsPictureSize()
{
    EngineHarness engine;
    const QString video = engine.files().file("clip.mp4");
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg", {"-v", "error", "-f", "lavfi", "-i", "testsrc=size=320x240:rate=25", "-t", "1", "-pix_fmt",
                            "yuv420p", video});
    if (!ffmpeg.waitForStarted())
        QSKIP("ffmpeg is not installed");
    QVERIFY(ffmpeg.waitForFinished(30000));
    QCOMPARE(ffmpeg.exitCode(), 0);
    const PlaylistPtr list = engine.listOf({video, engine.mp3("song.mp3", 0.2)});
    QCOMPARE(list->item(0)->getItemInfo("MediaType"), std::optional<QString>("video"));
    QCOMPARE(list->item(0)->imageSourceWidth(), 0);
    engine.player().setAutoStart(false);
    engine.player().setCurrentPlaylist(list);
    QVERIFY(engine.waitForState(10));
    const MediaPtr clip = engine.player().currentMedia();
    QCOMPARE(clip->imageSourceWidth(), 320);
    QCOMPARE(clip->imageSourceHeight(), 240);
    QVERIFY(qAbs(clip->duration() - 1.0) < 0.1);
    QCOMPARE(clip->getItemInfo("MediaType"), std::optional<QString>("video"));
    engine.player().next();
    QVERIFY(engine.waitForState(1));
    const MediaPtr song = list->item(1);
    QCOMPARE(song->getItemInfo("MediaType"), std::optional<QString>("audio"));
    QCOMPARE(song->imageSourceWidth(), 0);
}

// Real video output, but nothing that can draw (no display, or no surface made yet).
void PlaybackTest::videoWithoutASurfaceStillPlays()
{
    Player::Options options;
    options.nullAudio = true;
    options.untimed = true;
    TempFolder playlists;
    options.playlistFolder = playlists.path();
    const auto player = Player::create(options);
    QVERIFY(player);
    QWidget host;
    player->createVideoSurface(&host);
    QList<int> states;
    connect(player.get(), &Player::PlayStateChange, this, [&](int state) { states << state; });
    auto list = std::make_shared<Playlist>("video");
    list->appendItem(player->newMedia("av://lavfi:testsrc=size=176x144:rate=25:duration=0.5"));
    player->setCurrentPlaylist(list);
    QTRY_VERIFY_WITH_TIMEOUT(states.contains(1), 10000);
    QCOMPARE(states, (QList<int>{9, 3, 8, 1}));
    QCOMPARE(list->item(0)->imageSourceWidth(), 176);
    QCOMPARE(list->item(0)->imageSourceHeight(), 144);
}

void PlaybackTest::versionAndSurfaceWithoutDisplay()
{
    EngineHarness engine;
    QVERIFY2(engine.player().versionInfo().startsWith("mpv "), qPrintable(engine.player().versionInfo()));
    QVERIFY(!engine.player().fullScreen());
    QVERIFY(!engine.player().setFullScreen(true));
    QWidget host;
    VideoSurface* surface = engine.player().createVideoSurface(&host);
    QVERIFY(surface);
    QCOMPARE(engine.player().createVideoSurface(&host), surface);
    QCOMPARE(engine.player().videoSurface(), surface);
    QSignalSpy clicks(&engine.player(), &Player::Click);
    QSignalSpy doubleClicks(&engine.player(), &Player::DoubleClick);
    host.resize(200, 100);
    surface->resize(200, 100);
    host.show();
    QTest::mouseClick(surface, Qt::RightButton, Qt::ShiftModifier, QPoint(20, 30));
    QCOMPARE(clicks.size(), 1);
    QCOMPARE(clicks.first(), (QList<QVariant>{short(2), short(1), 20, 30}));
    QTest::mouseDClick(surface, Qt::LeftButton, Qt::ControlModifier, QPoint(5, 6));
    QVERIFY(!doubleClicks.isEmpty());
    QCOMPARE(doubleClicks.last(), (QList<QVariant>{short(1), short(2), 5, 6}));
    QVERIFY(engine.player().setFullScreen(true));
    QVERIFY(engine.player().fullScreen());
    QVERIFY(engine.player().setFullScreen(false));
    QVERIFY(!engine.player().fullScreen());
}

SONAVEL_TEST_MAIN(PlaybackTest)
#include "PlaybackTest.moc"
