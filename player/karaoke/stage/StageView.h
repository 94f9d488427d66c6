#pragma once

#include "platform/shell/ScreenSaverInhibitor.h"
#include "player/karaoke/KaraokeData.h"
#include "player/karaoke/KaraokePainter.h"
#include "player/karaoke/display/FrameTicker.h"
#include "player/karaoke/display/LyricPlayhead.h"
#include "player/karaoke/display/RubyLayer.h"
#include "player/karaoke/display/ShapedTextCache.h"
#include "player/karaoke/stage/StageLayout.h"
#include "player/karaoke/stage/StageLines.h"
#include "player/karaoke/stage/StageScene.h"
#include "player/settings/LogFont.h"

#include <QTimer>
#include <QWidget>

#include <array>

class QScreen;

// The stage view ("ステージ表示"): the playing track's lyrics full screen on a screen of their
// own, black, two large lines at a time as karaoke boxes show them (CStageScene), with the lyric
// clock, colours and font family of the karaoke window, and its readings over kanji (the ルビ
// setting, applied at once). It owns its own copy of the lyrics (measured in its own font) and is
// fed like the other lyric faces: the main window's positions, the tempo, the lyric offset, and
// the engine's position between reports.
//
// Escape, F11 or a double click leaves it; the mouse cursor hides after CursorHideMs without
// motion; while it is shown the screen saver is kept away.
class CStageView : public QWidget
{
    Q_OBJECT
public:
    static constexpr int CursorHideMs = 2000;

    explicit CStageView(QWidget* parent = nullptr);
    ~CStageView() override;

    // Shows the view full screen on the screen; Leave hides it (and says so with Left).
    void Enter(QScreen* screen);
    void Leave();
    bool IsShown() const { return isVisible(); }

    // The playing track's lyrics, and its title and artist for the title card.
    bool LoadFromFile(const QString& path, int codePage, double durationSeconds);
    bool LoadFromText(QStringView text, double durationSeconds);
    void ClearLyrics();
    void SetTrackTexts(const QString& title, const QString& artist);
    // The karaoke window's font (its family and weight, at the stage's size) and colours.
    void SetLook(const LogFont& font, const KaraokeColours& colours);

    // Stopped between tracks: the title card until the engine plays again.
    void ShowTitleCard();
    CKaraokeData& Data() { return m_data; }

    void SetPosition(double seconds, bool playing);
    void SetPlaybackSpeed(double speed);
    void SetOffsetNudge(int milliseconds);
    void SetPositionSource(CLyricPlayhead::PositionSource source);

    // What is shown now, and the lyric clock it was worked out for.
    const StageScene& Scene() const { return m_scene; }
    double LyricClockMs() const { return m_clockMs; }
    // The engine position (seconds) the view was last brought up to.
    double WipePosition() const { return m_wipePosition; }
    const CStageLines& Lines() const { return m_lines; }
    const CStageLayout& Layout() const { return m_layout; }
    const CRubyLayer& Rubies() const { return m_rubies; }
    // A slot's line as placed on the screen (no rows when the slot is empty).
    const CStageLayout::PlacedLine& PlacedSlot(int slot) const { return m_placed[size_t(slot)]; }
    bool IsAnimating() const { return m_ticker.IsActive(); }
    bool IsInhibitingScreenSaver() const { return m_inhibitor.IsInhibiting(); }
    int Updates() const { return m_updates; }

signals:
    void Left();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void AfterLoad(double durationSeconds);
    void Remeasure();
    void UpdateStage();
    void PlaceSlots();
    QRegion SceneArea() const;
    void UpdateFrames();
    void OnFrame();
    void ShowCursorForAWhile();
    QString TitleText() const;
    QString ArtistText() const;

    CKaraokeData m_data;
    CStageLines m_lines;
    CStageLayout m_layout;
    CLyricPlayhead m_playhead;
    CFrameTicker m_ticker;
    CShapedTextCache m_texts;
    CRubyLayer m_rubies;
    ScreenSaverInhibitor m_inhibitor;
    QTimer m_cursorTimer;
    LogFont m_logFont;
    KaraokeColours m_colours;
    QFont m_lyricFont;
    QFont m_titleFont;
    QFont m_artistFont;
    int m_rowHeight = 0;
    QString m_title;
    QString m_artist;
    double m_durationMs = 0;
    double m_clockMs = 0;
    double m_wipePosition = 0;
    // What was painted last: the scene and the wipe of each slot's line.
    StageScene m_scene;
    std::array<CStageLayout::PlacedLine, 2> m_placed;
    std::array<int, 2> m_progress{0, 0};
    bool m_painted = false;
    bool m_titleOnly = false;
    int m_updates = 0;
};
