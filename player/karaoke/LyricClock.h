#pragma once

#include <QElapsedTimer>

#include <deque>
#include <functional>

// The playback position between two reports of the engine, for a wipe that moves at the
// display's frame rate while the engine's position arrives on a 50 ms timer.
//
// While the engine plays, the position runs on from the last report by the monotonic time
// elapsed since, times the playback speed (media seconds per real second); while it is paused or
// stopped it stands at the reported position. The engine updates its position in steps of some
// 30 ms (more media time at a faster tempo), so a report is often a little older than it looks;
// what counts is the freshest the reports of the last ReportWindowMs say, each run on to now:
//   - ahead of where the clock has got to, it is fresher: the clock takes it;
//   - behind it (by no more than SeekDistance), the clock does not jump back, it only runs
//     slower (by DriftCorrection) until it has given up that difference, so the wipe never steps
//     backwards and still follows an engine that really runs slower;
//   - a report farther away (a seek, a new track) starts the clock again from it.
//
// Self-contained: each lyric display owns one and feeds it the reports it gets.
class CLyricClock
{
public:
    // A difference from the running clock larger than this (seconds) counts as a seek.
    static constexpr double SeekDistance = 0.25;
    // How much slower (a share of real time) the clock runs while reports are behind it.
    static constexpr double DriftCorrection = 0.05;
    // How long a report counts towards the freshest position (a few of the engine's steps).
    static constexpr qint64 ReportWindowMs = 200;

    // Milliseconds of a monotonic clock; the default is a QElapsedTimer started with the clock.
    using MonotonicSource = std::function<qint64()>;

    CLyricClock();
    explicit CLyricClock(MonotonicSource monotonicMs);

    // Stopped at the position (a load, a new track).
    void Reset(double seconds = 0);
    // A report of the engine: its position in seconds and whether it is playing.
    void Update(double seconds, bool playing);

    // Media seconds per real second (the tempo); the position so far stays where it is.
    void SetSpeed(double speed);
    double Speed() const { return m_speed; }

    // The position now, in seconds.
    double Position() const;
    bool IsRunning() const { return m_running; }

private:
    double Elapsed() const;

    struct Report {
        qint64 at = 0;
        double seconds = 0;
    };

    MonotonicSource m_now;
    QElapsedTimer m_elapsed;
    double m_anchor = 0;     // the position (seconds) at m_anchorAt
    qint64 m_anchorAt = 0;   // monotonic milliseconds
    double m_behind = 0;     // seconds the clock still has to give up to the engine's reports
    double m_speed = 1.0;
    std::deque<Report> m_reports;   // those of the last ReportWindowMs while running
    bool m_running = false;
};
