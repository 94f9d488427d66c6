#include "player/karaoke/LrcParser.h"

#include "platform/text/WToI.h"
#include "player/karaoke/LrcTimeTag.h"
#include "player/karaoke/RubyNotation.h"

#include <algorithm>
#include <numeric>

namespace {

// ID tag keys that mark a file as LRC; other keys are kept too once a file is LRC.
const QStringView kKnownIdKeys[] = {u"ti", u"ar", u"al", u"au", u"by", u"offset", u"length",
                                    u"re", u"ve", u"la", u"tool", u"#"};

constexpr qsizetype kMinCopyBudget = 1000000; // tokens

bool isLineEnd(QChar c)
{
    return c == u'\r' || c == u'\n';
}

bool isKeyCharacter(QChar c, bool first)
{
    const char16_t u = c.unicode();
    const bool letter = (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || u == u'#';
    return letter || (!first && ((u >= u'0' && u <= u'9') || u == u'_' || u == u'-'));
}

bool isKnownIdKey(QStringView key)
{
    return std::any_of(std::begin(kKnownIdKeys), std::end(kKnownIdKeys),
                       [key](QStringView known) { return key.compare(known, Qt::CaseInsensitive) == 0; });
}

// Words as the lyric display takes them: a space ends a word and stays with it; notation stays
// inside its word.
void appendWords(std::vector<CKaraokeToken>& tokens, const CRubyNotation& notation, QStringView content,
                 qsizetype from, qsizetype to)
{
    qsizetype start = from;
    for (qsizetype i = from; i < to; ++i) {
        if (const qsizetype skip = notation.SkipAt(i); skip > i) {
            i = skip - 1;
            continue;
        }
        if (content[i] == u' ') {
            tokens.push_back(notation.Word(start, i + 1));
            start = i + 1;
        }
    }
    if (start < to)
        tokens.push_back(notation.Word(start, to));
}

// The word tags a line's ruby bases may hold: "<mm:ss.xx>" or "[mm:ss.xx]".
int wordTagLength(QStringView text)
{
    if (text[0] == CLrcTimeTag::WordOpen)
        return CLrcTimeTag::Parse(text, CLrcTimeTag::WordOpen, CLrcTimeTag::WordClose).Length;
    const auto square = CLrcTimeTag::Parse(text, CLrcTimeTag::LineOpen, CLrcTimeTag::LineClose);
    return square.DotForm ? square.Length : 0;
}

// Header lines stay with the first copy of their line only.
std::vector<CKaraokeToken> withoutHeaderLines(std::vector<CKaraokeToken> tokens)
{
    for (auto token = tokens.begin(); token != tokens.end();) {
        const auto& marks = token->Marks();
        if (std::none_of(marks.begin(), marks.end(),
                         [](const CNotationMark& mark) { return mark.Type == CNotationMark::Kind::HeaderLine; })) {
            ++token;
            continue;
        }
        CKaraokeToken bare = token->IsLineBreak() ? CKaraokeToken::LineBreak() : CKaraokeToken::Word(token->Text());
        for (const CNotationMark& mark : marks)
            if (mark.Type != CNotationMark::Kind::HeaderLine)
                bare.AddMark(mark);
        if (bare.WritesLyrics() || bare.IsLineBreak()) {
            *token++ = std::move(bare);
        } else {
            token = tokens.erase(token);
        }
    }
    return tokens;
}

// Calls `take(line, lineEnd)` for every line; CR LF, a lone CR and a lone LF end a line.
template <typename Take>
void forEachLine(QStringView text, Take take)
{
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = start;
        while (end < text.size() && !isLineEnd(text[end]))
            ++end;
        qsizetype next = end;
        if (next < text.size())
            next += (text[next] == u'\r' && next + 1 < text.size() && text[next + 1] == u'\n') ? 2 : 1;
        take(text.sliced(start, end - start), text.sliced(end, next - end));
        start = next;
    }
}

bool hasDotWordTag(QStringView line)
{
    for (qsizetype at = line.indexOf(CLrcTimeTag::WordOpen); at >= 0; at = line.indexOf(CLrcTimeTag::WordOpen, at + 1))
        if (CLrcTimeTag::Parse(line.sliced(at), CLrcTimeTag::WordOpen, CLrcTimeTag::WordClose).DotForm)
            return true;
    return false;
}

bool isLrcLine(QStringView line)
{
    if (const auto tag = CLrcParser::ParseIdTag(line); tag && isKnownIdKey(tag->Key))
        return true;
    qsizetype at = 0;
    while (true) {
        const auto tag = CLrcTimeTag::Parse(line.sliced(at), CLrcTimeTag::LineOpen, CLrcTimeTag::LineClose);
        if (tag.Length == 0)
            break;
        if (tag.DotForm)
            return true;
        at += tag.Length;
    }
    return hasDotWordTag(line);
}

// What copying a line costs: its blocks and tokens.
template <typename Unit>
qsizetype copyCost(const Unit& unit)
{
    return std::accumulate(unit.Pieces.begin(), unit.Pieces.end(), qsizetype(0),
                           [](qsizetype sum, const auto& piece) { return sum + 1 + qsizetype(piece.Tokens.size()); });
}

LyricTime shiftedTime(LyricTime time, qint64 shift, int fractionDigits)
{
    return LyricTime(std::clamp<qint64>(qint64(time) + shift, 0, CLrcTimeTag::LargestTime(fractionDigits)));
}

} // namespace

