#pragma once

#include "platform/net/LrclibTypes.h"

#include <QDateTime>
#include <QHash>
#include <QString>

// The tracks the service had no lyrics for, each with when it said so, kept for a week in a
// small file of the data folder so that a track is not asked for again on every play. The file
// is read on first use and written (atomically) after each new miss; entries older than the
// lifetime are dropped on both.
class CLyricsMissCache
{
public:
    static constexpr qint64 LifetimeSeconds = 7 * 24 * 60 * 60;
    // A bound on the file, well beyond a large library's misses of one week.
    static constexpr int MaxEntries = 20000;

    // The default file is "$XDG_DATA_HOME/sonavel/lyrics-misses.json".
    explicit CLyricsMissCache(QString filePath = DefaultPath());
    static QString DefaultPath();

    bool IsRecentMiss(const LrclibTrack& track, const QDateTime& now = QDateTime::currentDateTimeUtc());
    void RememberMiss(const LrclibTrack& track, const QDateTime& now = QDateTime::currentDateTimeUtc());
    // Forgets a track (its lyrics were found after all).
    void Forget(const LrclibTrack& track);

    // One key per track: names without regard to case, the duration in whole seconds.
    static QString KeyOf(const LrclibTrack& track);

private:
    void Load();
    bool Save() const;
    void DropExpired(qint64 nowSeconds);

    QString m_path;
    bool m_loaded = false;
    QHash<QString, qint64> m_missedAt; // key -> seconds since the epoch
};
