#include "player/karaoke/LyricClock.h"

#include <algorithm>

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
}

void CLyricClock::Update(double seconds, bool playing)
{
    const double projected = Position();
    const double behind = projected - seconds;
    const bool stale = m_running && playing && behind >= 0 && behind <= SeekDistance;
    m_anchor = stale ? projected : seconds;
    m_behind = stale ? behind : 0;
    m_anchorAt = m_now();
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
