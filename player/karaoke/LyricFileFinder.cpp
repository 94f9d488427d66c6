#include "player/karaoke/LyricFileFinder.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

#include <sys/stat.h>

namespace {

// A listing older than this is not trusted even when the folder's time is the same: some file
// systems keep times to the second or coarser.
constexpr qint64 kIndexLifetimeMs = 2000;

qint64 modifiedNs(const QString& folder)
{
    struct stat status {};
    if (::stat(QFile::encodeName(folder).constData(), &status) != 0)
        return -1;
    return qint64(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
}

QString joined(const QString& folder, const QString& name)
{
    return folder.isEmpty() ? name : folder.endsWith(u'/') ? folder + name : folder + u'/' + name;
}

} // namespace

std::optional<QString> CLyricFileFinder::Find(const QString& folder, const QString& name,
                                              const std::function<std::optional<QString>(const QString&)>& accept)
{
    if (auto found = accept(joined(folder, name)))
        return found;
    for (const QString& spelling : OtherSpellings(folder, name))
        if (auto found = accept(joined(folder, spelling)))
            return found;
    return std::nullopt;
}

QStringList CLyricFileFinder::OtherSpellings(const QString& folder, const QString& name)
{
    QStringList names = IndexOf(folder).Names.value(name.toCaseFolded());
    names.removeAll(name);
    return names;
}

const CLyricFileFinder::FolderIndex& CLyricFileFinder::IndexOf(const QString& folder)
{
    thread_local FolderIndex index;
    const qint64 modified = modifiedNs(folder.isEmpty() ? QStringLiteral(".") : folder);
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (index.Folder == folder && index.ModifiedNs == modified && modified >= 0 && now - index.ListedMs < kIndexLifetimeMs)
        return index;
    index = FolderIndex{folder, modified, now, {}};
    const QStringList entries = QDir(folder.isEmpty() ? QStringLiteral(".") : folder)
                                    .entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& entry : entries)
        index.Names[entry.toCaseFolded()].append(entry);
    return index;
}
