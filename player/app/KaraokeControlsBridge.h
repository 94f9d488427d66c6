#pragma once

#include "platform/engine/Media.h"
#include "player/karaoke/KaraokeActions.h"
#include "player/karaoke/KaraokeControls.h"

#include <QObject>

class CSonavelDlg;

// The main window's side of the karaoke controls: the key, tempo and vocal reduction go to the
// engine, the tempo and the lyric offset to the lyric displays (the karaoke window's and the
// scrolling line's), and a track that starts playing gets its values (neutral, or the stored
// ones). The karaoke window shows the strip and takes the shortcuts; the track list's lyric menu
// gets the "カラオケ" pop-up. An effect the engine refuses is greyed.
class CKaraokeControlsBridge : public QObject
{
    Q_OBJECT
public:
    explicit CKaraokeControlsBridge(CSonavelDlg& dialog);
    ~CKaraokeControlsBridge() override;

    CKaraokeControls& Controls() { return m_controls; }
    CKaraokeActions& Actions() { return m_actions; }
    // After the lyric menus are built: the "カラオケ" pop-up goes into the lyric mark's menu.
    void AddMenus();

    // The main window started playing an item (play state 3, also after a pause) and loaded its
    // lyrics.
    void OnTrackPlaying(const QString& url);

private:
    void Apply(CKaraokeControls::Control control);
    void ApplyKey();
    void ApplyTempo();
    void ApplyVocalReduction();
    void ApplyOffsetNudge();
    void SaveOffset();
    void TakeSavedOffset(int offset);
    void ShowLyrics();

    CSonavelDlg& m_dialog;
    CKaraokeControls m_controls;
    CKaraokeActions m_actions;
    // The item the values belong to: a pause and play of it keeps them.
    std::weak_ptr<Media> m_item;
};
