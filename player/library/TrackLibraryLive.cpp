// The shown folder kept live: files another program adds, removes or renames there appear in or
// vanish from the list, the rest of the rows (and the playing item, by identity) untouched;
// its subfolders follow in the tree.

#include "player/library/TrackLibrary.h"

#include "player/library/FolderTree.h"
#include "player/library/FolderWatch.h"

#include "platform/engine/Player.h"

#include <QHash>

namespace {

// Directly in the folder (which ends with "/"), not in a folder below it.
bool isDirectlyIn(const QString& url, const QString& folder)
{
    return url.startsWith(folder) && url.indexOf(u'/', folder.size()) < 0;
}

} // namespace

void CTrackLibrary::WatchListedFolder()
{
    m_folderWatch->Watch(m_listedSlot == DiscSlot ? QString() : m_listedFolder);
}

void CTrackLibrary::OnListedFolderChanged()
{
    if (m_listedFolder.isEmpty() || m_listedSlot == DiscSlot)
        return;
    m_tree.SyncChildren(m_listedFolder);
    int slot = -1;
    PlaylistPtr playlist;
    ListedPlaylist(slot, playlist);
    if (!playlist)
        return;
    const QString folder = m_listedFolder.endsWith(u'/') ? m_listedFolder : m_listedFolder + u'/';
    Playlist scanned(QStringLiteral("scan"));
    ScanFolderFiles(folder, scanned);
    QHash<QString, int> remaining; // the files still there, each as often as the scan lists it
    for (int i = 0; i < scanned.count(); ++i)
        ++remaining[scanned.item(i)->sourceURL()];

    const MediaPtr selected = SelectedItem();
    CTagRecordChain* records = slot == 0 || slot == 1 ? &m_records[size_t(slot)] : nullptr;
    bool changed = false;
    for (int i = playlist->count() - 1; i >= 0; --i) {
        const QString url = playlist->item(i)->sourceURL();
        if (!isDirectlyIn(url, folder))
            continue; // from a shortcut or an m3u list
        if (remaining.value(url) > 0) {
            --remaining[url];
            continue;
        }
        playlist->removeItem(i);
        if (records)
            records->remove(i);
        changed = true;
    }
    for (int i = 0; i < scanned.count(); ++i) {
        const MediaPtr item = scanned.item(i);
        int& left = remaining[item->sourceURL()];
        if (left <= 0)
            continue;
        --left;
        playlist->appendItem(item);
        if (records)
            ReadRecordTags(records->append(), *item);
        changed = true;
    }
    // Lyric files come and go too: the marks are looked for again even when no track changed.
    const int count = playlist->count();
    const bool sorted = !changed || SortSlot(slot, playlist.get(), count, m_settings.SortColumn);
    RefillKeepingView(slot, playlist, count, selected);
    if (!sorted)
        SortWhenRead(m_settings.SortColumn, false);
    emit ListedFolderUpdated();
}
