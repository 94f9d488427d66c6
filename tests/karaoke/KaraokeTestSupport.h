#pragma once

#include "common/ui/SharedTypes.h"
#include "player/karaoke/KaraokeStatic.h"
#include "tests/support/Measures.h"

#include <QImage>
#include <QObject>
#include <QRect>
#include <QString>

class QWidget;

namespace KaraokeTest {

// The display's default colours.
inline constexpr COLORREF Back = RGB(0, 0, 0);
inline constexpr COLORREF Err = RGB(255, 0, 0);
inline constexpr COLORREF Sung = RGB(0, 255, 255);
inline constexpr COLORREF Unsung = RGB(255, 255, 255);
inline constexpr COLORREF Tag = RGB(255, 128, 0);

// Which of the display's exact colours appear in an area of a picture (edges of glyphs blend
// with the background; the inside of a glyph stroke has the colour itself).
struct Colours {
    bool sung = false;
    bool unsung = false;
    bool err = false;
    bool tag = false;
    // Only `expected` of the four text colours, and it at least once.
    bool Only(COLORREF expected) const;
};
Colours ColoursIn(const QImage& image, const QRect& area);

// The picture of the display and where an item is in it.
QImage Grab(QWidget& widget);
QRect WidgetRectOf(const CKaraokeStatic& display, const CKaraokeStatic::Hit& item);
int BlockCount(const CKaraokeData& data);

} // namespace KaraokeTest
