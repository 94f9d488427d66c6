#pragma once

#include <QElapsedTimer>

#include <functional>

// The playback position between two reports of the engine, for a wipe that moves at the
// display's frame rate while the engine's position arrives on a 50 ms timer.
//
// Every report re-synchronises the clock. While the engine plays, the position runs on from the
// last report by the monotonic time elapsed since; while it is paused or stopped it stands at the
// reported position. A report farther than SeekDistance from where the clock has got to (a seek,
// a new track) starts it again from the report; a smaller difference is drift and never makes the
// position go back: it holds until the engine catches up, so a wipe does not step backwards while
// a track plays on.
//
// Self-contained: each lyric display owns one and feeds it the reports it gets.
class CLyricClock
{
public:
    // A difference from the running clock larger than this (seconds) counts as a seek.
    static constexpr double SeekDistance = 0.25;

    // Milliseconds of a monotonic clock; the default is a QElapsedTimer started with the clock.
    using MonotonicSource = std::function<qint64()>;

    CLyricClock();
    explicit CLyricClock(MonotonicSource monotonicMs);

    // Stopped at the position (a load, a new track).
    void Reset(double seconds = 0);
    // A report of the engine: its position in seconds and whether it is playing.
    void Update(double seconds, bool playing);

    // The position now, in seconds.
    double Position();
    bool IsRunning() const { return m_running; }

private:
    double Projected() const;

    MonotonicSource m_now;
    QElapsedTimer m_elapsed;
    double m_reported = 0;    // seconds at the last report
    qint64 m_reportedAt = 0;  // monotonic milliseconds of the last report
    double m_floor = 0;       // the largest position answered since the clock last started
    bool m_running = false;
};
