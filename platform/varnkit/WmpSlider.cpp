#include "platform/varnkit/WmpSlider.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

CWmpSlider::CWmpSlider(int controlId, QWidget* parent) : QWidget(parent), m_controlId(controlId)
{
    setFocusPolicy(Qt::StrongFocus);
}

QSize CWmpSlider::sizeHint() const
{
    return QSize(100, 18);
}

void CWmpSlider::SetRange(int minimum, int maximum, bool redraw)
{
    m_minimum = minimum;
    m_maximum = std::max(minimum, maximum);
    m_position = std::clamp(m_position, m_minimum, m_maximum);
    if (redraw)
        update();
}

void CWmpSlider::SetPos(int position)
{
    if (m_dragging)
        return;
    const int clamped = std::clamp(position, m_minimum, m_maximum);
    if (clamped == m_position)
        return;
    m_position = clamped;
    update();
}

double CWmpSlider::Fraction() const
{
    if (m_maximum == m_minimum)
        return 0.0;
    return static_cast<double>(m_position - m_minimum) / (m_maximum - m_minimum);
}

int CWmpSlider::ThumbCentre() const
{
    const int usable = std::max(0, width() - ThumbWidth);
    return ThumbWidth / 2 + static_cast<int>(std::lround(Fraction() * usable));
}

int CWmpSlider::PositionAt(int x) const
{
    const int usable = width() - ThumbWidth;
    if (usable <= 0)
        return m_minimum;
    const double share = std::clamp(static_cast<double>(x - ThumbWidth / 2) / usable, 0.0, 1.0);
    return m_minimum + static_cast<int>(std::lround(share * (m_maximum - m_minimum)));
}

void CWmpSlider::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QPalette& colours = palette();
    const int middle = height() / 2;
    const int centre = ThumbCentre();
    const QRect groove(ThumbWidth / 2, middle - 2, std::max(0, width() - ThumbWidth), 4);
    painter.fillRect(groove, colours.dark());
    painter.fillRect(QRect(groove.left(), groove.top(), centre - groove.left(), groove.height()),
                     colours.highlight());
    const QRect thumb(centre - ThumbWidth / 2, 1, ThumbWidth, std::max(0, height() - 2));
    painter.fillRect(thumb, colours.button());
    painter.setPen(colours.color(QPalette::Light));
    painter.drawLine(thumb.topLeft(), thumb.topRight());
    painter.drawLine(thumb.topLeft(), thumb.bottomLeft());
    painter.setPen(colours.color(QPalette::Shadow));
    painter.drawLine(thumb.bottomLeft(), thumb.bottomRight());
    painter.drawLine(thumb.topRight(), thumb.bottomRight());
}

void CWmpSlider::TrackTo(int x)
{
    const int position = PositionAt(x);
    if (position == m_position)
        return;
    m_position = position;
    update();
    emit sliderTrack(m_controlId, m_position);
}

void CWmpSlider::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || m_dragging) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_dragging = true;
    m_dragStartPosition = m_position;
    setFocus(Qt::MouseFocusReason);
    const int position = PositionAt(event->position().toPoint().x());
    m_position = position;
    update();
    emit sliderTrack(m_controlId, m_position);
}

void CWmpSlider::mouseMoveEvent(QMouseEvent* event)
{
    if (m_dragging)
        TrackTo(event->position().toPoint().x());
}

void CWmpSlider::mouseReleaseEvent(QMouseEvent* event)
{
    if (!m_dragging || event->button() != Qt::LeftButton)
        return;
    TrackTo(event->position().toPoint().x());
    m_dragging = false;
    emit sliderSet(m_controlId, m_position);
}

void CWmpSlider::CancelDrag()
{
    m_dragging = false;
    m_position = m_dragStartPosition;
    update();
    emit sliderCancel(m_controlId, m_position);
}

void CWmpSlider::focusOutEvent(QFocusEvent* event)
{
    // Losing the focus in the middle of a drag (another window, a message box) cancels it.
    if (m_dragging)
        CancelDrag();
    QWidget::focusOutEvent(event);
}

void CWmpSlider::MoveByKey(int position)
{
    const int clamped = std::clamp(position, m_minimum, m_maximum);
    if (clamped == m_position)
        return;
    m_position = clamped;
    update();
    emit sliderSet(m_controlId, m_position);
}

void CWmpSlider::keyPressEvent(QKeyEvent* event)
{
    if (m_dragging) {
        if (event->key() == Qt::Key_Escape)
            CancelDrag();
        event->accept();
        return;
    }
    const int page = std::max(1, (m_maximum - m_minimum) / 10);
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Down: MoveByKey(m_position - 1); break;
    case Qt::Key_Right:
    case Qt::Key_Up: MoveByKey(m_position + 1); break;
    case Qt::Key_PageUp: MoveByKey(m_position - page); break;
    case Qt::Key_PageDown: MoveByKey(m_position + page); break;
    case Qt::Key_Home: MoveByKey(m_minimum); break;
    case Qt::Key_End: MoveByKey(m_maximum); break;
    default: QWidget::keyPressEvent(event); return;
    }
    event->accept();
}
