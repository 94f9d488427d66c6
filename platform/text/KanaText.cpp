#include "platform/text/KanaText.h"

#include <algorithm>

namespace {

struct Run {
    qsizetype Begin;
    qsizetype Length;
    bool Kanji;
};

std::vector<Run> runsOf(QStringView word)
{
    std::vector<Run> runs;
    for (qsizetype at = 0; at < word.size();) {
        const int kanji = KanaText::KanjiLengthAt(word, at);
        const qsizetype step = kanji > 0 ? kanji : 1;
        if (runs.empty() || runs.back().Kanji != (kanji > 0))
            runs.push_back({at, 0, kanji > 0});
        runs.back().Length += step;
        at += step;
    }
    return runs;
}

// Matches runs[index...] against reading[from...]: kana runs literally, each kanji run with at
// least one character of the reading. Fills `parts` with the kanji runs' readings.
bool matchRuns(const std::vector<Run>& runs, size_t index, const QString& kana, QStringView reading,
               qsizetype from, std::vector<KanaText::WordPart>& parts)
{
    if (index == runs.size())
        return from == reading.size();
    const Run& run = runs[index];
    if (!run.Kanji) {
        const QStringView literal = QStringView(kana).sliced(run.Begin, run.Length);
        return reading.sliced(from).startsWith(literal) &&
               matchRuns(runs, index + 1, kana, reading, from + run.Length, parts);
    }
    for (qsizetype length = reading.size() - from; length >= 1; --length) {
        parts.push_back({run.Begin, run.Length, reading.sliced(from, length).toString()});
        if (matchRuns(runs, index + 1, kana, reading, from + length, parts))
            return true;
        parts.pop_back();
    }
    return false;
}

} // namespace

namespace KanaText {

bool IsKanji(char32_t c)
{
    return (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3400 && c <= 0x4DBF) || (c >= 0xF900 && c <= 0xFAFF) ||
           (c >= 0x20000 && c <= 0x3FFFF) || c == 0x3005 || c == 0x3006 || c == 0x3007 || c == 0x30F6;
}

int KanjiLengthAt(QStringView text, qsizetype at)
{
    if (at < 0 || at >= text.size())
        return 0;
    const QChar c = text[at];
    if (c.isHighSurrogate() && at + 1 < text.size() && text[at + 1].isLowSurrogate())
        return IsKanji(QChar::surrogateToUcs4(c, text[at + 1])) ? 2 : 0;
    return IsKanji(c.unicode()) ? 1 : 0;
}

QString ToHiragana(QStringView text)
{
    QString result = text.toString();
    for (QChar& c : result)
        if ((c.unicode() >= 0x30A1 && c.unicode() <= 0x30F4) || c.unicode() == 0x30FD || c.unicode() == 0x30FE)
            c = QChar(char16_t(c.unicode() - 0x60));
    return result;
}

std::vector<WordPart> KanjiParts(QStringView word, QStringView hiraganaReading)
{
    const std::vector<Run> runs = runsOf(word);
    std::vector<WordPart> parts;
    const bool anyKanji = std::any_of(runs.begin(), runs.end(), [](const Run& run) { return run.Kanji; });
    // Reading characters are tried longest first; a word of more than a few runs is not worth it.
    if (!anyKanji || runs.size() > 7 || !matchRuns(runs, 0, ToHiragana(word), hiraganaReading, 0, parts))
        return {};
    return parts;
}

} // namespace KanaText
