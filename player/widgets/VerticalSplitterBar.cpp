#include "player/widgets/VerticalSplitterBar.h"

#include <QPainter>

#include <algorithm>

namespace {

// Vertical ranges of the four button pieces below the grip top.
constexpr int kButtonPieces[4][2] = {{2, 17}, {26, 41}, {81, 96}, {105, 120}};

} // namespace

CVerticalSplitterBar::CVerticalSplitterBar(QWidget* parent) : CSplitterBar(parent)
{
}

QRect CVerticalSplitterBar::Button1Rect() const
{
    const int y0 = GripTop();
    return QRect(QPoint(0, y0 + 2), QPoint(width() - 1, y0 + 40));
}

QRect CVerticalSplitterBar::Button2Rect() const
{
    const int y0 = GripTop();
    return QRect(QPoint(0, y0 + 81), QPoint(width() - 1, y0 + 119));
}

void CVerticalSplitterBar::DrawRaised(QPainter& painter, int left, int top, int right, int bottom) const
{
    top = std::max(0, top);
    bottom = std::min(height(), bottom);
    if (bottom <= top || right <= left)
        return;
    const QColor highlight = palette().color(QPalette::Light);
    const QColor shadow = palette().color(QPalette::Dark);
    painter.setPen(highlight);
    painter.drawLine(left, top, right - 2, top);
    painter.drawLine(left, top, left, bottom - 2);
    painter.setPen(shadow);
    painter.drawLine(right - 1, top, right - 1, bottom - 1);
    painter.drawLine(left, bottom - 1, right - 1, bottom - 1);
}

void CVerticalSplitterBar::DrawArrow(QPainter& painter, int top, bool pointsLeft) const
{
    // A 3 x 5 arrow head, clipped to the bar.
    static constexpr int rowWidths[5] = {1, 2, 3, 2, 1};
    const int left = (width() - 3) / 2;
    painter.setPen(palette().color(QPalette::WindowText));
    for (int row = 0; row < 5; ++row) {
        const int y = top + row;
        if (y < 0 || y >= height())
            continue;
        const int count = rowWidths[row];
        const int start = pointsLeft ? left + 3 - count : left;
        painter.drawLine(start, y, start + count - 1, y);
    }
}

void CVerticalSplitterBar::paintEvent(QPaintEvent*)
{
    const int w = width();
    const int h = height();
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Button));
    if (h <= 0)
        return;
    const int g = w % 2 == 0 ? 6 : 5;
    const int x0 = (w - g) / 2;
    const int x1 = x0 + g;
    const int y0 = GripTop();
    if (y0 > 0) {
        DrawRaised(painter, x0, 0, x1, y0);
        DrawRaised(painter, x0, h - y0, x1, h);
    }
    DrawRaised(painter, x0, y0 + 43, x1, y0 + 79);
    const int k = w % 2 == 1 ? (w - 1) / 2 : (w - 2) / 2;
    for (const auto& piece : kButtonPieces) {
        DrawRaised(painter, 0, y0 + piece[0], k, y0 + piece[1]);
        DrawRaised(painter, w - k, y0 + piece[0], w, y0 + piece[1]);
    }
    DrawArrow(painter, y0 + 19, true);
    DrawArrow(painter, y0 + 98, false);
}
