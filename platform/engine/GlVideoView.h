#pragma once

#include <QOpenGLWidget>

#include <memory>

// The OpenGL view inside a VideoSurface, into which mpv's render API draws the picture.
// Black while there is nothing to draw. Mouse and key events go on to the surface around it.
class GlVideoView : public QOpenGLWidget
{
    Q_OBJECT
public:
    GlVideoView(void* mpvHandle, QWidget* parent);
    ~GlVideoView() override;

    // Whether a real OpenGL context can be made here; without one a QOpenGLWidget must not exist.
    static bool isOpenGlAvailable();

    bool hasRenderer() const;
    void releaseRenderer();
    // The player is gone: draw nothing more.
    void detach();

signals:
    // mpv's renderer was made (the view's first showing) or let go.
    void rendererChanged();

protected:
    void initializeGL() override;
    void paintGL() override;

private:
    struct Renderer;

    void* m_mpv;
    std::unique_ptr<Renderer> m_renderer;
};
