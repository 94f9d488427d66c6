#pragma once

#include <QWidget>

// The position slider. The user drags the thumb (the parent hears every step and the release),
// moves it with the keyboard, or cancels a drag with Escape, which puts the thumb back.
// While the user drags, positions set by the program are ignored.
class CWmpSlider : public QWidget
{
    Q_OBJECT
public:
    explicit CWmpSlider(int controlId, QWidget* parent = nullptr);

    void SetRange(int minimum, int maximum, bool redraw = false);
    int GetRangeMin() const { return m_minimum; }
    int GetRangeMax() const { return m_maximum; }
    // Ignored while dragging; clamped to the range; repaints only on a change.
    void SetPos(int position);
    int GetPos() const { return m_position; }
    bool IsDragging() const { return m_dragging; }

    QSize sizeHint() const override;

signals:
    // WM_SLIDER_TRACK: the thumb is being dragged.
    void sliderTrack(int controlId, int position);
    // WM_SLIDER_SET: the user set a position (thumb released after a drag, or a keyboard move).
    void sliderSet(int controlId, int position);
    // WM_SLIDER_CANCEL: a drag was cancelled; the position is back where the drag began.
    void sliderCancel(int controlId, int position);

protected:
    static constexpr int ThumbWidth = 9;

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

    // The thumb's centre for the current position, in widget pixels.
    int ThumbCentre() const;
    // Share of the range the position stands at, 0 to 1.
    double Fraction() const;

private:
    int PositionAt(int x) const;
    void TrackTo(int x);
    void CancelDrag();
    void MoveByKey(int position);

    int m_controlId;
    int m_minimum = 0;
    int m_maximum = 100;
    int m_position = 0;
    bool m_dragging = false;
    int m_dragStartPosition = 0;
};
