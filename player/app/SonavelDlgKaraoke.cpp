// The main window's meeting points with the karaoke window, the lyric commands and the
// scrolling information line; the lyric work itself is CLyricCommands'.

#include "player/app/SonavelDlg.h"

#include "platform/engine/Player.h"
#include "player/app/KaraokeControlsBridge.h"
#include "player/app/LyricCommands.h"
#include "player/karaoke/KaraokeDlg.h"
#include "player/widgets/ScrollStatic.h"

namespace {

// The lyric displays run on between ticks only while the engine plays.
bool IsPlaying(const Player* player)
{
    return player && player->playState() == 3;
}

} // namespace

QWidget* CSonavelDlg::CreateScrollLine(QWidget* parent)
{
    return new CScrollStatic(parent);
}

void CSonavelDlg::LoadLyricsForNewTrack(const QString& url, int row)
{
    m_lyrics->TrackLyricsOnNewTrack(url, row);
    if (m_karaokeControls)
        m_karaokeControls->OnTrackPlaying(url);
}

void CSonavelDlg::CloseKaraokeUnlessEditing()
{
    m_lyrics->CloseKaraokeUnlessEditing();
}

void CSonavelDlg::DestroyKaraokeWindow()
{
    m_lyrics->DestroyKaraokeWindow();
}

void CSonavelDlg::SetKaraokeClipOnDesktop(bool clip)
{
    m_lyrics->KaraokeWindow().SetClipOnDesktop(clip);
}

void CSonavelDlg::LoadKaraokeMenus()
{
    m_lyrics->LoadMenus();
    m_karaokeControls->AddMenus();
}

void CSonavelDlg::PassPositionToScrollLine(double seconds)
{
    ScrollLine()->Tick(seconds, IsPlaying(GetPlayer()));
}

void CSonavelDlg::PassPositionToKaraoke(double seconds)
{
    m_lyrics->KaraokeWindow().SetPosition(seconds, IsPlaying(GetPlayer()));
}

void CSonavelDlg::ShowNowPlayingInfo(const QString& fileName, const QString& title, const QString& artist,
                                     const QString& album, const QString& track)
{
    ScrollLine()->SetTexts({fileName, title, artist, album, track});
}
