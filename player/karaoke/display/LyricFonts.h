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

    // Lets the painter keep the glyphs of fonts up to the stage view's title size. Past 64 px Qt
    // draws every glyph as a path on every paint, which at 60 wipe frames a second costs more
    // than the rest of a frame. Qt reads the limit once, when the first text is drawn: call this
    // before the application object is made.
    static void CacheLargeGlyphs();
};
