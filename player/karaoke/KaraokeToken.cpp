#include "player/karaoke/KaraokeToken.h"

#include <algorithm>

CKaraokeToken CKaraokeToken::Word(const QString& text)
{
    return CKaraokeToken(text, false);
}

CKaraokeToken CKaraokeToken::LineBreak()
{
    return CKaraokeToken(QStringLiteral(" "), true);
}

void CKaraokeToken::SetText(const QString& text)
{
    m_text = text;
    for (CNotationMark& mark : m_marks)
        mark.At = std::min(mark.At, Length());
}

QString CKaraokeToken::WrittenText() const
{
    if (m_marks.isEmpty())
        return m_lineBreak ? QString() : m_text;
    QString text;
    int written = 0;
    for (const CNotationMark& mark : m_marks) {
        if (!m_lineBreak && mark.At > written) {
            text += QStringView(m_text).sliced(written, mark.At - written);
            written = mark.At;
        }
        text += mark.Raw;
    }
    if (!m_lineBreak)
        text += QStringView(m_text).sliced(written);
    return text;
}

bool CKaraokeToken::WritesLyrics() const
{
    if (!m_lineBreak && !m_text.isEmpty())
        return true;
    return std::any_of(m_marks.begin(), m_marks.end(),
                       [](const CNotationMark& mark) { return mark.Type != CNotationMark::Kind::HeaderLine; });
}

CKaraokeToken CKaraokeToken::TakeTail(int cut)
{
    cut = std::clamp(cut, 0, Length());
    CKaraokeToken tail(m_text.mid(cut), false);
    m_text.truncate(cut);
    QList<CNotationMark> head;
    for (CNotationMark& mark : m_marks) {
        if (mark.At < cut || (mark.At == cut && mark.StaysBefore())) {
            head.append(std::move(mark));
        } else {
            mark.At -= cut;
            tail.m_marks.append(std::move(mark));
        }
    }
    m_marks = std::move(head);
    return tail;
}
