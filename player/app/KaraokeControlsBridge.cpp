#include "player/app/KaraokeControlsBridge.h"

#include "common/ui/MessageBox.h"
#include "common/ui/StringTable.h"
#include "platform/engine/AudioEffects.h"
#include "platform/engine/Player.h"
#include "player/app/LyricCommands.h"
#include "player/app/SonavelDlg.h"
#include "player/karaoke/KaraokeControlStrings.h"
#include "player/karaoke/KaraokeDlg.h"
#include "player/karaoke/KaraokeStatic.h"
#include "player/karaoke/stage/StageCommand.h"
#include "player/karaoke/stage/StageView.h"
#include "player/widgets/ScrollStatic.h"

#include <QMenu>

#include <cmath>

using Control = CKaraokeControls::Control;

CKaraokeControlsBridge::CKaraokeControlsBridge(CSonavelDlg& dialog)
    : m_dialog(dialog), m_actions(m_controls)
{
    const Player* player = m_dialog.GetPlayer();
    const AudioEffects* effects = player ? &player->audioEffects() : nullptr;
    m_controls.SetAvailable(Control::Key, effects && effects->canChangePitch());
    m_controls.SetAvailable(Control::Tempo, effects && effects->canChangeTempo());
    m_controls.SetAvailable(Control::VocalReduction, effects && effects->canReduceVocals());
    connect(&m_controls, &CKaraokeControls::ValueChanged, this, &CKaraokeControlsBridge::Apply);
    m_actions.SetSaveOffsetHandler([this] { SaveOffset(); });
    connect(&m_controls, &CKaraokeControls::OffsetSaved, this, &CKaraokeControlsBridge::TakeSavedOffset);

    CKaraokeDlg& window = m_dialog.Lyrics().KaraokeWindow();
    window.SetKaraokeActions(m_actions);
    // The stage view takes the karaoke window's shortcuts: the same actions.
    m_dialog.Lyrics().Stage().View().addActions(m_actions.All());
    window.SetSeekHandler([this](double seconds) { m_dialog.Control().SeekTo(seconds); });
}

CKaraokeControlsBridge::~CKaraokeControlsBridge() = default;

void CKaraokeControlsBridge::AddMenus()
{
    QMenu* lyricMark = m_dialog.Lyrics().Menu(CLyricCommands::PopupLyricMark);
    lyricMark->addSeparator();
    lyricMark->addMenu(m_actions.CreateMenu(lyricMark));
}

void CKaraokeControlsBridge::OnTrackPlaying(const QString& url)
{
    const Player* player = m_dialog.GetPlayer();
    const MediaPtr item = player ? player->currentMedia() : nullptr;
    if (item && item != m_item.lock()) {
        m_item = item;
        m_controls.OnNewTrack(url);
    }
    m_controls.SetMonoItem(player && player->audioEffects().itemChannels() == 1);
    ShowLyrics();
}

void CKaraokeControlsBridge::ShowLyrics()
{
    const CKaraokeDlg& window = m_dialog.Lyrics().KaraokeWindow();
    m_controls.SetLyrics(window.Display()->Data().Header.Offset, window.LyricPath());
}

void CKaraokeControlsBridge::Apply(Control control)
{
    switch (control) {
    case Control::Key: ApplyKey(); break;
    case Control::Tempo: ApplyTempo(); break;
    case Control::VocalReduction: ApplyVocalReduction(); break;
    case Control::Offset: ApplyOffsetNudge(); break;
    }
}

// A value the engine refuses goes back to what it plays, and the control greys when the engine
// cannot do it at all.
void CKaraokeControlsBridge::ApplyKey()
{
    Player* player = m_dialog.GetPlayer();
    if (player && player->setPitch(m_controls.Key()))
        return;
    m_controls.SetAvailable(Control::Key, player && player->audioEffects().canChangePitch());
    m_controls.SetKey(player ? player->audioEffects().pitch() : 0);
}

void CKaraokeControlsBridge::ApplyTempo()
{
    Player* player = m_dialog.GetPlayer();
    if (!player || !player->setTempo(m_controls.TempoRate())) {
        m_controls.SetAvailable(Control::Tempo, player && player->audioEffects().canChangeTempo());
        m_controls.SetTempo(player ? int(std::lround(player->audioEffects().tempo() * 100)) : 100);
        return;
    }
    // The lyric clocks run on between the engine's reports at the speed it plays.
    m_dialog.Lyrics().KaraokeWindow().Display()->SetPlaybackSpeed(m_controls.TempoRate());
    m_dialog.ScrollLine()->SetPlaybackSpeed(m_controls.TempoRate());
    m_dialog.Lyrics().Stage().View().SetPlaybackSpeed(m_controls.TempoRate());
}

void CKaraokeControlsBridge::ApplyVocalReduction()
{
    Player* player = m_dialog.GetPlayer();
    if (player && player->setVocalReduction(m_controls.VocalReduction()))
        return;
    m_controls.SetAvailable(Control::VocalReduction, player && player->audioEffects().canReduceVocals());
    m_controls.SetVocalReduction(player && player->audioEffects().vocalReduction());
}

void CKaraokeControlsBridge::ApplyOffsetNudge()
{
    m_dialog.Lyrics().KaraokeWindow().Display()->SetOffsetNudge(m_controls.OffsetNudge());
    m_dialog.ScrollLine()->SetOffsetNudge(m_controls.OffsetNudge());
    m_dialog.Lyrics().Stage().View().SetOffsetNudge(m_controls.OffsetNudge());
}

void CKaraokeControlsBridge::SaveOffset()
{
    if (!m_controls.SaveOffset(m_dialog.Options().KaraokeCodePage))
        ShowMessageBox(&m_dialog, StringTable::format(KaraokeControlString::SaveOffsetFailed, {m_controls.LyricPath()}),
                       QStringLiteral("SaveOffset"), MB_OK | MB_ICONWARNING);
}

// The documents take the saved offset before the nudge goes, so that the lyrics stay where they
// are and a later save of the time tags keeps it.
void CKaraokeControlsBridge::TakeSavedOffset(int offset)
{
    m_dialog.Lyrics().KaraokeWindow().Display()->Data().Header.Offset = offset;
    m_dialog.Lyrics().Stage().View().Data().Header.Offset = offset;
    CScrollStatic& line = *m_dialog.ScrollLine();
    if (line.HasLyrics()) {
        int codePage = m_dialog.Options().KaraokeCodePage;
        line.LoadLyrics(m_controls.LyricPath(), codePage, 0);
    }
}
