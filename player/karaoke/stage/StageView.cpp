#include "player/karaoke/stage/StageView.h"

#include "common/ui/Ui.h"

#include "player/karaoke/RubySetting.h"
#include "player/karaoke/display/LyricFonts.h"
#include "player/karaoke/display/TokenMeasure.h"
#include "player/karaoke/stage/StagePainter.h"

#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace {

// Between lines the view looks again this often (real milliseconds): a countdown's dot, the
// next line's start.
constexpr int kIdleFrameMs = 50;

// The lyric font at the size whose line height is `lineHeight` pixels.
QFont FontWithLineHeight(const LogFont& font, int lineHeight)
{
    const int guess = std::max(1, lineHeight * 4 / 5);
    const int height = QFontMetrics(CLyricFonts::AtPixelSize(font, guess)).height();
    return CLyricFonts::AtPixelSize(font, height > 0 ? guess * lineHeight / height : guess);
}

} // namespace

CStageView::CStageView(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_ticker(*this),
      m_inhibitor(QStringLiteral("Sonavel"), Ui::tr("ステージ表示"))
{
    setWindowTitle(Ui::tr("ステージ表示"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    m_cursorTimer.setSingleShot(true);
    connect(&m_cursorTimer, &QTimer::timeout, this, [this] { setCursor(Qt::BlankCursor); });
    connect(&m_ticker, &CFrameTicker::Frame, this, &CStageView::OnFrame);
    connect(&m_ticker, &CFrameTicker::ShownChanged, this, &CStageView::UpdateFrames);
    connect(&CRubySetting::Instance(), &CRubySetting::ModeChanged, this, &CStageView::Remeasure);
    resize(m_layout.Screen());
}

CStageView::~CStageView() = default;

// ---- Showing and leaving ----------------------------------------------------------------------

void CStageView::Enter(QScreen* screen)
{
    if (screen) {
        setScreen(screen);
        setGeometry(screen->geometry());
    }
    showFullScreen();
    raise();
    activateWindow();
    ShowCursorForAWhile();
}

void CStageView::Leave()
{
    if (!isVisible())
        return;
    hide();
    emit Left();
}

void CStageView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    m_inhibitor.Inhibit();
    m_painted = false;
    UpdateStage();
    UpdateFrames();
}

void CStageView::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    m_inhibitor.Release();
    m_ticker.Stop();
    m_cursorTimer.stop();
    unsetCursor();
}

void CStageView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_F11) {
        Leave();
        return;
    }
    QWidget::keyPressEvent(event);
}

void CStageView::mouseDoubleClickEvent(QMouseEvent*)
{
    Leave();
}

void CStageView::mouseMoveEvent(QMouseEvent* event)
{
    ShowCursorForAWhile();
    QWidget::mouseMoveEvent(event);
}

void CStageView::ShowCursorForAWhile()
{
    unsetCursor();
    m_cursorTimer.start(CursorHideMs);
}

// ---- Lyrics, look and clock ---------------------------------------------------------------

bool CStageView::LoadFromFile(const QString& path, int codePage, double durationSeconds)
{
    // A file that cannot be read leaves a document unchanged: the track before must not stay.
    m_data.Clear();
    const bool result = m_data.ReadKaraokeFile(path, codePage);
    AfterLoad(durationSeconds);
    return result;
}

bool CStageView::LoadFromText(QStringView text, double durationSeconds)
{
    const bool result = m_data.ParseKaraokeText(text);
    AfterLoad(durationSeconds);
    return result;
}

void CStageView::ClearLyrics()
{
    m_data.Clear();
    AfterLoad(0);
}

void CStageView::AfterLoad(double durationSeconds)
{
    if (durationSeconds > 0)
        m_durationMs = durationSeconds * 1000.0;
    m_playhead.Reset(0);
    Remeasure();
}

void CStageView::SetTrackTexts(const QString& title, const QString& artist)
{
    m_title = title;
    m_artist = artist;
    m_painted = false;
    UpdateStage();
}

void CStageView::SetLook(const LogFont& font, const KaraokeColours& colours)
{
    m_logFont = font;
    m_colours = colours;
    Remeasure();
}

void CStageView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_layout = CStageLayout(size());
    Remeasure();
}

void CStageView::Remeasure()
{
    m_lyricFont = FontWithLineHeight(m_logFont, m_layout.LineHeight());
    m_titleFont = FontWithLineHeight(m_logFont, m_layout.LineHeight() * 6 / 5);
    m_artistFont = FontWithLineHeight(m_logFont, m_layout.LineHeight() * 4 / 5);
    m_rowHeight = QFontMetrics(m_lyricFont).height();
    m_texts.SetFont(m_lyricFont);
    CTokenMeasure(m_lyricFont).MeasureAll(m_data, CTokenMeasure::LineBreaks::Excluded);
    m_rubies.Build(m_data, CRubyLayer::ReadingsOf(m_data), m_lyricFont, m_durationMs);
    m_lines.Build(m_data, m_durationMs);
    m_painted = false;
    UpdateStage();
    UpdateFrames();
}

void CStageView::ShowTitleCard()
{
    m_titleOnly = true;
    UpdateStage();
    UpdateFrames();
}

void CStageView::SetPosition(double seconds, bool playing)
{
    m_titleOnly &= !playing;
    m_playhead.Report(seconds, playing);
    // While frames run, the next one (due within a frame) shows what this report changed.
    if (!(playing && m_ticker.IsActive()))
        UpdateStage();
    UpdateFrames();
}

