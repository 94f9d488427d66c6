#include "player/karaoke/LyricFileFinder.h"

#include "common/ui/PathParts.h"
#include "platform/text/NativeFile.h"

#include <QDateTime>

#include <algorithm>

namespace {

// A listing older than this is not trusted even when the folder's time is the same: some file
// systems keep times to the second or coarser.
constexpr qint64 kIndexLifetimeMs = 2000;

qint64 modifiedNs(const QString& folder)
{
    const auto status = NativeFile::status(folder);
    if (!status)
        return -1;
    return qint64(status->st_mtim.tv_sec) * 1000000000 + status->st_mtim.tv_nsec;
}

QString joined(const QString& folder, const QString& name)
{
    return folder.isEmpty() ? name : folder.endsWith(u'/') ? folder + name : folder + u'/' + name;
}

} // namespace

std::optional<QString> CLyricFileFinder::Find(const QString& folder, const QString& name,
                                              const std::function<std::optional<QString>(const QString&)>& accept,
                                              bool otherSpellings)
{
    if (auto found = accept(joined(folder, name)))
        return found;
    if (!otherSpellings)
        return std::nullopt;
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

bool CLyricFileFinder::HasOtherSpelling(const QString& folder, const QString& title,
                                        const QStringList& ignoredExtensions)
{
    for (const auto& [spelling, extension] : IndexOf(folder).Titles.value(title.toCaseFolded()))
        if (spelling != title && !ignoredExtensions.contains(extension, Qt::CaseInsensitive))
            return true;
    return false;
}

const CLyricFileFinder::FolderIndex& CLyricFileFinder::IndexOf(const QString& folder)
{
    thread_local FolderIndex index;
    const qint64 modified = modifiedNs(folder.isEmpty() ? QStringLiteral(".") : folder);
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (index.Folder == folder && index.ModifiedNs == modified && modified >= 0 && now - index.ListedMs < kIndexLifetimeMs)
        return index;
    index = FolderIndex{folder, modified, now, {}, {}};
    std::vector<NativeFile::Entry> entries = NativeFile::list(folder).value_or(std::vector<NativeFile::Entry>());
    // Other spellings are tried in name order.
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
    for (const NativeFile::Entry& entry : entries) {
        index.Names[entry.name.toCaseFolded()].append(entry.name);
        const CPathParts parts(entry.name);
        index.Titles[parts.Title.toCaseFolded()].append({parts.Title, parts.Extension});
    }
    return index;
}
