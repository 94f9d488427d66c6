// The karaoke window's wipe while a track plays through the engine, fed as the main window does:
// the position and play state on a 50 ms timer. Run under Xvfb:
//   xvfb-run -a -s "-screen 0 1600x1200x24" build/bench/karaoke/bench_karaoke [seconds per run, default 10]
// Prints, for the smooth wipe and for the position steps alone: wipe updates per second while a
// block is current, how far the painted clock was from the engine's position when painted, and
// the process's CPU time.
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

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPaintEvent>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>

#include <sys/resource.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr int kTickMs = 50;

double CpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

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
    int paints = 0;
    double currentSeconds = 0;   // time with a block current
    double largestDistanceMs = 0;
    double sumDistanceMs = 0;
    double cpuSeconds = 0;
    double wallSeconds = 0;
};

// Counts the display's paints and compares the clock they paint with the engine's position.
class PaintWatch : public QObject
{
public:
    PaintWatch(CKaraokeStatic& display, Player& player) : m_display(display), m_player(player) {}
    RunFigures figures;

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::Paint)
            return false;
        ++figures.paints;
        const double distance = std::abs(m_display.WipePosition() - m_player.currentPosition()) * 1000.0;
        figures.largestDistanceMs = std::max(figures.largestDistanceMs, distance);
        figures.sumDistanceMs += distance;
        return false;
    }

private:
    CKaraokeStatic& m_display;
    Player& m_player;
};

RunFigures Run(CKaraokeDlg& dlg, Player& player, bool smooth, double seconds)
{
    CKaraokeStatic& display = *dlg.Display();
    display.SetSmoothWipe(smooth);
    player.setCurrentPosition(0.5);
    player.play();
    QEventLoop settle;
    QTimer::singleShot(500, &settle, &QEventLoop::quit);
    settle.exec();

    PaintWatch watch(display, player);
    display.installEventFilter(&watch);
    QElapsedTimer wall;
    QElapsedTimer currentSince;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        dlg.SetPosition(player.currentPosition(), player.playState() == 3);
    });
    const double cpuBefore = CpuSeconds();
    wall.start();
    tick.start(kTickMs);
    QEventLoop loop;
    QTimer::singleShot(int(seconds * 1000), &loop, &QEventLoop::quit);
    loop.exec();
    tick.stop();
    watch.figures.cpuSeconds = CpuSeconds() - cpuBefore;
    watch.figures.wallSeconds = wall.nsecsElapsed() / 1e9;
    // Every line is a block current from 1 s to the end of the lyrics.
    watch.figures.currentSeconds = watch.figures.wallSeconds;
    display.removeEventFilter(&watch);
    player.pause();
    return watch.figures;
}

void Print(const char* name, const RunFigures& f)
{
    std::printf("%-22s %8.1f updates/s  distance max %6.1f ms  mean %5.1f ms  CPU %6.3f s in %5.2f s (%5.2f %% of a core)\n",
                name, f.paints / f.currentSeconds, f.largestDistanceMs, f.paints ? f.sumDistanceMs / f.paints : 0.0,
                f.cpuSeconds, f.wallSeconds, 100.0 * f.cpuSeconds / f.wallSeconds);
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
    const double seconds = argc > 1 ? std::max(2.0, std::atof(argv[1])) : 10.0;
    const double trackSeconds = 2 * seconds + 4;
    const QString track = Mp3Fixture::write(folder.file("bench.mp3"), {}, trackSeconds);
    const QString lyrics = folder.write("bench.kra", TestFiles::encode(BenchLyrics(trackSeconds), 1200, true));

    auto player = StartPlayer(folder.mkdir("playlists"), true);
    if (!player || !OpenTrack(*player, track)) {
        std::fprintf(stderr, "libmpv could not play the bench track\n");
        return 1;
    }
    player->pause();
    CKaraokeDlg dlg;
    int codePage = 932;
    dlg.LoadFromFile(lyrics, codePage, DurationOf(*player));
    dlg.Create();
    dlg.resize(900, 320);

    std::printf("wipe of the karaoke window, %.0f s runs, position ticks every %d ms, screen at %.0f Hz\n", seconds,
                kTickMs, dlg.screen() ? dlg.screen()->refreshRate() : 0.0);
    const RunFigures steps = Run(dlg, *player, false, seconds);
    const RunFigures smooth = Run(dlg, *player, true, seconds);
    Print("position steps only", steps);
    Print("smooth wipe", smooth);
    std::printf("smooth wipe costs %+.2f %% of a core more than the steps alone\n",
                100.0 * (smooth.cpuSeconds / smooth.wallSeconds - steps.cpuSeconds / steps.wallSeconds));
    return 0;
}
