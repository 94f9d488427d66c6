#pragma once

#include "player/karaoke/KaraokeData.h"
#include "player/karaoke/display/RubyLayer.h"

#include <QFontMetrics>
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QSize>

#include <optional>
#include <vector>

// A tag or a word of the karaoke window's lyrics: the block, and the token index or -1 for the tag.
struct KaraokeHit {
    CKaraokeBlock* block = nullptr;
    int token = -1;
    bool operator==(const KaraokeHit&) const = default;
};

// The karaoke window's lyrics laid out as lines of words, broken only at line breaks (no
// wrapping); in edit mode each block's time tag stands in front of it. Every tag and token gets
// its rectangle in content coordinates from (0, 0) (CKaraokeBlock::TagRect,
// CKaraokeToken::LayoutRect), and the layout keeps what the display searches: each block's rows
// and end, the lines, and the running reach of the block ends.
//
// A line is placed once all its items are known: its words stand below a band kept for readings
// above them (every line has it when the document has readings, none has it otherwise), so a line
// can grow such a band without moving anything else by hand. The band takes no clicks.
class CKaraokeLayout
{
public:
    struct Entry {
        CKaraokeBlock* block = nullptr;
        double end = 0;   // the next block's start, or the media duration for the last one
        int top = 0;      // content rows the block's tag and words cover
        int bottom = 0;   // (largest bottom so far, so it never decreases along the chain)
    };
    struct Line {
        int top = 0;
        int height = 0;   // the band and the words
        int band = 0;     // room above the words for readings
        int width = 0;
    };
    // Where the wipe stands: its line and its content x.
    struct Spot {
        int line = -1;
        int x = 0;
    };

    // Lays out a measured document (the tokens' widths and heights set) with its readings, which
    // the layout keeps using for the screen regions.
    void Build(const CKaraokeData& data, const QFontMetrics& metrics, bool withTags, double durationMs,
               const QPoint& margins, const CRubyLayer& rubies);
    bool IsEmpty() const { return m_entries.empty(); }
    const std::vector<Entry>& Entries() const { return m_entries; }
    const std::vector<Line>& Lines() const { return m_lines; }
    QSize ContentSize() const { return m_contentSize; }

    // The first block whose rows reach below a content row.
    size_t FirstBlockReaching(int contentY) const;
    // The first block current, or still to come after another one (-1: none), at a clock; `wipe`
    // gets its wipe pixel, -1 while it is still to come.
    int FindActiveBlock(double clockMs, int* wipe) const;
    // The line holding a content row (-1 for none).
    int LineAt(int contentY) const;
    // Where the wipe of an entry stands (-1: at its first word, which is still to come).
    Spot SpotOf(int entry, int wipe) const;

    // The tag or word under a content point; the horizontal margin left of a line's first word
    // and right of a word before a line break count as the word.
    std::optional<KaraokeHit> HitTest(const QPoint& point, int marginX) const;

    // Screen regions, with `shift` from content to widget coordinates, inside `client`: the words
    // and readings of the entries from one to another (both included), and the pixels [from, to)
    // of an entry's wipe with the readings over them.
    QRegion WordsRegion(int fromEntry, int toEntry, const QPoint& shift, const QRect& client) const;
    QRegion WipeStrip(int entry, int fromPixel, int toPixel, const QPoint& shift, const QRect& client) const;

private:
    struct Item {
        QRect* rect;
        int x;
        int width;
        int height;
    };
    void CloseLine(std::vector<Item>& items, int breakHeight, int& y);
    void AddReadings(QRegion& region, const CKaraokeBlock* block, int token, int from, int to, const QPoint& shift,
                     const QRect& client) const;
    void BuildReach();

    const CRubyLayer* m_rubies = nullptr;
    std::vector<Entry> m_entries;
    std::vector<Line> m_lines;
    std::vector<double> m_reach;   // m_reach[i]: the largest end of the non-error blocks 1..i
    double m_durationMs = 0;
    QSize m_contentSize;
};
