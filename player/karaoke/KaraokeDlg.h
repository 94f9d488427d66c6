#pragma once

#include "common/ui/SizableDialog.h"

#include <QStringView>

#include <functional>
#include <optional>

class CKaraokeActions;
class CKaraokeFollower;
class CKaraokeStatic;
class CKaraokeStrip;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QScrollBar;

// The karaoke window (dialog 141, "カラオケ表示"): the lyric display with scroll bars, the
// document's title and artist, always-on-top, and the edit mode of the time-tag editor.
//
// Lifetime. The object lives as long as the main window and is built hidden; its window is
// created and destroyed on demand:
//   - Create() runs the opening steps (placement restored from "CKaraokeDlg", "AlwaysOnTop"
//     applied, lyric font and texts in the title and artist boxes, edit mode off, scroll bars) and
//     shows the window; on a created window it only shows and raises it.
//   - DestroyWindow() runs the destroying steps (placement saved, question 1301 when the lyrics or
//     the title or artist were changed and not saved, display mode 0, "AlwaysOnTop" written) and
//     hides the window. The user's close (close button, Escape, the title bar) does the same,
//     after telling the owner (1225), and is refused while editing.
//   - IsWindowCreated() tells whether the window exists in that sense.
// The display and its document survive closing and reopening: the main window keeps loading
// lyrics and passing positions whether or not the window is created.
//
// The owner hears of the window through two callbacks, called synchronously:
//   - editing ended (message 1224): the lyric file path and whether the file was saved or
//     reloaded; the result says whether the window is still to be used (non-zero) or the owner
//     destroyed it (0). Without a callback the window carries on (result 1).
//   - closing (message 1225): the user closed the window.
//
// Desktop clipping ("ClipOnDesktop") is set with CSizableDialog::SetClipOnDesktop; it also keeps
// the fit to content (what maximising does here) inside the desktop.
//
// Tap-to-time keys in edit mode: F8 stamps the engine's position on the next line start, F9 on
// the next word, F7 steps back to the stop stamped last (see CKaraokeStatic::TapLine), F6 plays
// again from 2 s before the tag of the block the tap cursor stands in. Stamps are media time,
// so the tempo may be lowered while tapping.
//
// The karaoke controls (key, tempo, vocal reduction, lyric offset) are a strip above the window's
// buttons, with their shortcuts in the window, once SetKaraokeActions has bound them.
class CKaraokeDlg : public CSizableDialog
{
    Q_OBJECT
public:
    enum ControlId {
        IdClose = 2,
        IdTitle = 1010,
        IdAlwaysOnTop = 1019,
        IdEdit = 1022,
        IdVScroll = 1042,
        IdHScroll = 1043,
        IdDisplay = 1044,
        IdArtist = 1045,
        IdArtistLabel = 1046,
        IdTitleLabel = 1047,
        IdStrip = 1048,
    };
    static constexpr int TemplateId = 141;
    static constexpr char Section[] = "CKaraokeDlg";
    static constexpr int TapLineKey = Qt::Key_F8;
    static constexpr int TapWordKey = Qt::Key_F9;
    static constexpr int TapBackKey = Qt::Key_F7;
    static constexpr int ReplayKey = Qt::Key_F6;
    // Pixels per step of the scroll bars' arrows and per wheel notch (a delta of 120).
    static constexpr int LineStep = 10;
    static constexpr int WheelDivisor = 8;

    using EditEndedHandler = std::function<int(const QString& lyricPath, bool savedOrReloaded)>;
    using ClosingHandler = std::function<void()>;

    explicit CKaraokeDlg(QWidget* owner = nullptr);
    // The owner calls DestroyWindow() first; a window still created only has its placement and
    // "AlwaysOnTop" saved here.
    ~CKaraokeDlg() override;

    static DialogTemplate Template();

    void Create();
    void DestroyWindow();
    bool IsWindowCreated() const { return m_created; }

    void SetEditEndedHandler(EditEndedHandler handler) { m_editEnded = std::move(handler); }
    void SetClosingHandler(ClosingHandler handler) { m_closing = std::move(handler); }
    // The engine's playback position in seconds, read for right-click stamping and tap-to-time;
    // no value while the engine does not play the track of these lyrics.
    void SetPositionSource(std::function<std::optional<double>()> engineSeconds);
    // Whether the engine's open item is the track of these lyrics. While it is not, edit mode
    // stamps nothing (its keys do nothing, the edit button's tip says why) and its wipe stands.
    void SetTrackOpenCheck(std::function<bool()> isOpen);
    bool IsTrackOpen() const { return !m_trackOpen || m_trackOpen(); }
    // Where the engine seeks to (seconds) for a replay in edit mode.
    void SetSeekHandler(std::function<void(double)> seek) { m_seek = std::move(seek); }
    // The strip and the window's shortcuts act through these actions from now on.
    void SetKaraokeActions(CKaraokeActions& actions);
    CKaraokeStrip* Strip() const { return m_strip; }
    // Edit mode's replay (F6): seeks 2 s before the tag of the tap cursor's block.
    bool ReplaySelectedTag();

