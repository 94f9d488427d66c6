#include "platform/shell/FileNameCase.h"

#include <QFile>

#include <dirent.h>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace FileNameCase {

namespace {

// Magic numbers of statfs's f_type.
constexpr unsigned long kMsdos = 0x4d44;           // vfat, msdos
constexpr unsigned long kExfat = 0x2011bab0;
constexpr unsigned long kNtfs = 0x5346544e;        // ntfs (the old driver)
constexpr unsigned long kNtfs3 = 0x7366746e;
constexpr unsigned long kCifs = 0xff534d42;
constexpr unsigned long kSmb2 = 0xfe534d42;
constexpr unsigned long kHfsPlus = 0x482b;
constexpr unsigned long kExt = 0xef53;             // ext2, ext3, ext4
constexpr unsigned long kF2fs = 0xf2f52010;
constexpr unsigned long kXfs = 0x58465342;
constexpr unsigned long kBtrfs = 0x9123683e;
constexpr unsigned long kTmpfs = 0x01021994;
constexpr unsigned long kZfs = 0x2fc12fc1;
constexpr unsigned long kBcachefs = 0xca451a4e;
constexpr unsigned int kCasefoldFlag = 0x40000000;  // FS_CASEFOLD_FL

Detector& detector()
{
    static Detector installed;
    return installed;
}

bool hasCasefoldFlag(int folder)
{
    unsigned int flags = 0;
    return ::ioctl(folder, FS_IOC_GETFLAGS, &flags) == 0 && (flags & kCasefoldFlag) != 0;
}

// A name of the folder with its letters' case swapped, or nothing when it has no ASCII letter.
QByteArray swappedCase(const char* name)
{
    QByteArray swapped(name);
    bool changed = false;
    for (char& c : swapped) {
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
        else if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
        else
            continue;
        changed = true;
    }
    return changed ? swapped : QByteArray();
}

// An entry found again under its name in the other case, as the same file, shows that the
// folder folds case; one that is not found shows it does not. A folder without a name that has
// letters tells nothing: then `otherwise`.
bool probeFoldsCase(int folder, bool otherwise)
{
    const int listing = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* entries = listing >= 0 ? ::fdopendir(listing) : nullptr;
    if (!entries) {
        if (listing >= 0)
            ::close(listing);
        return otherwise;
    }
    bool folds = otherwise;
    for (int looked = 0; looked < 64; ++looked) {
        const dirent* entry = ::readdir(entries);
        if (!entry)
            break;
        const QByteArray swapped = swappedCase(entry->d_name);
        if (swapped.isEmpty())
            continue;
        struct stat original {};
        struct stat other {};
        folds = ::fstatat(folder, entry->d_name, &original, AT_SYMLINK_NOFOLLOW) == 0 &&
                ::fstatat(folder, swapped.constData(), &other, AT_SYMLINK_NOFOLLOW) == 0 &&
                original.st_ino == other.st_ino && original.st_dev == other.st_dev;
        break;
    }
    ::closedir(entries);
    return folds;
}

bool fileSystemFoldsCase(const QString& path)
{
    const int folder = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0)
        return false;
    struct statfs system {};
    bool folds = false;
    if (::fstatfs(folder, &system) == 0) {
        switch (static_cast<unsigned long>(system.f_type) & 0xffffffffUL) {
        case kMsdos:
        case kExfat: folds = true; break;
        // Folding unless mounted (or formatted) to keep case apart.
        case kNtfs:
        case kNtfs3:
        case kCifs:
        case kSmb2:
        case kHfsPlus: folds = probeFoldsCase(folder, true); break;
        case kExt:
        case kF2fs: folds = hasCasefoldFlag(folder); break;
        case kXfs:
        case kBtrfs:
        case kTmpfs:
        case kZfs:
        case kBcachefs: folds = false; break;
        // FUSE (ntfs-3g among others), NFS, overlays and the rest.
        default: folds = probeFoldsCase(folder, false); break;
        }
    }
    ::close(folder);
    return folds;
}

} // namespace

bool FolderFoldsCase(const QString& folder)
{
    if (detector())
        return detector()(folder);
    return !folder.isEmpty() && fileSystemFoldsCase(folder);
}

Detector SetDetector(Detector replacement)
{
    Detector previous = std::move(detector());
    detector() = std::move(replacement);
    return previous;
}

} // namespace FileNameCase
