#include "player/karaoke/display/FrameTicker.h"

#include <QEvent>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cmath>

CFrameTicker::CFrameTicker(QWidget& face) : QObject(&face), m_face(face)
{
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &CFrameTicker::Frame);
    face.installEventFilter(this);
    WatchWindow();
}

void CFrameTicker::WatchWindow()
{
    QWidget* window = m_face.window();
    if (window == m_window)
        return;
    if (m_window && m_window != &m_face)
        m_window->removeEventFilter(this);
    m_window = window;
    if (window != &m_face)
        window->installEventFilter(this);
}

bool CFrameTicker::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::ParentChange:
        if (watched == &m_face)
            WatchWindow();
        break;
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::WindowStateChange:
        // The face's own events come after the window's; either may be the one that matters.
        emit ShownChanged();
        break;
    default: break;
    }
    return QObject::eventFilter(watched, event);
}

bool CFrameTicker::FaceShown() const
{
    return m_face.isVisible() && !m_face.window()->isMinimized();
}

int CFrameTicker::FrameMs() const
{
    const QScreen* screen = m_face.screen();
    const qreal rate = screen ? screen->refreshRate() : 0;
    return std::max(4, int(1000.0 / (rate > 0 ? rate : 60.0)));
}

void CFrameTicker::RunIn(double delayMs)
{
    if (delayMs < 0 || !FaceShown()) {
        m_timer.stop();
        return;
    }
    const int frame = FrameMs();
    const int interval = int(std::clamp(std::ceil(delayMs), double(frame), double(LongestWaitMs)));
    if (interval == frame) {
        // A face that changes every frame: a repeating timer keeps the screen's beat even when a
        // frame comes late.
        if (!m_timer.isActive() || m_timer.isSingleShot() || m_timer.interval() != frame) {
            m_timer.setSingleShot(false);
            m_timer.start(frame);
        }
    } else if (!m_timer.isActive() || !m_timer.isSingleShot() || interval < m_timer.remainingTime()) {
        m_timer.setSingleShot(true);
        m_timer.start(interval);
    }
}
