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
    m_reported = seconds;
    m_reportedAt = m_now();
    m_floor = seconds;
    m_running = false;
}

void CLyricClock::Update(double seconds, bool playing)
{
    const bool drift = m_running && playing && std::abs(seconds - std::max(m_floor, Projected())) <= SeekDistance;
    if (!drift)
        m_floor = seconds;
    m_reported = seconds;
    m_reportedAt = m_now();
    m_running = playing;
}

double CLyricClock::Projected() const
{
    if (!m_running)
        return m_reported;
    return m_reported + double(m_now() - m_reportedAt) / 1000.0;
}

double CLyricClock::Position()
{
    if (!m_running)
        return m_reported;
    m_floor = std::max(m_floor, Projected());
    return m_floor;
}
