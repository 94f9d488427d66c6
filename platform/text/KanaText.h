#pragma once

#include <QString>
#include <QStringView>

#include <vector>

// Character classes and conversions of Japanese text that readings need.
namespace KanaText {

// Kanji as ruby takes them: CJK ideographs (with the extensions and compatibility forms) and
// the marks written among them (々 〆 〇 ヶ).
bool IsKanji(char32_t c);
// The kanji starting at `at` (a surrogate pair counts as one): its length in UTF-16 units, or 0.
int KanjiLengthAt(QStringView text, qsizetype at);
// Katakana become hiragana; everything else stays.
QString ToHiragana(QStringView text);

// A reading over part of a word: UTF-16 offsets into the word, the reading in hiragana.
struct WordPart {
    qsizetype Begin = 0;
    qsizetype Length = 0;
    QString Reading;
};
// The readings of the word's kanji runs, the kana of the word matched against its reading
// (帰り + かえり gives かえ over 帰). Empty when the word has no kanji or the reading does not fit.
std::vector<WordPart> KanjiParts(QStringView word, QStringView hiraganaReading);

} // namespace KanaText
