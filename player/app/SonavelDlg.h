#pragma once

#include "common/ui/SizableDialog.h"
#include "player/app/MainWindowSettings.h"
#include "player/app/PlayerControl.h"
#include "player/widgets/ScrollStatic.h"

#include <QBasicTimer>
#include <QPointer>

#include <memory>

class CArtWorkDlg;
class CFolderPathEdit;
class CFolderTree;
class CKaraokeControlsBridge;
class CLyricCommands;
class CMprisBridge;
class CPictureCtrl;
class CTimeDisplay;
class CTrackLibrary;
class CTrackListCtrl;
class CVerticalSplitterBar;
class CVolSlider;
class CWmpSlider;
class QCheckBox;
class QImage;
class QMenu;
class QModelIndex;
class QPushButton;
class QToolBar;
struct SettingsRecord;

// The player's main window: folder tree, path edit, track list, sliders, time read-out, tool
// bar, loop and shuffle boxes, settings button, scrolling line and artwork thumbnail. It owns
// the engine (through CPlayerControl) and every other window of the player, dispatches the
// commands and the player's own messages, and saves the settings when it goes.
class CSonavelDlg : public CSizableDialog
{
    Q_OBJECT
public:
    enum ControlId {
        IdFolderTree = 1001,
        IdTrackList = 1002,
        IdFolderPathEdit = 1003,
        IdTimeDisplay = 1004,
        IdPositionSlider = 1005,
        IdVolumeSlider = 1006,
        IdScrollLine = 1007,
        IdSettingsButton = 1008,
        IdThumbnail = 1009,
        IdLoopBox = 1019,
        IdShuffleBox = 1020,
        IdSplitter = 1023,
    };
    enum CommandId {
        IdAbout = 16,
        IdPlay = 32771,
        IdStop = 32772,
        IdPause = 32773,
        IdPrevious = 32774,
        IdNext = 32775,
    };
    // The tool bar's commands in their order.
    static constexpr int ToolBarCommands[] = {IdPrevious, IdStop, IdPause, IdPlay, IdNext};
    static constexpr int TimerId = 2;
    // Dialog units of room the tree and the list keep when a stored splitter position is restored.
    static constexpr int UsableSideWidth = 60;

    // When the folder shown at the last exit (or the path the program was started with) is
    // listed: before the window shows, or, for the program's own start, once the window has
    // first been painted, so that a large folder does not hold the window back.
    enum class StartFolder { BeforeShowing, AfterFirstPaint };

    explicit CSonavelDlg(QWidget* parent = nullptr, StartFolder startFolder = StartFolder::BeforeShowing);
    ~CSonavelDlg() override;

    static DialogTemplate Template();

    // What other parts of the player reach through the main window.
    CPlayerControl& Control() { return *m_control; }
    Player* GetPlayer() const { return m_control->GetPlayer(); }
    CWmpVideoDlg* VideoDlg() const { return m_control->VideoDlg(); }
    MainWindowSettings& Options() { return m_options; }
    CFolderTree* FolderTree() const;
    CTrackListCtrl* TrackList() const;
    // Scanning, sorting and listing folders; nullptr without an engine.
    CTrackLibrary* Library() const { return m_library.get(); }
    CFolderPathEdit* PathEdit() const;
    CWmpSlider* PositionSlider() const;
    CVolSlider* VolumeSlider() const;
    CTimeDisplay* TimeDisplay() const;
    CVerticalSplitterBar* Splitter() const;
    QCheckBox* LoopBox() const;
    QCheckBox* ShuffleBox() const;
    CScrollStatic* ScrollLine() const;
    CPictureCtrl* Thumbnail() const;
    // The artwork window while it exists (from a thumbnail click until the user closes it).
    CArtWorkDlg* ArtWorkWindow() const;
    QToolBar* ToolBar() const { return m_toolBar; }
    // The window on the session bus for desktops' media controls.
    CMprisBridge& Mpris() const { return *m_mpris; }
    QMenu* WindowMenu() const { return m_windowMenu; }
    int UpdateTimerPeriod() const { return m_timerPeriod; }
    bool IsTimerActive() const { return m_timer.isActive(); }
    bool IsDestroyed() const { return m_destroyed; }

    // The player's own messages, handled synchronously.
    void OnWmpOpenState(int state);
    void OnWmpPlayState(int state);
    void OnWmpCdromChange(int driveIndex);
    void OnLayoutReset(int barId);
    // Tool bar commands and the About entry.
    void OnCommand(int commandId);
    void OnAbout();
    // The title-bar text of a play state (empty for an unknown state), before the track.
    static QString PlayStateText(int state);
    // Closing: playlist removal when set, then destruction with the settings saved.
    void Close();

