#include "platform/engine/VideoSurface.h"

#include "platform/engine/Player.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QOpenGLFunctions>

#include <mpv/client.h>
#include <mpv/render_gl.h>

struct VideoSurface::Renderer {
    mpv_render_context* context = nullptr;
};

namespace {

void* procAddress(void*, const char* name)
{
    QOpenGLContext* current = QOpenGLContext::currentContext();
    return current ? reinterpret_cast<void*>(current->getProcAddress(name)) : nullptr;
}

// Called on one of mpv's threads: only ask for a repaint on the GUI thread.
void onFrameReady(void* surface)
{
    QMetaObject::invokeMethod(static_cast<QWidget*>(surface), "update", Qt::QueuedConnection);
}

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
    : QOpenGLWidget(parent), m_player(&player), m_mpv(mpvHandle), m_renderer(std::make_unique<Renderer>())
{
    setFocusPolicy(Qt::ClickFocus);
}

VideoSurface::~VideoSurface()
{
    releaseRenderer();
    // The base class destroys the GL context after this part of the object is gone.
    if (context())
        disconnect(context(), nullptr, this, nullptr);
}

void VideoSurface::initializeGL()
{
    if (!m_mpv || m_renderer->context)
        return;
    mpv_opengl_init_params glParams{procAddress, nullptr};
    char apiType[] = MPV_RENDER_API_TYPE_OPENGL;
    mpv_render_param params[] = {{MPV_RENDER_PARAM_API_TYPE, apiType},
                                 {MPV_RENDER_PARAM_OPENGL_INIT_PARAMS, &glParams},
                                 {MPV_RENDER_PARAM_INVALID, nullptr}};
    if (mpv_render_context_create(&m_renderer->context, static_cast<mpv_handle*>(m_mpv), params) < 0) {
        m_renderer->context = nullptr;
        return;
    }
    mpv_render_context_set_update_callback(m_renderer->context, onFrameReady, this);
    // Moving the widget to another window replaces its GL context; mpv's must go with the old one.
    connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, &VideoSurface::releaseRenderer, Qt::DirectConnection);
}

void VideoSurface::paintGL()
{
    if (!m_renderer->context) {
        QOpenGLFunctions* gl = context()->functions();
        gl->glClearColor(0, 0, 0, 1);
        gl->glClear(GL_COLOR_BUFFER_BIT);
        return;
    }
    const qreal ratio = devicePixelRatioF();
    mpv_opengl_fbo fbo{int(defaultFramebufferObject()), int(width() * ratio), int(height() * ratio), 0};
    int flipY = 1;
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_OPENGL_FBO, &fbo}, {MPV_RENDER_PARAM_FLIP_Y, &flipY}, {MPV_RENDER_PARAM_INVALID, nullptr}};
    mpv_render_context_render(m_renderer->context, params);
}

void VideoSurface::releaseRenderer()
{
    if (!m_renderer->context)
        return;
    makeCurrent();
    mpv_render_context_free(m_renderer->context);
    m_renderer->context = nullptr;
    doneCurrent();
}

bool VideoSurface::hasRenderer() const
{
    return m_renderer->context != nullptr;
}

void VideoSurface::mousePressEvent(QMouseEvent* event)
{
    if (m_player) {
        const QPoint at = event->position().toPoint();
        emit m_player->Click(buttonCode(event->button()), shiftCode(event->modifiers()), at.x(), at.y());
    }
    QOpenGLWidget::mousePressEvent(event);
}

void VideoSurface::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (m_player) {
        const QPoint at = event->position().toPoint();
        emit m_player->DoubleClick(buttonCode(event->button()), shiftCode(event->modifiers()), at.x(), at.y());
    }
    QOpenGLWidget::mouseDoubleClickEvent(event);
}

void VideoSurface::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && m_player && m_player->fullScreen()) {
        m_player->setFullScreen(false);
        return;
    }
    QOpenGLWidget::keyPressEvent(event);
}
