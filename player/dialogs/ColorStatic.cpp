#include "player/dialogs/ColorStatic.h"

#include "platform/text/WToI.h"

#include <QStringList>

namespace {

// Each number as _wtoi read it: a leading decimal number, else 0.
COLORREF captionColor(const QStringList& fields, int first)
{
    return RGB(WToI(fields.at(first)), WToI(fields.at(first + 1)), WToI(fields.at(first + 2)));
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
