#include "player/karaoke/LyricClock.h"

#include <algorithm>
#include <cmath>

CLyricClock::CLyricClock()
{
    m_elapsed.start();
    m_now = [this] { return m_elapsed.elapsed(); };
}

CLyricClock::CLyricClock(MonotonicSource monotonicMs) : m_now(std::move(monotonicMs)) {}

void CLyricClock::Reset(double seconds)
{
    m_anchor = seconds;
    m_anchorAt = m_now();
    m_behind = 0;
    m_running = false;
    m_reports.clear();
}

void CLyricClock::Update(double seconds, bool playing)
{
    const qint64 now = m_now();
    const double projected = Position();
    const bool seek = std::abs(projected - seconds) > SeekDistance;
    if (!m_running || !playing || seek)
        m_reports.clear();
    // The freshest that the reports of the last while say of now: a report is as old as the
    // engine's step it was read in, so the one read soonest after a step tells most.
    m_reports.push_back({now, seconds});
    while (now - m_reports.front().at > ReportWindowMs)
        m_reports.pop_front();
    double freshest = seconds;
    for (const Report& report : m_reports)
        freshest = std::max(freshest, report.seconds + double(now - report.at) / 1000.0 * m_speed);
    const double behind = projected - freshest;
    const bool stale = m_running && playing && !seek && behind >= 0;
    m_anchor = stale ? projected : freshest;
    m_behind = stale ? behind : 0;
    m_anchorAt = now;
    m_running = playing;
}

void CLyricClock::SetSpeed(double speed)
{
    if (!(speed > 0) || speed == m_speed)
        return;
    // The clock goes on from where it is; of the difference it is giving up, what is given up so far is gone.
    const double position = Position();
    if (m_running)
        m_behind -= std::min(m_behind, DriftCorrection * Elapsed());
    m_anchor = position;
    m_anchorAt = m_now();
    m_speed = speed;
    m_reports.clear();
}

// Media seconds since the anchor at the playback speed.
double CLyricClock::Elapsed() const
{
    return double(m_now() - m_anchorAt) / 1000.0 * m_speed;
}

double CLyricClock::Position() const
{
    if (!m_running)
        return m_anchor;
    const double elapsed = Elapsed();
    return m_anchor + elapsed - std::min(m_behind, DriftCorrection * elapsed);
}
