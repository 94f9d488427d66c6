#pragma once

#include <QString>

// Renames inside one folder with rename(2), by names that are plain file names.
namespace FileMove {

enum class Replace { Never, Allowed };

// 0 when the file now has the new name, else the error number. Replace::Never keeps an entry
// that holds the new name and gives EEXIST, even one that appeared a moment ago.
int Rename(const QString& folder, const QString& from, const QString& to, Replace replace);
// Whether the folder holds an entry of exactly that name (a dangling link counts).
bool Exists(const QString& folder, const QString& name);
// Why a rename failed, for the summary.
QString ErrorText(int error);

} // namespace FileMove
