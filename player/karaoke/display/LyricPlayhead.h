#pragma once

#include "player/karaoke/KaraokeHeader.h"
#include "player/karaoke/LyricClock.h"

#include <functional>
#include <optional>

// The playback position a lyric face paints. The main window's timer reports the engine's
// position; between reports a CLyricClock runs it on. While the face asks for frames, every
// other frame (every frame above normal speed, where a step holds more media time) also reads
// the engine itself: the engine moves its position in steps of some
// 30 ms and the timer's reports meet those steps at much the same point each time, so reading
// in between keeps the clock within a few milliseconds of the steps while they are fresh.
class CLyricPlayhead
{
public:
    // The engine's position in seconds; no value while it does not belong to the face's lyrics.
    using PositionSource = std::function<std::optional<double>()>;
    static constexpr int FramesPerRead = 2;

    void SetPositionSource(PositionSource source) { m_source = std::move(source); }
    // The engine's position now; no value without a source or while it answers none.
    std::optional<double> EnginePosition() const;

    // Stopped at a position (a load).
    void Reset(double seconds = 0);
    // A report of the main window's timer.
    void Report(double seconds, bool playing);
    // A frame of the face.
    void OnFrame();

    double Seconds() const { return m_clock.Position(); }
    bool IsRunning() const { return m_clock.IsRunning(); }
    // The engine's tempo (media seconds per real second): the clock runs on at it.
    void SetSpeed(double speed) { m_clock.SetSpeed(speed); }
    double Speed() const { return m_clock.Speed(); }
    // Milliseconds the lyrics are moved by on top of their header's offset, for this session.
    void SetOffsetNudge(int milliseconds) { m_offsetNudge = milliseconds; }
    int OffsetNudge() const { return m_offsetNudge; }
    // The lyric clock now, or at a position, with the nudge.
    double ClockMs(const CKaraokeHeader& header) const { return ClockMs(header, Seconds()); }
    double ClockMs(const CKaraokeHeader& header, double seconds) const;
    // Lyric milliseconds per real millisecond.
    double LyricRate(const CKaraokeHeader& header) const { return header.TimeRatio * Speed(); }

private:
    CLyricClock m_clock;
    PositionSource m_source;
    int m_framesSinceRead = 0;
    int m_offsetNudge = 0;
};
