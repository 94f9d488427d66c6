#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>

class QWidget;

// The frames of a lyric face: a precise timer near the screen's refresh rate that runs only
// while the face asks for frames and can be seen. Hidden, or inside a minimised window, the face
// gets no frames and costs nothing; ShownChanged tells it to ask again when it comes back.
class CFrameTicker : public QObject
{
    Q_OBJECT
public:
    // A frame due later than this is looked at again then (the clock may have been corrected).
    static constexpr int LongestWaitMs = 250;

    explicit CFrameTicker(QWidget& face);

    // Shown, and its window neither hidden nor minimised.
    bool FaceShown() const;
    // The next frame after `delayMs` real milliseconds, no sooner than one frame from now; a
    // delay of a frame or less gives a frame every frame. A negative delay, or a face that cannot
    // be seen, stops the frames.
    void RunIn(double delayMs);
    void Stop() { m_timer.stop(); }
    bool IsActive() const { return m_timer.isActive(); }
    // Milliseconds per frame of the face's screen.
    int FrameMs() const;

signals:
    void Frame();
    void ShownChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void WatchWindow();

    QWidget& m_face;
    QPointer<QWidget> m_window;
    QTimer m_timer;
};
