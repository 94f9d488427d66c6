#include "player/dialogs/ColorStatic.h"

#include <QStringList>

namespace {

// A field of the caption as _wtoi read it: a leading decimal number, else 0.
int captionNumber(const QStringList& fields, int index)
{
    const QString field = fields.at(index).trimmed();
    qsizetype end = 0;
    if (end < field.size() && (field[end] == '-' || field[end] == '+'))
        ++end;
    while (end < field.size() && field[end].isDigit())
        ++end;
    return field.left(end).toInt();
}

COLORREF captionColor(const QStringList& fields, int first)
{
    return RGB(captionNumber(fields, first), captionNumber(fields, first + 1), captionNumber(fields, first + 2));
}

} // namespace

CColorStatic::CColorStatic(QWidget* parent)
    : QLabel(parent),
      m_text(FromQColor(palette().color(QPalette::WindowText))),
      m_back(FromQColor(palette().color(QPalette::Base)))
{
}

void CColorStatic::Attach()
{
    const QStringList fields = text().split(QLatin1Char(','));
    COLORREF back = m_back;
    COLORREF textColor = m_text;
    if (fields.size() >= 4)
        back = captionColor(fields, 1);
    if (fields.size() >= 7)
        textColor = captionColor(fields, 4);
    setText(fields.first());
    if (fields.size() >= 4)
        SetColors(textColor, back);
}

void CColorStatic::SetColors(COLORREF text, COLORREF back)
{
    if (m_hasBrush && text == m_text && back == m_back)
        return;
    m_text = text;
    m_back = back;
    m_hasBrush = true;
    QPalette colours = palette();
    colours.setColor(QPalette::Window, ToQColor(back));
    colours.setColor(QPalette::WindowText, ToQColor(text));
    setPalette(colours);
    setAutoFillBackground(true);
    repaint();
}
