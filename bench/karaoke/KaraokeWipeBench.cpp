// The karaoke window's wipe while a track plays through the engine, fed as the main window does:
// the position and play state on a 50 ms timer. Run under Xvfb:
//   xvfb-run -a -s "-screen 0 1600x1200x24" build/bench/karaoke/bench_karaoke [seconds per run] [rounds]
// Runs of the position steps alone and of the smooth wipe take turns (default 5 rounds of 4 s
// each), so that a change of load on the machine weighs on both alike. Prints for each: wipe
// updates per second while a block is current, how far the painted clock was from the engine's
// position when painted, and the process's CPU time (the engine's threads included).
//
//   bench_karaoke --show <track> <lyric file>
// opens the window on a track and its lyrics (real audio output) until the window is closed;
// F8 / F9 / F7 time the lyrics in edit mode.

#include "platform/engine/Player.h"
#include "platform/profile/Profile.h"
#include "player/karaoke/KaraokeDlg.h"
#include "player/karaoke/KaraokeStatic.h"
#include "tests/support/Mp3Fixture.h"
#include "tests/support/TestFiles.h"
#include "tests/support/Measures.h"
#include "bench/karaoke/WipeTimeline.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPaintEvent>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

constexpr int kTickMs = 50;

// Lines of a few words, one block per line of about 600 pixels sung in two seconds: a wipe of
// some 300 pixels a second, so that every frame has a pixel to move.
QString BenchLyrics(double seconds)
{
    QString text = QStringLiteral("@Title=ベンチマーク\r\n@Artist=Sonavel\r\n");
    for (int line = 0; line * 2.0 + 1.0 < seconds; ++line) {
        const auto time = LyricTime(1000 + line * 2000);
        text += CKaraokeBlock::FormatTagText(time) +
                QStringLiteral("あかるい ひかりの なかで うたが きこえる %1 ばんめ\r\n").arg(line);
    }
    return text;
}

struct RunFigures {
    WipeTimeline::Figures wipe;
    double cpuSeconds = 0;
    double wallSeconds = 0;
};

void Wait(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

RunFigures Run(CKaraokeDlg& dlg, Player& player, bool smooth, double seconds, bool readEngine)
{
    CKaraokeStatic& display = *dlg.Display();
    display.SetSmoothWipe(smooth);
    WipeTimeline* watch = nullptr;
    // The main window's timer: position and play state every 50 ms.
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        if (watch)
            watch->Tick();
        dlg.SetPosition(player.currentPosition(), player.playState() == 3);
    });
    tick.start(kTickMs);
    player.setCurrentPosition(0.5);
    player.play();
    Wait(500);

    WipeTimeline watching([&player] { return player.currentPosition(); }, [&display] { return display.WipePosition(); },
                          readEngine);
    watch = &watching;
    display.installEventFilter(watch);
    QElapsedTimer wall;
    RunFigures figures;
    const double cpuBefore = CpuSeconds();
    wall.start();
    Wait(int(seconds * 1000));
    figures.cpuSeconds = CpuSeconds() - cpuBefore;
    figures.wallSeconds = wall.nsecsElapsed() / 1e9;
    display.removeEventFilter(watch);
    watch = nullptr;
    player.pause();
    Wait(2 * kTickMs);
    tick.stop();
    watching.Finish();
    figures.wipe = watching.figures;
    return figures;
}

void Add(RunFigures& total, const RunFigures& run)
{
    WipeTimeline::Figures& t = total.wipe;
    const WipeTimeline::Figures& r = run.wipe;
    t.paints += r.paints;
    t.measuredPaints += r.measuredPaints;
    t.withinTenMs += r.withinTenMs;
    t.largestDistanceMs = std::max(t.largestDistanceMs, r.largestDistanceMs);
    t.sumDistanceMs += r.sumDistanceMs;
    t.largestTimelineMs = std::max(t.largestTimelineMs, r.largestTimelineMs);
    t.sumTimelineMs += r.sumTimelineMs;
    t.largestIntervalMs = std::max(t.largestIntervalMs, r.largestIntervalMs);
    total.cpuSeconds += run.cpuSeconds;
    total.wallSeconds += run.wallSeconds;
}

