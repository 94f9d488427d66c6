#pragma once

#include "player/karaoke/LyricsMissCache.h"
#include "player/karaoke/LyricsTrack.h"

#include <QObject>
#include <QPointer>

#include <functional>

class LrclibClient;
class LrclibRequest;

// The automatic lookup of a track that started without lyrics: the service's get for its title,
// artist, album and duration; lyrics found are saved as a fetched lyric file (never over one
// that exists) and handed on; a track the service has no lyrics for is remembered for a week and
// not asked for again. Network failures are not remembered and not shown: the next play tries
// again. One lookup at a time; a new track replaces the one under way.
class CAutoLyricsLookup : public QObject
{
    Q_OBJECT
public:
    using Found = std::function<void(const QString& trackPath, const QString& lyricPath)>;

    CAutoLyricsLookup(LrclibClient& client, CLyricsMissCache& misses, QObject* parent = nullptr);
    ~CAutoLyricsLookup() override;

    void LookUp(const LyricsTrack& track, Found found);
    bool IsBusy() const { return !m_request.isNull(); }

signals:
    // A lookup ended (found, missed or failed); for tests and waiting cursors.
    void Finished();

private:
    void OnAnswer(const LyricsTrack& track, const LrclibRecord& record, const LrclibError& error, const Found& found);

    LrclibClient& m_client;
    CLyricsMissCache& m_misses;
    QPointer<LrclibRequest> m_request;
};
