#pragma once

#include "platform/engine/Player.h"

#include <QPointer>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class CSonavelDlg;
class CWmpSlider;
class CWmpEventSink;
class CWmpVideoDlg;

// The main window's side of the media engine: creation inside the video window, the player's
// two playlists, transport commands, loop and shuffle, the sliders, the periodic update and, at
// exit, the removal of the player's playlists and the teardown.
class CPlayerControl
{
public:
    static constexpr char PlaylistName[] = "SonavelPlayList";

    using PlayerFactory = std::function<std::unique_ptr<Player>()>;

    explicit CPlayerControl(CSonavelDlg& dialog);
    ~CPlayerControl();

    // Creates the video window and the engine in it and applies the "WMPSetting" keys. Every
    // failure is reported once; the window runs on with what was made.
    void CreateEngine();
    // Unsubscribes, releases the engine, destroys the video window and writes "WMPSetting".
    void Teardown();
    // With "DelPlaylistOnExit": removes every library playlist of the player and its file.
    void RemovePlaylistsAtExit();

    void Play();
    void Pause();
    void Stop();
    void Previous();
    void Next();
    void PlayRow(int row);
    void SetLoop(bool on);
    void SetShuffle(bool on);

    // Seeks in the open track as a release of the position slider does; false when it cannot.
    bool SeekTo(double seconds);
    void OnSliderTrack(int controlId, int position);
    void OnSliderSet(int controlId, int position);
    void OnSliderCancel(int controlId, int position);
    // The update tick: read-out and position slider follow the engine's position.
    void UpdateTick();

    // "%02d:%02d" of the whole seconds, minutes modulo 60.
    static QString FormatTime(int seconds);

    // The engine, or nullptr when it could not be created.
    Player* GetPlayer() const { return m_player.get(); }
    // Slots 0 and 1 of the track list: the two playlists named "SonavelPlayList".
    const std::vector<PlaylistPtr>& PlayerPlaylists() const { return m_playerPlaylists; }
    CWmpVideoDlg* VideoDlg() const { return m_video; }
    double ResumePosition() const { return m_resumePosition; }
    bool DetectCdromMediaChange() const { return m_detectCdromMediaChange != 0; }
    void SetDetectCdromMediaChange(bool detect) { m_detectCdromMediaChange = detect ? 1 : 0; }
    // Replaces how the engine is made (tests: an engine with their own disc drives, or none at
    // all as when libmpv cannot start); an empty factory restores Player::create().
    static void SetPlayerFactory(PlayerFactory factory);

    // The video window's topmost state, kept when the window goes at teardown.
    bool VideoTopmost() const;

private:
    bool IsAvailable(const char* action) const;
    void PreparePlaylists();
    void ApplyEngineSettings();
    bool RemovePlaylistEntry(const MediaPtr& entry);

    CSonavelDlg& m_dialog;
    CWmpVideoDlg* m_video = nullptr;
    std::unique_ptr<Player> m_player;
    std::unique_ptr<CWmpEventSink> m_sink;
    std::vector<PlaylistPtr> m_playerPlaylists;
    int m_detectCdromMediaChange = 1;
    double m_resumePosition = 0;
    bool m_videoTopmostAtTeardown = false;
    bool m_engineSettingsApplied = false;
    bool m_tornDown = false;
    QPointer<CWmpSlider> m_positionSlider;
    int m_shownSeconds = -1; // what the time display shows, -1 when not known
};
