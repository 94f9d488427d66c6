#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

// Finds a file by name in a folder the way a user expects on Linux: the exact name first, then
// an entry whose name matches without regard to letter case ("Song.LRC" for "song.lrc"). The
// folder's names are listed once and kept while the folder is unchanged, so asking for every
// row of a large folder does not list it again and again.
class CLyricFileFinder
{
public:
    // The first path of the name (exact spelling first, then other spellings in name order) that
    // `accept` takes; accept returns the path to report (a shortcut's target, say) or no value.
    static std::optional<QString> Find(const QString& folder, const QString& name,
                                       const std::function<std::optional<QString>(const QString& path)>& accept,
                                       bool otherSpellings = true);
    // Whether another entry of the folder has the same title (name without its last extension)
    // spelled in other letter case, entries with one of the extensions not counted.
    static bool HasOtherSpelling(const QString& folder, const QString& title, const QStringList& ignoredExtensions);

private:
    // The names of the folder's entries sorted without regard to letter case (exact order among
    // spellings of one name), and their positions sorted by title the same way: two sorted
    // lists instead of tables of folded copies, since a large folder's index is kept per thread.
    struct FolderIndex {
        QString Folder;
        qint64 ModifiedNs = -1;
        qint64 ListedMs = 0;
        std::vector<QString> Names;
        std::vector<quint32> ByTitle;
    };

    static QStringList OtherSpellings(const QString& folder, const QString& name);
    static const FolderIndex& IndexOf(const QString& folder);
};
