#include "player/app/WmpEventSink.h"

#include "platform/engine/Player.h"
#include "platform/engine/VideoSurface.h"
#include "player/app/SonavelDlg.h"
#include "player/widgets/WmpVideoDlg.h"

CWmpEventSink::CWmpEventSink(Player& player, CSonavelDlg& mainWindow) : m_player(&player), m_mainWindow(&mainWindow)
{
    connect(&player, &Player::OpenStateChange, this, &CWmpEventSink::OpenStateChange, Qt::DirectConnection);
    connect(&player, &Player::PlayStateChange, this, &CWmpEventSink::PlayStateChange, Qt::DirectConnection);
    connect(&player, &Player::CdromMediaChange, this, &CWmpEventSink::CdromMediaChange, Qt::DirectConnection);
    connect(&player, &Player::Click, this, &CWmpEventSink::Click, Qt::DirectConnection);
    connect(&player, &Player::DoubleClick, this, &CWmpEventSink::DoubleClick, Qt::DirectConnection);
}

CWmpEventSink::~CWmpEventSink()
{
    if (m_player)
        m_player->disconnect(this);
}

void CWmpEventSink::OpenStateChange(int newState)
{
    if (m_mainWindow)
        m_mainWindow->OnWmpOpenState(newState);
}

void CWmpEventSink::PlayStateChange(int newState)
{
    if (m_mainWindow)
        m_mainWindow->OnWmpPlayState(newState);
}

void CWmpEventSink::CdromMediaChange(int driveIndex)
{
    if (m_mainWindow)
        m_mainWindow->OnWmpCdromChange(driveIndex);
}

void CWmpEventSink::Click(short button, short, int x, int y)
{
    CWmpVideoDlg* video = m_mainWindow ? m_mainWindow->VideoDlg() : nullptr;
    if (button != 2 || !video)
        return;
    const QWidget* origin = video->Surface() ? static_cast<QWidget*>(video->Surface()) : video;
    video->OnRButtonDown(origin->mapToGlobal(QPoint(x, y)));
}

void CWmpEventSink::DoubleClick(short button, short, int, int)
{
    CWmpVideoDlg* video = m_mainWindow ? m_mainWindow->VideoDlg() : nullptr;
    if (button == 1 && video)
        video->OnLButtonDblClk();
}
