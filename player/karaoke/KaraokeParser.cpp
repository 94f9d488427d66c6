#include "player/karaoke/KaraokeParser.h"

#include "platform/text/WToI.h"

#include <algorithm>
#include <charconv>
#include <iterator>
#include <string>

namespace {

enum class HeaderKey { TimeRatio, Offset, Artist, Title, Dropped };

struct HeaderKeyName {
    QStringView name;
    HeaderKey key;
};

// Tried in this order; the first key the line begins with wins ("@SilencemSec" before "@Silence").
const HeaderKeyName kHeaderKeys[] = {
    {u"@TimeRatio", HeaderKey::TimeRatio}, {u"@Offset", HeaderKey::Offset},
    {u"@Artist", HeaderKey::Artist},       {u"@Title", HeaderKey::Title},
    {u"@Album", HeaderKey::Dropped},       {u"@Bgfile", HeaderKey::Dropped},
    {u"@Bgfolder", HeaderKey::Dropped},    {u"@SilencemSec", HeaderKey::Dropped},
    {u"@TaggingBy", HeaderKey::Dropped},   {u"@EditedBy", HeaderKey::Dropped},
    {u"@Silence", HeaderKey::Dropped},     {u"@Flames", HeaderKey::Dropped},
    {u"@TotalSec", HeaderKey::Dropped},    {u"@TimeType", HeaderKey::Dropped},
};

constexpr int kMinMinuteDigits = 2;
constexpr int kMaxMinuteDigits = 5; // enough for every 32-bit time

bool isLineEnd(QChar c)
{
    return c == u'\r' || c == u'\n';
}

int timeTagLength(QStringView text)
{
    LyricTime time = 0;
    return CKaraokeParser::ParseTimeTag(text, time);
}

// The position after the line end that ends the line at `at`, within `end`.
qsizetype nextLineStart(QStringView text, qsizetype at, qsizetype end)
{
    while (at < end && !isLineEnd(text[at]))
        ++at;
    if (at < end && text[at++] == u'\r' && at < end && text[at] == u'\n')
        ++at;
    return at;
}

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool isCSpace(QChar c)
{
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

// Two digits at `at`, or no value.
int twoDigits(QStringView text, qsizetype at)
{
    if (at + 2 > text.size() || !isAsciiDigit(text[at]) || !isAsciiDigit(text[at + 1]))
        return -1;
    return (text[at].unicode() - u'0') * 10 + (text[at + 1].unicode() - u'0');
}

// The longest strtod-style decimal number at the start of the text, as ASCII.
std::string decimalPrefix(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && isCSpace(text[i]))
        ++i;
    std::string number;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        if (text[i] == u'-')
            number += '-';
        ++i;
    }
    int mantissaDigits = 0;
    for (; i < text.size() && isAsciiDigit(text[i]); ++i, ++mantissaDigits)
        number += char(text[i].unicode());
    if (i < text.size() && text[i] == u'.') {
        number += '.';
        for (++i; i < text.size() && isAsciiDigit(text[i]); ++i, ++mantissaDigits)
            number += char(text[i].unicode());
    }
    if (mantissaDigits == 0)
        return {};
    if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
        qsizetype j = i + 1;
        std::string exponent = "e";
        if (j < text.size() && (text[j] == u'+' || text[j] == u'-'))
            exponent += char(text[j++].unicode());
        const qsizetype digitsStart = j;
        for (; j < text.size() && isAsciiDigit(text[j]); ++j)
            exponent += char(text[j].unicode());
        if (j > digitsStart)
            number += exponent;
    }
    return number;
}

} // namespace

CKaraokeParser::CKaraokeParser(QStringView text, CKaraokeHeader& header)
    : m_text(text), m_header(header), m_notation(text, timeTagLength)
{
}

int CKaraokeParser::ParseTimeTag(QStringView text, LyricTime& time)
{
    time = 0;
    if (text.isEmpty() || text[0] != u'[')
        return 0;
    qsizetype i = 1;
    quint64 minutes = 0;
    for (; i < text.size() && i <= kMaxMinuteDigits && isAsciiDigit(text[i]); ++i)
        minutes = minutes * 10 + (text[i].unicode() - u'0');
    if (i - 1 < kMinMinuteDigits || i >= text.size() || text[i] != u':')
        return 0;
    const int seconds = twoDigits(text, i + 1);
    i += 3;
    if (seconds < 0 || i >= text.size())
        return 0;
    quint64 total = minutes * 60000 + quint64(seconds) * 1000;
    if (text[i] == u':') {
        const int hundredths = twoDigits(text, i + 1);
        i += 3;
        if (hundredths < 0 || i >= text.size())
            return 0;
        total += quint64(hundredths) * 10;
    }
    if (text[i] != u']' || total > 0xFFFFFFFFu)
        return 0;
    time = static_cast<LyricTime>(total);
    return static_cast<int>(i + 1);
}

double CKaraokeParser::ParseDecimal(QStringView text)
{
    const std::string number = decimalPrefix(text);
    double value = 0.0;
    // A value past the range of a double gives 0 like no number, so no infinity reaches the
    // lyric clock.
    if (number.empty() || std::from_chars(number.data(), number.data() + number.size(), value).ec != std::errc())
        return 0.0;
    return value;
}

