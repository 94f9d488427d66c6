#include "player/karaoke/KaraokeStatic.h"

#include "player/karaoke/KaraokeStrings.h"
#include "player/karaoke/RubySetting.h"
#include "player/karaoke/display/LyricFonts.h"
#include "player/karaoke/display/TokenMeasure.h"
#include "player/settings/ProfileHelpers.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

namespace {

constexpr COLORREF kDefaultBackColor = RGB(0, 0, 0);
constexpr COLORREF kDefaultErrColor = RGB(255, 0, 0);
constexpr COLORREF kDefaultSungColor = RGB(0, 255, 255);
constexpr COLORREF kDefaultUnsungColor = RGB(255, 255, 255);
constexpr COLORREF kDefaultTagColor = RGB(255, 128, 0);

} // namespace

CKaraokeStatic::CKaraokeStatic(QWidget* parent)
    : QFrame(parent), m_ticker(*this), m_editor(new CKaraokeEditor(*this)), m_tap(*this, *m_editor)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Clicks must leave the focus where it is, so a click beside an open inline box closes it.
    setFocusPolicy(Qt::NoFocus);
    connect(&m_ticker, &CFrameTicker::Frame, this, &CKaraokeStatic::OnFrame);
    connect(&m_ticker, &CFrameTicker::ShownChanged, this, &CKaraokeStatic::UpdateFrames);
    connect(&CRubySetting::Instance(), &CRubySetting::ModeChanged, this, &CKaraokeStatic::Relayout);
    RegisterKaraokeStrings();
    ReadSettings();
}

CKaraokeStatic::~CKaraokeStatic()
{
    WriteSettings();
}

void CKaraokeStatic::ReadSettings()
{
    const QString section = QString::fromLatin1(Section);
    m_colours.back = GetProfileColor(section, QStringLiteral("BackColor"), kDefaultBackColor);
    m_colours.err = GetProfileColor(section, QStringLiteral("ErrColor"), kDefaultErrColor);
    m_colours.sung = GetProfileColor(section, QStringLiteral("KaraokeTextColor0"), kDefaultSungColor);
    m_colours.unsung = GetProfileColor(section, QStringLiteral("KaraokeTextColor1"), kDefaultUnsungColor);
    m_colours.tag = GetProfileColor(section, QStringLiteral("KaraokeTextColor2"), kDefaultTagColor);
    GetProfileFont(QString::fromLatin1(FontSection), m_logFont, 0, 12, false);
    ApplyFont();
}

void CKaraokeStatic::WriteSettings() const
{
    const QString section = QString::fromLatin1(Section);
    WriteProfileColor(section, QStringLiteral("BackColor"), m_colours.back);
    WriteProfileColor(section, QStringLiteral("ErrColor"), m_colours.err);
    WriteProfileColor(section, QStringLiteral("KaraokeTextColor0"), m_colours.sung);
    WriteProfileColor(section, QStringLiteral("KaraokeTextColor1"), m_colours.unsung);
    WriteProfileColor(section, QStringLiteral("KaraokeTextColor2"), m_colours.tag);
    WriteProfileFont(QString::fromLatin1(FontSection), m_logFont);
}

void CKaraokeStatic::ApplyFont()
{
    m_font = CLyricFonts::Usable(m_logFont);
    m_texts.SetFont(m_font);
    m_editor->SetFont(m_font);
}

// ---- Loading ------------------------------------------------------------------------------

void CKaraokeStatic::ResetView()
{
    CancelInlineEdit();
    m_playhead.Reset(0);
    m_wipePosition = 0;
    m_clockMs = 0;
    m_painted = false;
    m_paintedBlock = -1;
    m_paintedProgress = -1;
    m_mode = ModeView;
    m_modified = false;
    m_margins = QPoint(3, 3);
    m_scroll = QPoint(0, 0);
    m_tap.Reset();
    m_ticker.Stop();
}

bool CKaraokeStatic::LoadFromText(QStringView text, double durationSeconds)
{
    ResetView();
    AfterLoad(durationSeconds);
    const bool result = m_data.ParseKaraokeText(text);
    Relayout();
    return result;
}

bool CKaraokeStatic::LoadFromFile(const QString& path, int& codePage, double durationSeconds)
{
    ResetView();
    AfterLoad(durationSeconds);
    const bool result = m_data.ReadKaraokeFile(path, codePage);
    Relayout();
    return result;
}

void CKaraokeStatic::AfterLoad(double durationSeconds)
{
    if (durationSeconds > 0)
        m_durationMs = durationSeconds * 1000.0;
}

bool CKaraokeStatic::Save(const QString& path, int codePage)
{
    const bool saved = m_data.SaveKaraokeFile(path, codePage);
    if (saved)
        m_modified = false;
    return saved;
}

