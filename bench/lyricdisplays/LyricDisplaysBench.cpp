// The whole player (main window, engine, track list, timer, displays) playing a track, three
// ways in one run: with the karaoke window open, with the lyrics in the scrolling line's karaoke
// face (the window closed by the user), and a track without lyrics as the baseline; and mpv
// alone (a process that starts libmpv as the engine does, with the same outputs) playing the
// baseline's track. Each way is measured in turn, several rounds, on the same 90-second track.
// Run under Xvfb:
//   SONAVEL_ENGINE_OUTPUT=null xvfb-run -a -s "-screen 0 1600x1200x24"
//       build/bench/lyricdisplays/bench_lyric_displays [seconds per measurement, default 6] [rounds, default 3]
// Prints the process's CPU time per second of playing for each way, its ratio to the baseline,
// what it costs over mpv alone, and how often each display painted.

#include "platform/engine/MpvStartup.h"
#include "platform/engine/Player.h"
#include "platform/profile/Profile.h"
#include "player/app/LyricCommands.h"
#include "player/app/SonavelDlg.h"
#include "player/karaoke/KaraokeDlg.h"
#include "player/karaoke/KaraokeStatic.h"
#include "player/settings/ProfileHelpers.h"
#include "player/widgets/ScrollStatic.h"
#include "tests/support/Mp3Fixture.h"
#include "tests/support/TestFiles.h"
#include "tests/support/Measures.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr double kTrackSeconds = 90;

void Wait(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

bool WaitFor(const std::function<bool()>& condition, int ms = 10000)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition() && timer.elapsed() < ms)
        Wait(20);
    return condition();
}

// One block every two seconds, a line of some 500 pixels: both displays always have a block to
// move through.
QString BenchLyrics()
{
    QString text;
    for (int line = 0; line * 2 + 1 < kTrackSeconds; ++line)
        text += CKaraokeBlock::FormatTagText(LyricTime(500 + line * 2000)) +
                QStringLiteral("あかるい ひかりの なかで うたが きこえる %1 ばんめ\r\n").arg(line);
    return text;
}

// The child: mpv alone plays the track for half a second, then for `seconds` while its CPU
// time is taken; prints the CPU seconds per second of playing.
int PlayWithMpvAlone(const QString& track, int seconds)
{
    mpv_handle* mpv = MpvStartup::start(Player::Options::fromEnvironment());
    if (!mpv)
        return 1;
    const QByteArray path = track.toUtf8();
    const char* load[] = {"loadfile", path.constData(), nullptr};
    mpv_command(mpv, load);
    const auto runFor = [mpv](double wallSeconds) {
        QElapsedTimer wall;
        wall.start();
        while (wall.elapsed() < wallSeconds * 1000)
            mpv_wait_event(mpv, wallSeconds - wall.elapsed() / 1000.0);
    };
    runFor(0.5);
    QElapsedTimer wall;
    wall.start();
    const double cpuBefore = CpuSeconds();
    runFor(seconds);
    std::printf("%f\n", (CpuSeconds() - cpuBefore) / (wall.elapsed() / 1000.0));
    mpv_terminate_destroy(mpv);
    return 0;
}

// CPU seconds per second of mpv alone playing the track, in a process of its own.
double MpvAloneCpu(const QString& track, int seconds)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--mpv-alone"), track, QString::number(seconds)});
    if (!child.waitForFinished((seconds + 30) * 1000) || child.exitCode() != 0)
        return -1;
    return child.readAllStandardOutput().trimmed().toDouble();
}

struct Way {
    const char* name;
    std::function<void()> prepare; // starts the track from its beginning in this way
    std::vector<double> cpuPerSecond{};
    std::vector<double> windowPaints{};
    std::vector<double> linePaints{};
};

} // namespace

