#pragma once

#include <QObject>
#include <QString>

#include <array>
#include <memory>
#include <optional>
#include <utility>

class QContextMenuEvent;
class CKaraokeDlg;
class COnlineLyricCommands;
class CStageCommand;
class CScrollStatic;
class CSonavelDlg;
class CTrackItem;
class Media;
class QMenu;
class QPoint;
using MediaPtr = std::shared_ptr<Media>;

// The main window's lyric work: which lyrics a starting track gets and whether the karaoke
// window or the scrolling line shows them, the karaoke window's two notifications, and the
// track list's right-click menus (menu 131) with their commands: show the karaoke window, new
// lyric file, open it in the text editor, delete it, copy a title, artist or album.
class CLyricCommands : public QObject
{
    Q_OBJECT
public:
    enum CommandId {
        IdKaraokeEdit = 32782,
        IdKaraokeNew = 32783,
        IdKaraokeDelete = 32784,
        IdCopyTitle = 32785,
        IdCopyArtist = 32786,
        IdCopyAlbum = 32787,
        IdKaraokeShow = 32788,
        IdLyricsSearch = 32800,
        IdLyricsPublish = 32801,
        IdStageView = 32802,
    };
    // The four pop-ups of menu 131, used as context menus.
    enum Popup { PopupLyricMark, PopupTitle, PopupArtist, PopupAlbum, PopupCount };
    static constexpr int MenuId = 131;

    CLyricCommands(CSonavelDlg& dialog, CScrollStatic& scrollLine);
    ~CLyricCommands() override;

    CKaraokeDlg& KaraokeWindow() const { return *m_karaoke; }
    // Search, publish and the automatic lookup on the lyrics server.
    COnlineLyricCommands& Online() const { return *m_online; }
    CScrollStatic& ScrollLine() const { return m_scrollLine; }
    // The stage view and its command.
    CStageCommand& Stage() const { return *m_stage; }
    // The lyric file of the playing track; empty when it has none or its lyrics come from its tag.
    QString CurrentLyricPath() const { return m_currentLyricPath; }

    // A track started playing: its lyric file, else its tag's lyrics (row -1: not listed).
    void TrackLyricsOnNewTrack(const QString& url, int row);
    // Loads lyrics into the karaoke window and, with `alsoScrollLine`, into the scrolling line.
    bool LoadLyrics(const QString& path, int row, bool alsoScrollLine);
    // A lyric file was written for the playing track: it becomes its lyric file and is shown
    // (the karaoke window opened with `showWindow`).
    void AdoptLyricFile(const QString& path, bool showWindow);
    // Stop: the karaoke window goes unless its time tags are being edited.
    void CloseKaraokeUnlessEditing();
    void DestroyKaraokeWindow();

    // Builds the pop-ups and takes over the track list's right click.
    void LoadMenus();
    QMenu* Menu(Popup popup) const { return m_menus[size_t(popup)]; }
    // The pop-up for a right click at a point of the list's viewport, its items enabled for the
    // row under it, which becomes the context row; no value where no menu belongs.
    std::optional<Popup> PrepareContextMenu(const QPoint& viewportPos);
    int ContextRow() const { return m_contextRow; }
    void OnCommand(int commandId);

    void ShowKaraokeWindow();
    void NewLyricFile();
    void OpenInEditor();
    void DeleteLyricFile();
    void CopyColumn(int column);
    // A double click on a row's lyric mark.
    void OnLyricMarkDoubleClick(int row);
    // Messages 1224 and 1225 of the karaoke window.
    int OnEditEnded(const QString& lyricPath, bool savedOrReloaded);
    void OnKaraokeClosing();

    // Starts the editor command (split by the shell's quoting rules, never run by a shell) with
    // the file as one more argument, detached. False when it could not start.
    static bool StartEditor(const QString& command, const QString& filePath);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Where the lyrics that Load gave the karaoke window came from.
    enum class Source { None, File, Tag };
    Source Load(const QString& path, int row, bool alsoScrollLine);
    void OnContextMenuRequested(const QPoint& viewportPos);
    bool OpenMarkMenuFromKeyboard(const QContextMenuEvent& event);
    const CTrackItem* RowItem(int row) const;
    // The lyrics in the tags of a row or of the playing track, 8-bit texts in the lyric code page;
    // no value for rows of a disc and tracks without tag lyrics.
    bool RowHasTagLyrics(int row) const;
    std::optional<QString> RowTagLyrics(int row) const;
    std::optional<QString> PlayingTagLyrics() const;
    // The row's artist and title, else the playing item's.
    std::pair<QString, QString> PlayingArtistAndTitle(int row) const;
    bool IsPlayingRow(int row) const;
    MediaPtr PlayingMedia() const;
    QString PlayingUrl() const;
    // The playing item's path when it is a file (a new lyric file can go beside it).
    QString PlayingFilePath() const;
    // The listed row of the media item now open; -1 when it is not listed.
    int PlayingRow() const;
    double CurrentDuration() const;
    void ShowKaraoke();
    // The stage view takes the playing track's lyrics: its lyric file, else its tag's lyrics.
    void LoadStage(int row);
    // Whether the engine's open item is the track whose lyrics the karaoke window holds.
    bool KaraokeTrackIsOpen() const;
    void ShowReadFailed(const QString& path, const QString& caption);

    CSonavelDlg& m_dialog;
    CScrollStatic& m_scrollLine;
    std::unique_ptr<CKaraokeDlg> m_karaoke;
    std::unique_ptr<COnlineLyricCommands> m_online;
    CStageCommand* m_stage = nullptr;
    std::array<QMenu*, PopupCount> m_menus{};
    QString m_currentLyricPath;
    // The karaoke window holds the playing track's lyrics (cleared after a failed read).
    bool m_karaokeHasTrackLyrics = false;
    // The track whose lyrics the karaoke window was given last.
    QString m_karaokeTrackUrl;
    int m_contextRow = -1;
};
