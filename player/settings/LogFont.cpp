#include "player/settings/LogFont.h"

#include <QFontInfo>
#include <QStringList>

#include <algorithm>

#include <cmath>

namespace {

// Windows face names have no Linux font of that name; the Japanese fonts stand in after them.
QStringList familiesFor(const QString& faceName)
{
    QStringList families;
    if (!faceName.isEmpty())
        families << faceName;
    families << QStringLiteral("Noto Sans CJK JP") << QStringLiteral("Noto Sans JP") << QStringLiteral("DejaVu Sans");
    return families;
}

// The usual share of the internal leading in a cell height.
constexpr double kCellToCharacter = 0.8;

} // namespace

QFont LogFont::toQFont() const
{
    QFont font;
    font.setFamilies(familiesFor(lfFaceName));
    if (lfHeight < 0)
        font.setPixelSize(-lfHeight);
    else if (lfHeight > 0)
        font.setPixelSize(std::max(1, static_cast<int>(std::lround(lfHeight * kCellToCharacter))));
    if (lfWeight > 0)
        font.setWeight(static_cast<QFont::Weight>(std::clamp(lfWeight, 1, 1000)));
    font.setItalic(lfItalic != 0);
    font.setUnderline(lfUnderline != 0);
    font.setStrikeOut(lfStrikeOut != 0);
    return font;
}

LogFont LogFont::fromQFont(const QFont& font)
{
    LogFont logFont;
    const int pixels = font.pixelSize() > 0 ? font.pixelSize() : QFontInfo(font).pixelSize();
    logFont.lfHeight = -pixels;
    logFont.lfWeight = font.weight();
    logFont.lfItalic = font.italic() ? 1 : 0;
    logFont.lfUnderline = font.underline() ? 1 : 0;
    logFont.lfStrikeOut = font.strikeOut() ? 1 : 0;
    logFont.lfCharSet = 1; // DEFAULT_CHARSET
    logFont.lfOutPrecision = 3;
    logFont.lfClipPrecision = 2;
    logFont.lfQuality = 1;
    logFont.lfPitchAndFamily = 34;
    const QStringList families = font.families();
    logFont.lfFaceName = (families.isEmpty() ? font.family() : families.first()).left(FaceNameLength);
    return logFont;
}
