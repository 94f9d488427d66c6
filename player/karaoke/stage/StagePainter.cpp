#include "player/karaoke/stage/StagePainter.h"

#include "player/karaoke/KaraokeBlock.h"
#include "player/karaoke/display/LyricTimeline.h"
#include "player/karaoke/display/RubyLayer.h"
#include "player/karaoke/display/ShapedTextCache.h"

#include <QPainter>

#include <algorithm>

CStagePainter::CStagePainter(QPainter& painter, CShapedTextCache& lyricTexts, CRubyLayer& rubies,
                             const KaraokeColours& colours)
    : m_painter(painter), m_texts(lyricTexts), m_rubies(rubies), m_colours(colours)
{
}

int CStagePainter::SungPixels(const StageWord& word, double clockMs, double durationMs)
{
    using State = CLyricTimeline::State;
    const CKaraokeBlock& block = *word.block;
    int wipe = 0;
    switch (CLyricTimeline::StateAt(block, clockMs, durationMs, block.TextWidth, &wipe)) {
    case State::Sung: return word.width;
    case State::Current: return std::clamp(wipe - word.offset, 0, word.width);
    default: return 0;
    }
}

int CStagePainter::LineProgress(const StageLine& line, double clockMs, double durationMs)
{
    int sum = 0;
    for (const StageWord& word : line.words)
        sum += SungPixels(word, clockMs, durationMs);
    return sum;
}

void CStagePainter::PaintBackground(const QRect& area)
{
    m_painter.fillRect(area, Qt::black);
}

void CStagePainter::PaintLine(const CStageLayout::PlacedLine& line, double clockMs, double durationMs,
                              const QRegion& area)
{
    for (const CStageLayout::PlacedRow& row : line.rows)
        if (area.intersects(row.rect))
            PaintRow(row, clockMs, durationMs, area);
}

void CStagePainter::PaintRow(const CStageLayout::PlacedRow& row, double clockMs, double durationMs,
                             const QRegion& area)
{
    const QColor sung = ToQColor(m_colours.sung);
    const QColor unsung = ToQColor(m_colours.unsung);
    const QColor err = ToQColor(m_colours.err);
    m_painter.save();
    // A row too wide for the screen is drawn narrower as a whole.
    m_painter.translate(row.rect.left(), 0);
    m_painter.scale(row.scale, 1.0);
    const QRegion clip = m_painter.clipRegion();
    const bool clipped = m_painter.hasClipping();
    for (const CStageLayout::PlacedWord& placed : row.words) {
        const StageWord& word = *placed.word;
        const QString& text = word.block->Tokens[size_t(word.token)].Text();
        const QRect rect = placed.rect;
        const QRect onScreen(CStageLayout::ScreenX(row, rect.left()), rect.top(), int(rect.width() * row.scale) + 2,
                             rect.height());
        const bool error = CLyricTimeline::StateAt(*word.block, clockMs, durationMs, word.block->TextWidth) ==
                           CLyricTimeline::State::Error;
        const int done = error ? 0 : SungPixels(word, clockMs, durationMs);
        m_rubies.Paint(m_painter, word.block, word.token, rect.topLeft(), done, clockMs, error ? err : sung,
                       error ? err : unsung, area);
        if (!area.intersects(onScreen))
            continue;
        if (done <= 0 || done >= word.width) {
            m_painter.setPen(error ? err : done > 0 ? sung : unsung);
            m_texts.Draw(m_painter, rect.topLeft(), text);
            continue;
        }
        // The word being sung: left of the wipe sung, the rest still to sing.
        const QRect left(rect.left(), rect.top(), done, rect.height());
        const QRect right(rect.left() + done, rect.top(), rect.width() - done, rect.height());
        for (const auto& [part, colour] : {std::pair{left, sung}, std::pair{right, unsung}}) {
            m_painter.setClipRect(part, clipped ? Qt::IntersectClip : Qt::ReplaceClip);
            m_painter.setPen(colour);
            m_texts.Draw(m_painter, rect.topLeft(), text);
            if (clipped)
                m_painter.setClipRegion(clip);
            else
                m_painter.setClipping(false);
        }
    }
    m_painter.restore();
}

void CStagePainter::PaintDots(const std::vector<QRect>& dots)
{
    m_painter.save();
    m_painter.setRenderHint(QPainter::Antialiasing);
    m_painter.setPen(Qt::NoPen);
    m_painter.setBrush(ToQColor(m_colours.sung));
    for (const QRect& dot : dots)
        m_painter.drawEllipse(dot);
    m_painter.restore();
}

void CStagePainter::PaintTitleCard(const CStageLayout& layout, const QString& title, const QString& artist,
                                   const QFont& titleFont, const QFont& artistFont)
{
    m_painter.save();
    m_painter.setPen(ToQColor(m_colours.unsung));
    m_painter.setFont(titleFont);
    m_painter.drawText(layout.TitleRect(), Qt::AlignCenter | Qt::TextSingleLine,
                       QFontMetrics(titleFont).elidedText(title, Qt::ElideRight, layout.TitleRect().width()));
    m_painter.setPen(ToQColor(m_colours.sung));
    m_painter.setFont(artistFont);
    m_painter.drawText(layout.ArtistRect(), Qt::AlignCenter | Qt::TextSingleLine,
                       QFontMetrics(artistFont).elidedText(artist, Qt::ElideRight, layout.ArtistRect().width()));
    m_painter.restore();
}