    // Track list and folder tree.
    bool ActivateShownFolder();
    QString UpdateNowPlayingInfo();
    int TrackListRowCount() const;
    QString TrackListRowPath(int row) const;
    void ScrollTrackListToRow(int row);
    int FindPlayingRow(const QString& url);
    // Selects the folder in the tree, painting it once; the selection change lists it.
    void SelectFolderInTree(const QString& path);
    // The tree's selected folder ending with "/", or empty when it is no file-system folder.
    QString SelectedTreeFolder() const;
    void ShowDiscInTrackList(const QString& driveSpecifier);
    void OnTrackListDoubleClick(const QModelIndex& index);
    void ShowSortMark();
    // Artwork: the thumbnail and the artwork window follow the playing track; a thumbnail
    // click opens the window.
    void RefreshArtwork();
    void OnArtworkClicked();
    // Lyrics, karaoke window and scrolling line.
    // Play state 3: the lyrics of the item, unless it only resumes from a pause (`fromPause`)
    // with the lyrics it has.
    void LoadLyricsForNewTrack(const QString& url, int row, bool fromPause = false);
    void CloseKaraokeUnlessEditing();
    void DestroyKaraokeWindow();
    void SetKaraokeClipOnDesktop(bool clip);
    void LoadKaraokeMenus();
    void PassPositionToScrollLine(double seconds);
    void PassPositionToKaraoke(double seconds);
    // The library's now-playing texts for the scrolling line.
    void ShowNowPlayingInfo(const QString& fileName, const QString& title, const QString& artist,
                            const QString& album, const QString& track);
    // The karaoke window, the lyric commands and menu 131.
    CLyricCommands& Lyrics() const { return *m_lyrics; }
    // Key, tempo, vocal reduction and lyric offset while playing.
    CKaraokeControlsBridge& KaraokeControls() const { return *m_karaokeControls; }
    // The settings dialog ("設 定"): opened on a record of the windows' live state, applied on OK.
    void OnSettingsButton();
    SettingsRecord CollectSettings() const;
    void ApplySettings(const SettingsRecord& record);
    // The profile's "Language" as the settings dialog offers it: "ja", "en" or "auto".
    static QString ProfileLanguage();
    // A folder is shown in the tree and list; a file is shown in its folder and played. The
    // window comes to the front; a path that does not exist is reported.
    void OpenPath(const QString& path);
    void RaiseWindow();
    // A folder or file to open at start instead of the stored folder.
    void SetStartPath(const QString& path) { m_pendingStart = path, m_startFromArgument = true; }

public slots:
    // Ends the program as a log-off does: the closing path with settings saved.
    void EndSession();
    void accept() override;
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static QWidget* CreateControl(const DialogControl& control, QWidget* parent);
    static CFolderTree* CreateFolderTree(QWidget* parent);
    static CTrackListCtrl* CreateTrackList(QWidget* parent);
    static QWidget* CreateScrollLine(QWidget* parent);
    static CPictureCtrl* CreateArtworkThumbnail(QWidget* parent);

    void CreateToolBar();
    void CreateWindowMenu();
    void ConnectControls();
    void InitDialog();
    void ArrangeControls();
    void AttachAnchors();
    void PlaceAtFirstStart();
    void InitSplitter();
    void InitTrackListColumns();
    void ApplyFonts();
    void CreateLibrary();
    void StartUpdateTimer();
    // The start path, else the stored folder unless a folder was opened before.
    void OpenStartPath();
    // Folders and files dropped from the file manager onto the tree or the list are opened.
    void AcceptPathDrops();
    bool HandlePathDrop(QObject* watched, QEvent* event);
    // Shows the video window with the caption for a video item, hides it otherwise.
    void ShowVideoFor(const MediaPtr& media, const QString& caption);
    // The playing track's picture, or a null image when it has none.
    QImage CurrentArtwork();
    void DestroyArtworkWindow();
    // Steps of applying the settings dialog's record.
    void ApplyTagReading(const SettingsRecord& record);
    void ApplyChangedFonts(const SettingsRecord& record);
    // The scrolling line's and the karaoke display's fonts, colours, speed and show flags.
    void CollectDisplaySettings(SettingsRecord& record) const;
    void ApplyDisplaySettings(const SettingsRecord& record);
    void ApplyWindowOptions(const SettingsRecord& record);
    void Destroy();
    void SaveSettings();

    std::unique_ptr<CPlayerControl> m_control;
    MainWindowSettings m_options;
    // Works on m_options.Scan and the engine; goes before the engine and the widgets.
    std::unique_ptr<CTrackLibrary> m_library;
    std::unique_ptr<CLyricCommands> m_lyrics;
    // Made once the engine exists, before MPRIS, which shows its tempo.
    std::unique_ptr<CKaraokeControlsBridge> m_karaokeControls;
    // The item whose lyrics were loaded last, and the play state reported before the last.
    std::weak_ptr<Media> m_lyricsItem;
    int m_lastPlayState = 0;
    // Made once the engine and the library exist; goes first.
    std::unique_ptr<CMprisBridge> m_mpris;
    QToolBar* m_toolBar = nullptr;
    QMenu* m_windowMenu = nullptr;
    QPointer<CArtWorkDlg> m_artWork;
    // The track whose picture the thumbnail shows.
    QString m_artworkUrl;
    std::weak_ptr<Media> m_artworkMedia;
    QBasicTimer m_timer;
    int m_timerPeriod = 50;
    bool m_destroyed = false;
    // The stored folder or the start path while it waits for the first paint.
    QString m_pendingStart;
    bool m_startFromArgument = false;
};
