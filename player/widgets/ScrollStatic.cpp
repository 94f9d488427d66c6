#include "player/widgets/ScrollStatic.h"

#include "platform/profile/Profile.h"
#include "player/karaoke/display/LyricFonts.h"
#include "player/karaoke/display/LyricTimeline.h"
#include "player/karaoke/display/TokenMeasure.h"
#include "player/settings/ProfileHelpers.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

constexpr COLORREF kDefaultBackColor = RGB(0, 0, 0);
constexpr COLORREF kDefaultTitleColor = RGB(128, 128, 0);
constexpr COLORREF kDefaultDataColor = RGB(0, 255, 0);
constexpr COLORREF kDefaultSungColor = RGB(0, 255, 255);
constexpr COLORREF kDefaultUnsungColor = RGB(255, 255, 255);
constexpr COLORREF kDefaultCenterLineColor = RGB(0, 255, 0);

constexpr const char* kShowKeys[] = {"ShowFileName", "ShowTitle", "ShowArtist", "ShowAlbum", "ShowTrack"};
constexpr bool kShowDefaults[] = {false, true, true, true, false};
constexpr const char* kLabels[] = {"FileName:", "Title:", "Artist:", "Album:", "Track:"};
// Room for glyphs that reach past their advance at either end of a cycle's picture (less than
// the gap between two cycles); pictures wider than the limit are not kept, their texts drawn.
constexpr int kCycleMargin = 8;
constexpr int kMaxCyclePixels = 16384;

QString Key(const char* key)
{
    return QString::fromLatin1(key);
}

} // namespace

CScrollStatic::CScrollStatic(QWidget* parent) : QFrame(parent), m_ticker(*this)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_systemClock.start();
    m_milliseconds = [this] { return m_systemClock.elapsed(); };
    connect(&m_ticker, &CFrameTicker::Frame, this, [this] {
        UpdateLyricClock();
        UpdateLine();
        UpdateFrames();
    });
    connect(&m_ticker, &CFrameTicker::ShownChanged, this, &CScrollStatic::UpdateFrames);
    ReadSettings();
}

CScrollStatic::~CScrollStatic()
{
    WriteSettings();
}

// ---- Settings -----------------------------------------------------------------------------

void CScrollStatic::ReadSettings()
{
    const QString section = QString::fromLatin1(Section);
    const int speed = GetProfileInt(section, Key("ScrollSpeed"), 1);
    // The settings dialog never stores another speed; a hand-edited one falls back to the default.
    m_speed = speed >= MinSpeed && speed <= MaxSpeed ? speed : 1;
    for (int item = 0; item < ItemCount; ++item)
        m_show[size_t(item)] = GetProfileInt(section, Key(kShowKeys[item]), kShowDefaults[item] ? 1 : 0) != 0;
    m_titleColor = GetProfileColor(section, Key("TitleTextColor"), kDefaultTitleColor);
    m_dataColor = GetProfileColor(section, Key("DataTextColor"), kDefaultDataColor);
    m_backColor = GetProfileColor(section, Key("BackColor"), kDefaultBackColor);
    m_sungColor = GetProfileColor(section, Key("KaraokeTextColor0"), kDefaultSungColor);
    m_unsungColor = GetProfileColor(section, Key("KaraokeTextColor1"), kDefaultUnsungColor);
    m_centerLineColor = GetProfileColor(section, Key("CenterLinePenColor"), kDefaultCenterLineColor);
    GetProfileFont(QString::fromLatin1(TitleFontSection), m_titleLogFont, 1, 9, false);
    GetProfileFont(QString::fromLatin1(DataFontSection), m_dataLogFont, 0, 12, true);
    GetProfileFont(QString::fromLatin1(KaraokeFontSection), m_karaokeLogFont, 0, 12, false);
    m_titleFont = CLyricFonts::Usable(m_titleLogFont);
    m_dataFont = CLyricFonts::Usable(m_dataLogFont);
    m_karaokeFont = CLyricFonts::Usable(m_karaokeLogFont);
    m_lyricTexts.SetFont(m_karaokeFont);
    m_shaped.valid = false;
}

void CScrollStatic::WriteSettings() const
{
    const QString section = QString::fromLatin1(Section);
    for (int item = 0; item < ItemCount; ++item)
        WriteProfileInt(section, Key(kShowKeys[item]), m_show[size_t(item)] ? 1 : 0);
    WriteProfileColor(section, Key("TitleTextColor"), m_titleColor);
    WriteProfileColor(section, Key("DataTextColor"), m_dataColor);
    WriteProfileColor(section, Key("KaraokeTextColor0"), m_sungColor);
    WriteProfileColor(section, Key("KaraokeTextColor1"), m_unsungColor);
    WriteProfileColor(section, Key("BackColor"), m_backColor);
    WriteProfileFont(QString::fromLatin1(TitleFontSection), m_titleLogFont);
    WriteProfileFont(QString::fromLatin1(DataFontSection), m_dataLogFont);
    WriteProfileFont(QString::fromLatin1(KaraokeFontSection), m_karaokeLogFont);
    WriteProfileInt(section, Key("ScrollSpeed"), m_speed);
}