// Every line of the bench lyrics is a block current from 1 s to their end: the whole run.
void Print(const char* name, const RunFigures& run)
{
    const WipeTimeline::Figures& f = run.wipe;
    const double paints = std::max(1, f.measuredPaints);
    std::printf("%s\n  %.1f wipe updates/s; the wipe stood still for up to %.1f ms\n"
                "  painted clock - engine timeline: max %.1f ms, mean %.1f ms, %.1f %% of paints within 10 ms\n"
                "  painted clock - engine position read at the paint: max %.1f ms, mean %.1f ms\n"
                "  CPU %.3f s in %.2f s = %.2f %% of a core\n",
                name, f.paints / run.wallSeconds, f.largestIntervalMs, f.largestTimelineMs, f.sumTimelineMs / paints,
                100.0 * f.withinTenMs / paints,
                f.largestDistanceMs, f.sumDistanceMs / paints, run.cpuSeconds, run.wallSeconds,
                100.0 * run.cpuSeconds / run.wallSeconds);
}

std::unique_ptr<Player> StartPlayer(const QString& playlists, bool nullOutput)
{
    Player::Options options = Player::Options::fromEnvironment();
    if (nullOutput)
        options.nullAudio = options.nullVideo = true;
    options.playlistFolder = playlists;
    return Player::create(options);
}

bool OpenTrack(Player& player, const QString& track)
{
    const auto playlist = std::make_shared<Playlist>(QStringLiteral("bench"));
    playlist->appendItem(player.newMedia(track));
    if (!player.setCurrentPlaylist(playlist))
        return false;
    QEventLoop loop;
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    QObject::connect(&player, &Player::PlayStateChange, &loop, [&loop](int state) {
        if (state == 3)
            loop.quit();
    });
    loop.exec();
    return player.playState() == 3;
}

double DurationOf(const Player& player)
{
    const MediaPtr media = player.currentMedia();
    return media ? media->duration() : 0.0;
}

int Show(const QString& track, const QString& lyrics, const QString& playlists)
{
    auto player = StartPlayer(playlists, false);
    if (!player || !OpenTrack(*player, track)) {
        std::fprintf(stderr, "the track could not be played\n");
        return 1;
    }
    CKaraokeDlg dlg;
    dlg.SetPositionSource([&player] { return player->currentPosition(); });
    int codePage = 932;
    if (!dlg.LoadFromFile(lyrics, codePage, DurationOf(*player)))
        std::fprintf(stderr, "the lyrics were read with tags running backwards or not at all\n");
    dlg.Create();
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout,
                     [&] { dlg.SetPosition(player->currentPosition(), player->playState() == 3); });
    tick.start(kTickMs);
    dlg.SetClosingHandler([] { QCoreApplication::quit(); });
    return QCoreApplication::exec();
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    TempFolder folder;
    Profile::setPath(folder.file("bench.ini"));
    if (argc == 4 && QString::fromLocal8Bit(argv[1]) == QLatin1String("--show"))
        return Show(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]), folder.mkdir("playlists"));

    QStandardPaths::setTestModeEnabled(true);
    const double seconds = argc > 1 ? std::max(1.0, std::atof(argv[1])) : 4.0;
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    const double trackSeconds = seconds + 4;
    const QString track = Mp3Fixture::write(folder.file("bench.mp3"), {}, trackSeconds);
    const QString lyrics = folder.write("bench.kra", TestFiles::encode(BenchLyrics(trackSeconds), 1200, true));

    auto player = StartPlayer(folder.mkdir("playlists"), true);
    if (!player || !OpenTrack(*player, track)) {
        std::fprintf(stderr, "libmpv could not play the bench track\n");
        return 1;
    }
    player->pause();
    CKaraokeDlg dlg;
    dlg.SetPositionSource([&player] { return player->currentPosition(); });
    int codePage = 932;
    dlg.LoadFromFile(lyrics, codePage, DurationOf(*player));
    dlg.Create();
    dlg.resize(900, 320);

    std::printf("wipe of the karaoke window: %d rounds of %.0f s runs, position ticks every %d ms, screen at %.0f Hz\n",
                rounds, seconds, kTickMs, dlg.screen() ? dlg.screen()->refreshRate() : 0.0);
    // Distances in runs of their own: the CPU time is measured without the engine reads.
    RunFigures steps = Run(dlg, *player, false, seconds, true);
    RunFigures smooth = Run(dlg, *player, true, seconds, true);
    for (RunFigures* figures : {&steps, &smooth}) {
        figures->wipe.paints = 0;
        figures->cpuSeconds = figures->wallSeconds = 0;
    }
    for (int round = 0; round < rounds; ++round) {
        Add(steps, Run(dlg, *player, false, seconds, false));
        Add(smooth, Run(dlg, *player, true, seconds, false));
    }
    Print("position steps only", steps);
    Print("smooth wipe", smooth);
    std::printf("smooth wipe costs %+.2f %% of a core more than the steps alone\n",
                100.0 * (smooth.cpuSeconds / smooth.wallSeconds - steps.cpuSeconds / steps.wallSeconds));
    return 0;
}
