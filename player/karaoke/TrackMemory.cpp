#include "player/karaoke/TrackMemory.h"

#include "platform/text/TextFile.h"
#include "player/karaoke/KaraokeControls.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>

#include <algorithm>
#include <cmath>

namespace {

const QString kTracks = QStringLiteral("tracks");
const QString kPath = QStringLiteral("path");
const QString kKey = QStringLiteral("key");
const QString kTempo = QStringLiteral("tempo");
const QString kOffset = QStringLiteral("offset");

int intOf(const QJsonObject& object, const QString& name, int fallback)
{
    const double value = object.value(name).toDouble(fallback);
    return std::isfinite(value) ? int(std::clamp(value, -1e9, 1e9)) : fallback;
}

} // namespace

CTrackMemory::CTrackMemory(const QString& filePath) : m_path(filePath)
{
    Load();
}

QString CTrackMemory::DefaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/sonavel/karaoke-controls.json");
}

CTrackMemory::Entry CTrackMemory::Clamped(const Entry& entry)
{
    using Controls = CKaraokeControls;
    Entry clamped;
    clamped.Key = std::clamp(entry.Key, Controls::MinKey, Controls::MaxKey);
    clamped.Tempo = Controls::SnappedTempo(entry.Tempo);
    clamped.OffsetNudge = std::clamp(entry.OffsetNudge, -Controls::MaxOffsetNudge, Controls::MaxOffsetNudge);
    return clamped;
}

void CTrackMemory::Load()
{
    const auto bytes = TextFile::readAll(m_path);
    if (!bytes)
        return;
    const QJsonArray tracks = QJsonDocument::fromJson(*bytes).object().value(kTracks).toArray();
    for (const QJsonValue& value : tracks) {
        const QJsonObject track = value.toObject();
        const QString path = track.value(kPath).toString();
        if (path.isEmpty())
            continue;
        const Entry entry = Clamped({intOf(track, kKey, 0), intOf(track, kTempo, 100), intOf(track, kOffset, 0)});
        if (entry.IsNeutral())
            continue;
        if (m_entries.contains(path))
            m_order.removeOne(path);
        m_entries.insert(path, entry);
        m_order.append(path);
    }
}

std::optional<CTrackMemory::Entry> CTrackMemory::Find(const QString& trackPath) const
{
    const auto it = m_entries.constFind(trackPath);
    if (it == m_entries.constEnd())
        return std::nullopt;
    return *it;
}

void CTrackMemory::Store(const QString& trackPath, const Entry& entry)
{
    if (trackPath.isEmpty())
        return;
    const Entry clamped = Clamped(entry);
    const auto it = m_entries.constFind(trackPath);
    if (it != m_entries.constEnd() && *it == clamped)
        return;
    m_order.removeOne(trackPath);
    if (clamped.IsNeutral()) {
        m_dirty = m_entries.remove(trackPath) > 0 || m_dirty;
        return;
    }
    m_entries.insert(trackPath, clamped);
    m_order.append(trackPath);
    while (m_order.size() > MaxEntries)
        m_entries.remove(m_order.takeFirst());
    m_dirty = true;
}

bool CTrackMemory::Save()
{
    if (!m_dirty)
        return true;
    QJsonArray tracks;
    for (const QString& path : std::as_const(m_order)) {
        const Entry& entry = m_entries[path];
        tracks.append(QJsonObject{{kPath, path}, {kKey, entry.Key}, {kTempo, entry.Tempo}, {kOffset, entry.OffsetNudge}});
    }
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    const QByteArray bytes = QJsonDocument(QJsonObject{{kTracks, tracks}}).toJson(QJsonDocument::Indented);
    if (!TextFile::writeAtomically(m_path, bytes))
        return false;
    m_dirty = false;
    return true;
}
