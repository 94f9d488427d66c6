#include "platform/shell/ShortcutFile.h"

#include "platform/shell/ShellLinkBinary.h"
#include "platform/text/NativeFile.h"
#include "platform/text/NativeName.h"
#include "platform/text/RuntimeLocale.h"
#include "platform/text/TextFile.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <unistd.h>

namespace {

const QString kShortcutSuffix = QStringLiteral(".lnk");
// Shortcut files are a few hundred bytes; anything past this is not read.
constexpr qint64 kMaxShellLinkSize = 1 << 20;
constexpr int kTemporaryNameAttempts = 16;

QString fromWindowsPath(const QString& path)
{
    QString converted = path;
    converted.replace(u'\\', u'/');
    return converted;
}

// The target a Windows shortcut names here: the relative path if it exists, else the local
// path if it exists; when neither does, the first of them that can be formed.
QString shellLinkTarget(const ShellLinkBinary::Contents& contents, const QString& shortcutFolder)
{
    QStringList candidates;
    if (!contents.relativePath.isEmpty())
        candidates << QDir::cleanPath(QDir(shortcutFolder).filePath(fromWindowsPath(contents.relativePath)));
    const QString local = fromWindowsPath(contents.localBasePath);
    if (QDir::isAbsolutePath(local))
        candidates << QDir::cleanPath(local);
    for (const QString& candidate : candidates)
        if (NativeFile::exists(candidate))
            return candidate;
    return candidates.value(0);
}

// Makes the link under a fresh name beside the path, so that renaming it over the path
// replaces an existing shortcut in one step.
QString makeTemporaryLink(const QByteArray& target, const QString& path)
{
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        const QString name = QStringLiteral("%1.%2.tmp").arg(path).arg(QRandomGenerator::global()->generate(), 8, 16, QChar(u'0'));
        if (::symlink(target.constData(), NativeName::toBytes(name).constData()) == 0)
            return name;
        if (errno != EEXIST)
            break;
    }
    return {};
}

// The absolute folder of a path; the path's text is kept, whatever bytes its names are.
QString linkFolder(const QString& path)
{
    const QString absolute = QDir::isAbsolutePath(path) ? path : QDir::currentPath() + u'/' + path;
    return QDir::cleanPath(absolute.left(std::max<qsizetype>(absolute.lastIndexOf(u'/'), 1)));
}

} // namespace

bool CShortcutFile::Read(const QString& shortcutPath)
{
    ClearResults();
    m_path = shortcutPath;
    if (NativeFile::isSymbolicLink(shortcutPath))
        return ReadSymbolicLink(shortcutPath);
    if (!NativeFile::isFile(shortcutPath))
        return false;
    return ReadShellLinkFile(shortcutPath);
}

bool CShortcutFile::Create(const QString& targetPath, const QString& shortcutPath)
{
    if (targetPath.isEmpty() || shortcutPath.isEmpty())
        return false;
    const QString path = shortcutPath.endsWith(kShortcutSuffix) ? shortcutPath : shortcutPath + kShortcutSuffix;
    const QString target = QDir::cleanPath(QFileInfo(targetPath).absoluteFilePath());
    const QString temporary = makeTemporaryLink(NativeName::toBytes(target), path);
    if (temporary.isEmpty())
        return false;
    if (std::rename(NativeName::toBytes(temporary).constData(), NativeName::toBytes(path).constData()) != 0) {
        ::unlink(NativeName::toBytes(temporary).constData());
        return false;
    }
    ClearResults();
    m_path = path;
    m_targetPath = target;
    return true;
}

bool CShortcutFile::TargetExists() const
{
    return NativeFile::exists(m_targetPath);
}

bool CShortcutFile::TargetIsDirectory() const
{
    return NativeFile::isDirectory(m_targetPath);
}

void CShortcutFile::ClearResults()
{
    m_path.clear();
    m_targetPath.clear();
    m_arguments.clear();
    m_iconLocation.clear();
    m_iconIndex = 0;
}

bool CShortcutFile::ReadSymbolicLink(const QString& link)
{
    // A relative target counts from the link's folder.
    const std::optional<QString> target = NativeFile::linkTarget(link);
    if (!target || target->isEmpty())
        return false;
    m_targetPath = QDir::cleanPath(QDir::isAbsolutePath(*target) ? *target : linkFolder(link) + u'/' + *target);
    return true;
}

bool CShortcutFile::ReadShellLinkFile(const QString& path)
{
    const auto entry = NativeFile::status(path);
    const auto bytes = entry && entry->st_size <= kMaxShellLinkSize ? TextFile::readAll(path) : std::nullopt;
    const auto contents =
        bytes ? ShellLinkBinary::parse(*bytes, RuntimeLocale::current().ansiCodePage()) : std::nullopt;
    if (!contents)
        return false;
    m_targetPath = shellLinkTarget(*contents, linkFolder(path));
    m_arguments = contents->arguments;
    m_iconLocation = contents->iconLocation;
    m_iconIndex = contents->iconIndex;
    return !m_targetPath.isEmpty();
}
