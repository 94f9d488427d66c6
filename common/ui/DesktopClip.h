#pragma once

#include <QRect>

// Keeping a window inside the desktop rectangle (the whole primary screen) while the user
// sizes or moves it. Rectangles are whole window rectangles in screen pixels.
namespace DesktopClip {

// A window edge moved closer than this to a screen edge snaps to it.
inline constexpr int SnapDistance = 5;

// Sizing: each edge stops at the desktop's edge.
QRect Clamp(const QRect& window, const QRect& desktop);
// Moving: within 4 pixels of an edge, or beyond it, the window is pushed flush with that edge;
// the left and top edges win when the window is wider or taller than the desktop.
QRect Snap(const QRect& window, const QRect& desktop);

} // namespace DesktopClip
