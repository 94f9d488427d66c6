#pragma once

#include "platform/engine/MediaTags.h"

#include <QString>

#include <atomic>
#include <map>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class Media;
using MediaPtr = std::shared_ptr<Media>;

// One item of the engine: a media file, a library playlist entry or an audio track of a disc.
// Items are shared: a playlist holds references, and the same path given to newMedia twice makes
// two items. Tag attributes are read once (TagLib) on the first request and cached; a file that
// cannot be read gives "no result" for its tag attributes but still has a title and a URL.
// The tags may be read on another thread (AttributeReader) while the GUI thread uses the item:
// attributesRead() tells, without waiting, whether asking for a tag attribute costs a read.
class Media
{
public:
    enum class Kind { File, Playlist, DiscTrack };

    static MediaPtr forFile(const QString& path);
    // A library entry standing for a playlist stored in a file.
    static MediaPtr forPlaylist(const QString& title, const QString& playlistFile);
    // Audio track `track` (1-based) of the disc in `device`; its URL is "<device>/TrackNN.cda".
    static MediaPtr forDiscTrack(const QString& device, int track, double seconds);

    Kind kind() const { return m_kind; }
    QString sourceURL() const { return m_sourceURL; }
    // The item's file was renamed (see Playlist::renameItem): the same item stands for it under
    // its new path from now on; its attributes stay.
    void setSourceURL(const QString& path);
    // Seconds; 0 when unknown. Exact once the item has been opened by the player.
    double duration() const;
    // Native picture size; 0 until a video item has been opened by the player.
    int imageSourceWidth() const { return m_width; }
    int imageSourceHeight() const { return m_height; }

    // "MediaType" ("audio", "video", "playlist"), "Title" (the tag title, else the file name
    // without extension), "sourceURL", "Author", "WM/AlbumTitle", "WM/TrackNumber".
    // No value for an unknown attribute or when the tags cannot be read.
    std::optional<QString> getItemInfo(const QString& attribute) const;
    // Multi-valued attributes: "WM/Lyrics" holds every lyric text of the item's tags that TagLib
    // reads: the Vorbis comments "SYNCEDLYRICS", "LYRICS" and "UNSYNCEDLYRICS" (FLAC, Ogg, Opus),
    // the MP4 "©lyr" atom and APEv2 "Lyrics" items, in that order. The ID3v2 frames of an
    // mp3 file are left to the player's own reader. The language is not told apart.
    int getAttributeCountByType(const QString& attribute, const QString& language) const;
    std::optional<QString> getItemInfoByType(const QString& attribute, const QString& language, int index) const;
    // Only "Title" can be set; it lasts for the item's life (and in a saved playlist).
    bool setItemInfo(const QString& attribute, const QString& value);
    bool hasOwnTitle() const { return m_ownTitle.has_value(); }

    // True once the tag attributes are in memory (always for items without tags to read).
    bool attributesRead() const;
    // Reads the tag attributes now if they are not yet; safe from any thread.
    void readAttributes() const;

    // Used by the player while the item is open: what mpv plays, with which options for this
    // file alone (name and value apart, so a device path may hold any character), and what it found.
    using PlaybackOptions = std::vector<std::pair<QString, QString>>;
    QString playbackUrl() const;
    PlaybackOptions playbackOptions() const;
    void noteOpened(double seconds, int width, int height, bool hasVideo);

private:
    Media(Kind kind, const QString& sourceURL);
    const std::optional<MediaTags>& tags() const;
    std::optional<MediaTags> readTags() const;
    std::optional<MediaTags> readFlac(const QByteArray& name) const;
    const std::vector<QString>& lyrics() const;
    QString fallbackTitle() const;
    bool looksLikeVideo() const;

    Kind m_kind;
    QString m_sourceURL;
    QString m_device;
    int m_track = 0;
    double m_seconds = 0;
    int m_width = 0;
    int m_height = 0;
    std::optional<bool> m_hasVideo;
    std::optional<QString> m_ownTitle;
    mutable std::atomic<bool> m_tagsRead = false;
    mutable std::optional<MediaTags> m_tags;
};
