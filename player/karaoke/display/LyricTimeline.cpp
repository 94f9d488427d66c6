#include "player/karaoke/display/LyricTimeline.h"

#include <algorithm>

double CLyricTimeline::ClockMs(const CKaraokeHeader& header, double seconds)
{
    return header.TimeRatio * seconds * 1000.0 + header.Offset;
}

double CLyricTimeline::EndOf(const CKaraokeBlock& block, double durationMs)
{
    return block.Next() ? double(block.Next()->StartTime()) : durationMs;
}

CLyricTimeline::State CLyricTimeline::StateAt(const CKaraokeBlock& block, double clockMs, double durationMs,
                                              int width, int* wipe)
{
    const double start = block.StartTime();
    const double end = EndOf(block, durationMs);
    if (start > end)
        return State::Error;
    if (clockMs < start)
        return State::Unsung;
    if (clockMs > end)
        return State::Sung;
    if (wipe)
        *wipe = WipePixels(clockMs, start, end, width);
    return State::Current;
}

int CLyricTimeline::WipePixels(double clockMs, double start, double end, int width)
{
    if (end <= start)
        return clockMs >= start ? width : 0;
    if (clockMs <= start)
        return 0;
    // Truncated toward zero: a pixel turns sung only once the clock has wholly reached it.
    return std::min(width, int((clockMs - start) * width / (end - start)));
}

double CLyricTimeline::NextPixelAt(double start, double end, int width, int wipe)
{
    return width > 0 ? start + (wipe + 1) * (end - start) / width : end;
}

double CLyricTimeline::TimeAtPixel(const CKaraokeBlock& block, double durationMs, int pixel)
{
    const double start = block.StartTime();
    const double end = EndOf(block, durationMs);
    if (block.TextWidth <= 0 || end <= start)
        return start;
    return start + (end - start) * double(pixel) / block.TextWidth;
}
