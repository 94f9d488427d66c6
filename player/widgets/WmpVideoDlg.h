#pragma once

#include "common/ui/SizableDialog.h"
#include "platform/engine/Player.h"
#include "platform/engine/VideoSurface.h"

#include <QPointer>

class QAction;
class QMenu;

// The window that shows the engine's picture. It keeps the picture filling its client area,
// sizes itself to half, single or double the video's native size, switches full screen and
// always-on-top from its context menu, and cannot be closed by the user.
class CWmpVideoDlg : public CSizableDialog
{
    Q_OBJECT
public:
    enum CommandId {
        IdHalfSize = 32781,
        IdNormalSize = 32776,
        IdDoubleSize = 32779,
        IdFullScreen = 32777,
        IdAlwaysOnTop = 32780,
    };

    explicit CWmpVideoDlg(QWidget* owner = nullptr);
    ~CWmpVideoDlg() override;

    static DialogTemplate Template();

    // The engine whose picture this window shows; the surface is created inside the window and
    // fills its client area. Returns the surface, or nullptr without an engine.
    VideoSurface* AttachPlayer(Player* player);
    // Forgets the engine before it goes (the surface goes with this window).
    void DetachPlayer();
    VideoSurface* Surface() const { return m_surface; }

    // Sizes the client area to numerator/denominator of the video's native size, keeping the
    // top-left corner and a window docked at a desktop edge docked there.
    void SizeToFactor(int numerator, int denominator);
    void ToggleFullScreen();
    void ToggleAlwaysOnTop();

    // Sets the menu's check marks and enabled states; false when the menu is not to be shown.
    bool PrepareContextMenu();
    QMenu* ContextMenu() const { return m_menu; }
    QAction* MenuAction(int commandId) const;
    // The right-button press and left double click, also forwarded from the engine's surface.
    void OnRButtonDown(const QPoint& globalPosition);
    void OnLButtonDblClk();

    // The window rectangle (frame) for a new client size, kept inside the desktop as docked.
    static QRect DockedFrame(const QRect& oldFrame, const QRect& newFrame, const QRect& desktop);

protected:
    void setVisible(bool visible) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BuildMenu();
    void FitPicture();
    void ApplyMenuMarks();

    QPointer<Player> m_player;
    QPointer<VideoSurface> m_surface;
    QMenu* m_menu = nullptr;
};
