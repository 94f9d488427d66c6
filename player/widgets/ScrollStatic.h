#pragma once

#include "common/ui/SharedTypes.h"
#include "player/karaoke/KaraokeData.h"
#include "player/karaoke/display/FrameTicker.h"
#include "player/karaoke/display/LyricPlayhead.h"
#include "player/karaoke/display/ShapedTextCache.h"
#include "player/settings/LogFont.h"

#include <QElapsedTimer>
#include <QFont>
#include <QFrame>
#include <QPixmap>
#include <QStaticText>

#include <array>
#include <functional>
#include <vector>

// The one-line display at the bottom of the main window (control 1007). It has two faces:
//   - the information face scrolls the playing track's labelled texts ("FileName:", "Title:",
//     "Artist:", "Album:", "Track:") from right to left, endlessly, at one of five speeds;
//   - the karaoke face shows the track's lyrics as one line moving under a fixed centre line:
//     left of it in the sung colour, right of it in the unsung colour.
// The karaoke face shows while the karaoke-line flag is set and lyrics are loaded; a double click
// toggles the flag.
//
// Settings: section "CScrollStatic" and its three font sections, read when the object is built
// and written back when it is destroyed ("CenterLinePenColor" is only read).
//
// Position updates. Tick(seconds, playing) comes with every tick of the main window's timer. The
// information face steps by the system's millisecond clock; the karaoke face follows a lyric
// playhead that, while the engine plays, runs on between ticks at the screen's frame rate, so the
// line moves smoothly; it repaints only when the line has moved by a pixel.
class CScrollStatic : public QFrame
{
    Q_OBJECT
public:
    static constexpr int ControlId = 1007;
    static constexpr char Section[] = "CScrollStatic";
    static constexpr char TitleFontSection[] = "CScrollStatic_TitleFont";
    static constexpr char DataFontSection[] = "CScrollStatic_DataFont";
    static constexpr char KaraokeFontSection[] = "CScrollStatic_KaraokeFont";

    // Pixels between two items, and between the last item of a cycle and the first of the next.
    static constexpr int ItemGap = 10;
    static constexpr int CycleGap = 30;
    // The texts stand with their bottom this far above the client's bottom.
    static constexpr int BaselineRaise = 3;
    static constexpr int MinSpeed = 1;
    static constexpr int MaxSpeed = 5;

    // The five texts in the order they scroll.
    enum Item { ItemFileName, ItemTitle, ItemArtist, ItemAlbum, ItemTrack, ItemCount };
    using ShowFlags = std::array<bool, ItemCount>;
    using Texts = std::array<QString, ItemCount>;

    explicit CScrollStatic(QWidget* parent = nullptr);
    ~CScrollStatic() override;

    // The playing track's texts (the track list writes them); empty texts are left out.
    void SetTexts(const Texts& texts);
    void SetText(Item item, const QString& text);
    const QString& Text(Item item) const { return m_texts[item]; }
    static QString Label(Item item);

    // The position of the main window's timer in seconds; `playing` lets the karaoke face run on
    // between ticks.
    void Tick(double seconds);
    void Tick(double seconds, bool playing);
    // The engine's tempo (media seconds per second), at which the line runs on between ticks.
    void SetPlaybackSpeed(double speed);
    // Milliseconds the lyrics are moved by on top of the document's offset, for this session.
    void SetOffsetNudge(int milliseconds);

    // Reads a lyric file into the line's own document, measured in the karaoke font. A positive
    // duration (seconds) becomes the end of the last block; otherwise the previous one stays. On
    // failure (unreadable, or tags that run backwards) the document is cleared and false returned.
    bool LoadLyrics(const QString& path, int& codePage, double durationSeconds);
    // The same from lyrics a track carries in its tags.
    bool LoadLyricsText(QStringView text, double durationSeconds);
    void ClearLyrics();
    bool HasLyrics() const { return m_data.FirstBlock() != nullptr; }
    const CKaraokeData& Data() const { return m_data; }

    // 1: the karaoke face (when lyrics are loaded); 0: the information face.
    void SetKaraokeLine(bool on);
    bool IsKaraokeLine() const { return m_karaokeLine; }
    bool ShowsKaraokeFace() const { return m_karaokeLine && HasLyrics(); }

