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

double CLyricClock::Position() const
{
    if (!m_running)
        return m_anchor;
    const double elapsed = double(m_now() - m_anchorAt) / 1000.0;
    return m_anchor + elapsed - std::min(m_behind, DriftCorrection * elapsed);
}
