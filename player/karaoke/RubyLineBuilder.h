#pragma once

#include "player/karaoke/LyricRubies.h"

#include <QString>

#include <vector>

class CKaraokeToken;
struct CNotationMark;
struct CHeaderRuby;

// Builds the readings of one line at a time while CLyricRubies walks the chain: it takes the
// line's characters and notation in order, and at the line's end gives each reading its base,
// the written ones before the dictionary's.
class CRubyLineBuilder
{
public:
    CRubyLineBuilder(CLyricRubies& target, RubyMode mode, const std::vector<CHeaderRuby>& header,
                     const CAutoReadings* automatic);

    void AddToken(const CKaraokeBlock* block, int tokenIndex, const CKaraokeToken& token);
    // Ends the line; the next characters begin the next one.
    void EndLine();

private:
    struct Char {
        const CKaraokeBlock* Block;
        int Token;
        int Index;
    };
    struct Written {
        qsizetype Begin;
        qsizetype End;
        CRubyReading Reading;
    };

    void AddMark(const CNotationMark& mark);
    qsizetype KanjiRunBefore(qsizetype end) const;
    bool IsFree(qsizetype begin, qsizetype end) const;
    void AddSpan(qsizetype begin, qsizetype end, const CRubyReading& reading, CRubySpan::Source source);
    void AddHeaderReadings();
    void AddAutomaticReadings();

    CLyricRubies& m_target;
    RubyMode m_mode;
    const std::vector<CHeaderRuby>& m_header;
    const CAutoReadings* m_automatic;
    qsizetype m_lineIndex = 0;
    QString m_text;
    std::vector<Char> m_chars;
    std::vector<Written> m_written;
    std::vector<bool> m_claimed;
    qsizetype m_baseStart = -1;
    qsizetype m_runStart = 0; // where the kanji run before a reading may begin at the earliest
};
