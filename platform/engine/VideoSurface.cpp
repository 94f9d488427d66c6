#include "platform/engine/VideoSurface.h"

#include "platform/engine/GlVideoView.h"
#include "platform/engine/Player.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace {

short buttonCode(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return 1;
    case Qt::RightButton:
        return 2;
    case Qt::MiddleButton:
        return 4;
    default:
        return 0;
    }
}

short shiftCode(Qt::KeyboardModifiers modifiers)
{
    return short((modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0) |
                 (modifiers & Qt::AltModifier ? 4 : 0));
}

} // namespace

VideoSurface::VideoSurface(Player& player, void* mpvHandle, QWidget* parent)
    : QWidget(parent), m_player(&player), m_mpv(mpvHandle)
{
    setFocusPolicy(Qt::ClickFocus);
    setAutoFillBackground(true);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
}

void VideoSurface::prepareView()
{
    if (m_viewTried || !m_player)
        return;
    m_viewTried = true;
    // A QOpenGLWidget on a platform without OpenGL takes the whole window down when it paints.
    if (!m_mpv || !GlVideoView::isOpenGlAvailable())
        return;
    m_view = new GlVideoView(m_mpv, this);
    m_view->setGeometry(rect());
    m_view->show();
    // Queued: the engine changes its output from the event loop, not from inside GL set-up.
    connect(
        m_view, &GlVideoView::rendererChanged, this,
        [this] {
            if (m_player)
                m_player->videoRendererChanged();
        },
        Qt::QueuedConnection);
}

VideoSurface::~VideoSurface() = default;

QImage VideoSurface::grabFrame()
{
    return m_view ? m_view->grabFramebuffer() : grab().toImage();
}

void VideoSurface::showEvent(QShowEvent* event)
{
    prepareView();
    QWidget::showEvent(event);
}

void VideoSurface::resizeEvent(QResizeEvent* event)
{
    if (m_view)
        m_view->setGeometry(rect());
    QWidget::resizeEvent(event);
}

void VideoSurface::releaseRenderer()
{
    if (m_view)
        m_view->releaseRenderer();
}

void VideoSurface::detach()
{
    if (m_view)
        m_view->detach();
    m_player = nullptr;
    m_mpv = nullptr;
}

bool VideoSurface::hasRenderer() const
{
    return m_view && m_view->hasRenderer();
}

void VideoSurface::mousePressEvent(QMouseEvent* event)
{
    if (m_player) {
        const QPoint at = event->position().toPoint();
        emit m_player->Click(buttonCode(event->button()), shiftCode(event->modifiers()), at.x(), at.y());
    }
    QWidget::mousePressEvent(event);
}

void VideoSurface::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (m_player) {
        const QPoint at = event->position().toPoint();
        emit m_player->DoubleClick(buttonCode(event->button()), shiftCode(event->modifiers()), at.x(), at.y());
    }
    QWidget::mouseDoubleClickEvent(event);
}

void VideoSurface::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && m_player && m_player->fullScreen()) {
        m_player->setFullScreen(false);
        return;
    }
    QWidget::keyPressEvent(event);
}
