#include "player/widgets/TimeDisplay.h"

#include <QPainter>
#include <QPixmap>

#include <algorithm>

namespace {

enum SegmentBit {
    Top = 0x80,
    UpperRight = 0x40,
    LowerRight = 0x20,
    Bottom = 0x10,
    LowerLeft = 0x08,
    UpperLeft = 0x04,
    Middle = 0x02,
    AllSegments = 0xFE,
};

// Lit segments of a character; 0 for characters drawn by their own shape or not at all.
int SegmentBits(QChar character)
{
    static constexpr int digits[] = {0xFC, 0x60, 0xDA, 0xF2, 0x66, 0xB6, 0xBE, 0xE0, 0xFE, 0xF6};
    if (character >= '0' && character <= '9')
        return digits[character.unicode() - '0'];
    if (character == '-')
        return 0x02;
    return 0;
}

} // namespace

CTimeDisplay::CTimeDisplay(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

int CTimeDisplay::StrokeForHeight(int height)
{
    return std::max(1, static_cast<int>(height * 0.06));
}

int CTimeDisplay::SegmentForHeight(int height)
{
    return std::max(1, static_cast<int>(height * 0.35));
}

int CTimeDisplay::WidthFor(int height, int cells)
{
    const int T = StrokeForHeight(height);
    const int L = SegmentForHeight(height);
    // Digits are 4T + L apart; the colon takes L + T before it and L + 1 after it.
    const int digits = std::max(1, cells - 1);
    const int lastOffset = (digits - 1) * (L + 4 * T) + (L + T) + (L + 1);
    return lastOffset + L + 2 * T + 1;
}

void CTimeDisplay::Attach()
{
    m_stroke = StrokeForHeight(height());
    m_segment = SegmentForHeight(height());
}

void CTimeDisplay::SetText(const QString& text)
{
    if (text == m_text)
        return;
    m_text = text;
    update();
}

void CTimeDisplay::SetColors(COLORREF background, COLORREF segment)
{
    m_backgroundColor = background;
    m_segmentColor = segment;
    update();
}

COLORREF CTimeDisplay::UnlitColor() const
{
    return RGB(GetRValue(m_segmentColor) / 3, GetGValue(m_segmentColor) / 3, GetBValue(m_segmentColor) / 3);
}

QString CTimeDisplay::PaddedText() const
{
    if (m_cellCount > 0 && m_text.size() < m_cellCount)
        return QString(m_cellCount - m_text.size(), QChar(' ')) + m_text;
    return m_text;
}

std::vector<int> CTimeDisplay::CellOffsets(const QString& text) const
{
    std::vector<int> offsets;
    int x = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (i > 0) {
            // A colon sits closer to its neighbours than digits sit to each other.
            if (text[i] == ':')
                x += m_segment + m_stroke;
            else if (text[i - 1] == ':')
                x += m_segment + 1;
            else
                x += m_segment + 4 * m_stroke;
        }
        offsets.push_back(x);
    }
    return offsets;
}

void CTimeDisplay::paintEvent(QPaintEvent*)
{
    // Drawn off screen and copied in one step, so the read-out never flickers at timer rate.
    QPixmap buffer(size());
    {
        QPainter offscreen(&buffer);
        Render(offscreen);
    }
    QPainter painter(this);
    painter.drawPixmap(0, 0, buffer);
}

void CTimeDisplay::Render(QPainter& painter) const
{
    painter.fillRect(rect(), ToQColor(m_backgroundColor));
    const QString text = PaddedText();
    const std::vector<int> offsets = CellOffsets(text);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar character = text[i];
        const int x = offsets[static_cast<size_t>(i)];
        const bool ownShape = character == '.' || character == ':';
        if (m_showUnlit && !ownShape) {
            painter.setPen(QPen(ToQColor(UnlitColor()), m_stroke, Qt::SolidLine, Qt::FlatCap));
            DrawSegments(painter, x, AllSegments);
        }
        painter.setPen(QPen(ToQColor(m_segmentColor), m_stroke, Qt::SolidLine, Qt::FlatCap));
        if (ownShape)
            DrawShape(painter, x, character);
        else
            DrawSegments(painter, x, SegmentBits(character));
    }
}

void CTimeDisplay::DrawSegments(QPainter& painter, int x, int bits) const
{
    const int T = m_stroke;
    const int L = m_segment;
    if (bits & Top)
        painter.drawLine(x + 2 * T, T, x + L, T);
    if (bits & UpperRight)
        painter.drawLine(x + T + L, 2 * T, x + T + L, L + 2 * T);
    if (bits & LowerRight)
        painter.drawLine(x + T + L, L + 4 * T, x + T + L, 2 * L + 3 * T);
    if (bits & Bottom)
        painter.drawLine(x + 2 * T, 2 * L + 4 * T, x + L, 2 * L + 4 * T);
    if (bits & LowerLeft)
        painter.drawLine(x + T, L + 4 * T, x + T, 2 * L + 3 * T);
    if (bits & UpperLeft)
        painter.drawLine(x + T, 2 * T, x + T, L + 2 * T);
    if (bits & Middle)
        painter.drawLine(x + 2 * T, L + 3 * T, x + L, L + 3 * T);
}

void CTimeDisplay::DrawShape(QPainter& painter, int x, QChar character) const
{
    const int T = m_stroke;
    const int L = m_segment;
    if (character == '.') {
        painter.drawLine(x + 2 * T, 2 * L + 4 * T, x + L / 2, 2 * L + 4 * T);
        return;
    }
    painter.drawLine(x + 4 * T, L, x + L / 2 + 2 * T, L);
    painter.drawLine(x + 4 * T, 2 * L + T, x + L / 2 + 2 * T, 2 * L + T);
}
