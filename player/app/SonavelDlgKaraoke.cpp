// The main window's meeting points with the karaoke window, the lyric commands and the
// scrolling information line; the lyric work itself is CLyricCommands'.

#include "player/app/SonavelDlg.h"

#include "platform/engine/Player.h"
#include "player/app/KaraokeControlsBridge.h"
#include "player/app/LyricCommands.h"
#include "player/karaoke/KaraokeDlg.h"
#include "player/karaoke/stage/StageCommand.h"
#include "player/karaoke/stage/StageView.h"
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

void CSonavelDlg::LoadLyricsForNewTrack(const QString& url, int row, bool fromPause)
{
    // Played on after a pause, the item keeps its lyrics as they stand: the scroll position, the
    // time tags being edited and any message. A new item reads its lyrics.
    const MediaPtr item = GetPlayer() ? GetPlayer()->currentMedia() : nullptr;
    if (!(fromPause && item && item == m_lyricsItem.lock()))
        m_lyrics->TrackLyricsOnNewTrack(url, row);
    m_lyricsItem = item;
    if (m_karaokeControls)
        m_karaokeControls->OnTrackPlaying(url);
}

void CSonavelDlg::CloseKaraokeUnlessEditing()
{
    m_lyrics->CloseKaraokeUnlessEditing();
    // Stopped: the stage shows the title card until something plays.
    m_lyrics->Stage().View().ShowTitleCard();
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
    const bool playing = IsPlaying(GetPlayer());
    m_lyrics->KaraokeWindow().SetPosition(seconds, playing);
    m_lyrics->Stage().View().SetPosition(seconds, playing);
}

void CSonavelDlg::ShowNowPlayingInfo(const QString& fileName, const QString& title, const QString& artist,
                                     const QString& album, const QString& track)
{
    ScrollLine()->SetTexts({fileName, title, artist, album, track});
}
