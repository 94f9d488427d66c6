// The stage view at 1920x1080 while a track plays through the engine, fed as the main window
// feeds it (position and play state every 50 ms), beside the karaoke window. Run under Xvfb:
//   xvfb-run -a -s "-screen 0 1920x1080x24" build/bench/karaoke/bench_stage [seconds per run] [rounds]
// Runs of the karaoke window alone, of the karaoke window with the stage view, and of the stage
// view alone without and with readings over the kanji (the ルビ setting off and on, the same
// lyrics) take turns (default 5 rounds of 4 s), so that a change of load on the machine weighs on
// all alike. Prints the stage view's wipe updates per second, how far its painted clock was from
// the engine's timeline, and the CPU share of a core of each run, against the goals.

#include "bench/karaoke/WipeTimeline.h"
#include "platform/engine/Player.h"
#include "platform/profile/Profile.h"
#include "player/karaoke/KaraokeDlg.h"
#include "player/karaoke/KaraokeStatic.h"
#include "player/karaoke/RubySetting.h"
#include "player/karaoke/stage/StageView.h"
#include "tests/support/Measures.h"
#include "tests/support/Mp3Fixture.h"
#include "tests/support/TestFiles.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kTickMs = 50;
constexpr double kGoalUpdates = 60;
constexpr double kGoalDistanceMs = 10;
constexpr double kGoalExtraCpu = 1.0;
constexpr double kGoalRubyCpu = 0.5;

// A two-second line after another without pauses, so that the stage always has a line to wipe;
// five of its six words with a reading over their kanji.
QString BenchLyrics(double seconds)
{
    QString text = QStringLiteral("@Title=ベンチマーク\r\n@Artist=Sonavel\r\n");
    for (int line = 0; line * 2.0 + 1.0 < seconds; ++line)
        text +=
            CKaraokeBlock::FormatTagText(LyricTime(1000 + line * 2000)) +
            QStringLiteral("明《あか》るい 光《ひかり》の 中《なか》で 歌《うた》が 聞《き》こえる %1\r\n").arg(line);
    return text;
}

void Wait(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

struct RunFigures {
    WipeTimeline::Figures stage;
    double cpuSeconds = 0;
    double wallSeconds = 0;
    double CpuShare() const { return wallSeconds > 0 ? 100.0 * cpuSeconds / wallSeconds : 0; }
};

RunFigures Run(CKaraokeDlg& dlg, CStageView* stage, Player& player, double seconds, bool readEngine)
{
    WipeTimeline* watch = nullptr;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        if (watch)
            watch->Tick();
        const bool playing = player.playState() == 3;
        dlg.SetPosition(player.currentPosition(), playing);
        if (stage)
            stage->SetPosition(player.currentPosition(), playing);
    });
    tick.start(kTickMs);
    player.setCurrentPosition(0.5);
    player.play();
    Wait(500);
    WipeTimeline watching([&player] { return player.currentPosition(); },
                          [stage] { return stage ? stage->WipePosition() : 0.0; }, readEngine);
    if (stage) {
        watch = &watching;
        stage->installEventFilter(watch);
    }
    RunFigures figures;
    QElapsedTimer wall;
    const double cpuBefore = CpuSeconds();
    wall.start();
    Wait(int(seconds * 1000));
    figures.cpuSeconds = CpuSeconds() - cpuBefore;
    figures.wallSeconds = wall.nsecsElapsed() / 1e9;
    if (stage)
        stage->removeEventFilter(watch);
    watch = nullptr;
    player.pause();
    Wait(2 * kTickMs);
    tick.stop();
    watching.Finish();
    figures.stage = watching.figures;
    return figures;
}

