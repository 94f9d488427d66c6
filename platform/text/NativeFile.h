#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

#include <sys/stat.h>

// The file system by paths that keep every byte of their names (see NativeName): the lookups,
// listing and removal the program needs, opened by the names' own bytes, never through a lossy
// conversion.
namespace NativeFile {

// The entry at the path, following links; no value when there is none (or a dangling link).
std::optional<struct stat> status(const QString& path);
bool exists(const QString& path);
bool isFile(const QString& path);
bool isDirectory(const QString& path);
// The entry itself, a link not followed.
bool isSymbolicLink(const QString& path);
// The target a symbolic link holds, as written; no value for anything else.
std::optional<QString> linkTarget(const QString& path);
bool remove(const QString& path);
// An open file descriptor (O_CLOEXEC added), or -1.
int open(const QString& path, int flags, mode_t mode = 0);

struct Entry {
    QString name;
    bool isDirectory = false; // following a link
    bool isFile = false;      // a regular file, following a link
    bool isLink = false;
    bool isDangling = false; // a link whose target is missing
};
// The entries of a folder in the order the file system gives them, "." and ".." left out; no
// value when it cannot be read.
std::optional<std::vector<Entry>> list(const QString& folder);

} // namespace NativeFile
