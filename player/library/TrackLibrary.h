#pragma once

#include "player/library/ScanSettings.h"
#include "player/library/TagRecordChain.h"

#include "platform/engine/Playlist.h"

#include <QHash>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>

#include <array>
#include <optional>
#include <vector>

class CFolderTree;
class CFolderWatch;
class CListedAttributes;
class CListedMarks;
class CTrackItem;
class CTrackListCtrl;
class Player;
class QLabel;
class QTreeWidgetItem;
class QWidget;

// The track list's work for the main window: scanning the tree's selected folder into one of the
// engine's folder playlists ("SonavelPlayList" slots 0 and 1) or taking a disc's playlist (slot
// 2), reading tags, sorting the playlist itself, filling the list, switching the playing playlist,
// the now-playing texts and dragging a row onto the tree to make a shortcut.
class CTrackLibrary : public QObject
{
    Q_OBJECT
public:
    static constexpr int DiscSlot = 2;
    static const QString PlaylistName;

    // With `settings` the library works on the caller's settings (the main window keeps them in
    // one place for loading, the settings dialog and saving); without, on its own.
    CTrackLibrary(Player& player, CFolderTree& tree, CTrackListCtrl& list, QObject* parent = nullptr,
                  ScanSettings* settings = nullptr);
    ~CTrackLibrary() override;

    ScanSettings& Settings() { return m_settings; }
    // Takes new settings (after the settings dialog): refills the list and the now-playing texts
    // when the tag settings changed; extensions and pass switches count from the next scan.
    void ApplySettings(const ScanSettings& settings);

    int PlayingSlot() const { return m_playingSlot; }
    QString PlayingFolder() const { return m_playingFolder; }
    // The slot and folder the list shows; -1 and empty before the first folder.
    int ListedSlot() const { return m_listedSlot; }
    QString ListedFolder() const { return m_listedFolder; }
    // Tag record `index` of folder slot 0 or 1, or nullptr.
    CTagRecord* Record(int slot, int index) const;
    const CTagRecordChain& Records(int slot) const { return m_records[size_t(slot & 1)]; }
    // The lyrics in the tags of a listed row, or of an item (found among the playing slot's
    // records, then the listed one's); 8-bit ID3v2 texts in the lyric code page.
    bool RowHasTagLyrics(int row) const;
    std::optional<QString> RowTagLyrics(int row, int codePage) const;
    std::optional<QString> TagLyricsOf(const MediaPtr& media, int codePage) const;

    // The tree's selection changed: show its folder.
    void ShowFolder();
    int RebuildSlot(int slot, PlaylistPtr& playlist);
    int ScanFolderFiles(const QString& folder, Playlist& playlist);
    // The shortcuts and m3u lists of the folder (ending with "/"), added to the playlist.
    int ScanShortcuts(const QString& folder, Playlist& playlist);
    int ScanM3uFiles(const QString& folder, Playlist& playlist);
    void ReadSlotTags(int slot, const Playlist* playlist, int count);
    // The listed folder changed on disk: its tracks, lyric marks and subfolders follow.
    void OnListedFolderChanged();
    // The disc's item count, -1 when the path is not a disc drive, -2 when it has no playlist.
    int GetDiscPlaylist(const QString& path, PlaylistPtr& playlist);
    // The slot's item count, 0 (and no playlist) when it does not exist yet.
    int GetSlotPlaylist(int slot, PlaylistPtr& playlist);
    // False (nothing moved) while the texts the column sorts by are still being read.
    bool SortSlot(int slot, Playlist* playlist, int count, int column);
    // Rows get their path at once; texts and the lyric mark when first shown or asked for.
    void FillTrackList(int slot, const PlaylistPtr& playlist, int count);
    void SetSortMark(int column);
    // A header click: new sort mark, then re-sort and refill unless sorting went off.
    void OnColumnClick(int column);
    // Makes the listed folder's playlist the playing one; 1 when it switched.
    int ActivateShownFolder();
    // Sends the five now-playing texts; 0 when there is no current media.
    int UpdateNowPlayingInfo(QString* title = nullptr);
    // A disc came in or went out: select the drive afresh and list the disc.
    void ShowDisc(const QString& driveSpecifier);
    // Offers a shortcut in the folder of the tree item for the selected row.
    void DropSelectedRowOn(QTreeWidgetItem* folderItem);

