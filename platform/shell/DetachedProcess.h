#pragma once

#include <QString>
#include <QStringList>

// Starts a program on its own, never through a shell, with arguments that keep the bytes of file
// names that are not UTF-8 (see NativeName): QProcess would re-encode them and name another file.
namespace DetachedProcess {

// The program is looked up in PATH unless it holds a "/". False when it cannot be found or run.
bool Start(const QString& program, const QStringList& arguments);

} // namespace DetachedProcess