CLrcParser::CLrcParser(QStringView text, CKaraokeHeader& header, CLyricFileFormat& format)
    : m_text(text), m_header(header), m_format(format)
{
}

bool CLrcParser::IsLrc(QStringView text)
{
    bool found = false;
    forEachLine(text, [&found](QStringView line, QStringView) { found = found || isLrcLine(line); });
    return found;
}

std::optional<LrcIdTag> CLrcParser::ParseIdTag(QStringView line)
{
    if (line.size() < 3 || line[0] != CLrcTimeTag::LineOpen || !isKeyCharacter(line[1], true))
        return std::nullopt;
    qsizetype colon = 2;
    while (colon < line.size() && isKeyCharacter(line[colon], false))
        ++colon;
    qsizetype close = line.size();
    while (close > colon && (line[close - 1] == u' ' || line[close - 1] == u'\t'))
        --close;
    --close;
    if (colon >= close || line[colon] != u':' || line[close] != CLrcTimeTag::LineClose)
        return std::nullopt;
    return LrcIdTag{line.sliced(1, colon - 1).toString(), line.sliced(colon + 1, close - colon - 1).toString(),
                    line.toString()};
}

std::unique_ptr<CKaraokeBlock> CLrcParser::Parse()
{
    m_format.TextDialect = CLyricFileFormat::Dialect::Lrc;
    m_format.IdTags.clear();
    m_format.LineEnd = QStringLiteral("\r\n");
    m_format.FractionDigits = 2;
    m_format.SquareWordTags = false;
    m_units.assign(1, Unit{});
    m_units.front().Pieces.emplace_back();
    bool lineEndSeen = false;
    forEachLine(m_text, [this, &lineEndSeen](QStringView line, QStringView lineEnd) {
        if (!lineEndSeen && !lineEnd.isEmpty()) {
            m_format.LineEnd = lineEnd.toString();
            lineEndSeen = true;
        }
        ReadLine(line, lineEnd);
    });
    return BuildChain();
}

void CLrcParser::ReadLine(QStringView line, QStringView lineEnd)
{
    const bool hasLineEnd = !lineEnd.isEmpty();
    if (auto tag = ParseIdTag(line)) {
        ApplyIdTag(*tag);
        m_format.IdTags.append(std::move(*tag));
        return;
    }
    if (ReadRubyLine(line, lineEnd))
        return;
    std::vector<LyricTime> times;
    const qsizetype contentStart = ReadLineTags(line, times);
    if (!times.empty()) {
        Unit unit;
        unit.Pieces.push_back(Piece{times.front(), {}});
        unit.LineTimes = std::move(times);
        m_units.push_back(std::move(unit));
    }
    Unit& unit = m_units.back();
    ReadContent(line.sliced(contentStart), unit);
    unit.EndsWithLineEnd = hasLineEnd;
    if (hasLineEnd)
        unit.Pieces.back().Tokens.push_back(CKaraokeToken::LineBreak());

}

bool CLrcParser::ReadRubyLine(QStringView line, QStringView lineEnd)
{
    auto ruby = CHeaderRuby::Parse(line);
    if (!ruby)
        return false;
    m_header.Rubies.push_back(std::move(*ruby));
    std::vector<CKaraokeToken>& tokens = m_units.back().Pieces.back().Tokens;
    if (tokens.empty())
        tokens.push_back(CKaraokeToken::Word(QString()));
    CKaraokeToken& last = tokens.back();
    last.AddMark({last.Length(), CNotationMark::Kind::HeaderLine, line.toString() + lineEnd.toString()});
    return true;
}

void CLrcParser::ApplyIdTag(const LrcIdTag& tag)
{
    if (tag.Key.compare(u"ti", Qt::CaseInsensitive) == 0)
        m_header.Title = tag.Value.trimmed();
    else if (tag.Key.compare(u"ar", Qt::CaseInsensitive) == 0)
        m_header.Artist = tag.Value.trimmed();
    else if (tag.Key.compare(u"offset", Qt::CaseInsensitive) == 0)
        m_header.Offset = WToI(tag.Value);
}

