// The karaoke controls: what key and tempo cost, and how the wipe keeps to the engine at other
// tempi. Run under Xvfb:
//   xvfb-run -a -s "-screen 0 1600x1200x24" build/bench/karaoke/bench_karaoke_controls [seconds] [rounds]
// 1. CPU time of the process while the engine plays (null audio output, in real time) a chord,
//    neutral and with key +3 and tempo 80 %, in turns (default 4 rounds of 5 s each). A figure,
//    no goal.
// 2. The karaoke window's wipe at tempo 100 %, 50 % and 150 %: the painted clock against the
//    engine's timeline (the karaoke wipe bench's measure); the goal is within 10 ms.

#include "platform/engine/Player.h"
#include "platform/profile/Profile.h"
#include "player/karaoke/KaraokeBlock.h"
#include "player/karaoke/KaraokeDlg.h"
#include "player/karaoke/KaraokeStatic.h"
#include "tests/support/Measures.h"
#include "tests/support/PcmAudio.h"
#include "tests/support/TestFiles.h"
#include "bench/karaoke/WipeTimeline.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QStandardPaths>
#include <QTimer>

#include <cstdio>

namespace {

constexpr int kTickMs = 50;

void Wait(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

// Three notes at once, so the filters have more than one partial to work on.
QString WriteChord(const TempFolder& folder, double seconds)
{
    PcmAudio chord = PcmAudio::sine(261.63, seconds, 0.3, 0.2);
    for (const double hz : {329.63, 392.0}) {
        const PcmAudio note = PcmAudio::sine(hz, seconds, 0.2, 0.3);
        for (size_t i = 0; i < chord.left.size(); ++i) {
            chord.left[i] += note.left[i];
            chord.right[i] += note.right[i];
        }
    }
    const QString path = folder.file("chord.wav");
    return chord.writeWav(path) ? path : QString();
}

std::unique_ptr<Player> PlayerPlaying(const TempFolder& folder, const QString& media)
{
    Player::Options options;
    options.nullAudio = options.nullVideo = true;
    options.playlistFolder = folder.mkdir("playlists");
    auto player = Player::create(options);
    if (!player)
        return nullptr;
    auto playlist = std::make_shared<Playlist>(QStringLiteral("bench"));
    playlist->appendItem(player->newMedia(media));
    player->setMode(QStringLiteral("loop"), true);
    player->setCurrentPlaylist(playlist);
    QEventLoop loop;
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    QObject::connect(player.get(), &Player::PlayStateChange, &loop, [&loop](int state) {
        if (state == 3)
            loop.quit();
    });
    loop.exec();
    return player->playState() == 3 ? std::move(player) : nullptr;
}

// Share of a core while playing for `seconds`.
double CpuShare(double seconds)
{
    QElapsedTimer wall;
    const double before = CpuSeconds();
    wall.start();
    Wait(int(seconds * 1000));
    return (CpuSeconds() - before) / (wall.nsecsElapsed() / 1e9);
}

void MeasureCpu(Player& player, double seconds, int rounds)
{
    double neutral = 0;
    double effects = 0;
    for (int round = 0; round < rounds; ++round) {
        player.setPitch(0);
        player.setTempo(1.0);
        neutral += CpuShare(seconds);
        player.setPitch(3);
        player.setTempo(0.8);
        effects += CpuShare(seconds);
    }
    player.setPitch(0);
    player.setTempo(1.0);
    std::printf("playing, null audio output: neutral %.2f %% of a core, key +3 and tempo 80 %% %.2f %% (%+.2f %%, x%.1f)\n",
                100 * neutral / rounds, 100 * effects / rounds, 100 * (effects - neutral) / rounds,
                neutral > 0 ? effects / neutral : 0.0);
}

QString BenchLyrics(double seconds)
{
    QString text;
    for (int line = 0; line * 2.0 + 1.0 < seconds; ++line)
        text += CKaraokeBlock::FormatTagText(LyricTime(1000 + line * 2000)) +
                QStringLiteral("あかるい ひかりの なかで うたが きこえる %1 ばんめ\r\n").arg(line);
    return text;
}

void MeasureWipe(CKaraokeDlg& dlg, Player& player, double tempo, double seconds)
{
    CKaraokeStatic& display = *dlg.Display();
    player.setTempo(tempo);
    display.SetPlaybackSpeed(tempo);
    player.setCurrentPosition(0.5);
    WipeTimeline timeline([&player] { return player.currentPosition(); }, [&display] { return display.WipePosition(); },
                          true);
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        timeline.Tick();
        dlg.SetPosition(player.currentPosition(), player.playState() == 3);
    });
    tick.start(kTickMs);
    Wait(500);
    display.installEventFilter(&timeline);
    Wait(int(seconds * 1000));
    display.removeEventFilter(&timeline);
    tick.stop();
    timeline.Finish();
    const WipeTimeline::Figures& f = timeline.figures;
    std::printf("wipe at tempo %3.0f %%: painted clock - engine timeline max %.1f ms, mean %.1f ms, %.1f %% of %d paints "
                "within 10 ms (goal: within 10 ms)\n",
                100 * tempo, f.largestTimelineMs, f.MeanTimelineMs(), 100 * f.ShareWithinTenMs(), f.measuredPaints);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    TempFolder folder;
    Profile::setPath(folder.file("bench.ini"));
    const double seconds = argc > 1 ? std::max(1.0, std::atof(argv[1])) : 5.0;
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 4;

    const QString chord = WriteChord(folder, 2 * seconds + 8);
    auto player = chord.isEmpty() ? nullptr : PlayerPlaying(folder, chord);
    if (!player) {
        std::fprintf(stderr, "libmpv could not play the bench chord\n");
        return 1;
    }
    MeasureCpu(*player, seconds, rounds);

    CKaraokeDlg dlg;
    dlg.SetPositionSource([&player] { return player->currentPosition(); });
    const QString lyrics = folder.write("chord.kra", TestFiles::encode(BenchLyrics(2 * seconds + 8), 1200, true));
    int codePage = 932;
    dlg.LoadFromFile(lyrics, codePage, player->currentMedia()->duration());
    dlg.Create();
    dlg.resize(900, 360);
    for (const double tempo : {1.0, 0.5, 1.5})
        MeasureWipe(dlg, *player, tempo, seconds);
    return 0;
}
