#pragma once

#include "common/ui/SharedTypes.h"

#include <QLabel>

// A static text with a text colour and a background colour. It starts with the system's
// window-text and window colours and no brush of its own, so it looks like any label; once a
// background is set (by its caption or a setter) it paints itself in its two colours.
class CColorStatic : public QLabel
{
    Q_OBJECT
public:
    explicit CColorStatic(QWidget* parent = nullptr);

    // Reads the caption "text,bgR,bgG,bgB,fgR,fgG,fgB": the three numbers after the text set the
    // background, the three after them the text colour, when present; the caption becomes the
    // text field alone.
    void Attach();

    // The same pair while a brush exists does nothing; otherwise both are taken, the brush is
    // made anew and the control redrawn.
    void SetColors(COLORREF text, COLORREF back);
    void SetTextColor(COLORREF text) { SetColors(text, m_back); }
    void SetBackColor(COLORREF back) { SetColors(m_text, back); }

    COLORREF TextColor() const { return m_text; }
    COLORREF BackColor() const { return m_back; }
    bool HasBrush() const { return m_hasBrush; }

private:
    COLORREF m_text;
    COLORREF m_back;
    bool m_hasBrush = false;
};
