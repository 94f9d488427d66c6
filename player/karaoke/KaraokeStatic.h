#pragma once

#include "common/ui/SharedTypes.h"
#include "player/karaoke/KaraokeData.h"
#include "player/karaoke/KaraokeInlineEdit.h"
#include "player/karaoke/LyricClock.h"
#include "player/settings/LogFont.h"

#include <QFrame>
#include <QHash>
#include <QPointer>
#include <QStaticText>
#include <QTimer>

#include <functional>
#include <optional>
#include <vector>


// The lyric display of the karaoke window (control 1044): it owns a lyric document, lays its
// blocks out as lines of words (no wrapping) and paints them so that sung words, the word being
// sung (split at the wipe) and words to come differ in colour. In edit mode it shows each block's
// time tag in front of it, and clicks edit tags and words (the karaoke window's time-tag editor).
//
// Settings: colours in section "CKaraokeStatic", the font in "CKaraokeStatic_KaraokeFont"; read
// when the object is built, written back when it is destroyed. The object is meant to live as
// long as the main window; the karaoke window around it may close and open again.
//
// Position updates. SetPosition(seconds) is the plain update of the main window's timer: the wipe
// stands at that position until the next one. SetPosition(seconds, playing) also says whether the
// engine plays; while it does (and the smooth wipe is on, the display is visible and a block is
// current or still to come), the wipe runs on between updates at the screen's frame rate, driven
// by a CLyricClock, waking up only when it moves by at least a pixel. With a position source
// (see SetPositionSource) every other frame also reads the engine's position, which keeps the
// clock within a few milliseconds of the engine's own steps.
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

    enum class BlockState { Error, Unsung, Sung, Current };

    // A tag or a word under a point: the block, and the token index or -1 for the tag.
    struct Hit {
        CKaraokeBlock* block = nullptr;
        int token = -1;
        bool operator==(const Hit&) const = default;
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
    // On by default; off gives exactly the steps of the position updates.
    void SetSmoothWipe(bool on);
    bool SmoothWipe() const { return m_smoothWipe; }
    // The engine position (seconds) and the lyric clock (milliseconds) of the last wipe update.
    double WipePosition() const { return m_wipePosition; }
    double LyricClockMs() const { return m_clockMs; }
    // Whether the wipe is running on between position updates now.
    bool IsAnimating() const { return m_frameTimer.isActive(); }

    // Closes an open inline edit box without applying it; with a new mode or `force`, measures,
    // lays out and repaints everything.
    void SetMode(int mode, bool force = false);
    int GetMode() const { return m_mode; }

    // The content point shown at the top-left of the client area; unchanged values do nothing.
    void SetScrollOffset(const QPoint& offset);
    QPoint GetScrollOffset() const { return m_scroll; }

    void SetBackColor(COLORREF color);
    COLORREF GetBackColor() const { return m_backColor; }
    void SetErrColor(COLORREF color);
    COLORREF GetErrColor() const { return m_errColor; }
    // The settings dialog's lyric font and sung / unsung / tag colours.
    void SetFontAndColors(const LogFont& font, COLORREF sung, COLORREF unsung, COLORREF tag);
    void GetFontAndColors(LogFont& font, COLORREF& sung, COLORREF& unsung, COLORREF& tag) const;
    const LogFont& GetLogFont() const { return m_logFont; }
    const QFont& LyricFont() const { return m_font; }

    QSize ContentSize() const { return m_contentSize; }
    QSize ClientSize() const { return contentsRect().size(); }
    QPoint Margins() const { return m_margins; }
    bool IsModified() const { return m_modified; }

    CKaraokeData& Data() { return m_data; }
    const CKaraokeData& Data() const { return m_data; }
    double MediaDurationMs() const { return m_durationMs; }
    // The block's state at a lyric clock; `wipe` receives the wipe pixel of a current block.
    BlockState StateAt(const CKaraokeBlock* block, double clockMs, int* wipe = nullptr) const;

    // Where an item is drawn, in client coordinates (empty when it has no room).
    QRect ClientRectOf(const Hit& item) const;
    // The tag or word under a client point as the editor sees it (margins around line ends count).
    std::optional<Hit> HitTest(const QPoint& clientPoint) const;

    // The engine's position in seconds, for stamping tags; no source: nothing is stamped.
    void SetPositionSource(std::function<double()> engineSeconds) { m_positionSource = std::move(engineSeconds); }

    // Editing (mode 1). A left click opens the inline box on a hit; a right click stamps the
    // engine's position on a tag, or splits a word at the character boundary nearest the click.
    bool OpenInlineEdit(const Hit& item);
    CKaraokeInlineEdit* InlineEdit() const { return m_inlineEdit; }
    // Enter in the box: applies the text (a bad tag leaves the box open after message 1219).
    void ApplyInlineEdit();
    // Escape in the box, a lost focus, a scroll: closes it without applying.
    void CancelInlineEdit();
    bool StampAt(const QPoint& clientPoint);
    // The split index of a word for a click `x` pixels right of its left edge.
    int SplitIndexAt(const QString& word, int x) const;

    // Tap-to-time (mode 1): the cursor stands on the next word to stamp. TapLine stamps the
    // engine's position on the next line start at or after the cursor (re-stamping the tag of a
    // block that begins there, else splitting the block there) and moves the cursor to the line
    // start after it; TapWord does the same word by word; TapBack returns to the stop stamped last.
    bool TapLine();
    bool TapWord();
    void TapBack();
    // The cursor as a word ordinal in document order, and the word it stands on.
    int TapCursor() const { return m_tapCursor; }
    std::optional<Hit> TapCursorWord() const { return m_tapCursorWord; }

signals:
    // The content size may have changed (an edit re-laid the lyrics out).
    void LayoutChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    struct BlockIndex {
        CKaraokeBlock* block = nullptr;
        double end = 0;   // the next block's start, or the media duration for the last one
        int top = 0;      // content rows the block's tag and words cover
        int bottom = 0;   // (largest bottom so far, so it never decreases along the chain)
    };
    struct WordStop {
        CKaraokeBlock* block = nullptr;
        int token = 0;
        bool lineStart = false;
    };

    void ReadSettings();
    void WriteSettings() const;
    void ApplyFont();
    void ResetView();
    void AfterLoad(double durationSeconds);
    void MeasureBlock(CKaraokeBlock& block, const QFontMetrics& metrics) const;
    void MeasureAll();
    void LayoutAll();
    void BuildIndex();
    void Relayout();
    void EditChanged();
    void RestoreFocus();
    // The first block whose rows reach below a content row.
    size_t FirstBlockReaching(int contentY) const;
    // The first block current, or still to come after another one (-1: none), at a clock.
    int FindActiveBlock(double clockMs, int* wipe) const;
    void UpdateWipe();
    void OnFrame();
    // (Re)schedules the next frame, at the screen's frame rate at most and not before the wipe
    // moves by a pixel (or a block still to come starts); none while nothing can change.
    void UpdateFrames();
    // Real milliseconds until the wipe next changes; -1 when it will not.
    double NextChangeMs() const;
    QRegion WordsRegion(int fromIndex, int toIndex) const;
    QRegion WipeStrip(int index, int fromPixel, int toPixel) const;
    QPoint ContentToClient() const;
    QRect OnScreen(const QRect& contentRect) const;
    void PaintBlock(QPainter& painter, const BlockIndex& entry, const QRegion& area);
    void PaintCurrentWords(QPainter& painter, const CKaraokeBlock& block, int wipe, const QRegion& area);
    void PaintTapCursor(QPainter& painter);
    void DrawText(QPainter& painter, const QPoint& topLeft, const QString& text);
    void SplitAt(CKaraokeBlock* block, int token, int charIndex, LyricTime time);
    LyricTime EnginePositionMs() const;
    std::vector<WordStop> WordStops() const;
    bool Tap(bool lineStart);
    void UpdateTapCursorWord();

    CKaraokeData m_data;
    std::vector<BlockIndex> m_index;
    std::vector<double> m_reach;   // m_reach[i]: the largest end of the non-error blocks 1..i

    CLyricClock m_clock;
    QTimer m_frameTimer;
    int m_framesSinceRead = 0;
    bool m_smoothWipe = true;
    double m_wipePosition = 0;
    double m_clockMs = 0;
    double m_durationMs = 0;
    int m_paintedBlock = -1;     // the block found at the last paint (-1 before the first)
    int m_paintedProgress = -1;  // its wipe pixel, -1 when it was still to come
    bool m_painted = false;

    int m_mode = ModeView;
    QPointer<CKaraokeInlineEdit> m_inlineEdit;
    QPointer<QWidget> m_focusBeforeEdit;   // gets the focus back when the box closes
    Hit m_edited;
    bool m_modified = false;
    std::function<double()> m_positionSource;
    int m_tapCursor = 0;
    std::vector<int> m_tapHistory;
    std::optional<Hit> m_tapCursorWord;

    QSize m_contentSize;
    QPoint m_margins{3, 3};
    QPoint m_scroll;

    COLORREF m_backColor = 0;
    COLORREF m_errColor = 0;
    COLORREF m_sungColor = 0;
    COLORREF m_unsungColor = 0;
    COLORREF m_tagColor = 0;
    LogFont m_logFont;
    QFont m_font;
    QHash<QString, QStaticText> m_shapedTexts;
};
