#pragma once

#include "common/ui/SharedTypes.h"
#include "player/karaoke/KaraokeToken.h"

#include <QRect>
#include <QString>

#include <memory>
#include <vector>

// One stretch of lyrics that starts at one time tag; a link of the document's chain.
// A block owns the blocks after it: destroying it destroys the rest of the chain.
class CKaraokeBlock
{
public:
    explicit CKaraokeBlock(LyricTime startTime = 0);
    ~CKaraokeBlock();
    CKaraokeBlock(const CKaraokeBlock&) = delete;
    CKaraokeBlock& operator=(const CKaraokeBlock&) = delete;

    // "[mm:ss:hh]" with two digits at least per field; minutes grow past two digits from 100.
    static QString FormatTagText(LyricTime time);

    LyricTime StartTime() const { return m_startTime; }
    // Sets the start time and recomputes the tag text.
    void SetStartTime(LyricTime time);
    const QString& TagText() const { return m_tagText; }

    CKaraokeBlock* Previous() const { return m_previous; }
    CKaraokeBlock* Next() const { return m_next.get(); }
    // Links a new, unchained block directly after this one and returns it.
    CKaraokeBlock* InsertAfter(std::unique_ptr<CKaraokeBlock> block);
    // Unlinks the block after this one (the chain closes behind it) and hands it over.
    std::unique_ptr<CKaraokeBlock> DetachNext();

    std::vector<CKaraokeToken> Tokens;

    // Layout values owned by the lyric display.
    QRect TagRect;
    int TextWidth = 0;   // sum of the widths of the word tokens
    int LineHeight = 0;

private:
    LyricTime m_startTime = 0;
    QString m_tagText;
    CKaraokeBlock* m_previous = nullptr;
    std::unique_ptr<CKaraokeBlock> m_next;
};
