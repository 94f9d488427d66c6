#pragma once

#include <QString>

// The application's profile: the framework's GetProfileInt / GetProfileString /
// WriteProfileInt / WriteProfileString over one INI file per program.
namespace Profile {

// Where a program keeps a file of its own (its INI file, CodePage.txt): beside the executable
// when that folder can be written (portable use), else the user's configuration folder.
QString locateBesideExecutable(const QString& executablePath, const QString& fileName);
// The user's configuration folder for the program: $XDG_CONFIG_HOME/<program>/<fileName>.
QString userConfigPath(const QString& programName, const QString& fileName);

// Makes the file the application's profile. When a write to it fails, the whole profile moves
// to the fallback path, so no setting is lost.
void setPath(const QString& path, const QString& fallbackPath = QString());
QString path();

} // namespace Profile

// Whether the key is present at all (a present empty value counts).
bool ProfileHasKey(const QString& section, const QString& key);
int GetProfileInt(const QString& section, const QString& key, int defaultValue);
QString GetProfileString(const QString& section, const QString& key, const QString& defaultValue);
bool WriteProfileInt(const QString& section, const QString& key, int value);
// False, with nothing written, for a value holding a line break (it would add lines of its own).
bool WriteProfileString(const QString& section, const QString& key, const QString& value);
