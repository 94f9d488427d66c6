#include "platform/engine/Media.h"

#include "platform/engine/FlacReader.h"

#include "platform/text/NativeFile.h"
#include "platform/text/NativeName.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSet>

#include <taglib/apetag.h>
#include <taglib/audioproperties.h>
#include <taglib/fileref.h>
#include <taglib/mpegfile.h>
#include <taglib/tag.h>
#include <taglib/tdebuglistener.h>
#include <taglib/tpropertymap.h>

#include <mutex>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// TagLib reports every odd frame on stderr; a library of damaged files would flood it.
class QuietTagLib : public TagLib::DebugListener
{
public:
    void printMessage(const TagLib::String&) override {}
};

void silenceTagLib()
{
    static QuietTagLib listener;
    static const bool done = (TagLib::setDebugListener(&listener), true);
    Q_UNUSED(done);
}

QString toQString(const TagLib::String& text)
{
    return QString::fromStdWString(text.toWString());
}

const QLatin1String kLyricsAttribute("WM/Lyrics");

// The property names TagLib gives lyric texts (Vorbis comment field names are upper-cased, the
// MP4 atom and APE items are translated to "LYRICS"), in the order they are offered.
const char* const kLyricProperties[] = {"SYNCEDLYRICS", "LYRICS", "UNSYNCEDLYRICS"};

std::vector<QString> lyricsOf(TagLib::File& file)
{
    TagLib::PropertyMap properties;
    if (auto* mpeg = dynamic_cast<TagLib::MPEG::File*>(&file)) {
        // The ID3v2 frames of an mp3 file are the player's own reader's; only an APE tag is read here.
        if (mpeg->hasAPETag())
            properties = mpeg->APETag()->properties();
    } else {
        properties = file.properties();
    }
    std::vector<QString> lyrics;
    for (const char* name : kLyricProperties) {
        const auto found = properties.find(name);
        if (found == properties.end())
            continue;
        for (const TagLib::String& value : found->second)
            if (!value.isEmpty())
                lyrics.push_back(toQString(value));
    }
    return lyrics;
}

// Until an item has been opened, its kind of content is judged by the file name.
const QSet<QString>& videoExtensions()
{
    static const QSet<QString> extensions{"3gp", "asf",  "avi", "dat", "flv", "m2ts", "m4v", "mkv",  "mov", "mp4",
                                          "mpe", "mpeg", "mpg", "mts", "ogv", "ts",   "vob", "webm", "wmv"};
    return extensions;
}

// One read at a time: the GUI thread asking for an item the reader is reading waits for it. The
// reads are the only use of an item's path off the GUI thread, so a new path is set under it too.
std::mutex& readingLock()
{
    static std::mutex reading;
    return reading;
}

// A folder's tracks mostly repeat a few artists, albums and track numbers: each such text is held
// once and shared by the items (called under the lock of the reads only).
void shareRepeatedTexts(MediaTags& tags)
{
    static QSet<QString> texts;
    // Texts no item shares any more are let go now and then.
    if (texts.size() > 20000)
        texts.clear();
    for (QString* text : {&tags.artist, &tags.album, &tags.track}) {
        const auto found = texts.constFind(*text);
        if (found != texts.cend())
            *text = *found;
        else if (!text->isEmpty())
            texts.insert(*text);
    }
}

} // namespace

Media::Media(Kind kind, const QString& sourceURL) : m_kind(kind), m_sourceURL(sourceURL) {}

MediaPtr Media::forFile(const QString& path)
{
    return MediaPtr(new Media(Kind::File, path));
}

MediaPtr Media::forPlaylist(const QString& title, const QString& playlistFile)
{
    MediaPtr media(new Media(Kind::Playlist, playlistFile));
    media->m_ownTitle = title;
    return media;
}

MediaPtr Media::forDiscTrack(const QString& device, int track, double seconds)
{
    MediaPtr media(
        new Media(Kind::DiscTrack, QStringLiteral("%1/Track%2.cda").arg(device).arg(track, 2, 10, QLatin1Char('0'))));
    media->m_device = device;
    media->m_track = track;
    media->m_seconds = seconds;
    media->m_hasVideo = false;
    return media;
}

double Media::duration() const
{
    if (m_seconds > 0 || m_kind != Kind::File)
        return m_seconds;
    const auto& read = tags();
    return read ? read->seconds : 0;
}

std::optional<QString> Media::getItemInfo(const QString& attribute) const
{
    if (attribute == QLatin1String("MediaType")) {
        if (m_kind == Kind::Playlist)
            return QStringLiteral("playlist");
        const bool video = m_hasVideo.value_or(looksLikeVideo());
        return video ? QStringLiteral("video") : QStringLiteral("audio");
    }
    if (attribute == QLatin1String("sourceURL"))
        return m_sourceURL;
    if (attribute == QLatin1String("Title")) {
        if (m_ownTitle)
            return m_ownTitle;
        const auto& read = tags();
        return read && !read->title.isEmpty() ? read->title : fallbackTitle();
    }
    const bool tagAttribute = attribute == QLatin1String("Author") || attribute == QLatin1String("WM/AlbumTitle") ||
                              attribute == QLatin1String("WM/TrackNumber");
    if (!tagAttribute)
        return std::nullopt;
    if (m_kind == Kind::DiscTrack)
        return attribute == QLatin1String("WM/TrackNumber") ? QString::number(m_track) : QString();
    if (m_kind == Kind::Playlist)
        return QString();
    const auto& read = tags();
    if (!read)
        return std::nullopt;
    if (attribute == QLatin1String("Author"))
        return read->artist;
    if (attribute == QLatin1String("WM/AlbumTitle"))
        return read->album;
    return read->track;
}

