#include "player/widgets/WmpVideoDlg.h"

#include "common/ui/Ui.h"
#include "platform/engine/Player.h"
#include "platform/engine/VideoSurface.h"
#include "platform/profile/Profile.h"
#include "player/settings/SettingsKeys.h"

#include <QCloseEvent>
#include <QCursor>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>

#include <cmath>

using namespace Settings;

namespace {

// MulDiv: numerator x value / denominator, rounded half away from zero.
int ScaleRounded(int value, int numerator, int denominator)
{
    return static_cast<int>(std::lround(static_cast<double>(value) * numerator / denominator));
}

// Moves the range [start, end) so that an edge that was docked, or that now lies beyond the
// desktop, sits on the desktop's edge; the start edge wins.
int DockShift(int oldStart, int oldEnd, int newStart, int newEnd, int deskStart, int deskEnd)
{
    if (oldStart == deskStart || newStart < deskStart)
        return deskStart - newStart;
    if (oldEnd == deskEnd || newEnd > deskEnd)
        return deskEnd - newEnd;
    return 0;
}

} // namespace

CWmpVideoDlg::CWmpVideoDlg(QWidget* owner) : CSizableDialog(Template(), owner)
{
    // The window cannot be closed by the user: no close button, and close requests are ignored.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::CustomizeWindowHint);
    ShowSizeGrip(false);
    SetMinTrackSize(QSize(), false);
    EnableSaveRestore(QString::fromLatin1(VideoDlg::Section));
    if (GetProfileInt(VideoDlg::Section, VideoDlg::AlwaysOnTop, VideoDlg::DefaultAlwaysOnTop) != 0)
        SetTopmost(true);
    BuildMenu();
}

CWmpVideoDlg::~CWmpVideoDlg()
{
    WriteProfileInt(VideoDlg::Section, VideoDlg::AlwaysOnTop, IsTopmost() ? 1 : 0);
}

DialogTemplate CWmpVideoDlg::Template()
{
    return DialogTemplate{133, QString(), QSize(142, 115), {}};
}

void CWmpVideoDlg::BuildMenu()
{
    m_menu = new QMenu(Ui::tr("WMPビデオ画面"), this);
    const auto add = [this](int id, const QString& text, auto handler) {
        QAction* action = m_menu->addAction(text, this, handler);
        action->setData(id);
    };
    add(IdHalfSize, QStringLiteral("×0.5"), [this] { SizeToFactor(1, 2); });
    add(IdNormalSize, QStringLiteral("×1"), [this] { SizeToFactor(1, 1); });
    add(IdDoubleSize, QStringLiteral("×2"), [this] { SizeToFactor(2, 1); });
    add(IdFullScreen, Ui::tr("全画面表示"), [this] { ToggleFullScreen(); });
    m_menu->addSeparator();
    add(IdAlwaysOnTop, Ui::tr("常に手前に表示"), [this] { ToggleAlwaysOnTop(); });
}

QAction* CWmpVideoDlg::MenuAction(int commandId) const
{
    for (QAction* action : m_menu->actions())
        if (action->data().toInt() == commandId)
            return action;
    return nullptr;
}

VideoSurface* CWmpVideoDlg::AttachPlayer(Player* player)
{
    m_player = player;
    if (!player)
        return nullptr;
    m_surface = player->createVideoSurface(this);
    FitPicture();
    if (m_surface)
        m_surface->show();
    return m_surface;
}

void CWmpVideoDlg::setVisible(bool visible)
{
    // The picture's OpenGL view is made only when a video is first shown: a session that plays
    // only audio never loads a GL driver.
    if (visible && m_surface)
        m_surface->prepareView();
    CSizableDialog::setVisible(visible);
}

void CWmpVideoDlg::DetachPlayer()
{
    if (m_player && m_player->fullScreen())
        m_player->setFullScreen(false);
    m_player = nullptr;
}

void CWmpVideoDlg::FitPicture()
{
    if (m_surface)
        m_surface->setGeometry(0, 0, width(), height());
}

void CWmpVideoDlg::resizeEvent(QResizeEvent* event)
{
    CSizableDialog::resizeEvent(event);
    FitPicture();
}

void CWmpVideoDlg::closeEvent(QCloseEvent* event)
{
    event->ignore();
}

