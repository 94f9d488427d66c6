#pragma once

#include <QFontMetrics>

class CKaraokeBlock;
class CKaraokeData;
class CKaraokeToken;

// Tokens and blocks measured in a lyric font: each token's width and height, and a block's text
// width (the sum of its word widths) and line height (the tallest of them).
class CTokenMeasure
{
public:
    // A display that breaks lines leaves line breaks out of a block's width; the one-line face
    // shows them as the space they carry.
    enum class LineBreaks { Excluded, AsSpaces };

    explicit CTokenMeasure(const QFont& font) : m_metrics(font) {}

    // The advance of a token's text (0 for an empty one).
    int Width(const CKaraokeToken& token) const;
    int Height() const { return m_metrics.height(); }
    void MeasureBlock(CKaraokeBlock& block, LineBreaks breaks) const;
    void MeasureAll(const CKaraokeData& data, LineBreaks breaks) const;

private:
    QFontMetrics m_metrics;
};