int Media::getAttributeCountByType(const QString& attribute, const QString&) const
{
    return attribute == kLyricsAttribute ? int(lyrics().size()) : 0;
}

std::optional<QString> Media::getItemInfoByType(const QString& attribute, const QString&, int index) const
{
    const std::vector<QString>& texts = lyrics();
    if (attribute != kLyricsAttribute || index < 0 || index >= int(texts.size()))
        return std::nullopt;
    return texts[size_t(index)];
}

void Media::setSourceURL(const QString& path)
{
    const std::lock_guard lock(readingLock());
    m_sourceURL = path;
}

bool Media::setItemInfo(const QString& attribute, const QString& value)
{
    if (attribute != QLatin1String("Title"))
        return false;
    m_ownTitle = value;
    return true;
}

QString Media::playbackUrl() const
{
    return m_kind == Kind::DiscTrack ? QStringLiteral("cdda://") : m_sourceURL;
}

Media::PlaybackOptions Media::playbackOptions() const
{
    if (m_kind != Kind::DiscTrack)
        return {};
    const QString track = QString::number(m_track);
    return {{QStringLiteral("cdrom-device"), m_device},
            {QStringLiteral("cdda-span-a"), track},
            {QStringLiteral("cdda-span-b"), track}};
}

void Media::noteOpened(double seconds, int width, int height, bool hasVideo)
{
    if (seconds > 0)
        m_seconds = seconds;
    m_width = hasVideo ? width : 0;
    m_height = hasVideo ? height : 0;
    m_hasVideo = hasVideo;
}

bool Media::attributesRead() const
{
    return m_kind != Kind::File || m_tagsRead.load(std::memory_order_acquire);
}

void Media::readAttributes() const
{
    tags();
}

const std::optional<MediaTags>& Media::tags() const
{
    if (attributesRead())
        return m_tags;
    const std::lock_guard lock(readingLock());
    if (!m_tagsRead.load(std::memory_order_relaxed)) {
        m_tags = readTags();
        if (m_tags)
            shareRepeatedTexts(*m_tags);
        m_tagsRead.store(true, std::memory_order_release);
    }
    return m_tags;
}

std::optional<MediaTags> Media::readTags() const
{
    const QByteArray name = NativeName::toBytes(m_sourceURL);
    if (m_sourceURL.endsWith(QLatin1String(".flac"), Qt::CaseInsensitive))
        if (std::optional<MediaTags> flac = readFlac(name))
            return flac;
    silenceTagLib();
    // FileRef would happily open a directory or a device; only regular readable files are read.
    const auto entry = NativeFile::status(m_sourceURL);
    if (!entry || !S_ISREG(entry->st_mode) || entry->st_size == 0 || ::access(name.constData(), R_OK) != 0)
        return std::nullopt;
    TagLib::FileRef file(name.constData(), true, TagLib::AudioProperties::Fast);
    if (file.isNull() || !file.file()->isValid())
        return std::nullopt;
    MediaTags read;
    if (const TagLib::Tag* tag = file.tag()) {
        read.title = toQString(tag->title());
        read.artist = toQString(tag->artist());
        read.album = toQString(tag->album());
        read.track = tag->track() ? QString::number(tag->track()) : QString();
    }
    read.lyrics = lyricsOf(*file.file());
    if (const TagLib::AudioProperties* audio = file.audioProperties())
        read.seconds = audio->lengthInMilliseconds() / 1000.0;
    return read;
}

std::optional<MediaTags> Media::readFlac(const QByteArray& name) const
{
    const int descriptor = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0)
        return std::nullopt;
    struct stat entry = {};
    std::optional<MediaTags> read;
    if (::fstat(descriptor, &entry) == 0 && S_ISREG(entry.st_mode))
        read = FlacReader::read(descriptor, entry.st_size);
    ::close(descriptor);
    return read;
}

const std::vector<QString>& Media::lyrics() const
{
    static const std::vector<QString> none;
    const auto& read = tags();
    return read ? read->lyrics : none;
}

QString Media::fallbackTitle() const
{
    if (m_kind == Kind::DiscTrack)
        return QCoreApplication::translate("Ui", "トラック %1").arg(m_track);
    return NativeName::displayText(QFileInfo(m_sourceURL).completeBaseName());
}

bool Media::looksLikeVideo() const
{
    return m_kind == Kind::File && videoExtensions().contains(QFileInfo(m_sourceURL).suffix().toLower());
}
