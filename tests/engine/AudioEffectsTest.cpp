#include "tests/engine/EngineHarness.h"
#include "tests/support/PcmAudio.h"
#include "tests/support/TestMain.h"

#include "platform/engine/AudioEffects.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTest>
#include <QTimer>

#include <cmath>
#include <limits>

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
// Rendered audio is measured away from its ends, where filters fade in and out.
constexpr double kMargin = 0.3;

struct Effects {
    int semitones = 0;
    double tempo = 1.0;
    bool vocalReduction = false;
};

struct Rendered {
    PcmAudio audio;
    int itemChannels = 0;
};

// Plays the file once through an engine whose audio goes into a WAV file, and reads that back.
Rendered Render(const TempFolder& folder, const QString& media, const Effects& effects)
{
    int itemChannels = 0;
    const QString rendered = folder.file("rendered.wav");
    {
        Player::Options options;
        options.nullVideo = true;
        options.audioFile = rendered;
        options.playlistFolder = folder.mkdir("playlists");
        const auto player = Player::create(options);
        if (!player || !player->setPitch(effects.semitones) || !player->setTempo(effects.tempo) ||
            !player->setVocalReduction(effects.vocalReduction))
            return {};
        auto playlist = std::make_shared<Playlist>(QStringLiteral("render"));
        playlist->appendItem(player->newMedia(media));
        QEventLoop loop;
        QTimer::singleShot(60000, &loop, &QEventLoop::quit);
        QObject::connect(player.get(), &Player::PlayStateChange, &loop, [&](int state) {
            if (state == 3)
                itemChannels = player->audioEffects().itemChannels();
            if (state == 1)
                loop.quit();
        });
        player->setCurrentPlaylist(playlist);
        loop.exec();
        // The WAV header gets its sizes when the output closes, with the engine.
    }
    return {PcmAudio::readWav(rendered), itemChannels};
}

} // namespace

class AudioEffectsTest : public QObject
{
    Q_OBJECT

private slots:
    void debiansLibmpvHasEveryEffect()
    {
        EngineHarness engine;
        QVERIFY(engine.isValid());
        const AudioEffects& effects = engine.player().audioEffects();
        QVERIFY(effects.canChangePitch());
        QVERIFY(effects.canChangeTempo());
        QVERIFY(effects.canReduceVocals());
        // Out of range is refused and changes nothing.
        QVERIFY(!engine.player().setPitch(7));
        QVERIFY(!engine.player().setTempo(1.55));
        QVERIFY(!engine.player().setTempo(0.45));
        QCOMPARE(effects.pitch(), 0);
        QCOMPARE(effects.tempo(), 1.0);
    }

    // A 440 Hz sine as the engine renders it with each effect.
    void rendersTheEffects_data()
    {
        QTest::addColumn<double>("leftGain");
        QTest::addColumn<double>("rightGain");
        QTest::addColumn<double>("seconds");
        QTest::addColumn<int>("semitones");
        QTest::addColumn<double>("tempo");
        QTest::addColumn<bool>("vocalReduction");
        QTest::addColumn<double>("hz");          // 0: not measured
        QTest::addColumn<double>("renderedSeconds");
        QTest::addColumn<double>("lowestLevelDb"); // the left channel's level against the input's
        QTest::addColumn<double>("highestLevelDb");

        QTest::newRow("neutral") << 0.5 << 0.5 << 2.0 << 0 << 1.0 << false << 440.0 << 2.0 << -0.1 << 0.1;
        QTest::newRow("key +6") << 0.5 << 0.5 << 2.0 << 6 << 1.0 << false << 622.25 << 2.0 << -kInf << kInf;
        QTest::newRow("key -6") << 0.5 << 0.5 << 2.0 << -6 << 1.0 << false << 311.13 << 2.0 << -kInf << kInf;
        QTest::newRow("tempo 150 %") << 0.5 << 0.5 << 6.0 << 0 << 1.5 << false << 440.0 << 4.0 << -1.0 << 1.0;
        QTest::newRow("tempo 50 %") << 0.5 << 0.5 << 2.0 << 0 << 0.5 << false << 440.0 << 4.0 << -1.0 << 1.0;
        QTest::newRow("key and tempo") << 0.5 << 0.5 << 3.0 << 6 << 1.5 << false << 622.25 << 2.0 << -kInf << kInf;
        QTest::newRow("vocal reduction, centred") << 0.5 << 0.5 << 2.0 << 0 << 1.0 << true << 0.0 << 2.0 << -kInf << -30.0;
        QTest::newRow("vocal reduction, left only") << 0.5 << 0.0 << 2.0 << 0 << 1.0 << true << 440.0 << 2.0 << -1.0 << 1.0;
    }
    void rendersTheEffects()
    {
        QFETCH(double, leftGain);
        QFETCH(double, rightGain);
        QFETCH(double, seconds);
        QFETCH(int, semitones);
        QFETCH(double, tempo);
        QFETCH(bool, vocalReduction);
        QFETCH(double, hz);
        QFETCH(double, renderedSeconds);
        QFETCH(double, lowestLevelDb);
        QFETCH(double, highestLevelDb);

        TempFolder folder;
        const PcmAudio input = PcmAudio::sine(440, seconds, leftGain, rightGain);
        QVERIFY(input.writeWav(folder.file("sine.wav")));
        const PcmAudio output = Render(folder, folder.file("sine.wav"), {semitones, tempo, vocalReduction}).audio;
        QVERIFY2(!output.left.empty(), "nothing was rendered");

        QVERIFY2(std::abs(output.seconds() - renderedSeconds) <= 0.03 * renderedSeconds,
                 qPrintable(QString::number(output.seconds())));
        if (hz > 0) {
            const double measured = PcmAudio::frequency(output.left, output.rate, kMargin);
            QVERIFY2(std::abs(measured - hz) <= 0.02 * hz, qPrintable(QString::number(measured)));
        }
        const double level = PcmAudio::levelDb(output.left, output.rate, kMargin) -
                             PcmAudio::levelDb(input.left, input.rate, kMargin);
        QVERIFY2(level >= lowestLevelDb && level <= highestLevelDb, qPrintable(QString::number(level)));
    }

