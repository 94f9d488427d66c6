#pragma once

#include "player/karaoke/LyricsMissCache.h"
#include "player/karaoke/LyricsTrack.h"

#include <QObject>
#include <QPointer>

#include <memory>
#include <optional>

class CAutoLyricsLookup;
class CKaraokeOnlineMenu;
class CLyricCommands;
class CLyricPublishDlg;
class CLyricSearchDlg;
class CSonavelDlg;
class LrclibClient;

// The main window's side of online lyrics: the lyrics server's client (address "LyricsServer"
// of "CSonavelApp", the program's name, version and home page as its user agent), "歌詞を
//検索…" for a row or the playing track, "公開…" for a lyric file, and the automatic lookup of
// a track that starts without lyrics ("LyricsAutoLookup", off until the user says yes; asked
// once, the first time they search). Lyrics saved for the playing track are shown at once.
class COnlineLyricCommands : public QObject
{
    Q_OBJECT
public:
    COnlineLyricCommands(CSonavelDlg& dialog, CLyricCommands& lyrics);
    ~COnlineLyricCommands() override;

    LrclibClient& Client() const { return *m_client; }
    CAutoLyricsLookup& AutoLookup() const { return *m_autoLookup; }
    CKaraokeOnlineMenu& KaraokeMenu() const { return *m_karaokeMenu; }
    // The dialogs while they are open.
    CLyricSearchDlg* SearchWindow() const;
    CLyricPublishDlg* PublishWindow() const;

    bool IsAutoLookupOn() const { return m_autoLookupSetting == 1; }
    void SetAutoLookupOn(bool on);

    // What the server is told of a track: a listed row's texts, else the engine's, and the
    // duration the engine knows.
    LyricsTrack TrackOf(const QString& path, int row) const;
    // The track's lyric file beside it, else in the saved lyrics folder.
    std::optional<QString> FindLyrics(const QString& path, int row) const;

    void SearchForRow(int row);
    void SearchForPlaying();
    void PublishForRow(int row);
    void PublishShown();
    bool CanPublishShown() const;
    // A track started with no lyrics of any kind.
    void OnTrackWithoutLyrics(const QString& path, int row);

private:
    void OpenSearch(const LyricsTrack& track);
    void OpenPublish(const LyricsTrack& track, const QString& lyricPath);
    void AskAutoLookupOnce();
    // Lyrics were written for a track: its rows get the mark, the playing track shows them.
    void OnLyricsSaved(const QString& trackPath, const QString& lyricPath, bool showWindow);
    QString PlayingPath() const;

    CSonavelDlg& m_dialog;
    CLyricCommands& m_lyrics;
    std::unique_ptr<LrclibClient> m_client;
    CLyricsMissCache m_misses;
    std::unique_ptr<CAutoLyricsLookup> m_autoLookup;
    CKaraokeOnlineMenu* m_karaokeMenu = nullptr;
    QPointer<CLyricSearchDlg> m_search;
    QPointer<CLyricPublishDlg> m_publish;
    int m_autoLookupSetting = -1;
};
