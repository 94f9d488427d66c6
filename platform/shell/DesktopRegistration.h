#pragma once

#include <QString>

// Registration of a program with the desktop: a desktop entry in the user's applications folder,
// standing in for the registry keys a component server wrote on Windows.
namespace DesktopRegistration {

// The entry's path for the program: <applications folder>/<program>.desktop.
QString EntryPath(const QString& programName);
// Writes the program's installed desktop entry (its text given) with the Exec key's program
// replaced by the executable's absolute path, field codes kept, and the application id in a key
// of its own, so that the registered entry and the installed one agree.
bool Install(const QString& programName, const QString& installedEntry, const QString& executablePath,
             const QString& appId);
// The entry Install writes.
QString RegisteredEntry(const QString& programName, const QString& installedEntry, const QString& executablePath,
                        const QString& appId);
// Removes the entry; true when none is left.
bool Remove(const QString& programName);

} // namespace DesktopRegistration
