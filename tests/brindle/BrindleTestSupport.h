#pragma once

#include "renamer/BrindleDlg.h"

#include <QByteArray>
#include <QStringList>

// Rename lists as Brindle reads them and drops as a file manager delivers them.
namespace BrindleTestSupport {

// UTF-16LE lines joined by CR LF (and ended by one when asked).
QByteArray utf16List(const QStringList& lines, bool finalLineEnd = true);
// Sends a drag-enter and a drop of the files to the window, as a file manager's drop arrives;
// returns whether the drop was accepted.
bool dropFiles(CBrindleDlg& dialog, const QStringList& paths);
// Creates an empty file (or one with the content) in the folder.
void touch(const QString& folder, const QString& name, const QByteArray& content = QByteArray());
QStringList entries(const QString& folder);

} // namespace BrindleTestSupport
