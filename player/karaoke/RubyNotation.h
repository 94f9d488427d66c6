#pragma once

#include "player/karaoke/KaraokeToken.h"
#include "player/karaoke/NotationMark.h"

#include <QStringView>

#include <vector>

// The ruby notation of lyric text: "漢字《かんじ》" puts the reading over the run of kanji just
// before "《", "｜base《reading》" (or with "|") over exactly the base. Time tags may stand inside
// a base. What cannot be read as ruby (no "》" on the line, an empty or over-long reading, a
// bracket or bar inside the brackets, no base) stays text. The text must outlive the object.
class CRubyNotation
{
public:
    // The length of the dialect's time tag at the start of the text, 0 when none begins there.
    using TagLength = int (*)(QStringView text);

    CRubyNotation(QStringView text, TagLength tagLength);

    static bool IsBar(QChar c) { return c == u'｜' || c == u'|'; }

    // The end of the notation that begins at `at`, or `at` when none begins there.
    qsizetype SkipAt(qsizetype at) const;
    // The word of text [start, end): its text without the notation, which becomes its marks.
    CKaraokeToken Word(qsizetype start, qsizetype end) const;

private:
    struct Range {
        qsizetype Begin;
        qsizetype End;
        CNotationMark::Kind Type;
    };

    void ScanLine(qsizetype begin, qsizetype end);
    // The reading whose "《" is at `open`: the position after its "》", or `open` when none.
    qsizetype ReadingEnd(qsizetype open, qsizetype lineEnd) const;
    const Range* RangeAt(qsizetype at) const;

    QStringView m_text;
    TagLength m_tagLength;
    std::vector<Range> m_ranges;
};
