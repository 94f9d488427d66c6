#include "platform/profile/Profile.h"

#include "platform/profile/IniFile.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

struct ApplicationProfile {
    IniFile file;
    QString fallbackPath;
};

ApplicationProfile& profile()
{
    static ApplicationProfile instance;
    return instance;
}

bool isWritableFolder(const QString& folder)
{
    const QFileInfo info(folder);
    return info.isDir() && info.isWritable();
}

} // namespace

namespace Profile {

QString userConfigPath(const QString& programName, const QString& fileName)
{
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return base + '/' + programName + '/' + fileName;
}

QString locateBesideExecutable(const QString& executablePath, const QString& fileName)
{
    const QFileInfo executable(executablePath);
    const QString folder = executable.absolutePath();
    if (isWritableFolder(folder))
        return folder + '/' + fileName;
    return userConfigPath(executable.completeBaseName(), fileName);
}

void setPath(const QString& path, const QString& fallbackPath)
{
    profile().file.load(path);
    profile().fallbackPath = fallbackPath;
}

QString path()
{
    return profile().file.path();
}

} // namespace Profile

bool ProfileHasKey(const QString& section, const QString& key)
{
    return profile().file.value(section, key).has_value();
}

int GetProfileInt(const QString& section, const QString& key, int defaultValue)
{
    return profile().file.integer(section, key, defaultValue);
}

QString GetProfileString(const QString& section, const QString& key, const QString& defaultValue)
{
    return profile().file.string(section, key, defaultValue);
}

bool WriteProfileString(const QString& section, const QString& key, const QString& value)
{
    // Refused before anything is written, so the profile does not move to the fallback path.
    if (!IniFile::canStore(section, key, value))
        return false;
    auto& current = profile();
    if (current.file.setValue(section, key, value))
        return true;
    if (current.fallbackPath.isEmpty() || current.fallbackPath == current.file.path())
        return false;
    QDir().mkpath(QFileInfo(current.fallbackPath).absolutePath());
    return current.file.saveAs(current.fallbackPath);
}

bool WriteProfileInt(const QString& section, const QString& key, int value)
{
    return WriteProfileString(section, key, QString::number(value));
}
