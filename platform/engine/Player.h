#pragma once

// The media engine: playback on libmpv, item attributes from TagLib, playlists kept in files.
//
// Contract for the player's code (the object model of the Windows Media Player control it replaces):
// - Player::create() gives the engine, or nullptr when libmpv cannot start (show the set-up error).
// - Every operation reports failure through its result: false, nullptr, or an empty optional. None
//   throws. Transport calls act only when isAvailable() says so, as the original's callers expect.
// - Play states (playState(), PlayStateChange): 0 undefined, 1 stopped, 2 paused, 3 playing,
//   4 scan forward, 5 scan reverse, 6 buffering, 7 waiting, 8 media ended, 9 transitioning,
//   10 ready, 11 reconnecting. Starting an item gives 9 then 3 (10 instead of 3 with auto start
//   off); pause 2; play again 3; stop 1. At the end of an item 8, then the next item of the current
//   playlist (loop wraps to the first, shuffle picks one not yet played in this round; with loop a
//   new round begins once each has played); at the end of the list without loop 1, with the first
//   item current again. An item that cannot be played (missing, unreadable, not media, a playlist
//   file) is skipped like an ended one, without 8. "previous" in shuffle goes back through the
//   items played, skipping those no longer in the list.
// - setCurrentPlaylist() stops playback and makes the list's first item current; with auto start on
//   it starts playing at once, as the original control did. play() while an item is still opening
//   (9) only makes it start once open.
// - A playlist may change while it plays (moveItem, clear): the playing item is found again by
//   identity, and the list goes on after it.
// - Events are Qt signals on the GUI thread, emitted from the event loop (never from inside a call):
//   OpenStateChange, PlayStateChange, CdromMediaChange (drive index), Click and DoubleClick
//   (button 1 left / 2 right / 4 middle, shift 1 Shift / 2 Ctrl / 4 Alt, x, y on the surface).
// - Outputs: real audio and video unless Options say null; Options::fromEnvironment() takes
//   SONAVEL_ENGINE_OUTPUT=null (tests) into account.
// - Positions and durations are seconds. Volume is 0 to 100.

#include "platform/engine/CdromCollection.h"
#include "platform/engine/DiscDriveProvider.h"
#include "platform/engine/Media.h"
#include "platform/engine/MediaCollection.h"
#include "platform/engine/Playlist.h"
#include "platform/engine/PlaylistCollection.h"

#include <QObject>
#include <QString>

#include <memory>
#include <optional>

class AudioEffects;
class QWidget;
class VideoSurface;

class Player : public QObject
{
    Q_OBJECT
public:
    struct Options {
        bool nullAudio = false;
        bool nullVideo = false;
        // Plays as fast as it can decode (for tests where timing does not matter).
        bool untimed = false;
        // Where playlists are kept; empty for PlaylistCollection::defaultFolder(). Tests give a
        // temporary folder, since test executables running side by side share the default one.
        QString playlistFolder;
        // Renders the audio into this WAV file (mpv's PCM output) as fast as it decodes, instead
        // of playing it (tests that look at what the engine plays).
        QString audioFile;
        // The optical drives; nullptr for the system's own.
        std::shared_ptr<DiscDriveProvider> discDrives;

        // Real outputs, or null ones when SONAVEL_ENGINE_OUTPUT is "null".
        static Options fromEnvironment();
    };

    // nullptr when libmpv cannot be started.
    static std::unique_ptr<Player> create(const Options& options = Options::fromEnvironment());
    ~Player() override;

    // Controls. `action` is "play", "pause", "stop", "next" or "previous".
    bool isAvailable(const QString& action) const;
    bool play();
    bool pause();
    bool stop();
    bool next();
    bool previous();
    // Plays the item, which must be in the current playlist.
    bool playItem(const MediaPtr& item);
    // Seconds into the current item; 0 when nothing is open.
    double currentPosition() const;
    // Seeks in the open item (playing, paused or ready); false otherwise.
    bool setCurrentPosition(double seconds);

    // Settings. `mode` is "loop" or "shuffle"; anything else fails.
    bool setMode(const QString& mode, bool on);
    std::optional<bool> getMode(const QString& mode) const;
    bool autoStart() const;
    void setAutoStart(bool on);
    int volume() const;
    bool setVolume(int volume);

    // Karaoke controls (see AudioEffects): the key in semitones (-6 to +6), the tempo as a rate
    // (0.5 to 1.5, pitch kept), the centre of a stereo mix cancelled. Changed while playing, the
    // item plays on. False out of range, or when libmpv refuses the filter (see audioEffects()).
    bool setPitch(int semitones);
    bool setTempo(double rate);
    bool setVocalReduction(bool on);
    const AudioEffects& audioEffects() const;

    int playState() const;
    MediaPtr currentMedia() const;
    PlaylistPtr currentPlaylist() const;
    bool setCurrentPlaylist(const PlaylistPtr& playlist);
    // A new item for a file path (the file is not read yet); nullptr for an empty path.
    MediaPtr newMedia(const QString& path);
    // "mpv <version>" of the library in use.
    QString versionInfo() const;

    // Full screen shows the video surface's window over the whole screen; false without a surface.
    bool fullScreen() const;
    bool setFullScreen(bool on);

    PlaylistCollection& playlistCollection();
    MediaCollection& mediaCollection();
    CdromCollection& cdromCollection();

    // The widget that shows the picture, made once and owned by `parent`; later calls give it again.
    VideoSurface* createVideoSurface(QWidget* parent);
    VideoSurface* videoSurface() const;

signals:
    void OpenStateChange(int newState);
    void PlayStateChange(int newState);
    void CdromMediaChange(int driveIndex);
    void Click(short button, short shiftState, int x, int y);
    void DoubleClick(short button, short shiftState, int x, int y);

private:
    friend class VideoSurface;
    struct Engine;

    explicit Player(std::unique_ptr<Engine> engine);
    Q_INVOKABLE void drainEvents();
    // The surface's renderer came or went: video goes to it, or nowhere, from now on.
    void videoRendererChanged();

    std::unique_ptr<Engine> d;
};
