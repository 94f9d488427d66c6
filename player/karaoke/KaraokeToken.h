#pragma once

#include <QRect>
#include <QString>

// One word or one line break of a lyric block. A word keeps the space that ended it; a line
// break carries a single space, used only to measure the line height.
class CKaraokeToken
{
public:
    static CKaraokeToken Word(const QString& text);
    static CKaraokeToken LineBreak();

    bool IsLineBreak() const { return m_lineBreak; }
    const QString& Text() const { return m_text; }
    int Length() const { return static_cast<int>(m_text.size()); }
    // Replaces the text; a line break stays a line break.
    void SetText(const QString& text) { m_text = text; }

    // Layout values owned by the lyric display.
    int Width = 0;
    int Height = 0;
    QRect LayoutRect;

private:
    CKaraokeToken(const QString& text, bool lineBreak) : m_text(text), m_lineBreak(lineBreak) {}

    QString m_text;
    bool m_lineBreak = false;
};
