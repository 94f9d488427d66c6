#include "platform/shell/ShortcutFile.h"

#include "platform/shell/ShellLinkBinary.h"
#include "platform/text/RuntimeLocale.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

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
        if (QFileInfo::exists(candidate))
            return candidate;
    return candidates.value(0);
}

// Makes the link under a fresh name beside the path, so that renaming it over the path
// replaces an existing shortcut in one step.
QString makeTemporaryLink(const QByteArray& target, const QString& path)
{
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        const QString name = QStringLiteral("%1.%2.tmp").arg(path).arg(QRandomGenerator::global()->generate(), 8, 16, QChar(u'0'));
        if (::symlink(target.constData(), QFile::encodeName(name).constData()) == 0)
            return name;
        if (errno != EEXIST)
            break;
    }
    return {};
}

} // namespace

bool CShortcutFile::Read(const QString& shortcutPath)
{
    ClearResults();
    m_path = shortcutPath;
    const QFileInfo info(shortcutPath);
    if (info.isSymLink())
        return ReadSymbolicLink(info);
    if (!info.isFile())
        return false;
    return ReadShellLinkFile(shortcutPath);
}

bool CShortcutFile::Create(const QString& targetPath, const QString& shortcutPath)
{
    if (targetPath.isEmpty() || shortcutPath.isEmpty())
        return false;
    const QString path = shortcutPath.endsWith(kShortcutSuffix) ? shortcutPath : shortcutPath + kShortcutSuffix;
    const QString target = QDir::cleanPath(QFileInfo(targetPath).absoluteFilePath());
    const QString temporary = makeTemporaryLink(QFile::encodeName(target), path);
    if (temporary.isEmpty())
        return false;
    if (std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(path).constData()) != 0) {
        ::unlink(QFile::encodeName(temporary).constData());
        return false;
    }
    ClearResults();
    m_path = path;
    m_targetPath = target;
    return true;
}

bool CShortcutFile::TargetExists() const
{
    return !m_targetPath.isEmpty() && QFileInfo::exists(m_targetPath);
}

bool CShortcutFile::TargetIsDirectory() const
{
    return !m_targetPath.isEmpty() && QFileInfo(m_targetPath).isDir();
}

void CShortcutFile::ClearResults()
{
    m_path.clear();
    m_targetPath.clear();
    m_arguments.clear();
    m_iconLocation.clear();
    m_iconIndex = 0;
}

bool CShortcutFile::ReadSymbolicLink(const QFileInfo& link)
{
    m_targetPath = link.symLinkTarget();
    return !m_targetPath.isEmpty();
}

bool CShortcutFile::ReadShellLinkFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.read(kMaxShellLinkSize);
    const auto contents = ShellLinkBinary::parse(bytes, RuntimeLocale::current().ansiCodePage());
    if (!contents)
        return false;
    m_targetPath = shellLinkTarget(*contents, QFileInfo(path).absolutePath());
    m_arguments = contents->arguments;
    m_iconLocation = contents->iconLocation;
    m_iconIndex = contents->iconIndex;
    return !m_targetPath.isEmpty();
}