void CStageView::SetPlaybackSpeed(double speed)
{
    m_playhead.SetSpeed(speed);
    UpdateFrames();
}

void CStageView::SetOffsetNudge(int milliseconds)
{
    m_playhead.SetOffsetNudge(milliseconds);
    UpdateStage();
    UpdateFrames();
}

void CStageView::SetPositionSource(CLyricPlayhead::PositionSource source)
{
    m_playhead.SetPositionSource(std::move(source));
}

void CStageView::OnFrame()
{
    m_playhead.OnFrame();
    UpdateStage();
    UpdateFrames();
}

// ---- What changes on screen ---------------------------------------------------------------

// Placed once per scene: breaking and placing a line every frame would cost more than drawing it.
void CStageView::PlaceSlots()
{
    for (int slot = 0; slot < 2; ++slot) {
        const int line = m_scene.slotLines[size_t(slot)];
        const bool shown = m_scene.kind == StageScene::Kind::Lines && line >= 0 &&
                           size_t(line) < m_lines.Lines().size();
        m_placed[size_t(slot)] = shown
                                     ? m_layout.Place(m_lines.Lines()[size_t(line)], slot, m_rowHeight, m_rubies.Band())
                                     : CStageLayout::PlacedLine();
    }
}

void CStageView::UpdateStage()
{
    m_wipePosition = m_playhead.Seconds();
    m_clockMs = m_playhead.ClockMs(m_data.Header, m_wipePosition);
    const StageScene scene = m_titleOnly ? StageScene() : CStageScene::At(m_lines.Lines(), m_clockMs);
    const bool changed = !m_painted || scene != m_scene;
    QRegion dirty = changed ? SceneArea() : QRegion();
    m_scene = scene;
    if (changed) {
        PlaceSlots();
        dirty += SceneArea();
    }
    std::array<int, 2> progress{0, 0};
    for (int slot = 0; slot < 2; ++slot) {
        const int line = scene.slotLines[size_t(slot)];
        if (scene.kind != StageScene::Kind::Lines || line < 0)
            continue;
        progress[size_t(slot)] = CStagePainter::LineProgress(m_lines.Lines()[size_t(line)], m_clockMs, m_durationMs);
        const int before = m_progress[size_t(slot)];
        if (!changed && progress[size_t(slot)] != before)
            dirty += CStageLayout::Span(PlacedSlot(slot), std::min(before, progress[size_t(slot)]),
                                        std::max(before, progress[size_t(slot)]), m_rubies);
    }
    m_progress = progress;
    if (!isVisible())
        return;
    if (!m_painted)
        update();
    else if (changed)
        update(dirty);
    else if (!dirty.isEmpty())
        repaint(dirty);
    m_painted = true;
}

// The screen a scene takes: a full repaint of a 1920x1080 screen costs as much as a second of
// wipe frames, so a change of lines repaints only the rows that were there and the new ones.
QRegion CStageView::SceneArea() const
{
    if (m_scene.kind != StageScene::Kind::Lines)
        return rect();
    QRegion area;
    const int overhang = m_rowHeight / 4;
    for (int slot = 0; slot < 2; ++slot) {
        const CStageLayout::PlacedLine& line = PlacedSlot(slot);
        for (const CStageLayout::PlacedRow& row : line.rows)
            area += row.rect.adjusted(-overhang, 0, overhang, 0);
        if (slot == m_scene.countdownSlot)
            for (const QRect& dot : m_layout.Dots(line, int(CStageScene::LeadMs / CStageScene::DotMs)))
                area += dot.adjusted(-1, -1, 1, 1);
    }
    return area;
}

void CStageView::UpdateFrames()
{
    const auto& lines = m_lines.Lines();
    const bool over = lines.empty() || m_clockMs > lines.back().end + CStageScene::HoldMs;
    if (!m_playhead.IsRunning() || over || m_titleOnly) {
        m_ticker.RunIn(-1);
        return;
    }
    bool singing = false;
    for (const int line : m_scene.slotLines)
        if (m_scene.kind == StageScene::Kind::Lines && line >= 0)
            singing |= lines[size_t(line)].start <= m_clockMs && m_clockMs < lines[size_t(line)].end;
    m_ticker.RunIn(singing ? 0 : kIdleFrameMs);
}

void CStageView::paintEvent(QPaintEvent* event)
{
    ++m_updates;
    QPainter painter(this);
    CStagePainter stage(painter, m_texts, m_rubies, m_colours);
    stage.PaintBackground(event->region().boundingRect());
    painter.setClipRegion(event->region());
    if (m_scene.kind == StageScene::Kind::TitleCard) {
        stage.PaintTitleCard(m_layout, TitleText(), ArtistText(), m_titleFont, m_artistFont);
        return;
    }
    for (int slot = 0; slot < 2; ++slot) {
        const CStageLayout::PlacedLine& line = PlacedSlot(slot);
        stage.PaintLine(line, m_clockMs, m_durationMs, event->region());
        if (slot == m_scene.countdownSlot)
            stage.PaintDots(m_layout.Dots(line, m_scene.dots));
    }
}

QString CStageView::TitleText() const
{
    return m_title.isEmpty() ? m_data.Header.Title : m_title;
}

QString CStageView::ArtistText() const
{
    return m_artist.isEmpty() ? m_data.Header.Artist : m_artist;
}