void CWmpVideoDlg::keyPressEvent(QKeyEvent* event)
{
    // Escape would close a dialog; this window only goes with the main window.
    if (event->key() == Qt::Key_Escape)
        return;
    CSizableDialog::keyPressEvent(event);
}

void CWmpVideoDlg::ToggleAlwaysOnTop()
{
    SetTopmost(!IsTopmost());
}

void CWmpVideoDlg::ToggleFullScreen()
{
    if (m_player)
        m_player->setFullScreen(!m_player->fullScreen());
}

QRect CWmpVideoDlg::DockedFrame(const QRect& oldFrame, const QRect& newFrame, const QRect& desktop)
{
    const int dx = DockShift(oldFrame.left(), oldFrame.left() + oldFrame.width(), newFrame.left(),
                             newFrame.left() + newFrame.width(), desktop.left(), desktop.left() + desktop.width());
    const int dy = DockShift(oldFrame.top(), oldFrame.top() + oldFrame.height(), newFrame.top(),
                             newFrame.top() + newFrame.height(), desktop.top(), desktop.top() + desktop.height());
    return newFrame.translated(dx, dy);
}

void CWmpVideoDlg::SizeToFactor(int numerator, int denominator)
{
    if (!m_player)
        return;
    if (m_player->fullScreen())
        m_player->setFullScreen(false);
    const MediaPtr media = m_player->currentMedia();
    if (!media)
        return;
    int width = media->imageSourceWidth();
    int height = media->imageSourceHeight();
    if (numerator != denominator && denominator != 0) {
        width = ScaleRounded(width, numerator, denominator);
        height = ScaleRounded(height, numerator, denominator);
    }
    if (width <= 0 || height <= 0)
        return;
    const QRect oldFrame = frameGeometry();
    const QMargins frame(geometry().left() - oldFrame.left(), geometry().top() - oldFrame.top(),
                         oldFrame.right() - geometry().right(), oldFrame.bottom() - geometry().bottom());
    const QRect newFrame(oldFrame.topLeft(), QSize(width, height).grownBy(frame));
    const QRect docked = DockedFrame(oldFrame, newFrame, DesktopRect());
    setGeometry(QRect(docked.topLeft() + QPoint(frame.left(), frame.top()), QSize(width, height)));
    update();
}

bool CWmpVideoDlg::PrepareContextMenu()
{
    if (!m_player)
        return false;
    for (QAction* action : m_menu->actions()) {
        action->setCheckable(true);
        action->setChecked(false);
        action->setEnabled(true);
    }
    if (m_player->fullScreen()) {
        MenuAction(IdFullScreen)->setChecked(true);
        MenuAction(IdAlwaysOnTop)->setEnabled(false);
    } else {
        const MediaPtr media = m_player->currentMedia();
        if (!media || media->imageSourceWidth() <= 0 || media->imageSourceHeight() <= 0)
            return false;
        const QSize native(media->imageSourceWidth(), media->imageSourceHeight());
        const QSize client = size();
        MenuAction(IdNormalSize)->setChecked(client == native);
        MenuAction(IdHalfSize)->setChecked(client * 2 == native);
        MenuAction(IdDoubleSize)->setChecked(client == native * 2);
    }
    ApplyMenuMarks();
    return true;
}

void CWmpVideoDlg::ApplyMenuMarks()
{
    QAction* onTop = MenuAction(IdAlwaysOnTop);
    onTop->setChecked(IsTopmost());
    const QWidget* owner = parentWidget();
    if (owner && owner->windowFlags().testFlag(Qt::WindowStaysOnTopHint))
        onTop->setEnabled(false);
}

void CWmpVideoDlg::OnRButtonDown(const QPoint& globalPosition)
{
    if (PrepareContextMenu())
        m_menu->exec(globalPosition);
}

void CWmpVideoDlg::OnLButtonDblClk()
{
    if (m_player && !m_player->fullScreen())
        m_player->setFullScreen(true);
}

void CWmpVideoDlg::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        OnRButtonDown(event->globalPosition().toPoint());
        return;
    }
    CSizableDialog::mousePressEvent(event);
}

void CWmpVideoDlg::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        OnLButtonDblClk();
        return;
    }
    CSizableDialog::mouseDoubleClickEvent(event);
}