// ---- Layout and editing -------------------------------------------------------------------

void CKaraokeStatic::Relayout()
{
    CTokenMeasure(m_font).MeasureAll(m_data, CTokenMeasure::LineBreaks::Excluded);
    m_rubies.Build(m_data, CRubyLayer::ReadingsOf(m_data), m_font, m_durationMs);
    m_layout.Build(m_data, QFontMetrics(m_font), m_mode != ModeView, m_durationMs, m_margins, m_rubies);
    m_tap.Refresh();
    // Index numbers change with every layout: the next update repaints everything.
    m_painted = false;
    update();
    emit LayoutChanged();
}

void CKaraokeStatic::EditChanged()
{
    m_modified = true;
    Relayout();
}

void CKaraokeStatic::TapCursorMoved()
{
    update();
    emit TapCursorChanged();
}

// ---- Block states and the wipe -----------------------------------------------------------

CKaraokeStatic::BlockState CKaraokeStatic::StateAt(const CKaraokeBlock* block, double clockMs, int* wipe) const
{
    return CLyricTimeline::StateAt(*block, clockMs, m_durationMs, block->TextWidth, wipe);
}

std::optional<CKaraokeStatic::SungSpot> CKaraokeStatic::CurrentSpot() const
{
    int wipe = -1;
    const int found = m_layout.FindActiveBlock(m_clockMs, &wipe);
    if (found < 0)
        return std::nullopt;
    const CKaraokeLayout::Spot spot = m_layout.SpotOf(found, wipe);
    const auto& lines = m_layout.Lines();
    if (spot.line < 0)
        return std::nullopt;
    const auto rowOf = [](const CKaraokeLayout::Line& line) { return QRect(0, line.top, line.width, line.height); };
    SungSpot sung{rowOf(lines[size_t(spot.line)]), QRect(), spot.x};
    if (size_t(spot.line) + 1 < lines.size())
        sung.nextLine = rowOf(lines[size_t(spot.line) + 1]);
    return sung;
}

void CKaraokeStatic::SetPositionSource(CLyricPlayhead::PositionSource source)
{
    m_playhead.SetPositionSource(std::move(source));
}

void CKaraokeStatic::SetPosition(double seconds)
{
    SetPosition(seconds, false);
}

void CKaraokeStatic::SetPosition(double seconds, bool playing)
{
    m_playhead.Report(seconds, playing);
    // While frames run, the next one (due within a frame) paints what this report changed.
    if (!(playing && m_ticker.IsActive()))
        UpdateWipe();
    UpdateFrames();
}

void CKaraokeStatic::SetPlaybackSpeed(double speed)
{
    m_playhead.SetSpeed(speed);
    UpdateFrames();
}

void CKaraokeStatic::SetOffsetNudge(int milliseconds)
{
    m_playhead.SetOffsetNudge(milliseconds);
    UpdateWipe();
    UpdateFrames();
}

void CKaraokeStatic::SetSmoothWipe(bool on)
{
    m_smoothWipe = on;
    UpdateFrames();
}

void CKaraokeStatic::UpdateWipe()
{
    m_wipePosition = m_playhead.Seconds();
    m_clockMs = m_playhead.ClockMs(m_data.Header, m_wipePosition);
    if (m_layout.IsEmpty())
        return;
    if (!m_painted) {
        update();
        emit WipeMoved();
        return;
    }
    int wipe = -1;
    const int found = m_layout.FindActiveBlock(m_clockMs, &wipe);
    if (found == m_paintedBlock && wipe == m_paintedProgress)
        return;
    const QPoint shift = ContentToWidget();
    const QRect client = contentsRect();
    const int last = int(m_layout.Entries().size()) - 1;
    QRegion dirty;
    if (found >= 0 && found == m_paintedBlock && wipe >= 0 && m_paintedProgress >= 0)
        dirty = m_layout.WipeStrip(found, std::min(wipe, m_paintedProgress), std::max(wipe, m_paintedProgress), shift,
                                   client);
    else if (found < 0 || m_paintedBlock < 0)
        dirty = m_layout.WordsRegion(std::max(found, m_paintedBlock), last, shift, client);
    else
        dirty = m_layout.WordsRegion(std::min(found, m_paintedBlock), std::max(found, m_paintedBlock), shift, client);
    if (dirty.isEmpty()) {
        // Nothing of it is on screen: take the new state as painted.
        m_paintedBlock = found;
        m_paintedProgress = wipe;
    } else {
        repaint(dirty);
    }
    emit WipeMoved();
}

void CKaraokeStatic::OnFrame()
{
    m_playhead.OnFrame();
    UpdateWipe();
    UpdateFrames();
}

