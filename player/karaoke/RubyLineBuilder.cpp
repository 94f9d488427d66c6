#include "player/karaoke/RubyLineBuilder.h"

#include "platform/text/KanaText.h"
#include "player/karaoke/AutoReadings.h"
#include "player/karaoke/HeaderRuby.h"
#include "player/karaoke/KaraokeBlock.h"

#include <algorithm>
#include <cmath>

CRubyLineBuilder::CRubyLineBuilder(CLyricRubies& target, RubyMode mode, const std::vector<CHeaderRuby>& header,
                                   const CAutoReadings* automatic)
    : m_target(target), m_mode(mode), m_header(header), m_automatic(automatic)
{
}

void CRubyLineBuilder::AddToken(const CKaraokeBlock* block, int tokenIndex, const CKaraokeToken& token)
{
    const QList<CNotationMark>& marks = token.Marks();
    auto mark = marks.begin();
    const int length = token.IsLineBreak() ? 0 : token.Length();
    for (int index = 0; index <= length; ++index) {
        for (; mark != marks.end() && mark->At <= index; ++mark)
            AddMark(*mark);
        if (index < length) {
            m_text += token.Text()[index];
            m_chars.push_back({block, tokenIndex, index});
        }
    }
}

void CRubyLineBuilder::AddMark(const CNotationMark& mark)
{
    const qsizetype at = m_text.size();
    if (mark.Type == CNotationMark::Kind::BaseStart) {
        m_baseStart = at;
        return;
    }
    if (mark.Type != CNotationMark::Kind::Reading || mark.Raw.size() < 2)
        return;
    // A run of kanji ends at the reading before it: in "見《み》渡《わた》す" 渡 is read alone.
    const qsizetype begin = m_baseStart >= 0 ? m_baseStart : std::max(KanjiRunBefore(at), m_runStart);
    m_baseStart = -1;
    m_runStart = at;
    auto reading = CRubyReading::Parse(QStringView(mark.Raw).sliced(1, mark.Raw.size() - 2));
    // An edit may have left the reading without a base: it is kept, but over nothing.
    if (reading && begin < at)
        m_written.push_back({begin, at, std::move(*reading)});
}

qsizetype CRubyLineBuilder::KanjiRunBefore(qsizetype end) const
{
    qsizetype begin = end;
    while (begin > 0) {
        const qsizetype pair = begin >= 2 && m_text[begin - 1].isLowSurrogate() ? begin - 2 : begin - 1;
        if (KanaText::KanjiLengthAt(m_text, pair) != begin - pair)
            break;
        begin = pair;
    }
    return begin;
}

void CRubyLineBuilder::EndLine()
{
    m_claimed.assign(size_t(m_text.size()), false);
    if (m_mode != RubyMode::None) {
        for (const Written& written : m_written)
            if (IsFree(written.Begin, written.End))
                AddSpan(written.Begin, written.End, written.Reading, CRubySpan::Source::Text);
        AddHeaderReadings();
        if (m_mode == RubyMode::Automatic)
            AddAutomaticReadings();
    }
    ++m_lineIndex;
    m_text.clear();
    m_chars.clear();
    m_written.clear();
    m_baseStart = -1;
    m_runStart = 0;
}

bool CRubyLineBuilder::IsFree(qsizetype begin, qsizetype end) const
{
    return begin >= 0 && begin < end && end <= qsizetype(m_claimed.size()) &&
           std::none_of(m_claimed.begin() + begin, m_claimed.begin() + end, [](bool claimed) { return claimed; });
}

void CRubyLineBuilder::AddHeaderReadings()
{
    for (const CHeaderRuby& ruby : m_header) {
        for (qsizetype at = m_text.indexOf(ruby.Base); at >= 0; at = m_text.indexOf(ruby.Base, at + 1)) {
            const qsizetype end = at + ruby.Base.size();
            if (!IsFree(at, end) || !ruby.Covers(m_chars[size_t(at)].Block->StartTime()))
                continue;
            // A reading equal to its base keeps the dictionary off the base as well.
            if (ruby.IsNoReading())
                std::fill(m_claimed.begin() + at, m_claimed.begin() + end, true);
            else
                AddSpan(at, end, ruby.Reading, CRubySpan::Source::Header);
        }
    }
}

void CRubyLineBuilder::AddAutomaticReadings()
{
    if (!m_automatic || m_lineIndex >= m_automatic->Lines.size() || m_automatic->Lines[m_lineIndex] != m_text)
        return;
    for (const KanaText::WordPart& part : m_automatic->PerLine[size_t(m_lineIndex)])
        if (IsFree(part.Begin, part.Begin + part.Length))
            AddSpan(part.Begin, part.Begin + part.Length, CRubyReading{part.Reading, {}},
                    CRubySpan::Source::Dictionary);
}

void CRubyLineBuilder::AddSpan(qsizetype begin, qsizetype end, const CRubyReading& reading, CRubySpan::Source source)
{
    std::fill(m_claimed.begin() + begin, m_claimed.begin() + end, true);
    const int span = int(m_target.m_spans.size());
    m_target.m_spans.push_back({reading.Text, reading.Timings, m_chars[size_t(begin)].Block->StartTime(), source});
    // The reading's share of each token's characters: cumulative, so shares meet without gaps.
    const double perChar = double(reading.Text.size()) / double(end - begin);
    for (qsizetype at = begin; at < end;) {
        const Char& first = m_chars[size_t(at)];
        qsizetype next = at + 1;
        while (next < end && m_chars[size_t(next)].Block == first.Block && m_chars[size_t(next)].Token == first.Token)
            ++next;
        const int shareBegin = int(std::lround(perChar * double(at - begin)));
        const int shareEnd = int(std::lround(perChar * double(next - begin)));
        m_target.m_segments[first.Block].push_back({span, first.Token, first.Index,
                                                    m_chars[size_t(next - 1)].Index + 1, shareBegin,
                                                    reading.Text.mid(shareBegin, shareEnd - shareBegin)});
        at = next;
    }
}
