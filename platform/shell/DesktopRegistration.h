#pragma once

#include <QString>

// Registration of a program with the desktop: a desktop entry in the user's applications folder,
// standing in for the registry keys a component server wrote on Windows.
namespace DesktopRegistration {

// The entry's path for the program: <applications folder>/<program>.desktop.
QString EntryPath(const QString& programName);
// Writes the entry; the application id goes into a key of its own.
bool Install(const QString& programName, const QString& executablePath, const QString& appId);
// Removes the entry; true when none is left.
bool Remove(const QString& programName);

} // namespace DesktopRegistration