qsizetype CLrcParser::ReadLineTags(QStringView line, std::vector<LyricTime>& times)
{
    qsizetype at = 0;
    while (true) {
        const auto tag = CLrcTimeTag::Parse(line.sliced(at), CLrcTimeTag::LineOpen, CLrcTimeTag::LineClose);
        if (tag.Length == 0)
            break;
        times.push_back(tag.Time);
        NoteFraction(tag.FractionDigits);
        at += tag.Length;
    }
    if (times.empty()) {
        const auto tag = CLrcTimeTag::Parse(line, CLrcTimeTag::WordOpen, CLrcTimeTag::WordClose);
        if (tag.Length > 0) {
            times.push_back(tag.Time);
            NoteFraction(tag.FractionDigits);
            at = tag.Length;
        }
    }
    return at;
}

void CLrcParser::ReadContent(QStringView content, Unit& unit)
{
    const CRubyNotation notation(content, wordTagLength);
    qsizetype start = 0;
    for (qsizetype at = 0; at < content.size(); ++at) {
        // A tag inside a reading times the reading, not a block.
        if (const qsizetype skip = notation.SkipAt(at); skip > at) {
            at = skip - 1;
            continue;
        }
        const bool square = content[at] == CLrcTimeTag::LineOpen;
        if (!square && content[at] != CLrcTimeTag::WordOpen)
            continue;
        const auto tag = square ? CLrcTimeTag::Parse(content.sliced(at), CLrcTimeTag::LineOpen, CLrcTimeTag::LineClose)
                                : CLrcTimeTag::Parse(content.sliced(at), CLrcTimeTag::WordOpen, CLrcTimeTag::WordClose);
        // Inside a line only the LRC notation of a square tag times a word; "[mm:ss:xx]" stays text.
        if (tag.Length == 0 || (square && !tag.DotForm))
            continue;
        if (!m_wordTagSeen) {
            m_wordTagSeen = true;
            m_format.SquareWordTags = square;
        }
        appendWords(unit.Pieces.back().Tokens, notation, content, start, at);
        NoteFraction(tag.FractionDigits);
        unit.Pieces.push_back(Piece{tag.Time, {}});
        start = at + tag.Length;
        at = start - 1;
    }
    appendWords(unit.Pieces.back().Tokens, notation, content, start, content.size());
}

void CLrcParser::NoteFraction(int digits)
{
    if (digits == 3)
        m_format.FractionDigits = 3;
}

std::vector<CLrcParser::Entry> CLrcParser::SortedEntries() const
{
    std::vector<Entry> entries;
    for (size_t u = 1; u < m_units.size(); ++u)
        for (size_t k = 0; k < m_units[u].LineTimes.size(); ++k)
            entries.push_back(Entry{m_units[u].LineTimes[k], u, k});
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.Time < b.Time; });
    return entries;
}

std::unique_ptr<CKaraokeBlock> CLrcParser::BuildChain()
{
    auto first = std::make_unique<CKaraokeBlock>(0);
    m_last = first.get();
    const Unit& leading = m_units.front();
    first->Tokens = leading.Pieces.front().Tokens;
    for (size_t j = 1; j < leading.Pieces.size(); ++j)
        Append(leading.Pieces[j].Time, leading.Pieces[j].Tokens);

    // Copies of lines with many tags may not grow a small file into a huge document: past the
    // budget a further copy keeps its time but not its words.
    qsizetype copyBudget = std::max<qsizetype>(kMinCopyBudget, m_text.size() * 4);
    const std::vector<CKaraokeToken> lineBreakOnly{CKaraokeToken::LineBreak()};
    bool previousEnded = true;
    for (const Entry& entry : SortedEntries()) {
        // A line that ended the file without a line end needs one once another line follows it.
        if (!previousEnded)
            m_last->Tokens.push_back(CKaraokeToken::LineBreak());
        const Unit& unit = m_units[entry.Unit];
        if (entry.Copy > 0 && (copyBudget -= copyCost(unit)) < 0) {
            Append(entry.Time, lineBreakOnly);
            previousEnded = true;
            continue;
        }
        const qint64 shift = qint64(entry.Time) - qint64(unit.LineTimes.front());
        for (size_t j = 0; j < unit.Pieces.size(); ++j) {
            const LyricTime time = j == 0 ? entry.Time : shiftedTime(unit.Pieces[j].Time, shift, m_format.FractionDigits);
            const bool copy = entry.Copy > 0 && !m_header.Rubies.empty();
            Append(time, copy ? withoutHeaderLines(unit.Pieces[j].Tokens) : unit.Pieces[j].Tokens);
        }
        previousEnded = unit.EndsWithLineEnd;
    }
    return first;
}

void CLrcParser::Append(LyricTime time, const std::vector<CKaraokeToken>& tokens)
{
    if (time < m_last->StartTime())
        m_tagsInOrder = false;
    m_last = m_last->InsertAfter(std::make_unique<CKaraokeBlock>(time));
    m_last->Tokens = tokens;
}
