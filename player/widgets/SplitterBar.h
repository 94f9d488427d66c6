#pragma once

#include <QPoint>
#include <QRect>
#include <QWidget>

#include <optional>
#include <vector>

class QRubberBand;

// A thin bar between two groups of controls of its parent. Dragging it moves the boundary; the
// bar resizes the controls on both sides itself, tells the parent so that its anchored layout
// follows, and keeps its position in the profile. The orientation decides the axis: 1 is a
// vertical bar moving left and right ("PosL"), anything else a horizontal one ("PosT").
class CSplitterBar : public QWidget
{
    Q_OBJECT
public:
    static constexpr int Thickness = 7;

    explicit CSplitterBar(QWidget* parent = nullptr);
    ~CSplitterBar() override;

    virtual int Orientation() const = 0;
    bool IsVertical() const { return Orientation() == 1; }

    // Makes the bar exactly Thickness pixels across, keeping its position; from then on the
    // position is written to the profile when the bar is destroyed.
    void Attach();
    void AddFirstSideControl(int id) { m_firstSide.push_back(id); }
    void AddSecondSideControl(int id) { m_secondSide.push_back(id); }
    // The least room each side keeps between the bar and the parent's edge when a stored
    // position is restored (one stored in a wider window would hide a side); dragging and the
    // buttons may still collapse either side.
    void SetRestoredMinimum(int firstSide, int secondSide);
    // Moves the bar to the stored position (clamped to the parent and the sides' least room) and
    // lays out the sides.
    void RestorePosition();

    // The rectangle a collapse saved for the restore; none when nothing is saved.
    std::optional<QRect> SavedPosition() const { return m_saved; }
    int Margin() const { return m_margin; }
    // The two arrow buttons, in bar coordinates (empty for a horizontal bar or a bar too small).
    virtual QRect Button1Rect() const { return {}; }
    virtual QRect Button2Rect() const { return {}; }

signals:
    // WM_LAYOUT_RESET: the boundary moved; the parent re-captures its anchored layout.
    void layoutReset(int barId);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

    // Collapses or restores the sides, as the vertical bar's buttons do.
    void PressButton(int button);

private:
    int Along(const QPoint& point) const { return IsVertical() ? point.x() : point.y(); }
    int Start(const QRect& rect) const { return IsVertical() ? rect.x() : rect.y(); }
    // End edge one past the last pixel, as a window rectangle has it.
    int End(const QRect& rect) const { return IsVertical() ? rect.x() + rect.width() : rect.y() + rect.height(); }
    int ParentExtent() const;
    QRect Shifted(const QRect& rect, int distance) const;
    void MoveTo(const QRect& rect);
    void LayOutSides();
    bool BeginDrag(const QPoint& globalPosition);
    int ClampedDistance(const QPoint& globalPosition) const;
    void UpdateCursor(const QPoint& position);

    enum class Axis { None, Vertical, Horizontal };

    Axis m_attachedAxis = Axis::None;
    std::vector<int> m_firstSide;
    std::vector<int> m_secondSide;
    int m_margin = 0;
    int m_restoredMinimumFirst = 0;
    int m_restoredMinimumSecond = 0;
    bool m_dragging = false;
    QPoint m_dragStartMouse;
    QRect m_dragStartRect;
    int m_dragMinimum = 0;
    int m_dragMaximum = 0;
    std::optional<QRect> m_saved;
    QRubberBand* m_dragFrame = nullptr;
};
