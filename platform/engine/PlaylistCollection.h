#pragma once

#include "platform/engine/Playlist.h"
#include "platform/engine/PlaylistWriter.h"

#include <QObject>
#include <QString>

#include <vector>

// The user's named playlists, each kept as a UTF-8 m3u file ("playlist-NNNN.m3u8", the name in a
// "#PLAYLIST:" line) in a data folder, so they survive a restart. Changes are written shortly
// after they happen (and at the latest when the collection goes), by a temporary file renamed
// over the old one, on the writer's thread. A damaged file in the folder is skipped.
class PlaylistCollection : public QObject
{
    Q_OBJECT
public:
    // The default folder: the generic data location + "/sonavel/playlists".
    static QString defaultFolder();

    explicit PlaylistCollection(const QString& folder, QObject* parent = nullptr);
    ~PlaylistCollection() override;

    QString folder() const { return m_folder; }
    // The playlists named `name` (exact), in the order they were created.
    std::vector<PlaylistPtr> getByName(const QString& name) const;
    // A new empty playlist, written at once; nullptr when its file cannot be written.
    PlaylistPtr newPlaylist(const QString& name);
    std::vector<PlaylistPtr> all() const;
    // The file that holds the playlist; empty when it is not in the collection.
    QString filePath(const PlaylistPtr& playlist) const;
    // Takes the playlist out of the collection; with `deleteFile` its file is deleted too.
    bool remove(const PlaylistPtr& playlist, bool deleteFile);
    // Writes every changed playlist now and waits for the writes; false when one failed.
    bool flush();

private:
    struct Entry {
        PlaylistPtr playlist;
        QString file;
        bool dirty = false;
    };

    void load();
    void watch(Entry& entry);
    void scheduleSave();
    // Hands every changed playlist to the writer.
    void writeChanged();
    QString nextFileName();

    QString m_folder;
    std::vector<Entry> m_entries;
    int m_nextNumber = 1;
    bool m_saveScheduled = false;
    // Last, so that it is gone (every write done) before the entries.
    PlaylistWriter m_writer;
};
