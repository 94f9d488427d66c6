#pragma once

#include <QIcon>

// The player's pictures: the program icon, the tool bar's transport icons (from the icon theme,
// drawn when the theme has none) and the track list's sort marks.
namespace PlayerIcons {

QIcon Application();
// The icon of a tool bar command (32771 play ... 32775 next).
QIcon Transport(int commandId);

} // namespace PlayerIcons
