#pragma once

#include "player/karaoke/display/ShapedTextCache.h"

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

#include <unordered_map>
#include <utility>
#include <vector>

class CKaraokeBlock;
class CKaraokeData;
class CLyricRubies;
class QFontMetrics;
class QPainter;
class QPoint;
class QRegion;
struct CRubySpan;

// The readings over a measured document as the lyric faces draw them, in a font half the lyric
// font's size (CLyricFonts::Ruby), centred over their bases in a band above the words. A reading is wiped with its
// base: its sung share is the base's. One with times of its own follows them instead, but only
// while its base is being sung, so it changes only where the base's wipe does. The karaoke window
// and the stage view each keep one over their own copy of the lyrics.
class CRubyLayer
{
public:
    // A reading over characters of one token, placed from the token's top-left corner.
    struct Placed {
        int token = 0;
        QRect rect;       // in the band above the token: bottom at y = -1
        int baseLeft = 0; // the base's pixels in the token, [left, right)
        int baseRight = 0;
        QString text;
        // Own times: (lyric time, sung pixels of the reading) points between which the wipe
        // runs on evenly; empty for a reading wiped with its base.
        std::vector<std::pair<double, int>> times;
    };

    // The readings a face shows for the ルビ setting. Automatic ones are computed once for the
    // lines and shared by the faces that show the same lines.
    static CLyricRubies ReadingsOf(CKaraokeData& data);

    // Places the readings over the document measured (the tokens' widths set) in `lyricFont`.
    void Build(const CKaraokeData& data, const CLyricRubies& rubies, const QFont& lyricFont, double durationMs);
    // The room above each line of words; 0 without readings.
    int Band() const { return m_band; }
    // The readings over a token (in the order of their bases).
    std::pair<const Placed*, const Placed*> Over(const CKaraokeBlock* block, int token) const;

    // What a wipe over the token's pixels [from, to) changes of its readings (from the token's
    // top-left): the columns between the two wipes of each reading over those pixels; the whole
    // of one with its own times.
    template <typename Fn> void ForEachChange(const CKaraokeBlock* block, int token, int from, int to, Fn fn) const
    {
        for (auto [it, end] = Over(block, token); it != end; ++it)
            if (it->baseLeft < to && from < it->baseRight)
                fn(ChangedPart(*it, from, to));
    }

    // Paints a token's readings that meet `area` (device coordinates) with the token's top-left
    // at `origin` (painter coordinates), `sungPixels` of the token sung at `clockMs`.
    void Paint(QPainter& painter, const CKaraokeBlock* block, int token, const QPoint& origin, int sungPixels,
               double clockMs, const QColor& sung, const QColor& unsung, const QRegion& area);

private:
    // A share of a reading as the first pass found it: where it is kept, and the time the wipe
    // leaves its part of the base.
    struct Piece {
        const CKaraokeBlock* block;
        size_t index;
        int readingBegin;
        bool startsLine;
        double leaves;
    };

    void PlaceSpan(const CRubySpan& span, const std::vector<Piece>& pieces, const QFontMetrics& ruby);
    static int SungPixels(const Placed& placed, int tokenSung, double clockMs);
    static int TimedPixels(const Placed& placed, double clockMs);
    static QRect ChangedPart(const Placed& placed, int from, int to);

    std::unordered_map<const CKaraokeBlock*, std::vector<Placed>> m_placed;
    CShapedTextCache m_texts;
    int m_band = 0;
};