std::unique_ptr<CKaraokeBlock> CKaraokeParser::Parse()
{
    auto first = std::make_unique<CKaraokeBlock>(0);
    CKaraokeBlock* last = first.get();
    qsizetype stretchStart = 0;
    qsizetype i = 0;
    while (i < m_text.size()) {
        // A tag inside a reading times the reading, not a block.
        if (const qsizetype skip = m_notation.SkipAt(i); skip > i) {
            i = skip;
            continue;
        }
        // So are the tags of a "@Ruby" line.
        if (m_text[i] == u'@' && (i == stretchStart || m_text[i - 1] == u' ' || isLineEnd(m_text[i - 1])) &&
            CHeaderRuby::LooksLikeRubyLine(m_text.sliced(i))) {
            const qsizetype lineEnd = LineEndFrom(i);
            if (CHeaderRuby::Parse(m_text.sliced(i, lineEnd - i))) {
                i = nextLineStart(m_text, lineEnd, m_text.size());
                continue;
            }
        }
        LyricTime time = 0;
        const int tagLength = m_text[i] == u'[' ? ParseTimeTag(m_text.sliced(i), time) : 0;
        if (tagLength == 0) {
            ++i;
            continue;
        }
        Tokenize(*last, stretchStart, i);
        if (time < last->StartTime())
            m_tagsInOrder = false;
        last = last->InsertAfter(std::make_unique<CKaraokeBlock>(time));
        i += tagLength;
        stretchStart = i;
    }
    Tokenize(*last, stretchStart, m_text.size());
    return first;
}

void CKaraokeParser::Tokenize(CKaraokeBlock& block, qsizetype start, qsizetype end)
{
    m_equalsAt = -1;
    qsizetype wordStart = start;
    for (qsizetype i = start; i < end; ++i) {
        const QChar c = m_text[i];
        if (i == wordStart && c == u'@') {
            qsizetype next = ReadRubyLine(block, i, end);
            if (next == i)
                next = ReadHeaderLine(i, end);
            if (next > i) {
                wordStart = next;
                i = next - 1;
                continue;
            }
        }
        if (const qsizetype skip = m_notation.SkipAt(i); skip > i) {
            i = skip - 1;
            continue;
        }
        if (c == u' ') {
            AddWord(block, wordStart, i + 1);
            wordStart = i + 1;
        } else if (isLineEnd(c)) {
            AddWord(block, wordStart, i);
            block.Tokens.push_back(CKaraokeToken::LineBreak());
            if (c == u'\r' && i + 1 < end && m_text[i + 1] == u'\n')
                ++i;
            wordStart = i + 1;
        }
    }
    AddWord(block, wordStart, end);
}

void CKaraokeParser::AddWord(CKaraokeBlock& block, qsizetype start, qsizetype end) const
{
    if (end > start)
        block.Tokens.push_back(m_notation.Word(start, end));
}

qsizetype CKaraokeParser::ReadRubyLine(CKaraokeBlock& block, qsizetype at, qsizetype end)
{
    if (!CHeaderRuby::LooksLikeRubyLine(m_text.sliced(at, end - at)))
        return at;
    const qsizetype lineEnd = std::min(LineEndFrom(at), end);
    auto ruby = CHeaderRuby::Parse(m_text.sliced(at, lineEnd - at));
    if (!ruby)
        return at;
    const qsizetype next = nextLineStart(m_text, lineEnd, end);
    m_header.Rubies.push_back(std::move(*ruby));
    if (block.Tokens.empty())
        block.Tokens.push_back(CKaraokeToken::Word(QString()));
    CKaraokeToken& last = block.Tokens.back();
    last.AddMark({last.Length(), CNotationMark::Kind::HeaderLine, m_text.sliced(at, next - at).toString()});
    return next;
}

qsizetype CKaraokeParser::LineEndFrom(qsizetype at)
{
    // Many "@Ruby" starts on one long line cost one pass over it, not one pass each.
    if (at < m_lineFrom || at > m_lineEnd) {
        m_lineFrom = at;
        m_lineEnd = at;
        while (m_lineEnd < m_text.size() && !isLineEnd(m_text[m_lineEnd]))
            ++m_lineEnd;
    }
    return m_lineEnd;
}

qsizetype CKaraokeParser::ReadHeaderLine(qsizetype at, qsizetype end)
{
    const QStringView rest = m_text.sliced(at, end - at);
    const auto match = std::find_if(std::begin(kHeaderKeys), std::end(kHeaderKeys),
                                    [rest](const HeaderKeyName& key) { return rest.startsWith(key.name); });
    if (match == std::end(kHeaderKeys))
        return at;
    const qsizetype equals = FindEquals(at + match->name.size(), end);
    if (equals >= end - 1)
        return at;
    qsizetype valueStart = equals + 1;
    while (valueStart < end && m_text[valueStart] == u' ')
        ++valueStart;
    qsizetype valueEnd = valueStart;
    while (valueEnd < end && !isLineEnd(m_text[valueEnd]))
        ++valueEnd;
    const QStringView value = m_text.sliced(valueStart, valueEnd - valueStart);
    switch (match->key) {
    case HeaderKey::TimeRatio: m_header.TimeRatio = ParseDecimal(value); break;
    case HeaderKey::Offset: m_header.Offset = WToI(value); break;
    case HeaderKey::Artist: m_header.Artist = value.toString(); break;
    case HeaderKey::Title: m_header.Title = value.toString(); break;
    case HeaderKey::Dropped: break;
    }
    qsizetype next = valueEnd;
    if (next < end) {
        ++next; // the CR or LF
        if (next < end && m_text[next] == u'\n')
            ++next;
    }
    return next;
}

qsizetype CKaraokeParser::FindEquals(qsizetype from, qsizetype end)
{
    if (m_equalsAt < from) {
        m_equalsAt = from;
        while (m_equalsAt < end && m_text[m_equalsAt] != u'=')
            ++m_equalsAt;
    }
    return m_equalsAt;
}
