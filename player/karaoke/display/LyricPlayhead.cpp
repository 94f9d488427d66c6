#include "player/karaoke/display/LyricPlayhead.h"

#include "player/karaoke/display/LyricTimeline.h"

std::optional<double> CLyricPlayhead::EnginePosition() const
{
    return m_source ? m_source() : std::nullopt;
}

void CLyricPlayhead::Reset(double seconds)
{
    m_clock.Reset(seconds);
}

void CLyricPlayhead::Report(double seconds, bool playing)
{
    m_clock.Update(seconds, playing);
}

void CLyricPlayhead::OnFrame()
{
    // Faster than recorded, a step of the engine holds more media time: every frame reads it.
    if (!m_source || ++m_framesSinceRead < (Speed() > 1.0 ? 1 : FramesPerRead))
        return;
    m_framesSinceRead = 0;
    if (const std::optional<double> seconds = m_source())
        m_clock.Update(*seconds, m_clock.IsRunning());
}

double CLyricPlayhead::ClockMs(const CKaraokeHeader& header, double seconds) const
{
    return CLyricTimeline::ClockMs(header, seconds) + m_offsetNudge;
}