int main(int argc, char** argv)
{
    if (argc > 3 && qstrcmp(argv[1], "--mpv-alone") == 0) {
        QCoreApplication app(argc, argv);
        return PlayWithMpvAlone(QString::fromLocal8Bit(argv[2]), atoi(argv[3]));
    }
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(1, atoi(argv[1])) : 6;
    const int rounds = argc > 2 ? std::max(1, atoi(argv[2])) : 3;

    TempFolder temp;
    qputenv("HOME", temp.path().toUtf8());
    Profile::setPath(temp.file("sonavel.ini"));
    const QString lyricsFolder = temp.mkdir(QStringLiteral("lyrics"));
    const QString plainFolder = temp.mkdir(QStringLiteral("plain"));
    Mp3Fixture::write(lyricsFolder + "/song.mp3", {QStringLiteral("歌"), QStringLiteral("歌手"), {}, {}}, kTrackSeconds);
    TestFiles::writeBytes(lyricsFolder + "/song.kra", TestFiles::encode(BenchLyrics(), 1200, true));
    Mp3Fixture::write(plainFolder + "/song.mp3", {QStringLiteral("歌"), QStringLiteral("歌手"), {}, {}}, kTrackSeconds);
    WriteProfileHexString("CSonavelDlg", "DefaultFolderPath", lyricsFolder);

    CSonavelDlg dialog;
    dialog.resize(900, 500);
    dialog.show();
    CKaraokeDlg& window = dialog.Lyrics().KaraokeWindow();
    CScrollStatic& line = *dialog.ScrollLine();
    PaintCounter windowPaints;
    PaintCounter linePaints;
    window.Display()->installEventFilter(&windowPaints);
    line.installEventFilter(&linePaints);
    if (!WaitFor([&] { return dialog.GetPlayer() && dialog.GetPlayer()->playState() == 3; })) {
        std::fprintf(stderr, "the track did not start\n");
        return 1;
    }

    const auto playFrom = [&](const QString& folder) {
        dialog.SelectFolderInTree(folder);
        dialog.Control().PlayRow(0);
        WaitFor([&] { return dialog.GetPlayer()->playState() == 3 && dialog.GetPlayer()->currentPosition() > 0.2; });
    };
    std::vector<Way> ways{
        {"karaoke window open",
         [&] {
             playFrom(lyricsFolder);
             if (!window.IsWindowCreated())
                 dialog.Lyrics().OnLyricMarkDoubleClick(0);
         }},
        {"scrolling line's karaoke face",
         [&] {
             if (window.IsWindowCreated())
                 window.reject(); // the user closes it: the line takes the lyrics
             playFrom(lyricsFolder);
         }},
        {"no lyrics (baseline)", [&] { playFrom(plainFolder); }},
    };

    std::vector<double> mpvAlone;
    for (int round = 0; round < rounds; ++round) {
        mpvAlone.push_back(MpvAloneCpu(plainFolder + "/song.mp3", seconds));
        for (Way& way : ways) {
            way.prepare();
            Wait(500);
            windowPaints.paints = 0;
            linePaints.paints = 0;
            QElapsedTimer wall;
            wall.start();
            const double cpuBefore = CpuSeconds();
            Wait(seconds * 1000);
            const double elapsed = wall.elapsed() / 1000.0;
            way.cpuPerSecond.push_back((CpuSeconds() - cpuBefore) / elapsed);
            way.windowPaints.push_back(windowPaints.paints / elapsed);
            way.linePaints.push_back(linePaints.paints / elapsed);
        }
    }

    const qreal refresh = dialog.screen() ? dialog.screen()->refreshRate() : 0;
    std::printf("whole player playing a %.0f s track, %d rounds of %d s each way (screen at %.0f Hz)\n", kTrackSeconds,
                rounds, seconds, refresh);
    // A main window composed through OpenGL (it owns the video window's OpenGL view) pays for a
    // composition of the whole window with every repaint of any of its controls.
    const bool composed = dialog.windowHandle() && dialog.windowHandle()->surfaceType() != QSurface::RasterSurface;
    std::printf("main window composed through OpenGL: %s\n", composed ? "yes" : "no");
    const double baseline = Median(ways.back().cpuPerSecond);
    const double mpv = Median(mpvAlone);
    for (const Way& way : ways) {
        const double cpu = Median(way.cpuPerSecond);
        std::printf("  %-30s CPU %6.1f ms/s (%5.2f x baseline, %+5.2f %% of a core over mpv alone)  karaoke window "
                    "%5.1f paints/s  scrolling line %5.1f paints/s\n",
                    way.name, cpu * 1000, baseline > 0 ? cpu / baseline : 0, (cpu - mpv) * 100,
                    Median(way.windowPaints), Median(way.linePaints));
    }
    std::printf("  %-30s CPU %6.1f ms/s\n", "mpv alone, same track and outputs", mpv * 1000);
    std::printf("idle cost while playing: the player without lyrics %+.2f %% of a core over mpv alone (goal <= +1 %%)\n",
                (baseline - mpv) * 100);
    dialog.Close();
    return 0;
}
