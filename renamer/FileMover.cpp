#include "renamer/FileMover.h"

#include "common/ui/Ui.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

CFileMover::CFileMover(const QString& folder)
{
    m_openError = ENOENT;
    if (folder.isEmpty() || !QDir::isAbsolutePath(folder))
        return;
    m_folder = ::open(QFile::encodeName(folder).constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    m_openError = m_folder < 0 ? errno : 0;
}

CFileMover::~CFileMover()
{
    if (m_folder >= 0)
        ::close(m_folder);
}

namespace {

// QFile::encodeName's bytes (UTF-8), without a new array for each name.
const char* encodeInto(QByteArray& bytes, const QString& name)
{
    bytes.resize(name.size() * 3 + 1);
    QStringEncoder toUtf8(QStringConverter::Utf8);
    *toUtf8.appendToBuffer(bytes.data(), name) = '\0';
    return bytes.constData();
}

} // namespace

int CFileMover::Rename(const QString& from, const QString& to, Replace replace) const
{
    if (m_folder < 0)
        return m_openError;
    const char* const fromName = encodeInto(m_fromName, from);
    const char* const toName = encodeInto(m_toName, to);
    if (replace == Replace::Never)
        return RenameKeepingTarget(fromName, toName);
    return ::renameat(m_folder, fromName, m_folder, toName) == 0 ? 0 : errno;
}

int CFileMover::RenameKeepingTarget(const char* from, const char* to) const
{
    if (::renameat2(m_folder, from, m_folder, to, RENAME_NOREPLACE) == 0)
        return 0;
    const int error = errno;
    if (error == EINVAL || error == ENOSYS) {
        // A file system without the flag: look first, then rename.
        struct stat target {};
        if (::fstatat(m_folder, to, &target, AT_SYMLINK_NOFOLLOW) == 0)
            return EEXIST;
        return ::renameat(m_folder, from, m_folder, to) == 0 ? 0 : errno;
    }
    // On a file system that ignores letter case the new name may be the file itself.
    if (error == EEXIST && SameEntry(from, to))
        return ::renameat(m_folder, from, m_folder, to) == 0 ? 0 : errno;
    return error;
}

bool CFileMover::SameEntry(const char* first, const char* second) const
{
    struct stat a {};
    struct stat b {};
    return ::fstatat(m_folder, first, &a, AT_SYMLINK_NOFOLLOW) == 0 &&
           ::fstatat(m_folder, second, &b, AT_SYMLINK_NOFOLLOW) == 0 && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

QString CFileMover::ErrorText(int error)
{
    switch (error) {
    case ENOENT:
        return Ui::tr("ファイルが見つかりません");
    case ENAMETOOLONG:
        return Ui::tr("名前が長すぎます");
    case EACCES:
    case EPERM:
        return Ui::tr("アクセスが拒否されました");
    case EROFS:
        return Ui::tr("読み取り専用のファイルシステムです");
    case EEXIST:
    case EISDIR:
    case ENOTEMPTY:
        return Ui::tr("変更後の名前のフォルダーがあります");
    case ENOTDIR:
        return Ui::tr("フォルダーをファイルの名前に変更できません");
    case EBUSY:
        return Ui::tr("使用中です");
    case ENOSPC:
    case EDQUOT:
        return Ui::tr("ディスクに空きがありません");
    default: return QString::fromLocal8Bit(std::strerror(error));
    }
}
