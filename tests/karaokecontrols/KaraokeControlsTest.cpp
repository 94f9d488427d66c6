// The karaoke controls without the main window: the offset written into lyric files, the
// per-track memory, and the wipe at other tempi against the real engine.

#include "tests/engine/EngineHarness.h"
#include "tests/support/PcmAudio.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"
#include "bench/karaoke/WipeTimeline.h"

#include "platform/profile/Profile.h"
#include "player/karaoke/KaraokeBlock.h"
#include "player/karaoke/KaraokeDlg.h"
#include "player/karaoke/KaraokeStatic.h"
#include "player/karaoke/KaraokeControls.h"
#include "player/karaoke/LyricOffsetWriter.h"

#include <QTimer>

#include <cmath>

class KaraokeControlsTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TempFolder> m_folder;

private slots:
    void init()
    {
        m_folder = std::make_unique<TempFolder>();
        Profile::setPath(m_folder->file("sonavel.ini"));
    }

    // The offset goes into the file and nothing else of it changes; a file whose bytes would
    // not come back from its text is left alone.
    void offsetSavedByteForByte_data()
    {
        QTest::addColumn<int>("codePage");   // of the file's bytes (1200: UTF-16LE with FF FE)
        QTest::addColumn<bool>("mark");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("offset");
        QTest::addColumn<QString>("saved");  // empty: refused

        QTest::newRow("own, UTF-16, no offset line")
            << 1200 << true << "@Title=春\r\n[00:01:00]はる  の\r\n" << 150 << "@Offset=150\r\n@Title=春\r\n[00:01:00]はる  の\r\n";
        QTest::newRow("own, Shift-JIS, LF, the last offset line")
            << 932 << false << "@Offset=10\n[00:00:50]あ\n@Offset= -250\n[00:01:00]い" << -50
            << "@Offset=10\n[00:00:50]あ\n@Offset= -50\n[00:01:00]い";
        QTest::newRow("own, an offset in the words is no header")
            << 932 << false << "[00:01:00]mail@Offset=5 x" << 100 << "@Offset=100\r\n[00:01:00]mail@Offset=5 x";
        QTest::newRow("LRC, UTF-8, its tag") << 65001 << false << "[ti:春]\n[offset:+20]\n[00:01.00]はる\n" << 150
                                              << "[ti:春]\n[offset:150]\n[00:01.00]はる\n";
        QTest::newRow("LRC, UTF-8 with a mark, CRLF, no tag")
            << 65001 << true << "[ar:歌手]\r\n[00:01.00]はる\r\n" << -50 << "[offset:-50]\r\n[ar:歌手]\r\n[00:01.00]はる\r\n";
        QTest::newRow("own, a byte invalid in Shift-JIS") << 932 << false << QString() << 100 << QString();
    }
    void offsetSavedByteForByte()
    {
        QFETCH(int, codePage);
        QFETCH(bool, mark);
        QFETCH(QString, text);
        QFETCH(int, offset);
        QFETCH(QString, saved);
        const QByteArray before = text.isEmpty() ? QByteArray("[00:01:00]\x81\x20\r\n") : TestFiles::encode(text, codePage, mark);
        const QString path = m_folder->write("song.kra", before);
        QCOMPARE(CLyricOffsetWriter::Write(path, 932, offset), !saved.isEmpty());
        QCOMPARE(TestFiles::readBytes(path), saved.isEmpty() ? before : TestFiles::encode(saved, codePage, mark));
        // The lyrics read back at the new offset.
        CKaraokeData data;
        int readPage = 932;
        if (!saved.isEmpty() && data.ReadKaraokeFile(path, readPage))
            QCOMPARE(data.Header.Offset, offset);
    }

    // "曲ごとに記憶" keeps key, tempo and nudge by track across a restart; off, or for another
    // track, the values are neutral; values out of range in the file are clamped.
    void perTrackMemoryAcrossARestart()
    {
        const QString memory = m_folder->file("data/karaoke-controls.json");
        const auto values = [](const CKaraokeControls& c) { return QList<int>{c.Key(), c.Tempo(), c.OffsetNudge()}; };
        {
            CKaraokeControls controls(memory);
            controls.SetRememberPerTrack(true);
            controls.OnNewTrack("/music/a.mp3");
            controls.StepKey(3);
            controls.StepTempo(-4);
            controls.StepOffset(3);
        }
        CKaraokeControls controls(memory);
        controls.OnNewTrack("/music/b.mp3");
        QCOMPARE(values(controls), QList<int>({0, 100, 0}));
        controls.OnNewTrack("/music/a.mp3");
        QCOMPARE(values(controls), QList<int>({3, 80, 150}));
        controls.SetRememberPerTrack(false);
        controls.OnNewTrack("/music/a.mp3");
        QCOMPARE(values(controls), QList<int>({0, 100, 0}));

        TestFiles::writeBytes(memory, R"({"tracks":[{"path":"/c.mp3","key":40,"tempo":999,"offset":-99999999},
                                        {"path":"/d.mp3","key":"x","tempo":82}]})");
        CKaraokeControls clamped(memory);
        clamped.SetRememberPerTrack(true);
        clamped.OnNewTrack("/c.mp3");
        QCOMPARE(values(clamped), QList<int>({6, 150, -CKaraokeControls::MaxOffsetNudge}));
        clamped.OnNewTrack("/d.mp3");
        QCOMPARE(values(clamped), QList<int>({0, 80, 0}));
    }

    // The wipe runs at the engine's tempo. How close it keeps to the engine in milliseconds is the
    // wipe bench's figure: on a loaded machine the paints come late, but the painted clock still
    // runs at the engine's speed between them.
    void wipeKeepsToTheEngine_data()
    {
        QTest::addColumn<double>("tempo");
        QTest::newRow("50 %") << 0.5;
        QTest::newRow("150 %") << 1.5;
    }
    void wipeKeepsToTheEngine()
    {
        QFETCH(double, tempo);
        EngineHarness engine(false);
        Player& player = engine.player();
        QVERIFY(PcmAudio::sine(440, 12, 0.3, 0.3).writeWav(engine.files().file("song.wav")));
        player.setCurrentPlaylist(engine.listOf({engine.files().file("song.wav")}));
        QVERIFY(engine.waitForState(3));
        QVERIFY(player.setTempo(tempo));

        CKaraokeDlg dlg;
        QString lyrics;
        for (int line = 0; line < 6; ++line)
            lyrics += CKaraokeBlock::FormatTagText(LyricTime(line * 2000)) + QStringLiteral("ひかりの なかで うたが きこえる\r\n");
        int codePage = 0;
        QVERIFY(dlg.LoadFromFile(m_folder->write("song.kra", TestFiles::encode(lyrics, 1200, true)), codePage, 12));
        dlg.SetPositionSource([&player] { return player.currentPosition(); });
        dlg.Display()->SetPlaybackSpeed(tempo);
        dlg.Create();
        dlg.resize(900, 300);
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));

        CKaraokeStatic& display = *dlg.Display();
        WipeTimeline timeline([&player] { return player.currentPosition(); },
                              [&display] { return display.WipePosition(); }, true);
        QTimer tick;
        tick.setTimerType(Qt::PreciseTimer);
        QObject::connect(&tick, &QTimer::timeout, [&] {
            timeline.Tick();
            dlg.SetPosition(player.currentPosition(), player.playState() == 3);
        });
        tick.start(50);
        QTest::qWait(300);
        display.installEventFilter(&timeline);
        QTest::qWait(2000);
        display.removeEventFilter(&timeline);
        timeline.Finish();
        const WipeTimeline::Figures& f = timeline.figures;
        QVERIFY2(f.measuredPaints > 30 && std::abs(f.engineRate - tempo) <= 0.1 * tempo &&
                     std::abs(f.paintedRate - f.engineRate) <= 0.1 * tempo,
                 qPrintable(QStringLiteral("%1 paints, engine at %2, painted clock at %3 (mean %4 ms off)")
                                .arg(f.measuredPaints).arg(f.engineRate).arg(f.paintedRate).arg(f.MeanTimelineMs())));
    }
};

SONAVEL_TEST_MAIN(KaraokeControlsTest)
#include "KaraokeControlsTest.moc"
