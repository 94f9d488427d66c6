#include "player/karaoke/display/LyricFonts.h"

#include <QFontInfo>

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

QFont CLyricFonts::Ruby(const QFont& lyricFont)
{
    QFont ruby = lyricFont;
    const int pixels = lyricFont.pixelSize() > 0 ? lyricFont.pixelSize() : QFontInfo(lyricFont).pixelSize();
    ruby.setPixelSize(std::max(MinRubyPixels, (pixels + 1) / 2));
    ruby.setUnderline(false);
    ruby.setStrikeOut(false);
    return ruby;
}