void CScrollStatic::SetBackColor(COLORREF color)
{
    if (color == m_backColor)
        return;
    m_backColor = color;
    update();
}

void CScrollStatic::SetTitleFont(const LogFont& font, COLORREF color)
{
    m_titleLogFont = font;
    m_titleFont = CLyricFonts::Usable(font);
    m_titleColor = color;
    m_shaped.valid = false;
    update();
}

void CScrollStatic::GetTitleFont(LogFont& font, COLORREF& color) const
{
    font = m_titleLogFont;
    color = m_titleColor;
}

void CScrollStatic::SetDataFont(const LogFont& font, COLORREF color)
{
    m_dataLogFont = font;
    m_dataFont = CLyricFonts::Usable(font);
    m_dataColor = color;
    m_shaped.valid = false;
    update();
}

void CScrollStatic::GetDataFont(LogFont& font, COLORREF& color) const
{
    font = m_dataLogFont;
    color = m_dataColor;
}

void CScrollStatic::SetKaraokeFont(const LogFont& font, COLORREF sung, COLORREF unsung)
{
    m_karaokeLogFont = font;
    m_karaokeFont = CLyricFonts::Usable(font);
    m_lyricTexts.SetFont(m_karaokeFont);
    m_sungColor = sung;
    m_unsungColor = unsung;
    MeasureLyrics();
    m_drawnValid = false;
    update();
}

void CScrollStatic::GetKaraokeFont(LogFont& font, COLORREF& sung, COLORREF& unsung) const
{
    font = m_karaokeLogFont;
    sung = m_sungColor;
    unsung = m_unsungColor;
}

void CScrollStatic::SetShowFlags(const ShowFlags& flags)
{
    m_show = flags;
    m_shaped.valid = false;
    update();
}

bool CScrollStatic::SetScrollSpeed(int speed)
{
    if (speed < MinSpeed || speed > MaxSpeed)
        return false;
    m_speed = speed;
    return true;
}

// ---- Information face ---------------------------------------------------------------------

QString CScrollStatic::Label(Item item)
{
    return QString::fromLatin1(kLabels[item]);
}

void CScrollStatic::SetTexts(const Texts& texts)
{
    m_texts = texts;
    m_shaped.valid = false;
    update();
}

void CScrollStatic::SetText(Item item, const QString& text)
{
    m_texts[item] = text;
    m_shaped.valid = false;
    update();
}

int CScrollStatic::CycleWidth() const
{
    return Shaped().cycleWidth;
}

const CScrollStatic::ShapedInfo& CScrollStatic::Shaped() const
{
    if (m_shaped.valid)
        return m_shaped;
    const QFontMetrics title(m_titleFont);
    const QFontMetrics data(m_dataFont);
    const auto shaped = [](const QString& text, const QFont& font) {
        QStaticText shapedText(text);
        shapedText.setTextFormat(Qt::PlainText);
        shapedText.prepare(QTransform(), font);
        return shapedText;
    };
    m_shaped = ShapedInfo();
    m_shaped.valid = true;
    int width = 0;
    for (size_t item = 0; item < ItemCount; ++item) {
        if (!m_show[item] || m_texts[item].isEmpty())
            continue;
        const QString label = Label(Item(item));
        m_shaped.labels[item] = shaped(label, m_titleFont);
        m_shaped.texts[item] = shaped(m_texts[item], m_dataFont);
        m_shaped.labelWidths[item] = title.horizontalAdvance(label);
        m_shaped.textWidths[item] = data.horizontalAdvance(m_texts[item]);
        width += m_shaped.labelWidths[item] + m_shaped.textWidths[item] + ItemGap;
    }
    m_shaped.cycleWidth = width + CycleGap - ItemGap;
    return m_shaped;
}

void CScrollStatic::SetMillisecondSource(std::function<qint64()> source)
{
    m_milliseconds = std::move(source);
    m_lastStep = m_milliseconds();
}

