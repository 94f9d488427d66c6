#pragma once

#include "player/settings/LogFont.h"

#include <QFont>

// The fonts the lyric faces draw in, made from the stored font descriptions.
class CLyricFonts
{
public:
    // A stored height beyond this (pixels) is drawn at this size: a corrupt profile must not make
    // every word a screen high.
    static constexpr int LargestPixels = 512;

    static QFont Usable(const LogFont& font);
    // The font's family, weight and style at a character height in pixels (the stage view's).
    static QFont AtPixelSize(const LogFont& font, int pixels);
    // Kana smaller than this (pixels) cannot be read on a screen.
    static constexpr int MinRubyPixels = 10;

    // The readings' font over a lyric font: the same face at about half its size (MinRubyPixels
    // at least), never lined.
    static QFont Ruby(const QFont& lyricFont);
};