void Add(RunFigures& total, const RunFigures& run)
{
    total.stage.paints += run.stage.paints;
    total.cpuSeconds += run.cpuSeconds;
    total.wallSeconds += run.wallSeconds;
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

const char* Verdict(bool met)
{
    return met ? "goal met" : "GOAL MISSED";
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    TempFolder folder;
    Profile::setPath(folder.file("bench.ini"));
    CRubySetting& ruby = CRubySetting::Instance();
    ruby.SetMode(RubyMode::None);
    const double seconds = argc > 1 ? std::max(1.0, std::atof(argv[1])) : 4.0;
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    const double trackSeconds = seconds + 4;
    const QString track = Mp3Fixture::write(folder.file("bench.mp3"), {}, trackSeconds);
    const QString lyrics = BenchLyrics(trackSeconds);

    Player::Options options = Player::Options::fromEnvironment();
    options.nullAudio = options.nullVideo = true;
    options.playlistFolder = folder.mkdir("playlists");
    auto player = Player::create(options);
    if (!player || !OpenTrack(*player, track)) {
        std::fprintf(stderr, "libmpv could not play the bench track\n");
        return 1;
    }
    player->pause();
    const double duration = player->currentMedia() ? player->currentMedia()->duration() : trackSeconds;
    const auto engine = [&player]() -> std::optional<double> { return player->currentPosition(); };
    CKaraokeDlg dlg;
    dlg.SetPositionSource(engine);
    dlg.LoadFromTagText(lyrics, duration, QString(), QString());
    dlg.Create();
    dlg.resize(900, 320);
    CStageView stage;
    stage.SetPositionSource(engine);
    stage.SetLook(dlg.Display()->GetLogFont(), dlg.Display()->Colours());
    stage.LoadFromText(lyrics, duration);
    stage.Enter(QGuiApplication::primaryScreen());
    Wait(300);

    std::printf("stage view at %dx%d beside the karaoke window: %d rounds of %.0f s, position ticks every %d ms, "
                "screen at %.0f Hz\n",
                stage.width(), stage.height(), rounds, seconds, kTickMs,
                stage.screen() ? stage.screen()->refreshRate() : 0.0);
    // The distances in a run of their own: the CPU time is measured without the engine reads.
    const RunFigures distances = Run(dlg, &stage, *player, seconds, true);
    RunFigures alone;
    RunFigures withStage;
    RunFigures plainStage;
    RunFigures rubyStage;
    for (int round = 0; round < rounds; ++round) {
        stage.hide();
        Add(alone, Run(dlg, nullptr, *player, seconds, false));
        stage.Enter(QGuiApplication::primaryScreen());
        Wait(200);
        Add(withStage, Run(dlg, &stage, *player, seconds, false));
        dlg.hide();
        Add(plainStage, Run(dlg, &stage, *player, seconds, false));
        ruby.SetMode(RubyMode::Written);
        Wait(200);
        Add(rubyStage, Run(dlg, &stage, *player, seconds, false));
        ruby.SetMode(RubyMode::None);
        dlg.show();
    }
    const double updates = withStage.stage.paints / withStage.wallSeconds;
    const WipeTimeline::Figures& d = distances.stage;
    const double extra = withStage.CpuShare() - alone.CpuShare();
    std::printf("  stage wipe updates: %.1f /s (goal >= %.0f: %s); the wipe stood still for up to %.1f ms\n", updates,
                kGoalUpdates, Verdict(updates >= kGoalUpdates), d.largestIntervalMs);
    std::printf("  painted clock - engine timeline: max %.1f ms, mean %.1f ms, %.1f %% of paints within 10 ms "
                "(goal max <= %.0f ms: %s)\n",
                d.largestTimelineMs, d.MeanTimelineMs(), 100.0 * d.ShareWithinTenMs(), kGoalDistanceMs,
                Verdict(d.largestTimelineMs <= kGoalDistanceMs));
    std::printf("  CPU: karaoke window alone %.2f %% of a core, with the stage view %.2f %% (%+.2f %%, goal <= +%.0f %%: "
                "%s)\n",
                alone.CpuShare(), withStage.CpuShare(), extra, kGoalExtraCpu, Verdict(extra <= kGoalExtraCpu));
    const double rubyExtra = rubyStage.CpuShare() - plainStage.CpuShare();
    std::printf(
        "  CPU of the stage view alone: without readings %.2f %% of a core, with them %.2f %% (%+.2f %%, goal <= "
        "+%.1f %%: %s); %.1f wipe updates /s with them\n",
        plainStage.CpuShare(), rubyStage.CpuShare(), rubyExtra, kGoalRubyCpu, Verdict(rubyExtra <= kGoalRubyCpu),
        rubyStage.stage.paints / rubyStage.wallSeconds);
    return 0;
}
