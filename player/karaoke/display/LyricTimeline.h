#pragma once

#include "player/karaoke/KaraokeBlock.h"
#include "player/karaoke/KaraokeHeader.h"

// Where the lyrics stand at a playback position: the lyric clock of a document's header, the end
// of a block, its state and how far its wipe has got. Every lyric face paints from these.
class CLyricTimeline
{
public:
    enum class State { Error, Unsung, Sung, Current };

    // Time ratio x playback position in seconds x 1000 + offset: lyric milliseconds.
    static double ClockMs(const CKaraokeHeader& header, double seconds);
    // The next block's start, or the media duration for the last block.
    static double EndOf(const CKaraokeBlock& block, double durationMs);
    // Error when the block starts after its end (whatever the clock), Unsung before its start,
    // Sung after its end, else Current; then `wipe` gets the pixels of `width` already sung.
    static State StateAt(const CKaraokeBlock& block, double clockMs, double durationMs, int width,
                         int* wipe = nullptr);
    // The pixels of `width` sung at a clock in a stretch from `start` to `end`, 0 to `width`; a
    // stretch of no length is wholly sung from its start.
    static int WipePixels(double clockMs, double start, double end, int width);
    // The lyric time at which a wipe that stands at `wipe` pixels reaches the next pixel.
    static double NextPixelAt(double start, double end, int width, int wipe);
    // When a block's wipe reaches a pixel of its words (its start for a block of no width or length).
    static double TimeAtPixel(const CKaraokeBlock& block, double durationMs, int pixel);
};
