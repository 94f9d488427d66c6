#include "platform/text/NativeFile.h"

#include "platform/text/NativeName.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace NativeFile {

std::optional<struct stat> status(const QString& path)
{
    struct stat entry = {};
    if (path.isEmpty() || ::stat(NativeName::toBytes(path).constData(), &entry) != 0)
        return std::nullopt;
    return entry;
}

bool exists(const QString& path)
{
    return status(path).has_value();
}

bool isFile(const QString& path)
{
    const auto entry = status(path);
    return entry && S_ISREG(entry->st_mode);
}

bool isDirectory(const QString& path)
{
    const auto entry = status(path);
    return entry && S_ISDIR(entry->st_mode);
}

bool isSymbolicLink(const QString& path)
{
    struct stat entry = {};
    return !path.isEmpty() && ::lstat(NativeName::toBytes(path).constData(), &entry) == 0 && S_ISLNK(entry.st_mode);
}

std::optional<QString> linkTarget(const QString& path)
{
    QByteArray target(4096, Qt::Uninitialized);
    const ssize_t length = ::readlink(NativeName::toBytes(path).constData(), target.data(), size_t(target.size()));
    if (length < 0 || length >= target.size())
        return std::nullopt;
    target.truncate(length);
    return NativeName::fromBytes(target);
}

bool remove(const QString& path)
{
    return !path.isEmpty() && ::unlink(NativeName::toBytes(path).constData()) == 0;
}

int open(const QString& path, int flags, mode_t mode)
{
    int descriptor = -1;
    do
        descriptor = ::open(NativeName::toBytes(path).constData(), flags | O_CLOEXEC, mode);
    while (descriptor < 0 && errno == EINTR);
    return descriptor;
}

std::optional<std::vector<Entry>> list(const QString& folder)
{
    DIR* directory = ::opendir(NativeName::toBytes(folder.isEmpty() ? QStringLiteral(".") : folder).constData());
    if (!directory)
        return std::nullopt;
    const int folderDescriptor = ::dirfd(directory);
    std::vector<Entry> entries;
    while (const dirent* found = ::readdir(directory)) {
        const QByteArrayView name(found->d_name);
        if (name == "." || name == "..")
            continue;
        Entry entry{NativeName::fromBytes(name)};
        entry.isDirectory = found->d_type == DT_DIR;
        entry.isFile = found->d_type == DT_REG;
        entry.isLink = found->d_type == DT_LNK;
        // The kind is not always in the entry, and a link's is its target's.
        if (found->d_type == DT_UNKNOWN || entry.isLink) {
            struct stat target = {};
            if (found->d_type == DT_UNKNOWN &&
                ::fstatat(folderDescriptor, found->d_name, &target, AT_SYMLINK_NOFOLLOW) == 0)
                entry.isLink = S_ISLNK(target.st_mode);
            if (::fstatat(folderDescriptor, found->d_name, &target, 0) == 0) {
                entry.isDirectory = S_ISDIR(target.st_mode);
                entry.isFile = S_ISREG(target.st_mode);
            } else {
                entry.isDangling = entry.isLink;
            }
        }
        entries.push_back(std::move(entry));
    }
    ::closedir(directory);
    return entries;
}

} // namespace NativeFile
