#pragma once

#include <QObject>

class CStageView;
class QAction;
class QMenu;
class QWidget;

// The stage view as a command: "ステージ表示" (F11, checked while the view is shown) for the
// main window, the karaoke window and their menus, and "ステージ表示の画面" with the screens
// to pick from. The view goes to the screen CStageScreens chooses.
class CStageCommand : public QObject
{
    Q_OBJECT
public:
    explicit CStageCommand(QWidget& mainWindow);
    ~CStageCommand() override;

    CStageView& View() const { return *m_view; }
    QAction* ToggleAction() const { return m_toggle; }
    QMenu* ScreenMenu() const { return m_screens; }
    void Show(bool on);

private:
    QWidget& m_mainWindow;
    CStageView* m_view = nullptr;
    QAction* m_toggle = nullptr;
    QMenu* m_screens = nullptr;
};
