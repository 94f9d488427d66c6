#pragma once

#include "common/ui/SharedTypes.h"
#include "player/karaoke/KaraokeData.h"
#include "player/karaoke/KaraokeEditor.h"
#include "player/karaoke/KaraokeLayout.h"
#include "player/karaoke/KaraokePainter.h"
#include "player/karaoke/TapToTime.h"
#include "player/karaoke/display/FrameTicker.h"
#include "player/karaoke/display/LyricPlayhead.h"
#include "player/karaoke/display/LyricTimeline.h"
#include "player/karaoke/display/RubyLayer.h"
#include "player/karaoke/display/ShapedTextCache.h"
#include "player/settings/LogFont.h"

#include <QFrame>

#include <optional>

// The lyric display of the karaoke window (control 1044): it owns a lyric document, has it laid
// out as lines of words (CKaraokeLayout) and painted so that sung words, the word being sung
// (split at the wipe) and words to come differ in colour (CKaraokePainter), with the readings of
// the ルビ setting over their kanji (CRubyLayer; laid out again when the setting changes). In edit
// mode it shows each block's time tag in front of it, and clicks edit tags and words
// (CKaraokeEditor, and CTapToTime for timing by keys); the readings take no clicks.
//
// Settings: colours in section "CKaraokeStatic", the font in "CKaraokeStatic_KaraokeFont"; read
// when the object is built, written back when it is destroyed. The object is meant to live as
// long as the main window; the karaoke window around it may close and open again.
//
// Position updates. SetPosition(seconds) is the plain update of the main window's timer: the wipe
// stands at that position until the next one. SetPosition(seconds, playing) also says whether the
// engine plays; while it does (and the smooth wipe is on, the display can be seen and a block is
// current or still to come), the wipe runs on between updates at the screen's frame rate, driven
// by a CLyricPlayhead, waking up only when it moves by at least a pixel.
//
// Coordinates: layout rectangles (CKaraokeBlock::TagRect, CKaraokeToken::LayoutRect) are content
// coordinates from (0, 0); on screen they are shifted by the margins, less the scroll offset, and
// by the frame. "Client" points below are relative to the inside of the frame.
class CKaraokeStatic : public QFrame
{
    Q_OBJECT
public:
    static constexpr int ControlId = 1044;
    static constexpr char Section[] = "CKaraokeStatic";
    static constexpr char FontSection[] = "CKaraokeStatic_KaraokeFont";

    enum Mode : int {
        ModeView = 0,       // lyrics only
        ModeEdit = 1,       // time tags shown, clicks edit
        ModeInlineEdit = 2, // an inline edit box is open
    };

    using BlockState = CLyricTimeline::State;
    using Hit = KaraokeHit;

    // Where the wipe stands in the content: its line and the next one, and its x.
    struct SungSpot {
        QRect line;
        QRect nextLine;   // empty after the last line
        int x = 0;
    };

    explicit CKaraokeStatic(QWidget* parent = nullptr);
    ~CKaraokeStatic() override;

    // Loads lyric text (from a track's tag) or a lyric file, resetting the view (clock 0, mode 0,
    // not modified, scroll offset 0). A positive duration (seconds) becomes the end of the last
    // block; otherwise the previous one stays. The result is the parse result: false when tags
    // run backwards (the document is shown all the same) or the file cannot be read.
    bool LoadFromText(QStringView text, double durationSeconds);
    bool LoadFromFile(const QString& path, int& codePage, double durationSeconds);
    // Saves the document; the modified flag is cleared only when the save succeeds.
    bool Save(const QString& path, int codePage);

    void SetPosition(double seconds);
    void SetPosition(double seconds, bool playing);
    // The engine's tempo (media seconds per second), at which the wipe runs on between updates.
    void SetPlaybackSpeed(double speed);
    // Milliseconds the lyrics are moved by on top of the document's offset, for this session
    // (not saved with the document); the wipe follows at once.
    void SetOffsetNudge(int milliseconds);
    int OffsetNudge() const { return m_playhead.OffsetNudge(); }
    // On by default; off gives exactly the steps of the position updates.
    void SetSmoothWipe(bool on);
    bool SmoothWipe() const { return m_smoothWipe; }
    // The engine position (seconds) and the lyric clock (milliseconds) of the last wipe update.
    double WipePosition() const { return m_wipePosition; }
    double LyricClockMs() const { return m_clockMs; }
    // Whether the wipe is running on between position updates now.
    bool IsAnimating() const { return m_ticker.IsActive(); }
    // Whether the engine played at the last position update.
    bool IsPlaying() const { return m_playhead.IsRunning(); }

    // Closes an open inline edit box without applying it; with a new mode or `force`, measures,
    // lays out and repaints everything.
    void SetMode(int mode, bool force = false);
    int GetMode() const { return m_mode; }

    // The content point shown at the top-left of the client area; unchanged values do nothing.
    void SetScrollOffset(const QPoint& offset);
    QPoint GetScrollOffset() const { return m_scroll; }

