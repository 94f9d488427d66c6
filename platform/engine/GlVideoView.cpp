#include "platform/engine/GlVideoView.h"

#include <QGuiApplication>
#include <QOpenGLContext>
#include <QOpenGLFunctions>

#include <mpv/client.h>
#include <mpv/render_gl.h>

struct GlVideoView::Renderer {
    mpv_render_context* context = nullptr;
};

namespace {

void* procAddress(void*, const char* name)
{
    QOpenGLContext* current = QOpenGLContext::currentContext();
    return current ? reinterpret_cast<void*>(current->getProcAddress(name)) : nullptr;
}

// Called on one of mpv's threads: only ask for a repaint on the GUI thread.
void onFrameReady(void* view)
{
    QMetaObject::invokeMethod(static_cast<QWidget*>(view), "update", Qt::QueuedConnection);
}

} // namespace

GlVideoView::GlVideoView(void* mpvHandle, QWidget* parent)
    : QOpenGLWidget(parent), m_mpv(mpvHandle), m_renderer(std::make_unique<Renderer>())
{
    setFocusPolicy(Qt::NoFocus);
}

GlVideoView::~GlVideoView()
{
    releaseRenderer();
    // The base class destroys the GL context after this part of the object is gone.
    if (context())
        disconnect(context(), nullptr, this, nullptr);
}

bool GlVideoView::isOpenGlAvailable()
{
    // The off-screen platform hands out GL contexts through the X server when one is set, yet
    // cannot show a QOpenGLWidget's frames: composing them crashes.
    if (QGuiApplication::platformName() == QLatin1String("offscreen"))
        return false;
    QOpenGLContext probe;
    return probe.create();
}

void GlVideoView::initializeGL()
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
    connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, &GlVideoView::releaseRenderer, Qt::DirectConnection);
    emit rendererChanged();
}

void GlVideoView::paintGL()
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

void GlVideoView::releaseRenderer()
{
    if (!m_renderer->context)
        return;
    makeCurrent();
    mpv_render_context_free(m_renderer->context);
    m_renderer->context = nullptr;
    doneCurrent();
    emit rendererChanged();
}

void GlVideoView::detach()
{
    releaseRenderer();
    m_mpv = nullptr;
}

bool GlVideoView::hasRenderer() const
{
    return m_renderer->context != nullptr;
}
