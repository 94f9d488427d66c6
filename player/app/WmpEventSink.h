#pragma once

#include <QObject>
#include <QPointer>

class CSonavelDlg;
class Player;

// Receives the engine's events and hands the ones the player uses on at once (synchronously):
// open state, play state and disc changes to the main window, right clicks and left double
// clicks on the picture to the video window. Nothing is delivered once the main window is gone.
class CWmpEventSink : public QObject
{
    Q_OBJECT
public:
    CWmpEventSink(Player& player, CSonavelDlg& mainWindow);
    // Unsubscribes from the engine.
    ~CWmpEventSink() override;

    void OpenStateChange(int newState);
    void PlayStateChange(int newState);
    void CdromMediaChange(int driveIndex);
    void Click(short button, short shiftState, int x, int y);
    void DoubleClick(short button, short shiftState, int x, int y);

private:
    QPointer<Player> m_player;
    QPointer<CSonavelDlg> m_mainWindow;
};
