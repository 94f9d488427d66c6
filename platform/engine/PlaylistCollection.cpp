#include "platform/engine/PlaylistCollection.h"

#include "platform/text/NativeName.h"
#include "platform/text/TextFile.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTimer>

#include <map>

namespace {

const QString headerLine = QStringLiteral("#EXTM3U");
const QString nameTag = QStringLiteral("#PLAYLIST:");
const QString titleTag = QStringLiteral("#EXTINF:");

QRegularExpression fileNamePattern()
{
    static const QRegularExpression pattern(QStringLiteral("^playlist-(\\d+)\\.m3u8$"));
    return pattern;
}

// No playlist for a file that is not an m3u list written by us: UTF-8, with the bytes of names
// that are not UTF-8 as they are.
PlaylistPtr parsePlaylist(const QByteArray& bytes)
{
    const QString text = NativeName::fromBytes(bytes);
    const QStringList lines = text.split(QLatin1Char('\n'));
    if (lines.isEmpty() || lines.first().trimmed() != headerLine)
        return nullptr;
    QString name;
    std::vector<MediaPtr> items;
    std::optional<QString> title;
    for (QString line : lines.mid(1)) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.startsWith(nameTag)) {
            name = line.mid(nameTag.size());
        } else if (line.startsWith(titleTag)) {
            const int comma = line.indexOf(QLatin1Char(','));
            title = comma < 0 ? QString() : line.mid(comma + 1);
        } else if (!line.isEmpty() && !line.startsWith(QLatin1Char('#'))) {
            items.push_back(Media::forFile(line));
            if (title)
                items.back()->setItemInfo(QStringLiteral("Title"), *title);
            title.reset();
        }
    }
    auto playlist = std::make_shared<Playlist>(name);
    for (const auto& item : items)
        playlist->appendItem(item);
    return playlist;
}

PlaylistWriter::Snapshot snapshotOf(const Playlist& playlist)
{
    PlaylistWriter::Snapshot snapshot{playlist.name(), {}};
    snapshot.lines.reserve(size_t(playlist.count()));
    for (int i = 0; i < playlist.count(); ++i) {
        const MediaPtr item = playlist.item(i);
        std::optional<QString> title;
        if (item->hasOwnTitle())
            title = item->getItemInfo(QStringLiteral("Title")).value_or(QString());
        snapshot.lines.push_back({item->sourceURL(), std::move(title)});
    }
    return snapshot;
}

} // namespace

QString PlaylistCollection::defaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/sonavel/playlists");
}

PlaylistCollection::PlaylistCollection(const QString& folder, QObject* parent) : QObject(parent), m_folder(folder)
{
    load();
}

PlaylistCollection::~PlaylistCollection()
{
    flush();
    // Playlists are shared and may outlive the collection; they must not call back into it.
    for (auto& entry : m_entries)
        entry.playlist->setChangeListener({});
}

std::vector<PlaylistPtr> PlaylistCollection::getByName(const QString& name) const
{
    std::vector<PlaylistPtr> found;
    for (const auto& entry : m_entries) {
        if (entry.playlist->name() == name)
            found.push_back(entry.playlist);
    }
    return found;
}

PlaylistPtr PlaylistCollection::newPlaylist(const QString& name)
{
    if (!QDir().mkpath(m_folder))
        return nullptr;
    Entry entry{std::make_shared<Playlist>(name), m_folder + QLatin1Char('/') + nextFileName()};
    // Written at once, so that the file is there (and its number taken) when this returns.
    if (!TextFile::writeAtomically(entry.file, PlaylistWriter::serialise(snapshotOf(*entry.playlist))))
        return nullptr;
    m_entries.push_back(entry);
    watch(m_entries.back());
    return entry.playlist;
}

std::vector<PlaylistPtr> PlaylistCollection::all() const
{
    std::vector<PlaylistPtr> playlists;
    for (const auto& entry : m_entries)
        playlists.push_back(entry.playlist);
    return playlists;
}

QString PlaylistCollection::filePath(const PlaylistPtr& playlist) const
{
    for (const auto& entry : m_entries) {
        if (entry.playlist == playlist)
            return entry.file;
    }
    return QString();
}

bool PlaylistCollection::remove(const PlaylistPtr& playlist, bool deleteFile)
{
    for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
        if (it->playlist != playlist)
            continue;
        const QString file = it->file;
        playlist->setChangeListener({});
        m_entries.erase(it);
        m_writer.cancel(file);
        return !deleteFile || QFile::remove(file);
    }
    return false;
}

bool PlaylistCollection::flush()
{
    writeChanged();
    const std::set<QString> failed = m_writer.finish();
    // A list that could not be written is tried again with its next change or flush.
    for (auto& entry : m_entries)
        entry.dirty = entry.dirty || failed.count(entry.file) > 0;
    return failed.empty();
}

void PlaylistCollection::writeChanged()
{
    m_saveScheduled = false;
    for (auto& entry : m_entries) {
        if (!entry.dirty)
            continue;
        entry.dirty = false;
        m_writer.write(entry.file, snapshotOf(*entry.playlist));
    }
}

void PlaylistCollection::load()
{
    std::map<int, QString> files;
    const QDir dir(m_folder);
    for (const QString& name : dir.entryList({QStringLiteral("playlist-*.m3u8")}, QDir::Files)) {
        const auto match = fileNamePattern().match(name);
        if (match.hasMatch())
            files.emplace(match.captured(1).toInt(), dir.filePath(name));
    }
    for (const auto& [number, file] : files) {
        m_nextNumber = std::max(m_nextNumber, number + 1);
        const auto bytes = TextFile::readAll(file);
        PlaylistPtr playlist = bytes ? parsePlaylist(*bytes) : nullptr;
        if (!playlist)
            continue;
        m_entries.push_back(Entry{playlist, file});
    }
    for (auto& entry : m_entries)
        watch(entry);
}

void PlaylistCollection::watch(Entry& entry)
{
    const PlaylistPtr playlist = entry.playlist;
    playlist->setChangeListener([this, playlist] {
        for (auto& each : m_entries) {
            if (each.playlist == playlist)
                each.dirty = true;
        }
        scheduleSave();
    });
}

// Many changes come in a row (a folder scan appends item after item): one write after them.
void PlaylistCollection::scheduleSave()
{
    if (m_saveScheduled)
        return;
    m_saveScheduled = true;
    QTimer::singleShot(0, this, [this] { writeChanged(); });
}

QString PlaylistCollection::nextFileName()
{
    QString name;
    do {
        name = QStringLiteral("playlist-%1.m3u8").arg(m_nextNumber++, 4, 10, QLatin1Char('0'));
    } while (QFile::exists(m_folder + QLatin1Char('/') + name));
    return name;
}
