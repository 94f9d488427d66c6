#include "player/karaoke/RubyNotation.h"

#include "platform/text/KanaText.h"
#include "player/karaoke/RubyReading.h"

#include <algorithm>

namespace {

constexpr QChar kOpen = u'《';
constexpr QChar kClose = u'》';

bool isLineEnd(QChar c)
{
    return c == u'\r' || c == u'\n';
}

} // namespace

CRubyNotation::CRubyNotation(QStringView text, TagLength tagLength) : m_text(text), m_tagLength(tagLength)
{
    // Text without a "《" has no notation: most lyrics cost one search.
    if (!text.contains(kOpen))
        return;
    for (qsizetype begin = 0; begin < text.size();) {
        qsizetype end = begin;
        while (end < text.size() && !isLineEnd(text[end]))
            ++end;
        ScanLine(begin, end);
        begin = end + 1;
    }
}

void CRubyNotation::ScanLine(qsizetype begin, qsizetype end)
{
    qsizetype bar = -1;       // the last bar not yet used, while only base text follows it
    qsizetype kanjiRun = -1;  // where the run of kanji just before began
    for (qsizetype at = begin; at < end; ++at) {
        const QChar c = m_text[at];
        if ((c == u'[' || c == u'<') && m_tagLength) {
            if (const int length = m_tagLength(m_text.sliced(at, end - at))) {
                at += length - 1;
                continue;
            }
        }
        if (IsBar(c)) {
            bar = at;
            kanjiRun = -1;
            continue;
        }
        if (const int kanji = KanaText::KanjiLengthAt(m_text.first(end), at)) {
            if (kanjiRun < 0)
                kanjiRun = at;
            at += kanji - 1;
            continue;
        }
        if (c != kOpen) {
            kanjiRun = -1;
            if (c == kClose)
                bar = -1;
            continue;
        }
        const qsizetype close = ReadingEnd(at, end);
        const bool barBase = bar >= 0 && bar + 1 < at;
        if (close > at && (barBase || kanjiRun >= 0)) {
            if (barBase)
                m_ranges.push_back({bar, bar + 1, CNotationMark::Kind::BaseStart});
            m_ranges.push_back({at, close, CNotationMark::Kind::Reading});
            at = close - 1;
        }
        // A bracket that is text ends a bar's base as well.
        bar = -1;
        kanjiRun = -1;
    }
}

qsizetype CRubyNotation::ReadingEnd(qsizetype open, qsizetype lineEnd) const
{
    for (qsizetype at = open + 1; at < lineEnd; ++at) {
        const QChar c = m_text[at];
        if (c == kOpen || IsBar(c))
            return open;
        if (c == kClose)
            return CRubyReading::Parse(m_text.sliced(open + 1, at - open - 1)) ? at + 1 : open;
    }
    return open;
}

const CRubyNotation::Range* CRubyNotation::RangeAt(qsizetype at) const
{
    const auto found = std::lower_bound(m_ranges.begin(), m_ranges.end(), at,
                                        [](const Range& range, qsizetype position) { return range.Begin < position; });
    return found != m_ranges.end() && found->Begin == at ? &*found : nullptr;
}

qsizetype CRubyNotation::SkipAt(qsizetype at) const
{
    if (m_ranges.empty() || at >= m_text.size() || (m_text[at] != kOpen && !IsBar(m_text[at])))
        return at;
    const Range* range = RangeAt(at);
    return range ? range->End : at;
}

CKaraokeToken CRubyNotation::Word(qsizetype start, qsizetype end) const
{
    const QStringView raw = m_text.sliced(start, end - start);
    if (m_ranges.empty() || (!raw.contains(kOpen) && !raw.contains(u'｜') && !raw.contains(u'|')))
        return CKaraokeToken::Word(raw.toString());
    QString text;
    std::vector<CNotationMark> marks;
    for (qsizetype at = start; at < end;) {
        const Range* range = RangeAt(at);
        if (!range) {
            text += m_text[at++];
            continue;
        }
        marks.push_back({int(text.size()), range->Type, m_text.sliced(at, range->End - at).toString()});
        at = range->End;
    }
    CKaraokeToken token = CKaraokeToken::Word(text);
    for (CNotationMark& mark : marks)
        token.AddMark(std::move(mark));
    return token;
}
