#include "platform/varnkit/VolSlider.h"

#include <QPainter>
#include <QPolygon>

CVolSlider::CVolSlider(int controlId, QWidget* parent) : CWmpSlider(controlId, parent)
{
}

void CVolSlider::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QPalette& colours = palette();
    const int left = ThumbWidth / 2;
    const int right = width() - 1 - ThumbWidth / 2;
    const int bottom = height() - 3;
    const int top = 3;
    const QPolygon wedge({QPoint(left, bottom), QPoint(right, top), QPoint(right, bottom)});
    painter.setPen(Qt::NoPen);
    painter.setBrush(colours.dark());
    painter.drawPolygon(wedge);
    const int centre = ThumbCentre();
    painter.setClipRect(QRect(0, 0, centre, height()));
    painter.setBrush(colours.highlight());
    painter.drawPolygon(wedge);
    painter.setClipping(false);
    const QRect thumb(centre - ThumbWidth / 2 + 2, 0, ThumbWidth - 4, height());
    painter.setBrush(colours.button());
    painter.setPen(colours.color(QPalette::Shadow));
    painter.drawRect(thumb.adjusted(0, 0, -1, -1));
}
