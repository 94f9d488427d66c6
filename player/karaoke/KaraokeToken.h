#pragma once

#include "player/karaoke/NotationMark.h"

#include <QList>
#include <QRect>
#include <QString>

// One word or one line break of a lyric block. A word keeps the space that ended it; a line
// break carries a single space, used only to measure the line height. Ruby notation the file had
// in or after the word is kept as marks, out of the text the display shows.
class CKaraokeToken
{
public:
    static CKaraokeToken Word(const QString& text);
    static CKaraokeToken LineBreak();

    bool IsLineBreak() const { return m_lineBreak; }
    const QString& Text() const { return m_text; }
    int Length() const { return static_cast<int>(m_text.size()); }
    // Replaces the text; a line break stays a line break. Marks past its end move to its end.
    void SetText(const QString& text);

    const QList<CNotationMark>& Marks() const { return m_marks; }
    void AddMark(CNotationMark mark) { m_marks.append(std::move(mark)); }
    // The word as the file has it, its marks in place; for a line break only the marks (the line
    // end is the writer's).
    QString WrittenText() const;
    // Whether the token writes anything of the lyrics: text, or notation other than header lines.
    bool WritesLyrics() const;
    // Cuts the word before character `cut`: this token keeps the head, the tail is returned.
    CKaraokeToken TakeTail(int cut);

    // Layout values owned by the lyric display.
    int Width = 0;
    int Height = 0;
    QRect LayoutRect;

private:
    CKaraokeToken(const QString& text, bool lineBreak) : m_text(text), m_lineBreak(lineBreak) {}

    QString m_text;
    bool m_lineBreak = false;
    QList<CNotationMark> m_marks;
};
