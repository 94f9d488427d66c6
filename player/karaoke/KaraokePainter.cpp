#include "player/karaoke/KaraokePainter.h"

#include "player/karaoke/display/LyricTimeline.h"
#include "player/karaoke/display/RubyLayer.h"
#include "player/karaoke/display/ShapedTextCache.h"

#include <QPainter>

#include <algorithm>

namespace {

constexpr int kTapCursorWidth = 2;

} // namespace

CKaraokePainter::CKaraokePainter(QPainter& painter, CShapedTextCache& texts, CRubyLayer& rubies,
                                 const KaraokeColours& colours, const QPoint& shift, const QRect& client)
    : m_painter(painter), m_texts(texts), m_rubies(rubies), m_colours(colours), m_shift(shift), m_client(client)
{
}

void CKaraokePainter::PaintBlocks(const CKaraokeLayout& layout, double clockMs, double durationMs, bool withTags,
                                  const QRegion& area)
{
    const auto& entries = layout.Entries();
    const QRect bounds = area.boundingRect();
    for (size_t i = layout.FirstBlockReaching(bounds.top() - m_shift.y());
         i < entries.size() && entries[i].top + m_shift.y() <= bounds.bottom(); ++i)
        PaintBlock(entries[i], clockMs, durationMs, withTags, area);
}

void CKaraokePainter::PaintBlock(const CKaraokeLayout::Entry& entry, double clockMs, double durationMs,
                                 bool withTags, const QRegion& area)
{
    const CKaraokeBlock& block = *entry.block;
    if (withTags && !block.TagRect.isEmpty()) {
        const QRect tag = block.TagRect.translated(m_shift);
        if (area.intersects(tag)) {
            const bool outOfOrder = block.Previous() && block.StartTime() < block.Previous()->StartTime();
            if (outOfOrder || double(block.StartTime()) > entry.end)
                m_painter.fillRect(tag, ToQColor(m_colours.err));
            m_painter.setPen(ToQColor(m_colours.tag));
            Draw(block.TagRect, block.TagText());
        }
    }
    using State = CLyricTimeline::State;
    int wipe = 0;
    const State state = CLyricTimeline::StateAt(block, clockMs, durationMs, block.TextWidth, &wipe);
    if (state == State::Current) {
        PaintCurrentWords(block, wipe, clockMs, area);
        return;
    }
    const QColor color = ToQColor(state == State::Error    ? m_colours.err
                                  : state == State::Unsung ? m_colours.unsung
                                                           : m_colours.sung);
    for (size_t i = 0; i < block.Tokens.size(); ++i) {
        const CKaraokeToken& token = block.Tokens[i];
        if (token.IsLineBreak())
            continue;
        if (area.intersects(token.LayoutRect.translated(m_shift))) {
            m_painter.setPen(color);
            Draw(token.LayoutRect, token.Text());
        }
        DrawReadings(block, i, 0, clockMs, color, color, area);
    }
}

void CKaraokePainter::PaintCurrentWords(const CKaraokeBlock& block, int wipe, double clockMs, const QRegion& area)
{
    const QColor sung = ToQColor(m_colours.sung);
    const QColor unsung = ToQColor(m_colours.unsung);
    int sum = 0;
    for (size_t i = 0; i < block.Tokens.size(); ++i) {
        const CKaraokeToken& token = block.Tokens[i];
        if (token.IsLineBreak())
            continue;
        const int left = sum;
        sum += token.Width;
        DrawReadings(block, i, std::clamp(wipe - left, 0, token.Width), clockMs, sung, unsung, area);
        const QRect rect = token.LayoutRect.translated(m_shift);
        if (!area.intersects(rect))
            continue;
        if (sum <= wipe || left >= wipe) {
            m_painter.setPen(sum <= wipe ? sung : unsung);
            Draw(token.LayoutRect, token.Text());
            continue;
        }
        // The word being sung: the part left of the wipe in the sung colour, the rest not.
        const int split = rect.left() + wipe - left;
        m_painter.setClipRect(QRect(rect.left(), rect.top(), split - rect.left(), rect.height()).intersected(m_client));
        m_painter.setPen(sung);
        Draw(token.LayoutRect, token.Text());
        m_painter.setClipRect(QRect(split, rect.top(), rect.right() + 1 - split, rect.height()).intersected(m_client));
        m_painter.setPen(unsung);
        Draw(token.LayoutRect, token.Text());
        m_painter.setClipRect(m_client);
    }
}

void CKaraokePainter::PaintTapCursor(const QRect& word)
{
    const QRect rect = word.translated(m_shift);
    const QColor colour = ToQColor(m_colours.tag);
    m_painter.fillRect(QRect(rect.left(), rect.top(), kTapCursorWidth, rect.height()), colour);
    m_painter.fillRect(QRect(rect.left(), rect.bottom() - 1, std::max(rect.width(), kTapCursorWidth), 2), colour);
}

void CKaraokePainter::Draw(const QRect& contentRect, const QString& text)
{
    m_texts.Draw(m_painter, contentRect.topLeft() + m_shift, text);
}

void CKaraokePainter::DrawReadings(const CKaraokeBlock& block, size_t token, int sungPixels, double clockMs,
                                   const QColor& sung, const QColor& unsung, const QRegion& area)
{
    m_rubies.Paint(m_painter, &block, int(token), block.Tokens[token].LayoutRect.topLeft() + m_shift, sungPixels,
                   clockMs, sung, unsung, area);
}
