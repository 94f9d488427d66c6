#pragma once

#include <QOpenGLWidget>

#include <memory>

class Player;

// The picture of the player: a widget that the video window hosts, filled by mpv's OpenGL render
// API. Mouse clicks on it reach the player's Click and DoubleClick signals. Made by
// Player::createVideoSurface; with null video output it stays black.
class VideoSurface : public QOpenGLWidget
{
    Q_OBJECT
public:
    ~VideoSurface() override;

protected:
    void initializeGL() override;
    void paintGL() override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    friend class Player;
    struct Renderer;

    VideoSurface(Player& player, void* mpvHandle, QWidget* parent);
    void releaseRenderer();
    bool hasRenderer() const;

    Player* m_player;
    void* m_mpv;
    std::unique_ptr<Renderer> m_renderer;
};
