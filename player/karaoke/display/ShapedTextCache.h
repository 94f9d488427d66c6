#pragma once

#include "player/karaoke/display/WordImageCache.h"

#include <QFont>
#include <QHash>
#include <QStaticText>
#include <QString>

class QPainter;
class QPointF;

// Words shaped once for drawing. Shaping a text costs far more than drawing it, and the lyric
// faces draw the same words frame after frame; lyrics repeat their words, and a cache that grows
// too large (a huge document scrolled through) simply starts again.
class CShapedTextCache
{
public:
    static constexpr qsizetype MaxTexts = 4096;

    // Clears the cache when the font differs.
    void SetFont(const QFont& font);
    const QFont& Font() const { return m_font; }
    // Draws the text in the font with its top-left corner at the point.
    void Draw(QPainter& painter, const QPointF& topLeft, const QString& text);

private:
    QFont m_font;
    QHash<QString, QStaticText> m_texts;
    CWordImageCache m_images;
};
