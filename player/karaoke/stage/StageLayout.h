#pragma once

#include "player/karaoke/display/RubyLayer.h"
#include "player/karaoke/stage/StageLines.h"

#include <QRect>
#include <QRegion>
#include <QSize>

#include <vector>

// Where the stage view puts things on a screen: the line height is a tenth of the screen's
// height; the upper slot's rows stand left-aligned above the middle band, the lower slot's
// right-aligned below it; each row's words below the band of its readings, when the lyrics have
// any; a line's countdown dots stand above its first row; the title card is centred.
class CStageLayout
{
public:
    // A word on screen: its rectangle before any narrowing, and the row's horizontal scale.
    struct PlacedWord {
        const StageWord* word = nullptr;
        QRect rect;
    };
    struct PlacedRow {
        QRect rect;           // on screen, narrowed to fit, with the band of readings
        double scale = 1.0;   // < 1 for a row wider than the screen allows
        std::vector<PlacedWord> words;   // x from the row's left edge, unscaled
    };
    struct PlacedLine {
        std::vector<PlacedRow> rows;
    };

    explicit CStageLayout(const QSize& screen = QSize(1920, 1080));

    QSize Screen() const { return m_screen; }
    int LineHeight() const { return m_screen.height() / 10; }
    int Margin() const { return m_screen.width() / 20; }
    int MaxRowWidth() const { return m_screen.width() - 2 * Margin(); }

    // A line in a slot, its words `rowHeight` high below a band `band` high.
    PlacedLine Place(const StageLine& line, int slot, int rowHeight, int band) const;
    // The countdown's dots above a placed line's first row, from its start.
    std::vector<QRect> Dots(const PlacedLine& line, int dots) const;
    // The title card's two rows (title, then artist).
    QRect TitleRect() const;
    QRect ArtistRect() const;

    // The screen area of the pixels [from, to) of a placed line's words, counted along the line,
    // and of the readings over them.
    static QRegion Span(const PlacedLine& line, int from, int to, const CRubyLayer& rubies);
    // The screen x of an unscaled x of a row.
    static int ScreenX(const PlacedRow& row, int x) { return row.rect.left() + int(x * row.scale); }

private:
    int MiddleTop() const { return m_screen.height() * 11 / 20 - LineHeight() / 4; }
    int MiddleBottom() const { return m_screen.height() * 11 / 20 + LineHeight() / 4; }

    QSize m_screen;
};