    // The proposed shortcut name for a row: "artist_title.ext", else the file name.
    static QString MakeShortcutName(const CTrackItem& item);

signals:
    // The list followed a change of the shown folder on disk.
    void ListedFolderUpdated();
    // File name, title, artist, album, track of the current media (empty texts without one).
    void NowPlayingInfo(const QString& fileName, const QString& title, const QString& artist,
                        const QString& album, const QString& track);

private:
    struct FolderListing;

    int ScanFolderFiles(const QString& folder, const FolderListing& listing, Playlist& playlist);
    int ScanShortcuts(const QString& folder, const FolderListing& listing, Playlist& playlist);
    int ScanM3uFiles(const QString& folder, const FolderListing& listing, Playlist& playlist);
    int OtherSlot() const;
    // The playlist the list shows, never rescanning.
    int ListedPlaylist(int& slot, PlaylistPtr& playlist);
    const CTagRecord* RecordOf(const QString& url) const;
    MediaPtr ListedItem(int row) const;
    // No keys while some item's texts are still being read.
    std::optional<QStringList> SortKeys(int slot, const Playlist& playlist, int count, int column) const;
    // Sorts the listing by `column` once its texts are in (the wait cursor meanwhile when the
    // user asked for the sort).
    void SortWhenRead(int column, bool userAsked);
    // Refills after a sort or a change on disk, keeping the scroll position and `selected`
    // (the item selected before the playlist changed) selected.
    void RefillKeepingView(int slot, const PlaylistPtr& playlist, int count, const MediaPtr& selected);
    MediaPtr SelectedItem() const;
    // Reads the own tags of an mp3 item into its record (sharing the folder text of the record
    // before it when it is the same).
    static void ReadRecordTags(CTagRecord& record, const Media& media, const CTagRecord* previous = nullptr);
    void WatchListedFolder();
    // Which file the current media is (device and inode), noted when it starts.
    void NotePlayingFile();
    // The playing item's file gone from the listed folder but there under a new name (the same
    // device and inode among the files the scan found that no item stands for): the item takes
    // the new name, so it plays on and stays marked. Whether it was renamed.
    bool FollowRenamedPlayingFile(Playlist& playlist, const Playlist& scanned, const QHash<QString, int>& remaining);
    // Position i of the sorted list takes item order[i].
    std::vector<int> SortOrder(const QStringList& texts, int column) const;
    bool AppendFile(Playlist& playlist, const QString& path, const QString* title);
    void OnBeginDrag(int row, const QPoint& globalPos, const QPoint& hotSpot);
    void OnDragMove(const QPoint& globalPos);
    void OnDragEnd(const QPoint& globalPos);
    QTreeWidgetItem* TreeItemAt(const QPoint& globalPos) const;

    Player& m_player;
    CFolderTree& m_tree;
    CTrackListCtrl& m_list;
    ScanSettings m_ownSettings;
    ScanSettings& m_settings;
    std::array<CTagRecordChain, 2> m_records;
    int m_playingSlot = -1;
    QString m_playingFolder;
    int m_listedSlot = -1;
    QString m_listedFolder;
    PlaylistPtr m_listedPlaylist;
    CListedAttributes* m_attributes;
    CListedMarks* m_marks;
    CFolderWatch* m_folderWatch;
    struct PlayingFile {
        QString url;
        quint64 device = 0;
        quint64 inode = 0;
    };
    PlayingFile m_playingFile;
    QPointer<QLabel> m_dragImage;
    QPoint m_dragHotSpot;
};
