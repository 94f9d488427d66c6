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

// Plays the file once through an engine whose audio goes into a WAV file, and reads that back.
PcmAudio Render(const TempFolder& folder, const QString& media, int semitones, double tempo, bool vocalReduction)
{
    const QString rendered = folder.file("rendered.wav");
    {
        Player::Options options;
        options.nullVideo = true;
        options.audioFile = rendered;
        options.playlistFolder = folder.mkdir("playlists");
        const auto player = Player::create(options);
        if (!player || !player->setPitch(semitones) || !player->setTempo(tempo) || !player->setVocalReduction(vocalReduction))
            return {};
        auto playlist = std::make_shared<Playlist>(QStringLiteral("render"));
        playlist->appendItem(player->newMedia(media));
        QEventLoop loop;
        QTimer::singleShot(60000, &loop, &QEventLoop::quit);
        QObject::connect(player.get(), &Player::PlayStateChange, &loop, [&loop](int state) {
            if (state == 1)
                loop.quit();
        });
        player->setCurrentPlaylist(playlist);
        loop.exec();
        // The WAV header gets its sizes when the output closes, with the engine.
    }
    return PcmAudio::readWav(rendered);
}

} // namespace

class AudioEffectsTest : public QObject
{
    Q_OBJECT

private slots:
    // A 440 Hz sine as the engine renders it with each effect (Debian's libmpv has them all).
    void rendersTheEffects_data()
    {
        QTest::addColumn<double>("leftGain");
        QTest::addColumn<double>("rightGain");   // < 0: a mono item
        QTest::addColumn<double>("seconds");
        QTest::addColumn<int>("semitones");
        QTest::addColumn<double>("tempo");
        QTest::addColumn<bool>("vocalReduction");
        QTest::addColumn<double>("hz");          // 0: not measured
        QTest::addColumn<double>("renderedSeconds");
        QTest::addColumn<double>("lowestDb");    // the left channel's level against the input's
        QTest::addColumn<double>("highestDb");

        QTest::newRow("neutral") << 0.5 << 0.5 << 2.0 << 0 << 1.0 << false << 440.0 << 2.0 << -0.1 << 0.1;
        QTest::newRow("key +6") << 0.5 << 0.5 << 2.0 << 6 << 1.0 << false << 622.25 << 2.0 << -kInf << kInf;
        QTest::newRow("key -6") << 0.5 << 0.5 << 2.0 << -6 << 1.0 << false << 311.13 << 2.0 << -kInf << kInf;
        QTest::newRow("tempo 150 %") << 0.5 << 0.5 << 6.0 << 0 << 1.5 << false << 440.0 << 4.0 << -1.0 << 1.0;
        QTest::newRow("tempo 50 %") << 0.5 << 0.5 << 2.0 << 0 << 0.5 << false << 440.0 << 4.0 << -1.0 << 1.0;
        QTest::newRow("key and tempo") << 0.5 << 0.5 << 3.0 << 6 << 1.5 << false << 622.25 << 2.0 << -kInf << kInf;
        QTest::newRow("vocal reduction, centred") << 0.5 << 0.5 << 2.0 << 0 << 1.0 << true << 0.0 << 2.0 << -kInf << -30.0;
        QTest::newRow("vocal reduction, left only") << 0.5 << 0.0 << 2.0 << 0 << 1.0 << true << 440.0 << 2.0 << -1.0 << 1.0;
        QTest::newRow("vocal reduction, mono") << 0.5 << -1.0 << 2.0 << 0 << 1.0 << true << 440.0 << 2.0 << -0.1 << 0.1;
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
        QFETCH(double, lowestDb);
        QFETCH(double, highestDb);

        TempFolder folder;
        PcmAudio input = PcmAudio::sine(440, seconds, leftGain, rightGain);
        if (rightGain < 0)
            input.right.clear();
        QVERIFY(input.writeWav(folder.file("sine.wav")));
        const PcmAudio output = Render(folder, folder.file("sine.wav"), semitones, tempo, vocalReduction);
        QVERIFY2(!output.left.empty(), "nothing was rendered");

        QVERIFY2(std::abs(output.seconds() - renderedSeconds) <= 0.03 * renderedSeconds,
                 qPrintable(QString::number(output.seconds())));
        const double measured = PcmAudio::frequency(output.left, output.rate, kMargin);
        QVERIFY2(hz == 0 || std::abs(measured - hz) <= 0.02 * hz, qPrintable(QString::number(measured)));
        const double level = PcmAudio::levelDb(output.left, output.rate, kMargin) -
                             PcmAudio::levelDb(input.left, input.rate, kMargin);
        QVERIFY2(level >= lowestDb && level <= highestDb, qPrintable(QString::number(level)));
    }

    // Changed while the item plays, 20 times a second: it plays on, neither restarted, held nor
    // jumping ahead; values out of range are refused.
    void changesWhilePlayingKeepTheItemGoing()
    {
        EngineHarness engine(false);
        Player& player = engine.player();
        PcmAudio::sine(440, 6, 0.5, 0.5).writeWav(engine.files().file("long.wav"));
        player.setCurrentPlaylist(engine.listOf({engine.files().file("long.wav")}));
        QVERIFY(engine.waitForState(3));
        QTRY_VERIFY(player.currentPosition() > 0.2);
        const MediaPtr item = player.currentMedia();
        engine.takeStates();
        QVERIFY(!player.setPitch(7) && !player.setTempo(1.55) && !player.setTempo(0.45));

        const double before = player.currentPosition();
        double expected = 0;   // the media time the changes should take
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
        QCOMPARE(player.playState(), 3);
        QVERIFY2(played > 0.5 * expected && played < 1.3 * expected,
                 qPrintable(QStringLiteral("%1 s played, %2 s expected").arg(played).arg(expected)));
    }
};

SONAVEL_TEST_MAIN(AudioEffectsTest)
#include "AudioEffectsTest.moc"
