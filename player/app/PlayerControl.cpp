#include "player/app/PlayerControl.h"

#include "common/ui/MessageBox.h"
#include "common/ui/StringTable.h"
#include "platform/profile/Profile.h"
#include "platform/text/NativeFile.h"
#include "platform/varnkit/VolSlider.h"
#include "platform/varnkit/WmpSlider.h"
#include "player/app/PlayerIcons.h"
#include "player/app/SonavelDlg.h"
#include "player/app/SonavelStrings.h"
#include "player/app/WmpEventSink.h"
#include "player/settings/ProfileHelpers.h"
#include "player/settings/SettingsKeys.h"
#include "player/widgets/TimeDisplay.h"
#include "player/widgets/WmpVideoDlg.h"

#include <QCheckBox>

#include <algorithm>
#include <cmath>

using namespace Settings;

namespace {

const QString kPlaylistName = QString::fromLatin1(CPlayerControl::PlaylistName);

// Whole seconds toward zero, kept inside int for any position the engine reports.
int WholeSeconds(double seconds)
{
    if (!std::isfinite(seconds) || seconds <= 0)
        return 0;
    return static_cast<int>(std::min(seconds, 2147483647.0));
}

CPlayerControl::PlayerFactory& Factory()
{
    static CPlayerControl::PlayerFactory factory;
    return factory;
}

} // namespace

void CPlayerControl::SetPlayerFactory(PlayerFactory factory)
{
    Factory() = std::move(factory);
}

CPlayerControl::CPlayerControl(CSonavelDlg& dialog) : m_dialog(dialog)
{
}

CPlayerControl::~CPlayerControl()
{
    Teardown();
}

void CPlayerControl::CreateEngine()
{
    m_video = new CWmpVideoDlg(&m_dialog);
    m_video->setWindowIcon(PlayerIcons::Application());
    m_player = Factory() ? Factory()() : Player::create();
    if (!m_player) {
        AfxMessageBox(QStringLiteral("Error occurs while Initialize MediaPlayer"), MB_OK);
        return;
    }
    if (!m_video->AttachPlayer(m_player.get())) {
        AfxMessageBox(QStringLiteral("Error occurs while setting Player setting"), MB_OK);
        return;
    }
    PreparePlaylists();
    m_detectCdromMediaChange =
        GetProfileInt(Wmp::Section, Wmp::DetectCdromMediaChange, Wmp::DefaultDetectCdromMediaChange);
    m_sink = std::make_unique<CWmpEventSink>(*m_player, m_dialog);
    ApplyEngineSettings();
}

void CPlayerControl::PreparePlaylists()
{
    // The first two playlists of the player's name are emptied; missing ones are made. The
    // prepared pair is kept, so slots exist from the first start on.
    const std::vector<PlaylistPtr> existing = m_player->playlistCollection().getByName(kPlaylistName);
    m_playerPlaylists.clear();
    for (size_t index = 0; index < 2; ++index) {
        PlaylistPtr playlist;
        if (existing.size() > index) {
            playlist = existing[index];
            playlist->clear();
        } else {
            playlist = m_player->playlistCollection().newPlaylist(kPlaylistName);
        }
        if (playlist)
            m_playerPlaylists.push_back(playlist);
    }
}

void CPlayerControl::ApplyEngineSettings()
{
    if (GetProfileIntInit(Wmp::Section, Wmp::Loop, Wmp::DefaultLoop) != 0) {
        if (!m_player->setMode(QStringLiteral("loop"), true))
            AfxMessageBox(QStringLiteral("Error occuerd while setting Loop=TRUE"), MB_OK);
        else
            m_dialog.LoopBox()->setChecked(true);
    }
    if (GetProfileInt(Wmp::Section, Wmp::Shuffle, Wmp::DefaultShuffle) != 0) {
        if (!m_player->setMode(QStringLiteral("shuffle"), true))
            AfxMessageBox(QStringLiteral("Error occuerd while setting Shuffle=TRUE"), MB_OK);
        else
            m_dialog.ShuffleBox()->setChecked(true);
    }
    // 0 turns the engine's own auto start off: the first folder shown then waits for Play.
    m_player->setAutoStart(GetProfileIntInit(Wmp::Section, Wmp::AutoStart, Wmp::DefaultAutoStart) != 0);
    m_engineSettingsApplied = true;
}

bool CPlayerControl::VideoTopmost() const
{
    return m_video ? m_video->IsTopmost() : m_videoTopmostAtTeardown;
}

void CPlayerControl::Teardown()
{
    if (m_tornDown)
        return;
    m_tornDown = true;
    m_sink.reset();
    if (m_video)
        m_video->DetachPlayer();
    m_playerPlaylists.clear();
    m_player.reset();
    if (m_video) {
        m_videoTopmostAtTeardown = m_video->IsTopmost();
        delete m_video;
        m_video = nullptr;
    }
    // Without an engine the boxes never showed the stored modes; writing them would lose them.
    if (!m_engineSettingsApplied)
        return;
    WriteProfileInt(Wmp::Section, Wmp::DetectCdromMediaChange, m_detectCdromMediaChange);
    WriteProfileInt(Wmp::Section, Wmp::Loop, m_dialog.LoopBox()->isChecked() ? 1 : 0);
    WriteProfileInt(Wmp::Section, Wmp::Shuffle, m_dialog.ShuffleBox()->isChecked() ? 1 : 0);
}