    // What the settings dialog reads and replaces.
    void SetBackColor(COLORREF color);
    COLORREF GetBackColor() const { return m_backColor; }
    void SetTitleFont(const LogFont& font, COLORREF color);
    void GetTitleFont(LogFont& font, COLORREF& color) const;
    void SetDataFont(const LogFont& font, COLORREF color);
    void GetDataFont(LogFont& font, COLORREF& color) const;
    // The lyrics are measured again in the new font.
    void SetKaraokeFont(const LogFont& font, COLORREF sung, COLORREF unsung);
    void GetKaraokeFont(LogFont& font, COLORREF& sung, COLORREF& unsung) const;
    void SetShowFlags(const ShowFlags& flags);
    const ShowFlags& GetShowFlags() const { return m_show; }
    // A speed outside 1 to 5 is not taken (false).
    bool SetScrollSpeed(int speed);
    int GetScrollSpeed() const { return m_speed; }
    COLORREF GetCenterLineColor() const { return m_centerLineColor; }

    // Milliseconds per pixel of the information face at a speed: 100, 80, 60, 40, 20.
    static int StepInterval(int speed) { return 120 - 20 * speed; }
    // The x of the start of the information face's text, relative to the client's left edge.
    int ScrollOffset() const { return m_scrollOffset; }
    // The width of one cycle of the information face, its closing gap included.
    int CycleWidth() const;

    // The karaoke face's lyric clock (milliseconds) at the last update, and the block being sung
    // with the x of its start for the client's centre.
    double LyricClockMs() const { return m_clockMs; }
    struct LinePosition {
        const CKaraokeBlock* block = nullptr;
        int startX = 0;
        bool operator==(const LinePosition&) const = default;
    };
    LinePosition CurrentLine() const;
    int CenterX() const { return contentsRect().width() / 2; }
    // Whether the line is running on between ticks now.
    bool IsAnimating() const { return m_ticker.IsActive(); }
    // The system's millisecond clock the information face steps by (tests replace it).
    void SetMillisecondSource(std::function<qint64()> source);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    // Measures a document just read and shows it; true.
    bool AfterLyricsRead(double durationSeconds);
    void ReadSettings();
    void WriteSettings() const;
    void MeasureLyrics();
    void StepScroll();
    void UpdateLyricClock();
    void UpdateLine();
    void UpdateFrames();
    void FoldScrollOffset();
    // The information face's labels and texts, shaped once: shaping costs far more than drawing,
    // and the line is drawn and measured some ten times a second. One cycle of them is drawn
    // once on the back colour (with a margin at each end) and copied where each cycle stands.
    struct ShapedInfo {
        bool valid = false;
        std::array<QStaticText, ItemCount> labels;
        std::array<QStaticText, ItemCount> texts;
        std::array<int, ItemCount> labelWidths{};
        std::array<int, ItemCount> textWidths{};
        int cycleWidth = 0;
        QPixmap cycle;
        COLORREF cycleBack = 0;
    };
    const ShapedInfo& Shaped() const;
    // One cycle's picture at the height, or a null one when it would be too wide to keep.
    const QPixmap& CyclePicture(int height) const;
    // Draws one cycle's texts from x on, bottoms on the line; stops past `right`.
    void DrawCycle(QPainter& painter, int x, int bottom, int right) const;
    void PaintInformation(QPainter& painter, const QSize& client);
    void PaintKaraoke(QPainter& painter, const QSize& client);
    void PaintLyricPass(QPainter& painter, const CKaraokeBlock* block, int x, const QRect& clip, COLORREF color);

    Texts m_texts;
    ShowFlags m_show{};
    mutable ShapedInfo m_shaped;
    int m_speed = 1;
    int m_scrollOffset = 0;
    std::function<qint64()> m_milliseconds;
    QElapsedTimer m_systemClock;
    qint64 m_lastStep = 0;

    bool m_karaokeLine = false;
    CKaraokeData m_data;
    CLyricPlayhead m_playhead;
    CFrameTicker m_ticker;
    double m_clockMs = 0;
    double m_durationMs = 0;
    CShapedTextCache m_lyricTexts;
    LinePosition m_drawn;
    bool m_drawnValid = false;

    COLORREF m_backColor = 0;
    COLORREF m_titleColor = 0;
    COLORREF m_dataColor = 0;
    COLORREF m_sungColor = 0;
    COLORREF m_unsungColor = 0;
    COLORREF m_centerLineColor = 0;
    LogFont m_titleLogFont;
    LogFont m_dataLogFont;
    LogFont m_karaokeLogFont;
    QFont m_titleFont;
    QFont m_dataFont;
    QFont m_karaokeFont;
};
