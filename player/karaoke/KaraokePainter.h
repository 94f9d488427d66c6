#pragma once

#include "common/ui/SharedTypes.h"
#include "player/karaoke/KaraokeLayout.h"

#include <QPoint>
#include <QRect>
#include <QRegion>

class CRubyLayer;
class CShapedTextCache;
class QPainter;

// The karaoke window's colours (0x00BBGGRR).
struct KaraokeColours {
    COLORREF back = 0;
    COLORREF err = 0;
    COLORREF sung = 0;
    COLORREF unsung = 0;
    COLORREF tag = 0;
};

// Paints the laid-out lyrics of the karaoke window for one paint event: each block's words and
// their readings in the colour of its state at the lyric clock, the current block split at the
// wipe, and in edit mode the time tags (on the error colour where a block is out of order) and
// the tap cursor.
class CKaraokePainter
{
public:
    // `shift` takes content coordinates to the widget's; `client` is the area inside the frame.
    CKaraokePainter(QPainter& painter, CShapedTextCache& texts, CRubyLayer& rubies, const KaraokeColours& colours,
                    const QPoint& shift, const QRect& client);

    // The blocks whose rows meet the area.
    void PaintBlocks(const CKaraokeLayout& layout, double clockMs, double durationMs, bool withTags,
                     const QRegion& area);
    // The cursor of tap-to-time under the word it stands on (content rectangle).
    void PaintTapCursor(const QRect& word);

private:
    void PaintBlock(const CKaraokeLayout::Entry& entry, double clockMs, double durationMs, bool withTags,
                    const QRegion& area);
    void PaintCurrentWords(const CKaraokeBlock& block, int wipe, double clockMs, const QRegion& area);
    void Draw(const QRect& contentRect, const QString& text);
    void DrawReadings(const CKaraokeBlock& block, size_t token, int sungPixels, double clockMs, const QColor& sung,
                      const QColor& unsung, const QRegion& area);

    QPainter& m_painter;
    CShapedTextCache& m_texts;
    CRubyLayer& m_rubies;
    const KaraokeColours& m_colours;
    QPoint m_shift;
    QRect m_client;
};
