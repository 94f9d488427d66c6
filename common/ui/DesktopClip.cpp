#include "common/ui/DesktopClip.h"

#include <algorithm>

namespace {

// Edges as the window system kept them: right and bottom lie just outside the rectangle.
int rightOf(const QRect& rect) { return rect.x() + rect.width(); }
int bottomOf(const QRect& rect) { return rect.y() + rect.height(); }

int snapShift(int nearStart, int farStart, int nearEnd, int farEnd)
{
    if (nearStart - farStart < DesktopClip::SnapDistance)
        return farStart - nearStart;
    if (farEnd - nearEnd < DesktopClip::SnapDistance)
        return farEnd - nearEnd;
    return 0;
}

} // namespace

namespace DesktopClip {

QRect Clamp(const QRect& window, const QRect& desktop)
{
    const int left = std::max(window.x(), desktop.x());
    const int top = std::max(window.y(), desktop.y());
    const int right = std::min(rightOf(window), rightOf(desktop));
    const int bottom = std::min(bottomOf(window), bottomOf(desktop));
    return QRect(left, top, right - left, bottom - top);
}

QRect Snap(const QRect& window, const QRect& desktop)
{
    const int dx = snapShift(window.x(), desktop.x(), rightOf(window), rightOf(desktop));
    const int dy = snapShift(window.y(), desktop.y(), bottomOf(window), bottomOf(desktop));
    if (dx == 0 && dy == 0)
        return window;
    return window.translated(dx, dy);
}

} // namespace DesktopClip
