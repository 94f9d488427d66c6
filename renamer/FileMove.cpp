#include "renamer/FileMove.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>

namespace FileMove {

namespace {

QByteArray pathOf(const QString& folder, const QString& name)
{
    return QFile::encodeName(folder + '/' + name);
}

bool sameEntry(const QByteArray& first, const QByteArray& second)
{
    struct stat a {};
    struct stat b {};
    return ::lstat(first.constData(), &a) == 0 && ::lstat(second.constData(), &b) == 0 && a.st_dev == b.st_dev &&
           a.st_ino == b.st_ino;
}

int plainRename(const QByteArray& from, const QByteArray& to)
{
    return std::rename(from.constData(), to.constData()) == 0 ? 0 : errno;
}

int renameKeepingTarget(const QByteArray& from, const QByteArray& to)
{
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return 0;
    const int error = errno;
    if (error == EINVAL || error == ENOSYS) {
        // A file system without the flag: look first, then rename.
        struct stat target {};
        return ::lstat(to.constData(), &target) == 0 ? EEXIST : plainRename(from, to);
    }
    // On a file system that ignores letter case the new name may be the file itself.
    if (error == EEXIST && sameEntry(from, to))
        return plainRename(from, to);
    return error;
}

} // namespace

int Rename(const QString& folder, const QString& from, const QString& to, Replace replace)
{
    const QByteArray fromPath = pathOf(folder, from);
    const QByteArray toPath = pathOf(folder, to);
    return replace == Replace::Allowed ? plainRename(fromPath, toPath) : renameKeepingTarget(fromPath, toPath);
}

bool Exists(const QString& folder, const QString& name)
{
    struct stat status {};
    return ::lstat(pathOf(folder, name).constData(), &status) == 0;
}

QString ErrorText(int error)
{
    switch (error) {
    case ENOENT: return QStringLiteral("ファイルが見つかりません");
    case ENAMETOOLONG: return QStringLiteral("名前が長すぎます");
    case EACCES:
    case EPERM: return QStringLiteral("アクセスが拒否されました");
    case EROFS: return QStringLiteral("読み取り専用のファイルシステムです");
    case EEXIST:
    case EISDIR:
    case ENOTEMPTY: return QStringLiteral("変更後の名前のフォルダーがあります");
    case ENOTDIR: return QStringLiteral("フォルダーをファイルの名前に変更できません");
    case EBUSY: return QStringLiteral("使用中です");
    case ENOSPC:
    case EDQUOT: return QStringLiteral("ディスクに空きがありません");
    default: return QString::fromLocal8Bit(std::strerror(error));
    }
}

} // namespace FileMove
