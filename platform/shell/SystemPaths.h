#pragma once

#include <QString>

namespace SystemPaths {

// The first installed of the common graphical text editors, else xdg-open, as a quoted path.
QString DefaultTextEditorCommand();
// The user's Music folder, else the home folder, ending with "/".
QString DefaultMusicFolder();

} // namespace SystemPaths
