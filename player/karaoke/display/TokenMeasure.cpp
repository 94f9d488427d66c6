#include "player/karaoke/display/TokenMeasure.h"

#include "player/karaoke/KaraokeData.h"

#include <algorithm>

int CTokenMeasure::Width(const CKaraokeToken& token) const
{
    return token.Text().isEmpty() ? 0 : m_metrics.horizontalAdvance(token.Text());
}

void CTokenMeasure::MeasureBlock(CKaraokeBlock& block, LineBreaks breaks) const
{
    int width = 0;
    int lineHeight = 0;
    for (CKaraokeToken& token : block.Tokens) {
        token.Width = Width(token);
        token.Height = m_metrics.height();
        if (token.IsLineBreak() && breaks == LineBreaks::Excluded)
            continue;
        width += token.Width;
        lineHeight = std::max(lineHeight, token.Height);
    }
    block.TextWidth = width;
    block.LineHeight = lineHeight;
}

void CTokenMeasure::MeasureAll(const CKaraokeData& data, LineBreaks breaks) const
{
    for (CKaraokeBlock* block = data.FirstBlock(); block; block = block->Next())
        MeasureBlock(*block, breaks);
}
