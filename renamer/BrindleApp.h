#pragma once

#include "common/ui/PathParts.h"

// Brindle as a program: its profile file, its strings, version values and icon, and the main
// window run modally for the whole life of the program.
class CBrindleApp
{
public:
    explicit CBrindleApp(const QString& executablePath);

    // Registers strings, version values and icon and makes the profile file the application's.
    void InitInstance();
    // Runs the main window until it closes, with the program's arguments; the exit code.
    int Run();
    // The same with the arguments given: one argument is a rename list, opened as a drop of
    // that file would open it. SIGTERM and SIGHUP close the window the normal way.
    int Run(const QStringList& arguments);

    const CPathParts& ExecutableParts() const { return m_executable; }
    // "<folder>/<name>.ini" beside the executable when that folder can be written, else in the
    // user's configuration folder.
    QString ProfilePath() const;
    QString FallbackProfilePath() const;

private:
    CPathParts m_executable;
};
