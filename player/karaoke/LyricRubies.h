#pragma once

#include "common/ui/SharedTypes.h"
#include "player/karaoke/RubyMode.h"
#include "player/karaoke/RubyReading.h"

#include <QString>
#include <QStringList>

#include <unordered_map>
#include <vector>

class CKaraokeBlock;
class CKaraokeData;
struct CAutoReadings;

// One reading over its base.
struct CRubySpan {
    enum class Source { Text, Header, Dictionary };

    QString Reading;
    // The reading's own times relative to BaseStart, when the file gave them.
    std::vector<CRubyReading::Timing> Timings;
    LyricTime BaseStart = 0; // start of the block of the base's first character
    Source From = Source::Text;
};

// The part of a reading over the characters of one token: a base that runs over several tokens
// or blocks (a time tag inside it) has its reading spread over them in proportion to their
// characters, so the reading's share is sung with the characters under it.
struct CRubySegment {
    int Span = 0;         // index into CLyricRubies::Spans()
    int Token = 0;        // index into the block's tokens
    int Begin = 0;        // first character of the token's text under the reading
    int End = 0;          // one past the last
    int ReadingBegin = 0; // where Reading starts in the span's reading
    QString Reading;      // the share of the reading over these characters
};

// The readings of a document for one ruby mode: written ones (the text's notation, then the
// header's "@Ruby" lines in order) first, then the dictionary's for kanji still bare. Built from
// the chain as it stands; build it again after the chain changes. A line is the text between two
// line breaks, across blocks.
class CLyricRubies
{
public:
    // `automatic` is used for the lines it was computed for; null or stale: no automatic readings.
    static CLyricRubies Build(const CKaraokeData& data, RubyMode mode, const CAutoReadings* automatic);
    // The text of every line as shown, which the automatic readings are computed from.
    static QStringList LineTexts(const CKaraokeData& data);

    // No readings at all: the display needs no room for them.
    bool IsEmpty() const { return m_spans.empty(); }
    const std::vector<CRubySpan>& Spans() const { return m_spans; }
    // The block's segments by token and character; empty for a block without readings.
    const std::vector<CRubySegment>& SegmentsOf(const CKaraokeBlock* block) const;

private:
    friend class CRubyLineBuilder;

    std::vector<CRubySpan> m_spans;
    std::unordered_map<const CKaraokeBlock*, std::vector<CRubySegment>> m_segments;
};
