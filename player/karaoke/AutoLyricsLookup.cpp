#include "player/karaoke/AutoLyricsLookup.h"

#include "platform/net/LrclibClient.h"
#include "platform/net/LrclibRequest.h"
#include "player/karaoke/FetchedLyricsSaver.h"
#include "player/karaoke/LrclibLyrics.h"

CAutoLyricsLookup::CAutoLyricsLookup(LrclibClient& client, CLyricsMissCache& misses, QObject* parent)
    : QObject(parent), m_client(client), m_misses(misses)
{
}

CAutoLyricsLookup::~CAutoLyricsLookup()
{
    if (m_request)
        m_request->Cancel();
}

void CAutoLyricsLookup::LookUp(const LyricsTrack& track, Found found)
{
    if (m_request)
        m_request->Cancel();
    // The service needs a title and an artist to match a track at all.
    if (track.Tags.TrackName.trimmed().isEmpty() || track.Tags.ArtistName.trimmed().isEmpty() ||
        m_misses.IsRecentMiss(track.Tags))
        return;
    m_request = m_client.Get(track.Tags, false, this,
                             [this, track, found](const LrclibRecord& record, const LrclibError& error) {
                                 m_request.clear();
                                 OnAnswer(track, record, error, found);
                                 emit Finished();
                             });
}

void CAutoLyricsLookup::OnAnswer(const LyricsTrack& track, const LrclibRecord& record, const LrclibError& error,
                                 const Found& found)
{
    if (error.What == LrclibError::Kind::NotFound) {
        m_misses.RememberMiss(track.Tags);
        return;
    }
    if (error.IsError())
        return;
    const CLrclibLyrics::ToSave lyrics = CLrclibLyrics::TextToSave(record);
    if (!lyrics.Text) {
        // An instrumental or empty record is an answer too: nothing to sing.
        if (record.Instrumental || (record.SyncedLyrics.isEmpty() && record.PlainLyrics.isEmpty()))
            m_misses.RememberMiss(track.Tags);
        return;
    }
    const CFetchedLyricsSaver::Result saved = CFetchedLyricsSaver::Save(track, *lyrics.Text, nullptr);
    if (saved.What == CFetchedLyricsSaver::Outcome::Saved && found)
        found(track.Path, saved.Path);
}
