#include "platform/text/TextFile.h"

#include "platform/text/CodePage.h"
#include "platform/text/NativeFile.h"
#include "platform/text/NativeName.h"

#include <QFile>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// What a newly created file gets: read and write for all, less the process's mask.
mode_t newFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

namespace TextFile {

QStringList splitLines(const QByteArray& bytes, int codePage)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype size = bytes.size();
    while (start < size) {
        qsizetype end = bytes.indexOf('\n', start);
        const qsizetype next = end < 0 ? size : end + 1;
        if (end < 0)
            end = size;
        qsizetype length = end - start;
        if (length > 0 && bytes[start + length - 1] == '\r' && end < size)
            --length;
        lines.append(CodePage::toUnicode(bytes.constData() + start, length, codePage));
        start = next;
    }
    return lines;
}

std::optional<QByteArray> readAll(const QString& path)
{
    const int descriptor = NativeFile::open(path, O_RDONLY | O_NONBLOCK);
    if (descriptor < 0)
        return std::nullopt;
    QFile file;
    struct stat entry = {};
    // A folder opens for reading but is no text; a FIFO would block.
    if (::fstat(descriptor, &entry) != 0 || S_ISDIR(entry.st_mode) || S_ISFIFO(entry.st_mode) ||
        !file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(descriptor);
        return std::nullopt;
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

std::optional<QStringList> readLines(const QString& path, int codePage)
{
    const auto bytes = readAll(path);
    if (!bytes)
        return std::nullopt;
    return splitLines(*bytes, codePage);
}

bool writeAtomically(const QString& path, const QByteArray& bytes)
{
    // A link is saved through: its target gets the new text, the link stays.
    QByteArray target = NativeName::toBytes(path);
    if (char* resolved = NativeFile::isSymbolicLink(path) ? ::realpath(target.constData(), nullptr) : nullptr) {
        target = resolved;
        std::free(resolved);
    }
    QByteArray temporary = target + ".sonavel-XXXXXX";
    const int descriptor = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (descriptor < 0)
        return false;
    struct stat old = {};
    const mode_t mode = ::stat(target.constData(), &old) == 0 ? old.st_mode & 07777 : newFileMode();
    bool written = ::fchmod(descriptor, mode) == 0;
    for (qsizetype done = 0; written && done < bytes.size();) {
        const ssize_t count = ::write(descriptor, bytes.constData() + done, size_t(bytes.size() - done));
        if (count < 0 && errno == EINTR)
            continue;
        written = count > 0;
        done += written ? count : 0;
    }
    written = written && ::fsync(descriptor) == 0;
    written = ::close(descriptor) == 0 && written;
    if (written && ::rename(temporary.constData(), target.constData()) == 0)
        return true;
    ::unlink(temporary.constData());
    return false;
}

} // namespace TextFile
