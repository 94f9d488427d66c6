#include "player/karaoke/display/LyricFonts.h"

#include <algorithm>

QFont CLyricFonts::Usable(const LogFont& font)
{
    LogFont usable = font;
    usable.lfHeight = std::clamp(usable.lfHeight, -LargestPixels, LargestPixels);
    return usable.toQFont();
}

QFont CLyricFonts::AtPixelSize(const LogFont& font, int pixels)
{
    LogFont sized = font;
    sized.lfHeight = -std::max(1, pixels);
    sized.lfWidth = 0;
    return sized.toQFont();
}
