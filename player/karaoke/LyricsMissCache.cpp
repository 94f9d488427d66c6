#include "player/karaoke/LyricsMissCache.h"

#include "platform/text/TextFile.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>

#include <algorithm>
#include <vector>

CLyricsMissCache::CLyricsMissCache(QString filePath) : m_path(std::move(filePath))
{
}

QString CLyricsMissCache::DefaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/sonavel/lyrics-misses.json");
}

QString CLyricsMissCache::KeyOf(const LrclibTrack& track)
{
    return QStringList{track.TrackName.trimmed().toCaseFolded(), track.ArtistName.trimmed().toCaseFolded(),
                       track.AlbumName.trimmed().toCaseFolded(), QString::number(qRound64(track.Duration))}
        .join(u'\x1f');
}

bool CLyricsMissCache::IsRecentMiss(const LrclibTrack& track, const QDateTime& now)
{
    Load();
    const auto found = m_missedAt.constFind(KeyOf(track));
    if (found == m_missedAt.constEnd())
        return false;
    const qint64 age = now.toSecsSinceEpoch() - found.value();
    return age >= 0 && age < LifetimeSeconds;
}

void CLyricsMissCache::RememberMiss(const LrclibTrack& track, const QDateTime& now)
{
    Load();
    DropExpired(now.toSecsSinceEpoch());
    m_missedAt.insert(KeyOf(track), now.toSecsSinceEpoch());
    if (m_missedAt.size() > MaxEntries) {
        // The oldest go first.
        std::vector<std::pair<qint64, QString>> byAge;
        for (auto it = m_missedAt.cbegin(); it != m_missedAt.cend(); ++it)
            byAge.emplace_back(it.value(), it.key());
        std::sort(byAge.begin(), byAge.end());
        for (size_t i = 0; i < byAge.size() - size_t(MaxEntries); ++i)
            m_missedAt.remove(byAge[i].second);
    }
    Save();
}

void CLyricsMissCache::Forget(const LrclibTrack& track)
{
    Load();
    if (m_missedAt.remove(KeyOf(track)) > 0)
        Save();
}

void CLyricsMissCache::Load()
{
    if (m_loaded)
        return;
    m_loaded = true;
    const auto bytes = TextFile::readAll(m_path);
    if (!bytes)
        return;
    // A damaged file is only a forgotten week of misses: it is read as far as it is sound.
    const QJsonObject object = QJsonDocument::fromJson(*bytes).object();
    for (auto it = object.begin(); it != object.end(); ++it)
        if (it.value().isDouble())
            m_missedAt.insert(it.key(), qint64(it.value().toDouble()));
    DropExpired(QDateTime::currentSecsSinceEpoch());
}

bool CLyricsMissCache::Save() const
{
    QJsonObject object;
    for (auto it = m_missedAt.cbegin(); it != m_missedAt.cend(); ++it)
        object.insert(it.key(), double(it.value()));
    return QDir().mkpath(QFileInfo(m_path).absolutePath()) &&
           TextFile::writeAtomically(m_path, QJsonDocument(object).toJson(QJsonDocument::Compact));
}

void CLyricsMissCache::DropExpired(qint64 nowSeconds)
{
    m_missedAt.removeIf([nowSeconds](const auto& entry) { return nowSeconds - entry.value() >= LifetimeSeconds; });
}
