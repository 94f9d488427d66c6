// The shown folder kept live: files another program adds, removes or renames there appear in or
// vanish from the list, the rest of the rows (and the playing item, by identity) untouched;
// its subfolders follow in the tree. The playing file renamed stays the playing item, under its
// new name.

#include "player/library/TrackLibrary.h"

#include "player/library/FolderTree.h"
#include "player/library/FolderWatch.h"

#include "platform/engine/Player.h"
#include "platform/text/NativeFile.h"

#include <QHash>
#include <QSet>

namespace {

// Directly in the folder (which ends with "/"), not in a folder below it.
bool isDirectlyIn(const QString& url, const QString& folder)
{
    return url.startsWith(folder) && url.indexOf(u'/', folder.size()) < 0;
}

} // namespace

void CTrackLibrary::NotePlayingFile()
{
    const MediaPtr media = m_player.currentMedia();
    const QString url = media ? media->sourceURL() : QString();
    if (url == m_playingFile.url)
        return;
    const auto status = url.isEmpty() ? std::nullopt : NativeFile::status(url);
    m_playingFile = {url, status ? status->st_dev : 0, status ? status->st_ino : 0};
}

bool CTrackLibrary::FollowRenamedPlayingFile(Playlist& playlist, const Playlist& scanned,
                                             const QHash<QString, int>& remaining)
{
    const MediaPtr playing = m_player.currentMedia();
    const int index = playing ? playlist.indexOf(playing) : -1;
    if (index < 0 || playing->sourceURL() != m_playingFile.url || m_playingFile.inode == 0 ||
        remaining.value(m_playingFile.url) > 0)
        return false; // not playing from here, or still there under its name
    QSet<QString> listed;
    for (int i = 0; i < playlist.count(); ++i)
        listed.insert(playlist.item(i)->sourceURL());
    for (int i = 0; i < scanned.count(); ++i) {
        const QString url = scanned.item(i)->sourceURL();
        if (listed.contains(url))
            continue;
        const auto status = NativeFile::status(url);
        if (status && status->st_dev == m_playingFile.device && status->st_ino == m_playingFile.inode) {
            playlist.renameItem(index, url);
            m_playingFile.url = url;
            return true;
        }
    }
    return false;
}

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
    const MediaPtr playing = m_player.currentMedia();
    const bool renamed = FollowRenamedPlayingFile(*playlist, scanned, remaining);
    bool changed = renamed;
    for (int i = playlist->count() - 1; i >= 0; --i) {
        const QString url = playlist->item(i)->sourceURL();
        if (!isDirectlyIn(url, folder))
            continue; // from a shortcut or an m3u list
        if (remaining.value(url) > 0) {
            --remaining[url];
            if (records && renamed && playlist->item(i) == playing)
                ReadRecordTags(*records->at(i), *playing); // renamed: its record under the new name
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