void CKaraokeStatic::UpdateFrames()
{
    m_ticker.RunIn(m_smoothWipe && m_playhead.IsRunning() ? NextChangeMs() : -1);
}

double CKaraokeStatic::NextChangeMs() const
{
    int wipe = -1;
    const int found = m_layout.FindActiveBlock(m_clockMs, &wipe);
    const double ratio = m_playhead.LyricRate(m_data.Header);
    if (found < 0 || !(ratio > 0))
        return -1;
    const CKaraokeLayout::Entry& entry = m_layout.Entries()[size_t(found)];
    const double start = entry.block->StartTime();
    // A block still to come changes when it starts, a current one when its wipe reaches the
    // next pixel.
    const double next = wipe >= 0 ? CLyricTimeline::NextPixelAt(start, entry.end, entry.block->TextWidth, wipe) : start;
    return std::max(0.0, (next - m_clockMs) / ratio);
}

// ---- Painting -----------------------------------------------------------------------------

QPoint CKaraokeStatic::ContentToClient() const
{
    return m_margins - m_scroll;
}

QPoint CKaraokeStatic::ContentToWidget() const
{
    return ContentToClient() + contentsRect().topLeft();
}

void CKaraokeStatic::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QRect client = contentsRect();
    const QRegion area = event->region().intersected(client);
    painter.fillRect(area.boundingRect(), ToQColor(m_colours.back));
    int wipe = -1;
    m_paintedBlock = m_layout.FindActiveBlock(m_clockMs, &wipe);
    m_paintedProgress = wipe;
    m_painted = true;
    if (!m_layout.IsEmpty()) {
        painter.setClipRect(client);
        CKaraokePainter lyrics(painter, m_texts, m_rubies, m_colours, ContentToWidget(), client);
        lyrics.PaintBlocks(m_layout, m_clockMs, m_durationMs, m_mode != ModeView, area);
        if (m_mode != ModeView && m_tap.CursorWord())
            lyrics.PaintTapCursor(ClientRectOf(*m_tap.CursorWord()).translated(-ContentToClient()));
    }
    // The wipe's small repaints lie inside the frame: the style need not draw it for them.
    if (!client.contains(event->region().boundingRect())) {
        painter.setClipping(false);
        drawFrame(&painter);
    }
}

// ---- Mode, scrolling, colours, font -------------------------------------------------------

void CKaraokeStatic::SetMode(int mode, bool force)
{
    CancelInlineEdit();
    if (mode == m_mode && !force)
        return;
    m_mode = mode;
    Relayout();
}

void CKaraokeStatic::SetScrollOffset(const QPoint& offset)
{
    if (offset == m_scroll)
        return;
    m_scroll = offset;
    update();
}

void CKaraokeStatic::SetBackColor(COLORREF color)
{
    if (color == m_colours.back)
        return;
    m_colours.back = color;
    update();
}

void CKaraokeStatic::SetErrColor(COLORREF color)
{
    if (color == m_colours.err)
        return;
    m_colours.err = color;
    update();
}

void CKaraokeStatic::SetFontAndColors(const LogFont& font, COLORREF sung, COLORREF unsung, COLORREF tag)
{
    m_logFont = font;
    m_colours.sung = sung;
    m_colours.unsung = unsung;
    m_colours.tag = tag;
    ApplyFont();
    Relayout();
}

void CKaraokeStatic::GetFontAndColors(LogFont& font, COLORREF& sung, COLORREF& unsung, COLORREF& tag) const
{
    font = m_logFont;
    sung = m_colours.sung;
    unsung = m_colours.unsung;
    tag = m_colours.tag;
}

// ---- Hit testing and clicks ---------------------------------------------------------------

QRect CKaraokeStatic::ClientRectOf(const Hit& item) const
{
    if (!item.block)
        return {};
    if (item.token < 0)
        return item.block->TagRect.translated(ContentToClient());
    if (size_t(item.token) >= item.block->Tokens.size())
        return {};
    return item.block->Tokens[size_t(item.token)].LayoutRect.translated(ContentToClient());
}

std::optional<CKaraokeStatic::Hit> CKaraokeStatic::HitTest(const QPoint& clientPoint) const
{
    return m_layout.HitTest(clientPoint - ContentToClient(), m_margins.x());
}

void CKaraokeStatic::mousePressEvent(QMouseEvent* event)
{
    const QPoint client = event->position().toPoint() - contentsRect().topLeft();
    if (event->button() == Qt::LeftButton) {
        if (m_mode == ModeEdit) {
            if (const auto hit = HitTest(client))
                OpenInlineEdit(*hit);
        } else {
            CancelInlineEdit();
        }
    } else if (event->button() == Qt::RightButton && m_mode == ModeEdit) {
        StampAt(client);
    }
    event->accept();
}
