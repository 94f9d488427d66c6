#include "player/karaoke/LyricFileFinder.h"

#include "platform/text/NativeFile.h"

#include <QDateTime>

#include <algorithm>
#include <numeric>

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

// The name without its last extension, and that extension.
QStringView titleOf(QStringView name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? name : name.left(dot);
}

QStringView extensionOf(QStringView name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? QStringView() : name.sliced(dot + 1);
}

// Qt's case-insensitive comparison folds each character as QString::toCaseFolded does.
bool foldedLess(QStringView a, QStringView b)
{
    return a.compare(b, Qt::CaseInsensitive) < 0;
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
    const std::vector<QString>& names = IndexOf(folder).Names;
    const auto [first, last] = std::equal_range(names.begin(), names.end(), name,
                                                [](const QString& a, const QString& b) { return foldedLess(a, b); });
    QStringList spellings;
    for (auto it = first; it != last; ++it)
        if (*it != name)
            spellings.append(*it);
    return spellings;
}

bool CLyricFileFinder::HasOtherSpelling(const QString& folder, const QString& title,
                                        const QStringList& ignoredExtensions)
{
    const FolderIndex& index = IndexOf(folder);
    const auto titleAt = [&index](quint32 position) { return titleOf(index.Names[position]); };
    const auto before = [&titleAt](quint32 position, const QString& t) { return foldedLess(titleAt(position), t); };
    const auto after = [&titleAt](const QString& t, quint32 position) { return foldedLess(t, titleAt(position)); };
    const auto first = std::lower_bound(index.ByTitle.begin(), index.ByTitle.end(), title, before);
    const auto last = std::upper_bound(first, index.ByTitle.end(), title, after);
    for (auto it = first; it != last; ++it)
        if (titleAt(*it) != title &&
            !ignoredExtensions.contains(extensionOf(index.Names[*it]).toString(), Qt::CaseInsensitive))
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
    index.Names.reserve(entries.size());
    for (NativeFile::Entry& entry : entries)
        index.Names.push_back(std::move(entry.name));
    entries = {};
    // Other spellings are tried in name order.
    std::sort(index.Names.begin(), index.Names.end(), [](const QString& a, const QString& b) {
        const int folded = a.compare(b, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : a < b;
    });
    index.ByTitle.resize(index.Names.size());
    std::iota(index.ByTitle.begin(), index.ByTitle.end(), quint32(0));
    std::stable_sort(index.ByTitle.begin(), index.ByTitle.end(), [](quint32 a, quint32 b) {
        return foldedLess(titleOf(index.Names[a]), titleOf(index.Names[b]));
    });
    return index;
}