    // Lyrics from a track's tags. They can be edited when the track's path is given: saving writes
    // a new lyric file beside the track (name.lrc in UTF-8 for LRC text, name.kra otherwise) and
    // never touches the track itself.
    bool LoadFromTagText(QStringView text, double durationSeconds, const QString& artist, const QString& title,
                         const QString& trackPath = QString());
    // Lyrics from a file; the path and the code page the read returned are kept for saving. The
    // edit button is enabled exactly when the result is true.
    bool LoadFromFile(const QString& path, int& codePage, double durationSeconds);
    // Empties the display: the lyrics of the track before must not stay after a failed load.
    void ClearLyrics();
    // The position of the main window's timer; with `playing` the wipe runs on between ticks.
    void SetPosition(double seconds);
    void SetPosition(double seconds, bool playing);
    // 0 = not editing (the main window loads new tracks only then).
    int GetMode() const;
    // After the settings dialog changed the display's font (CKaraokeStatic::SetFontAndColors).
    void OnLyricFontChanged();

    CKaraokeStatic* Display() const { return m_display; }
    QString LyricPath() const { return m_lyricPath; }
    int LyricCodePage() const { return m_lyricCodePage; }
    // Where a save in edit mode goes: the lyric file, a new file beside the track for tag lyrics,
    // or a UTF-8 copy of a file its code page could not read completely.
    QString SavePath() const;

    void UpdateScrollBars();
    // Moves the display and its scroll bars to an offset (clamped to the content).
    void ScrollTo(const QPoint& offset);
    // Keeps the sung line in view; a manual scroll pauses it.
    CKaraokeFollower& Follower() const { return *m_follower; }
    // The size of a window opened without a stored placement: about FirstSizeLines lines of the
    // lyric font, at least FirstSizeWidth pixels wide, inside the desktop.
    static constexpr int FirstSizeLines = 6;
    static constexpr int FirstSizeWidth = 480;
    void ApplyFirstSize();
    // Sizes the window so that the display shows all of the lyrics (instead of maximising).
    void FitToContent();
    // The frame rectangle after growing the client by `growth`: without clipping the right and
    // bottom edges move; with clipping an edge at the desktop's edge stays and the other one
    // moves, the window is pushed back inside, and its left and top edges kept inside.
    static QRect FitFrame(const QRect& frame, const QSize& growth, const QRect& desktop, bool clip,
                          const QSize& minimumFrame);

public slots:
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void PlaceBesideOwner();
    static QWidget* CreateControl(const DialogControl& control, QWidget* parent);
    void FitTextsToFont();
    void AttachControls();
    void ConnectControls();
    void ShowDocumentTexts();
    void ResetEditControls();
    void OnEditButton();
    void EnterEditMode();
    void LeaveEditMode();
    void EndEditMode();
    void KeepEditMode();
    bool SaveWithTexts();
    // Asks before editing a file its code page could not read: saving it there would lose bytes.
    bool AgreeToSaveCopy();
    int SaveCodePage() const;
    bool Reload();
    int NotifyEditEnded(bool savedOrReloaded);
    bool TextsDiffer() const;
    void OnScrollAction(QScrollBar* bar, int action);
    void OnWheel(int delta);
    void RefreshEditTip();
    QScrollBar* VScroll() const;
    QScrollBar* HScroll() const;

    CKaraokeStatic* m_display = nullptr;
    CKaraokeStrip* m_strip = nullptr;
    CKaraokeFollower* m_follower = nullptr;
    QLineEdit* m_title = nullptr;
    QLineEdit* m_artist = nullptr;
    QCheckBox* m_alwaysOnTop = nullptr;
    QPushButton* m_edit = nullptr;
    QPushButton* m_close = nullptr;
    QString m_lyricPath;
    int m_lyricCodePage = 0;
    // Tag lyrics: the track, the text and the texts they came with, to read them again.
    QString m_trackPath;
    QString m_tagText;
    QString m_tagArtist;
    QString m_tagTitle;
    // Edits of a file read with unreadable bytes go to a UTF-8 copy beside it.
    bool m_saveAsCopy = false;
    // Lyrics from a file whose tags are in order: the edit button may be used.
    bool m_editable = false;
    bool m_created = false;
    bool m_fitting = false;
    EditEndedHandler m_editEnded;
    ClosingHandler m_closing;
    std::function<void(double)> m_seek;
    std::function<bool()> m_trackOpen;
    bool m_tipSaysClosed = false;
};
