#include "platform/engine/MediaCollection.h"

#include "platform/engine/PlaylistCollection.h"

MediaCollection::MediaCollection(PlaylistCollection& playlists) : m_playlists(playlists) {}

PlaylistPtr MediaCollection::getAll() const
{
    auto all = std::make_shared<Playlist>(QStringLiteral("All"));
    for (const auto& playlist : m_playlists.all())
        all->appendItem(Media::forPlaylist(playlist->name(), m_playlists.filePath(playlist)));
    return all;
}

bool MediaCollection::remove(const MediaPtr& item, bool deleteFile)
{
    if (!item || item->kind() != Media::Kind::Playlist)
        return false;
    for (const auto& playlist : m_playlists.all()) {
        if (m_playlists.filePath(playlist) == item->sourceURL())
            return m_playlists.remove(playlist, deleteFile);
    }
    return false;
}
