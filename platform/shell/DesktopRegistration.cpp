#include "platform/shell/DesktopRegistration.h"

#include "platform/text/TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace DesktopRegistration {

QString EntryPath(const QString& programName)
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::ApplicationsLocation);
    return folder + '/' + programName.toLower() + QStringLiteral(".desktop");
}

bool Install(const QString& programName, const QString& executablePath, const QString& appId)
{
    const QString path = EntryPath(programName);
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QString entry = QStringLiteral("[Desktop Entry]\n"
                                         "Type=Application\n"
                                         "Name=%1\n"
                                         "Exec=\"%2\"\n"
                                         "Icon=%3\n"
                                         "Categories=AudioVideo;Audio;Player;\n"
                                         "Terminal=false\n"
                                         "X-%1-AppID=%4\n")
                              .arg(programName, executablePath, programName.toLower(), appId);
    return TextFile::writeAtomically(path, entry.toUtf8());
}

bool Remove(const QString& programName)
{
    const QString path = EntryPath(programName);
    return !QFile::exists(path) || QFile::remove(path);
}

} // namespace DesktopRegistration
