#pragma once

#include "platform/engine/Playlist.h"

class PlaylistCollection;

// The library. Its entries are the stored playlists ("MediaType" "playlist", "Title" the playlist's
// name, "sourceURL" its file). Removing an entry never deletes a media file.
class MediaCollection
{
public:
    explicit MediaCollection(PlaylistCollection& playlists);

    // A new list of every library entry.
    PlaylistPtr getAll() const;
    // Removes a playlist entry (from getAll); with `deleteFile` its playlist file is deleted.
    // False for anything that is not a library entry.
    bool remove(const MediaPtr& item, bool deleteFile);

private:
    PlaylistCollection& m_playlists;
};
