#pragma once

#include <QImage>
#include <QWidget>

class GlVideoView;
class Player;

// The picture of the player: a widget that the video window hosts. Where OpenGL is available,
// mpv draws into a view filling it, made when the surface is first shown, so that a session
// that never shows a video never loads a GL driver; elsewhere (no GL at all) it stays black and
// video plays to no output. Mouse clicks on it reach the player's Click and DoubleClick signals. Made by
// Player::createVideoSurface; with null video output it stays black.
class VideoSurface : public QWidget
{
    Q_OBJECT
public:
    ~VideoSurface() override;

    // What the surface shows now.
    QImage grabFrame();
    // Makes the OpenGL view now; the window that hosts the surface calls it before it first
    // shows, so that the window is made for OpenGL from the start. Later calls do nothing.
    void prepareView();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    friend class Player;

    VideoSurface(Player& player, void* mpvHandle, QWidget* parent);
    void releaseRenderer();
    void detach();
    bool hasRenderer() const;

    Player* m_player;
    void* m_mpv;
    bool m_viewTried = false;
    GlVideoView* m_view = nullptr;
};