    void SetBackColor(COLORREF color);
    COLORREF GetBackColor() const { return m_colours.back; }
    void SetErrColor(COLORREF color);
    COLORREF GetErrColor() const { return m_colours.err; }
    // The settings dialog's lyric font and sung / unsung / tag colours.
    void SetFontAndColors(const LogFont& font, COLORREF sung, COLORREF unsung, COLORREF tag);
    void GetFontAndColors(LogFont& font, COLORREF& sung, COLORREF& unsung, COLORREF& tag) const;
    const LogFont& GetLogFont() const { return m_logFont; }
    const QFont& LyricFont() const { return m_font; }
    const KaraokeColours& Colours() const { return m_colours; }

    QSize ContentSize() const { return m_layout.ContentSize(); }
    // The room above each line for readings (0 when none are shown).
    int RubyBand() const { return m_rubies.Band(); }
    const CRubyLayer& Rubies() const { return m_rubies; }
    QSize ClientSize() const { return contentsRect().size(); }
    QPoint Margins() const { return m_margins; }
    bool IsModified() const { return m_modified; }

    CKaraokeData& Data() { return m_data; }
    const CKaraokeData& Data() const { return m_data; }
    double MediaDurationMs() const { return m_durationMs; }
    // The block's state at a lyric clock; `wipe` receives the wipe pixel of a current block.
    BlockState StateAt(const CKaraokeBlock* block, double clockMs, int* wipe = nullptr) const;
    // The line being sung, or the next one to sing; no value when the lyrics are over.
    std::optional<SungSpot> CurrentSpot() const;

    // Where an item is drawn, in client coordinates (empty when it has no room).
    QRect ClientRectOf(const Hit& item) const;
    // The tag or word under a client point as the editor sees it (margins around line ends count).
    std::optional<Hit> HitTest(const QPoint& clientPoint) const;

    // The engine's position in seconds, read by the frames and for stamping tags; no value while
    // it is not the position of these lyrics (nothing is then stamped).
    void SetPositionSource(CLyricPlayhead::PositionSource source);

    // The editor (mode 1): a left click opens the inline box on a hit; a right click stamps.
    CKaraokeEditor& Editor() { return *m_editor; }
    bool OpenInlineEdit(const Hit& item) { return m_editor->OpenInlineEdit(item); }
    CKaraokeInlineEdit* InlineEdit() const { return m_editor->InlineEdit(); }
    void ApplyInlineEdit() { m_editor->ApplyInlineEdit(); }
    void CancelInlineEdit() { m_editor->CancelInlineEdit(); }
    bool StampAt(const QPoint& clientPoint) { return m_editor->StampAt(clientPoint); }
    int SplitIndexAt(const QString& word, int x) const { return m_editor->SplitIndexAt(word, x); }
    // Tap-to-time (mode 1), see CTapToTime.
    bool TapLine() { return m_tap.TapLine(); }
    bool TapWord() { return m_tap.TapWord(); }
    void TapBack() { m_tap.TapBack(); }
    int TapCursor() const { return m_tap.Cursor(); }
    std::optional<Hit> TapCursorWord() const { return m_tap.CursorWord(); }

    // The editor's changes: the document changed (modified, laid out again), the tap cursor moved.
    void EditChanged();
    void TapCursorMoved();

signals:
    // The content size may have changed (a load, an edit, a new font or mode).
    void LayoutChanged();
    // The wipe moved to another line or by some pixels; CurrentSpot() tells where.
    void WipeMoved();
    void TapCursorChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    friend class CKaraokeEditor;

    void ReadSettings();
    void WriteSettings() const;
    void ApplyFont();
    void ResetView();
    void AfterLoad(double durationSeconds);
    void Relayout();
    QPoint ContentToClient() const;
    QPoint ContentToWidget() const;
    void UpdateWipe();
    void OnFrame();
    // (Re)schedules the next frame, at the screen's frame rate at most and not before the wipe
    // moves by a pixel (or a block still to come starts); none while nothing can change.
    void UpdateFrames();
    // Real milliseconds until the wipe next changes; -1 when it will not.
    double NextChangeMs() const;

    CKaraokeData m_data;
    CKaraokeLayout m_layout;
    CRubyLayer m_rubies;
    CLyricPlayhead m_playhead;
    CFrameTicker m_ticker;
    bool m_smoothWipe = true;
    double m_wipePosition = 0;
    double m_clockMs = 0;
    double m_durationMs = 0;
    int m_paintedBlock = -1;     // the block found at the last paint (-1 before the first)
    int m_paintedProgress = -1;  // its wipe pixel, -1 when it was still to come
    bool m_painted = false;

    int m_mode = ModeView;
    bool m_modified = false;
    CKaraokeEditor* m_editor = nullptr;
    CTapToTime m_tap;

    QPoint m_margins{3, 3};
    QPoint m_scroll;

    KaraokeColours m_colours;
    LogFont m_logFont;
    QFont m_font;
    CShapedTextCache m_texts;
};
