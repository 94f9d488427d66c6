#include "player/karaoke/display/ShapedTextCache.h"

#include <QPainter>

void CShapedTextCache::SetFont(const QFont& font)
{
    if (font == m_font && font.pixelSize() == m_font.pixelSize())
        return;
    m_font = font;
    m_texts.clear();
    m_images.SetFont(font);
}

void CShapedTextCache::Draw(QPainter& painter, const QPointF& topLeft, const QString& text)
{
    auto it = m_texts.find(text);
    if (it == m_texts.end()) {
        if (m_texts.size() >= MaxTexts)
            m_texts.clear();
        QStaticText shaped(text);
        shaped.setTextFormat(Qt::PlainText);
        shaped.setPerformanceHint(QStaticText::AggressiveCaching);
        shaped.prepare(QTransform(), m_font);
        it = m_texts.insert(text, shaped);
    }
    if (m_images.Wanted(painter)) {
        m_images.Draw(painter, topLeft, text, *it);
        return;
    }
    // A static text is drawn in the painter's font: another one would shape it all over again.
    if (painter.font() != m_font)
        painter.setFont(m_font);
    painter.drawStaticText(topLeft, *it);
}
