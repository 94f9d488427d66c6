#include "platform/shell/DesktopRegistration.h"

#include "platform/text/TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>

namespace {

// An Exec argument in double quotes as the desktop entry format wants it: '"', '`', '$' and '\'
// escaped inside the quotes, '%' doubled, then every '\' escaped once more for the string value.
QString QuotedExecArgument(const QString& argument)
{
    QString quoted;
    for (const QChar c : argument) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        quoted += c == u'%' ? QStringLiteral("%%") : QString(c);
    }
    return u'"' + quoted.replace(u'\\', QStringLiteral("\\\\")) + u'"';
}

} // namespace

namespace DesktopRegistration {

QString EntryPath(const QString& programName)
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::ApplicationsLocation);
    return folder + '/' + programName.toLower() + QStringLiteral(".desktop");
}

QString RegisteredEntry(const QString& programName, const QString& installedEntry, const QString& executablePath,
                        const QString& appId)
{
    QStringList lines = installedEntry.split(u'\n');
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    for (QString& line : lines) {
        if (!line.startsWith(QLatin1String("Exec=")))
            continue;
        const QString fieldCodes = line.section(u' ', 1);
        line = QStringLiteral("Exec=") + QuotedExecArgument(executablePath) +
               (fieldCodes.isEmpty() ? QString() : u' ' + fieldCodes);
    }
    lines.append(QStringLiteral("X-%1-AppID=%2").arg(programName, appId));
    return lines.join(u'\n') + u'\n';
}

bool Install(const QString& programName, const QString& installedEntry, const QString& executablePath,
             const QString& appId)
{
    const QString path = EntryPath(programName);
    QDir().mkpath(QFileInfo(path).absolutePath());
    return TextFile::writeAtomically(path, RegisteredEntry(programName, installedEntry, executablePath, appId).toUtf8());
}

bool Remove(const QString& programName)
{
    const QString path = EntryPath(programName);
    return !QFile::exists(path) || QFile::remove(path);
}

} // namespace DesktopRegistration
