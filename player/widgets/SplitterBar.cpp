#include "player/widgets/SplitterBar.h"

#include "common/ui/DialogTemplate.h"
#include "platform/profile/Profile.h"
#include "player/settings/SettingsKeys.h"

#include <QMouseEvent>
#include <QRubberBand>

#include <algorithm>

using namespace Settings;

CSplitterBar::CSplitterBar(QWidget* parent) : QWidget(parent)
{
    setMouseTracking(true);
}

CSplitterBar::~CSplitterBar()
{
    // Orientation() cannot be called any more here: the axis was noted when the bar was attached.
    if (m_attachedAxis == Axis::Vertical)
        WriteProfileInt(SplitterBar::Section, SplitterBar::PosL, x());
    else if (m_attachedAxis == Axis::Horizontal)
        WriteProfileInt(SplitterBar::Section, SplitterBar::PosT, y());
}

void CSplitterBar::Attach()
{
    m_attachedAxis = IsVertical() ? Axis::Vertical : Axis::Horizontal;
    if (IsVertical())
        resize(Thickness, height());
    else
        resize(width(), Thickness);
}

int CSplitterBar::ParentExtent() const
{
    const QWidget* parent = parentWidget();
    if (!parent)
        return 0;
    return IsVertical() ? parent->width() : parent->height();
}

QRect CSplitterBar::Shifted(const QRect& rect, int distance) const
{
    return IsVertical() ? rect.translated(distance, 0) : rect.translated(0, distance);
}

void CSplitterBar::MoveTo(const QRect& rect)
{
    setGeometry(rect);
    LayOutSides();
}

void CSplitterBar::SetRestoredMinimum(int firstSide, int secondSide)
{
    m_restoredMinimumFirst = std::max(0, firstSide);
    m_restoredMinimumSecond = std::max(0, secondSide);
}

void CSplitterBar::RestorePosition()
{
    const int extent = IsVertical() ? height() : width();
    if (extent <= 0)
        return;
    const char* key = IsVertical() ? SplitterBar::PosL : SplitterBar::PosT;
    int start = GetProfileInt(SplitterBar::Section, key, Start(geometry()));
    const int thickness = End(geometry()) - Start(geometry());
    // In a parent too small for both the second side keeps its room.
    start = std::max(start, m_restoredMinimumFirst);
    start = std::min(start, ParentExtent() - thickness - m_restoredMinimumSecond);
    start = std::max(0, start);
    const QRect target = Shifted(geometry(), start - Start(geometry()));
    if (target != geometry())
        MoveTo(target);
}

void CSplitterBar::LayOutSides()
{
    QWidget* parent = parentWidget();
    if (!parent)
        return;
    const QRect bar = geometry();
    for (int id : m_firstSide) {
        if (QWidget* control = GetDlgItem(parent, id)) {
            QRect r = control->geometry();
            if (IsVertical())
                r.setWidth(std::max(0, bar.x() - 1 - r.x()));
            else
                r.setHeight(std::max(0, bar.y() - 1 - r.y()));
            control->setGeometry(r);
        }
    }
    for (int id : m_secondSide) {
        if (QWidget* control = GetDlgItem(parent, id)) {
            QRect r = control->geometry();
            const int end = End(r);
            if (IsVertical()) {
                r.setLeft(End(bar) + 1);
                r.setWidth(std::max(0, end - r.x()));
            } else {
                r.setTop(End(bar) + 1);
                r.setHeight(std::max(0, end - r.y()));
            }
            control->setGeometry(r);
        }
    }
    emit layoutReset(DlgCtrlId(this));
    parent->update();
}

void CSplitterBar::PressButton(int button)
{
    const QRect bar = geometry();
    const int extent = ParentExtent();
    const bool atEnd = End(bar) == extent;
    const bool atStart = Start(bar) == 0;
    if (m_saved && ((button == 1 && atEnd) || (button == 2 && atStart))) {
        QRect restored = bar;
        if (IsVertical())
            restored = QRect(m_saved->x(), bar.y(), m_saved->width(), bar.height());
        else
            restored = QRect(bar.x(), m_saved->y(), bar.width(), m_saved->height());
        m_saved.reset();
        MoveTo(restored);
        return;
    }
    if (button == 1) {
        if (atStart)
            return;
        m_saved = bar;
        MoveTo(Shifted(bar, m_margin - Start(bar)));
    } else {
        if (atEnd)
            return;
        m_saved = bar;
        MoveTo(Shifted(bar, extent - m_margin - End(bar)));
    }
}

bool CSplitterBar::BeginDrag(const QPoint& globalPosition)
{
    QWidget* parent = parentWidget();
    if (!parent)
        return false;
    int minimum = m_margin;
    int maximum = ParentExtent() - m_margin;
    for (int id : m_firstSide)
        if (const QWidget* control = GetDlgItem(parent, id))
            minimum = std::max(minimum, Start(control->geometry()) + m_margin);
    for (int id : m_secondSide)
        if (const QWidget* control = GetDlgItem(parent, id))
            maximum = std::min(maximum, End(control->geometry()) - m_margin);
    if (minimum >= maximum)
        return false;
    m_dragMinimum = minimum;
    m_dragMaximum = maximum;
    m_dragStartMouse = globalPosition;
    m_dragStartRect = geometry();
    m_dragging = true;
    if (!m_dragFrame)
        m_dragFrame = new QRubberBand(QRubberBand::Rectangle, parent);
    m_dragFrame->setGeometry(m_dragStartRect);
    m_dragFrame->show();
    return true;
}

int CSplitterBar::ClampedDistance(const QPoint& globalPosition) const
{
    // The bar stays inside the drag range, as the confined cursor kept it on the original.
    const int distance = Along(globalPosition) - Along(m_dragStartMouse);
    const int lowest = m_dragMinimum - Start(m_dragStartRect);
    const int highest = m_dragMaximum - End(m_dragStartRect);
    return std::clamp(distance, std::min(lowest, 0), std::max(highest, 0));
}

void CSplitterBar::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint position = event->position().toPoint();
    if (Button1Rect().contains(position)) {
        PressButton(1);
        return;
    }
    if (Button2Rect().contains(position)) {
        PressButton(2);
        return;
    }
    QWidget* grabber = QWidget::mouseGrabber();
    if (grabber && grabber != this)
        return;
    BeginDrag(event->globalPosition().toPoint());
}

void CSplitterBar::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_dragging) {
        UpdateCursor(event->position().toPoint());
        return;
    }
    m_dragFrame->setGeometry(Shifted(m_dragStartRect, ClampedDistance(event->globalPosition().toPoint())));
}

void CSplitterBar::mouseReleaseEvent(QMouseEvent* event)
{
    if (!m_dragging || event->button() != Qt::LeftButton)
        return;
    m_dragging = false;
    m_dragFrame->hide();
    const int distance = ClampedDistance(event->globalPosition().toPoint());
    if (distance == 0)
        return;
    m_saved.reset();
    MoveTo(Shifted(m_dragStartRect, distance));
}

void CSplitterBar::UpdateCursor(const QPoint& position)
{
    if (IsVertical() && (Button1Rect().contains(position) || Button2Rect().contains(position)))
        setCursor(Qt::PointingHandCursor);
    else
        setCursor(IsVertical() ? Qt::SplitHCursor : Qt::SplitVCursor);
}
