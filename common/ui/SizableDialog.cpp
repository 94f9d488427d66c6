#include "common/ui/SizableDialog.h"

#include "common/ui/DesktopClip.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QSizeGrip>
#include <QStyle>
#include <QWindow>

CSizableDialog::CSizableDialog(const DialogTemplate& dialogTemplate, QWidget* parent,
                               const CustomControlFactory& customFactory)
    : QDialog(parent), m_templateId(dialogTemplate.id)
{
    BuildDialog(this, dialogTemplate, customFactory);
    CreateSizeGrip();
    InitSizableDialog();
}

CSizableDialog::~CSizableDialog()
{
    SavePlacement();
    m_layout.Clear();
}

void CSizableDialog::CreateSizeGrip()
{
    const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    m_grip = new QSizeGrip(this);
    m_grip->setObjectName(QStringLiteral("sizeGrip"));
    m_grip->resize(extent, extent);
    m_grip->setMask(GripRegion(m_grip->size()));
}

void CSizableDialog::InitSizableDialog()
{
    SetMinTrackSize(size());
    MoveSizeGrip();
    m_grip->show();
    m_initDone = true;
}

QRegion CSizableDialog::GripRegion(const QSize& size)
{
    QRegion region(0, 0, size.width(), size.height());
    for (int y = 0; y < size.height(); ++y)
        region -= QRegion(0, y, size.width() - y, 1);
    return region;
}

QRect CSizableDialog::DesktopRect()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect();
}

void CSizableDialog::MoveSizeGrip()
{
    m_grip->move(width() - m_grip->width(), height() - m_grip->height());
    m_grip->lower();
    m_grip->setEnabled(!isMaximized());
}

void CSizableDialog::AddAnchor(QWidget* control, AnchorPoint first, AnchorPoint second)
{
    m_layout.Add(control, first, second, size());
}

void CSizableDialog::AddAnchor(int controlId, AnchorPoint first, AnchorPoint second)
{
    AddAnchor(GetDlgItem(this, controlId), first, second);
}

bool CSizableDialog::Reanchor(QWidget* control, AnchorPoint first, AnchorPoint second)
{
    return m_layout.Reanchor(control, first, second, size());
}

void CSizableDialog::ArrangeLayout()
{
    const auto changes = m_layout.Changes(size());
    if (changes.empty())
        return;
    // One repaint for all moves, as a deferred window positioning gave.
    const bool updates = updatesEnabled();
    setUpdatesEnabled(false);
    for (const auto& change : changes) {
        const QRect current = change.control->geometry();
        if (change.rect.size() == current.size())
            change.control->move(change.rect.topLeft());
        else if (change.rect.topLeft() == current.topLeft())
            change.control->resize(change.rect.size());
        else
            change.control->setGeometry(change.rect);
    }
    setUpdatesEnabled(updates);
}

void CSizableDialog::SetMinTrackSize(const QSize& size, bool enabled)
{
    setMinimumSize(enabled ? size : QSize(0, 0));
}

void CSizableDialog::SetMaxTrackSize(const QSize& size, bool enabled)
{
    setMaximumSize(enabled ? size : QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
}

void CSizableDialog::ShowSizeGrip(bool show)
{
    m_grip->setVisible(show);
}

bool CSizableDialog::IsTopmost() const
{
    return windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

void CSizableDialog::SetTopmost(bool topmost)
{
    // setWindowFlag() would hide and re-create the window (and hiding ends a modal run). The
    // flag goes to the existing native window instead, or waits for the one to come.
    Qt::WindowFlags flags = windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, topmost);
    overrideWindowFlags(flags);
    if (QWindow* window = windowHandle())
        window->setFlags(flags);
}

bool CSizableDialog::EnableSaveRestore(const QString& section, bool rectangleOnly)
{
    m_placement.Enable(section, rectangleOnly);
    return RestorePlacement();
}

bool CSizableDialog::RestorePlacement()
{
    const auto rect = m_placement.ReadRectangle();
    if (!rect)
        return false;
    PlaceWindow(*rect);
    if (m_placement.ReadMaximized())
        setWindowState(windowState() | Qt::WindowMaximized);
    return true;
}

void CSizableDialog::PlaceWindow(const QRect& geometry)
{
    setGeometry(geometry);
    // A hidden window gets its resize event only when shown; the controls follow now.
    MoveSizeGrip();
    ArrangeLayout();
}

void CSizableDialog::SavePlacement() const
{
    if (!m_placement.IsEnabled())
        return;
    const bool maximized = isMaximized() || isFullScreen();
    const QRect normal = maximized ? normalGeometry() : geometry();
    m_placement.Save(normal, maximized);
}

QMargins CSizableDialog::FrameMargins() const
{
    const QRect frame = frameGeometry();
    const QRect client = geometry();
    return {client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
            frame.bottom() - client.bottom()};
}

void CSizableDialog::ClampToDesktop()
{
    const QRect frame = frameGeometry();
    const QRect clamped = DesktopClip::Clamp(frame, DesktopRect());
    if (clamped != frame && clamped.isValid())
        setGeometry(clamped.marginsRemoved(FrameMargins()));
}

void CSizableDialog::SnapToDesktop()
{
    const QRect frame = frameGeometry();
    const QRect snapped = DesktopClip::Snap(frame, DesktopRect());
    if (snapped.topLeft() != frame.topLeft())
        move(snapped.topLeft());
}

void CSizableDialog::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    if (!m_initDone)
        return;
    MoveSizeGrip();
    ArrangeLayout();
    if (m_clipOnDesktop && !m_adjusting && isVisible() && !isMaximized()) {
        m_adjusting = true;
        ClampToDesktop();
        m_adjusting = false;
    }
}

void CSizableDialog::moveEvent(QMoveEvent* event)
{
    QDialog::moveEvent(event);
    if (m_clipOnDesktop && m_initDone && !m_adjusting && isVisible() && !isMaximized()) {
        m_adjusting = true;
        SnapToDesktop();
        m_adjusting = false;
    }
}

void CSizableDialog::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && m_initDone)
        MoveSizeGrip();
}