void CScrollStatic::StepScroll()
{
    const qint64 now = m_milliseconds();
    const int interval = StepInterval(m_speed);
    const qint64 steps = (now - m_lastStep) / interval;
    if (steps <= 0)
        return;
    // One pixel per whole interval; the rest of the time counts towards the next step.
    m_lastStep += steps * interval;
    // Whole cycles change nothing on screen; leaving them out keeps a long pause from overflowing.
    m_scrollOffset -= int(steps % CycleWidth());
    FoldScrollOffset();
    update();
}

void CScrollStatic::FoldScrollOffset()
{
    // A cycle that has scrolled out on the left wholly is dropped, as many at once as there are,
    // so painting never walks through cycles out of sight.
    const int cycle = CycleWidth();
    const int end = m_scrollOffset + cycle - CycleGap + ItemGap;
    if (end < 0)
        m_scrollOffset += ((-end + cycle - 1) / cycle) * cycle;
}

void CScrollStatic::DrawCycle(QPainter& painter, int x, int bottom, int right) const
{
    const ShapedInfo& shaped = Shaped();
    const QFontMetrics title(m_titleFont);
    const QFontMetrics data(m_dataFont);
    // Draws one text with its bottom on the line; false once x has passed the right edge.
    const auto draw = [&](const QStaticText& text, int width, const QFont& font, const QFontMetrics& metrics,
                          COLORREF color) {
        painter.setFont(font);
        painter.setPen(ToQColor(color));
        painter.drawStaticText(QPointF(x, bottom - metrics.descent() - metrics.ascent()), text);
        x += width;
        return x <= right;
    };
    for (size_t item = 0; item < ItemCount; ++item) {
        if (!m_show[item] || m_texts[item].isEmpty())
            continue;
        if (!draw(shaped.labels[item], shaped.labelWidths[item], m_titleFont, title, m_titleColor))
            return;
        if (!draw(shaped.texts[item], shaped.textWidths[item], m_dataFont, data, m_dataColor))
            return;
        x += ItemGap;
    }
}

const QPixmap& CScrollStatic::CyclePicture(int height) const
{
    const ShapedInfo& shaped = Shaped();
    const qreal ratio = devicePixelRatioF();
    const QSize size(shaped.cycleWidth + 2 * kCycleMargin, height);
    if (shaped.cycle.deviceIndependentSize().toSize() == size && shaped.cycleBack == m_backColor &&
        shaped.cycle.devicePixelRatio() == ratio)
        return shaped.cycle;
    m_shaped.cycle = QPixmap();
    if (size.width() * ratio > kMaxCyclePixels || height <= 0)
        return m_shaped.cycle;
    m_shaped.cycle = QPixmap(size * ratio);
    m_shaped.cycle.setDevicePixelRatio(ratio);
    m_shaped.cycle.fill(ToQColor(m_backColor));
    m_shaped.cycleBack = m_backColor;
    QPainter painter(&m_shaped.cycle);
    DrawCycle(painter, kCycleMargin, height - BaselineRaise, size.width());
    return m_shaped.cycle;
}

void CScrollStatic::PaintInformation(QPainter& painter, const QSize& client)
{
    FoldScrollOffset();
    const int cycle = CycleWidth();
    const int right = client.width();
    const QPixmap& picture = CyclePicture(client.height());
    for (int x = m_scrollOffset; x <= right; x += cycle) {
        if (picture.isNull())
            DrawCycle(painter, x, client.height() - BaselineRaise, right);
        else
            painter.drawPixmap(x - kCycleMargin, 0, picture);
    }
}

// ---- Karaoke face -------------------------------------------------------------------------

bool CScrollStatic::LoadLyrics(const QString& path, int& codePage, double durationSeconds)
{
    if (!m_data.ReadKaraokeFile(path, codePage)) {
        ClearLyrics();
        return false;
    }
    return AfterLyricsRead(durationSeconds);
}

bool CScrollStatic::LoadLyricsText(QStringView text, double durationSeconds)
{
    if (!m_data.ParseKaraokeText(text)) {
        ClearLyrics();
        return false;
    }
    return AfterLyricsRead(durationSeconds);
}

bool CScrollStatic::AfterLyricsRead(double durationSeconds)
{
    if (durationSeconds > 0)
        m_durationMs = durationSeconds * 1000.0;
    MeasureLyrics();
    UpdateLyricClock();
    m_drawnValid = false;
    if (ShowsKaraokeFace())
        update();
    UpdateFrames();
    return true;
}

void CScrollStatic::ClearLyrics()
{
    m_data.Clear();
    MeasureLyrics();
    m_drawnValid = false;
    update();
    UpdateFrames();
}

void CScrollStatic::SetKaraokeLine(bool on)
{
    m_karaokeLine = on;
    m_drawnValid = false;
    m_lastStep = m_milliseconds();
    update();
    UpdateFrames();
}

