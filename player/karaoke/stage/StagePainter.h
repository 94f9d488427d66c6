#pragma once

#include "player/karaoke/KaraokePainter.h"
#include "player/karaoke/stage/StageLayout.h"

#include <QFont>
#include <QString>

class CRubyLayer;
class CShapedTextCache;
class QPainter;

// Paints the stage view: black, then the title card or the two slots' lines, each word and its
// readings in the colour of its block's state at the lyric clock, the word being sung split at
// the wipe, with the colours of the karaoke window; the countdown's dots in the sung colour.
class CStagePainter
{
public:
    CStagePainter(QPainter& painter, CShapedTextCache& lyricTexts, CRubyLayer& rubies, const KaraokeColours& colours);

    void PaintBackground(const QRect& area);
    // Only the words that meet `area`: the wipe's small repaints touch one word or two.
    void PaintLine(const CStageLayout::PlacedLine& line, double clockMs, double durationMs, const QRegion& area);
    void PaintDots(const std::vector<QRect>& dots);
    void PaintTitleCard(const CStageLayout& layout, const QString& title, const QString& artist,
                        const QFont& titleFont, const QFont& artistFont);

    // The pixels of a word already sung at the clock (its whole width once its block is sung).
    static int SungPixels(const StageWord& word, double clockMs, double durationMs);
    // The same summed along a line: where its wipe stands.
    static int LineProgress(const StageLine& line, double clockMs, double durationMs);

private:
    void PaintRow(const CStageLayout::PlacedRow& row, double clockMs, double durationMs, const QRegion& area);

    QPainter& m_painter;
    CShapedTextCache& m_texts;
    CRubyLayer& m_rubies;
    const KaraokeColours& m_colours;
};