bool CPlayerControl::RemovePlaylistEntry(const MediaPtr& entry)
{
    const std::optional<QString> url = entry->getItemInfo(QStringLiteral("sourceURL"));
    if (!url || !m_player->mediaCollection().remove(entry, true))
        return false;
    // The engine may have deleted the file itself; only a file that is still there fails.
    return !NativeFile::exists(*url) || NativeFile::remove(*url);
}

void CPlayerControl::RemovePlaylistsAtExit()
{
    if (!m_player)
        return;
    const PlaylistPtr all = m_player->mediaCollection().getAll();
    if (!all)
        return;
    for (int i = 0; i < all->count(); ++i) {
        const MediaPtr entry = all->item(i);
        if (!entry || entry->getItemInfo(QStringLiteral("MediaType")) != QStringLiteral("playlist") ||
            entry->getItemInfo(QStringLiteral("Title")) != kPlaylistName)
            continue;
        if (!RemovePlaylistEntry(entry))
            ShowMessageBox(&m_dialog, StringTable::text(SonavelString::DeletePlaylistFailed),
                           QStringLiteral("Delete Playlist"), MB_OK | MB_ICONWARNING);
    }
}

bool CPlayerControl::IsAvailable(const char* action) const
{
    return m_player && m_player->isAvailable(QString::fromLatin1(action));
}

void CPlayerControl::Play()
{
    m_dialog.ActivateShownFolder();
    if (!m_player)
        return;
    m_resumePosition = m_player->currentPosition();
    if (IsAvailable("play"))
        m_player->play();
}

void CPlayerControl::Pause()
{
    // Pressed while paused it resumes where the pause (or a slider move since) left the track.
    if (m_player && m_player->playState() == 2) {
        if (IsAvailable("play"))
            m_player->play();
        return;
    }
    if (IsAvailable("pause"))
        m_player->pause();
}

void CPlayerControl::Stop()
{
    if (IsAvailable("stop"))
        m_player->stop();
}

void CPlayerControl::Previous()
{
    if (m_dialog.ActivateShownFolder()) {
        if (IsAvailable("play"))
            m_player->play();
    } else if (IsAvailable("previous")) {
        m_player->previous();
    }
    m_resumePosition = 0;
}

void CPlayerControl::Next()
{
    if (m_dialog.ActivateShownFolder()) {
        if (IsAvailable("play"))
            m_player->play();
    } else if (IsAvailable("next")) {
        m_player->next();
    }
    m_resumePosition = 0;
}

void CPlayerControl::PlayRow(int row)
{
    m_dialog.ActivateShownFolder();
    if (!m_player)
        return;
    const PlaylistPtr playlist = m_player->currentPlaylist();
    const MediaPtr item = playlist ? playlist->item(row) : nullptr;
    if (!item)
        return;
    m_player->playItem(item);
    m_resumePosition = 0;
}

void CPlayerControl::SetLoop(bool on)
{
    if (m_player)
        m_player->setMode(QStringLiteral("loop"), on);
}

void CPlayerControl::SetShuffle(bool on)
{
    if (m_player)
        m_player->setMode(QStringLiteral("shuffle"), on);
}

QString CPlayerControl::FormatTime(int seconds)
{
    return QString::asprintf("%02d:%02d", seconds / 60 % 60, seconds % 60);
}

void CPlayerControl::OnSliderTrack(int controlId, int position)
{
    if (controlId == CSonavelDlg::IdPositionSlider) {
        m_dialog.TimeDisplay()->SetText(FormatTime(m_dialog.PositionSlider()->GetPos()));
        m_shownSeconds = -1; // the display shows the drag now
    } else if (controlId == CSonavelDlg::IdVolumeSlider && m_player)
        m_player->setVolume(position);
}

bool CPlayerControl::SeekTo(double seconds)
{
    if (!m_player)
        return false;
    m_resumePosition = seconds;
    return m_player->setCurrentPosition(seconds);
}

void CPlayerControl::OnSliderSet(int controlId, int position)
{
    if (controlId == CSonavelDlg::IdPositionSlider) {
        SeekTo(m_dialog.PositionSlider()->GetPos());
    } else if (controlId == CSonavelDlg::IdVolumeSlider && m_player) {
        m_player->setVolume(position);
    }
}

void CPlayerControl::OnSliderCancel(int controlId, int)
{
    if (controlId == CSonavelDlg::IdVolumeSlider && m_player)
        m_player->setVolume(m_dialog.VolumeSlider()->GetPos());
}

void CPlayerControl::UpdateTick()
{
    double position = 0;
    double duration = 0;
    if (m_player) {
        position = m_player->currentPosition();
        if (const MediaPtr media = m_player->currentMedia())
            duration = media->duration();
    }
    // Twenty times a second: the controls are looked up once, the time formatted when it changes.
    if (!m_positionSlider)
        m_positionSlider = m_dialog.PositionSlider();
    CWmpSlider* slider = m_positionSlider;
    if (!slider->IsDragging()) {
        const int seconds = WholeSeconds(position);
        if (seconds != m_shownSeconds) {
            m_dialog.TimeDisplay()->SetText(FormatTime(seconds));
            m_shownSeconds = seconds;
        }
        const int maximum = WholeSeconds(duration);
        if (slider->GetRangeMin() != 0 || slider->GetRangeMax() != maximum)
            slider->SetRange(0, maximum, true);
        slider->SetPos(seconds);
    }
    m_dialog.PassPositionToScrollLine(position);
    m_dialog.PassPositionToKaraoke(position);
}