void CScrollStatic::MeasureLyrics()
{
    // One line: line breaks are measured (and drawn) as the space they carry.
    CTokenMeasure(m_karaokeFont).MeasureAll(m_data, CTokenMeasure::LineBreaks::AsSpaces);
}

void CScrollStatic::UpdateLyricClock()
{
    m_clockMs = m_playhead.ClockMs(m_data.Header);
}

void CScrollStatic::SetPlaybackSpeed(double speed)
{
    m_playhead.SetSpeed(speed);
}

void CScrollStatic::SetOffsetNudge(int milliseconds)
{
    m_playhead.SetOffsetNudge(milliseconds);
    UpdateLyricClock();
    UpdateLine();
    UpdateFrames();
}

CScrollStatic::LinePosition CScrollStatic::CurrentLine() const
{
    const CKaraokeBlock* block = m_data.FindBlockAt(qint64(std::trunc(m_clockMs)));
    if (!block)
        return {};
    // Before the first block (a negative offset) the line waits with it at the centre; a block
    // without length, or past the end of the track, stands sung.
    const int progress = CLyricTimeline::WipePixels(m_clockMs, block->StartTime(),
                                                    CLyricTimeline::EndOf(*block, m_durationMs), block->TextWidth);
    return {block, CenterX() - progress};
}

void CScrollStatic::UpdateLine()
{
    if (!ShowsKaraokeFace())
        return;
    if (!m_drawnValid || CurrentLine() != m_drawn)
        update();
}

void CScrollStatic::UpdateFrames()
{
    bool run = m_playhead.IsRunning() && ShowsKaraokeFace();
    if (run) {
        // Past the end of the last block nothing moves any more.
        const LinePosition line = CurrentLine();
        run = line.block->Next() || line.startX + line.block->TextWidth > CenterX();
    }
    m_ticker.RunIn(run ? 0 : -1);
}

void CScrollStatic::PaintKaraoke(QPainter& painter, const QSize& client)
{
    m_drawn = CurrentLine();
    m_drawnValid = true;
    const CKaraokeBlock* block = m_drawn.block;
    int x = m_drawn.startX;
    while (x > 0 && block->Previous()) {
        block = block->Previous();
        x -= block->TextWidth;
    }
    const int center = CenterX();
    painter.setPen(QPen(ToQColor(m_centerLineColor), 0));
    painter.drawLine(center, 0, center, client.height() - 1);
    PaintLyricPass(painter, block, x, QRect(0, 0, center, client.height()), m_sungColor);
    PaintLyricPass(painter, block, x, QRect(center, 0, client.width() - center, client.height()), m_unsungColor);
}

void CScrollStatic::PaintLyricPass(QPainter& painter, const CKaraokeBlock* block, int x, const QRect& clip,
                                   COLORREF color)
{
    painter.setClipRect(clip);
    painter.setPen(ToQColor(color));
    for (; block; block = block->Next()) {
        for (const CKaraokeToken& token : block->Tokens) {
            if (x > clip.right())
                return;
            if (x + token.Width > clip.left())
                m_lyricTexts.Draw(painter, QPointF(x, 0), token.Text());
            x += token.Width;
        }
    }
}

// ---- Ticks, painting, mouse ---------------------------------------------------------------

void CScrollStatic::Tick(double seconds)
{
    Tick(seconds, false);
}

void CScrollStatic::Tick(double seconds, bool playing)
{
    m_playhead.Report(seconds, playing);
    UpdateLyricClock();
    if (ShowsKaraokeFace()) {
        // The information face resumes where it stood when the lyrics give way to it.
        m_lastStep = m_milliseconds();
        // While frames run, the next one shows the line; a paint between them would be one more.
        if (!m_ticker.IsActive())
            UpdateLine();
    } else {
        StepScroll();
    }
    UpdateFrames();
}

void CScrollStatic::paintEvent(QPaintEvent*)
{
    // Qt's backing store is the off-screen bitmap: the line is copied to the screen in one piece.
    QPainter painter(this);
    const QRect client = contentsRect();
    painter.fillRect(client, ToQColor(m_backColor));
    const bool anyShown = std::any_of(m_show.begin(), m_show.end(), [](bool shown) { return shown; });
    if (anyShown) {
        painter.save();
        painter.translate(client.topLeft());
        painter.setClipRect(QRect(QPoint(0, 0), client.size()));
        if (ShowsKaraokeFace())
            PaintKaraoke(painter, client.size());
        else
            PaintInformation(painter, client.size());
        painter.restore();
    }
    drawFrame(&painter);
}

void CScrollStatic::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        SetKaraokeLine(!m_karaokeLine);
        return;
    }
    QFrame::mouseDoubleClickEvent(event);
}
