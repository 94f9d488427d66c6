#include "player/karaoke/LyricClock.h"
#include "tests/support/TestMain.h"

#include <cmath>

// The clock runs on a monotonic time the test moves by hand, so every figure is exact.
class LyricClockTest : public QObject
{
    Q_OBJECT

private:
    qint64 m_now = 0;
    CLyricClock MakeClock()
    {
        return CLyricClock([this] { return m_now; });
    }

private slots:
    void init() { m_now = 1000; }

    void runsOnWhilePlaying()
    {
        CLyricClock clock = MakeClock();
        clock.Update(10.0, true);
        QCOMPARE(clock.Position(), 10.0);
        m_now += 16;
        QCOMPARE(clock.Position(), 10.016);
        m_now += 34;
        QCOMPARE(clock.Position(), 10.05);
        QVERIFY(clock.IsRunning());
    }

    void standsStillWhilePaused()
    {
        CLyricClock clock = MakeClock();
        clock.Update(3.0, true);
        m_now += 40;
        clock.Update(3.04, false);
        m_now += 500;
        QCOMPARE(clock.Position(), 3.04);
        QVERIFY(!clock.IsRunning());
        // The plain position update stands as well.
        clock.Update(7.5, false);
        m_now += 500;
        QCOMPARE(clock.Position(), 7.5);
    }

    void followsReportsAheadOfIt()
    {
        CLyricClock clock = MakeClock();
        clock.Update(1.0, true);
        m_now += 50;
        clock.Update(1.06, true);  // the engine is 10 ms ahead of the projection
        QCOMPARE(clock.Position(), 1.06);
        m_now += 10;
        QCOMPARE(clock.Position(), 1.07);
    }

    void staleReportsOnlySlowItDown()
    {
        CLyricClock clock = MakeClock();
        clock.Update(1.0, true);
        m_now += 300;              // the report is older than the window: only the next counts
        QCOMPARE(clock.Position(), 1.3);
        clock.Update(1.28, true);  // 20 ms behind what was shown: taken as an old report
        QCOMPARE(clock.Position(), 1.3);
        m_now += 100;              // runs at 95 % while it gives the 20 ms back
        QCOMPARE(clock.Position(), 1.3 + 0.1 - 0.005);
        m_now += 300;              // given back after 400 ms; then at full speed again
        QCOMPARE(clock.Position(), 1.3 + 0.4 - 0.02);
        m_now += 100;
        QCOMPARE(clock.Position(), 1.3 + 0.5 - 0.02);
    }

    // A report read late in the engine's step says less than one read soon after the step
    // before it: within the window, the fresher one stands and the clock does not slow down.
    void theFreshestRecentReportCounts()
    {
        CLyricClock clock = MakeClock();
        clock.SetSpeed(1.5);
        clock.Update(1.0, true);
        m_now += 50;
        clock.Update(1.05, true);  // 25 ms behind the first report run on at 150 %
        QCOMPARE(clock.Position(), 1.075);
        m_now += 100;
        QCOMPARE(clock.Position(), 1.225);
    }

    void neverGoesBackWhilePlaying()
    {
        // Reports in steps of 30 ms read every 50 ms, as the engine gives them.
        CLyricClock clock = MakeClock();
        double shown = 0;
        for (int tick = 0; tick < 200; ++tick) {
            const double truth = tick * 0.05;
            clock.Update(std::floor(truth / 0.03) * 0.03, true);
            for (int frame = 0; frame < 3; ++frame) {
                const double now = clock.Position();
                QVERIFY(now >= shown);
                QVERIFY(std::abs(now - truth - frame * 0.016) < 0.035);
                shown = now;
                m_now += 16;
            }
            m_now += 2;
        }
    }

    void seekStartsAgain_data()
    {
        QTest::addColumn<double>("report");
        QTest::newRow("back 2 s") << 0.05;
        QTest::newRow("forward 30 s") << 32.0;
        QTest::newRow("back just past the limit") << 2.05 - CLyricClock::SeekDistance - 0.01;
    }

    void seekStartsAgain()
    {
        QFETCH(double, report);
        CLyricClock clock = MakeClock();
        clock.Update(2.0, true);
        m_now += 50;
        QCOMPARE(clock.Position(), 2.05);
        clock.Update(report, true);
        QCOMPARE(clock.Position(), report);
        m_now += 20;
        QCOMPARE(clock.Position(), report + 0.02);
    }

    void resetStops()
    {
        CLyricClock clock = MakeClock();
        clock.Update(5.0, true);
        m_now += 100;
        clock.Reset();
        QVERIFY(!clock.IsRunning());
        m_now += 100;
        QCOMPARE(clock.Position(), 0.0);
        // The first report after a reset is taken as it is, even far from 0.
        clock.Update(5.2, true);
        QCOMPARE(clock.Position(), 5.2);
    }

    // At another tempo the clock runs that much faster or slower between reports; a change of
    // speed carries on from where the clock stands.
    void runsAtThePlaybackSpeed_data()
    {
        QTest::addColumn<double>("speed");
        QTest::newRow("50 %") << 0.5;
        QTest::newRow("150 %") << 1.5;
    }
    void runsAtThePlaybackSpeed()
    {
        QFETCH(double, speed);
        CLyricClock clock = MakeClock();
        clock.SetSpeed(speed);
        clock.Update(10.0, true);
        m_now += 40;
        QCOMPARE(clock.Position(), 10.0 + 0.04 * speed);
        clock.SetSpeed(1.0);
        QCOMPARE(clock.Position(), 10.0 + 0.04 * speed);
        m_now += 40;
        QCOMPARE(clock.Position(), 10.04 + 0.04 * speed);
        // Paused, no speed moves it.
        clock.Update(12.0, false);
        clock.SetSpeed(speed);
        m_now += 40;
        QCOMPARE(clock.Position(), 12.0);
    }

    void realTimerAdvances()
    {
        CLyricClock clock;
        clock.Update(1.0, true);
        QTest::qWait(30);
        QVERIFY(clock.Position() >= 1.03);
    }
};

SONAVEL_TEST_MAIN(LyricClockTest)
#include "LyricClockTest.moc"
