#pragma once

#include "player/widgets/SplitterBar.h"

// The splitter between the folder side and the track list: a vertical bar with a grip and two
// arrow buttons, button 1 collapsing the left side and button 2 the right one.
class CVerticalSplitterBar : public CSplitterBar
{
    Q_OBJECT
public:
    explicit CVerticalSplitterBar(QWidget* parent = nullptr);

    int Orientation() const override { return 1; }
    QRect Button1Rect() const override;
    QRect Button2Rect() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Top of the 122-pixel grip block centred on the bar (negative when the bar is shorter).
    int GripTop() const { return (height() - 122) / 2; }
    void DrawRaised(QPainter& painter, int left, int top, int right, int bottom) const;
    void DrawArrow(QPainter& painter, int top, bool pointsLeft) const;
};