    // Changed while the item plays, many times a second: it plays on, neither restarted nor held.
    void changesWhilePlayingKeepTheItemGoing()
    {
        EngineHarness engine(false);
        QVERIFY(engine.isValid());
        Player& player = engine.player();
        PcmAudio::sine(440, 6, 0.5, 0.5).writeWav(engine.files().file("long.wav"));
        player.setCurrentPlaylist(engine.listOf({engine.files().file("long.wav")}));
        QVERIFY(engine.waitForState(3));
        QTRY_VERIFY(player.currentPosition() > 0.2);
        const MediaPtr item = player.currentMedia();
        engine.takeStates();

        const double before = player.currentPosition();
        // 20 changes a second for two seconds, of all three; the media time they should take.
        double expected = 0;
        QElapsedTimer wall;
        for (int change = 0; change < 40; ++change) {
            const double tempo = 0.5 + (change % 21) * 0.05;
            QVERIFY(player.setPitch(change % 13 - 6));
            QVERIFY(player.setTempo(tempo));
            QVERIFY(player.setVocalReduction(change % 2 == 0));
            wall.start();
            QTest::qWait(50);
            expected += tempo * wall.elapsed() / 1000.0;
        }
        const double played = player.currentPosition() - before;
        QCOMPARE(player.currentMedia(), item);
        QCOMPARE(engine.takeStates(), QList<int>());
        // A held item falls behind, a restarted one goes back, audio dropped on a change jumps ahead.
        QVERIFY2(played > 0.5 * expected && played < 1.3 * expected,
                 qPrintable(QStringLiteral("%1 s played, %2 s expected").arg(played).arg(expected)));
        QCOMPARE(player.playState(), 3);
    }

    // A mono item has no centre to cancel: with vocal reduction on it sounds as it is.
    void vocalReductionLeavesAMonoItemAlone()
    {
        TempFolder folder;
        PcmAudio mono = PcmAudio::sine(440, 2, 0.5, 0);
        mono.right.clear();
        QVERIFY(mono.writeWav(folder.file("mono.wav")));
        const Rendered plain = Render(folder, folder.file("mono.wav"), {});
        const Rendered reduced = Render(folder, folder.file("mono.wav"), {0, 1.0, true});
        QVERIFY(!plain.audio.left.empty() && !reduced.audio.left.empty());
        QCOMPARE(reduced.itemChannels, 1);
        QVERIFY(std::abs(PcmAudio::levelDb(reduced.audio.left, reduced.audio.rate, kMargin) -
                         PcmAudio::levelDb(plain.audio.left, plain.audio.rate, kMargin)) < 0.1);
    }
};

SONAVEL_TEST_MAIN(AudioEffectsTest)
#include "AudioEffectsTest.moc"
