#include "player/karaoke/KaraokeStatic.h"

#include "common/ui/MessageBox.h"
#include "common/ui/StringTable.h"
#include "player/karaoke/KaraokeInlineEdit.h"
#include "player/karaoke/KaraokeStrings.h"
#include "player/settings/ProfileHelpers.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QTextBoundaryFinder>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr COLORREF kDefaultBackColor = RGB(0, 0, 0);
constexpr COLORREF kDefaultErrColor = RGB(255, 0, 0);
constexpr COLORREF kDefaultSungColor = RGB(0, 255, 255);
constexpr COLORREF kDefaultUnsungColor = RGB(255, 255, 255);
constexpr COLORREF kDefaultTagColor = RGB(255, 128, 0);

// A stored font height beyond this (pixels) is drawn at this size: a corrupt profile must not
// make every word a screen high.
constexpr int kLargestFontPixels = 512;
// The inline edit box covers its item and this much around it.
constexpr QMargins kInlineEditMargins(6, 3, 6, 3);
constexpr int kTapCursorWidth = 2;
constexpr qsizetype kShapedTextCacheSize = 4096;
constexpr int kFramesPerRead = 2;
// A wipe due to move later than this is looked at again then (the clock may have been corrected).
constexpr int kLongestFrameWaitMs = 250;
constexpr double kNoEnd = -std::numeric_limits<double>::infinity();

double EndOf(const CKaraokeBlock& block, double durationMs)
{
    return block.Next() ? double(block.Next()->StartTime()) : durationMs;
}

// The x of every character boundary of a word (grapheme clusters), with the boundary indexes.
struct Boundaries {
    std::vector<int> index;
    std::vector<qreal> x;
};

Boundaries BoundariesOf(const QString& word, const QFont& font)
{
    QTextLayout layout(word, font);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    Boundaries boundaries;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, word);
    for (qsizetype at = 0; at >= 0; at = finder.toNextBoundary()) {
        boundaries.index.push_back(int(at));
        boundaries.x.push_back(line.isValid() ? line.cursorToX(int(at)) : 0);
        if (at >= word.size())
            break;
    }
    return boundaries;
}

} // namespace

CKaraokeStatic::CKaraokeStatic(QWidget* parent) : QFrame(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Clicks must leave the focus where it is, so a click beside an open inline box closes it.
    setFocusPolicy(Qt::NoFocus);
    m_frameTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_frameTimer, &QTimer::timeout, this, &CKaraokeStatic::OnFrame);
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
    m_backColor = GetProfileColor(section, QStringLiteral("BackColor"), kDefaultBackColor);
    m_errColor = GetProfileColor(section, QStringLiteral("ErrColor"), kDefaultErrColor);
    m_sungColor = GetProfileColor(section, QStringLiteral("KaraokeTextColor0"), kDefaultSungColor);
    m_unsungColor = GetProfileColor(section, QStringLiteral("KaraokeTextColor1"), kDefaultUnsungColor);
    m_tagColor = GetProfileColor(section, QStringLiteral("KaraokeTextColor2"), kDefaultTagColor);
    GetProfileFont(QString::fromLatin1(FontSection), m_logFont, 0, 12, false);
    ApplyFont();
}

void CKaraokeStatic::WriteSettings() const
{
    const QString section = QString::fromLatin1(Section);
    WriteProfileColor(section, QStringLiteral("BackColor"), m_backColor);
    WriteProfileColor(section, QStringLiteral("ErrColor"), m_errColor);
    WriteProfileColor(section, QStringLiteral("KaraokeTextColor0"), m_sungColor);
    WriteProfileColor(section, QStringLiteral("KaraokeTextColor1"), m_unsungColor);
    WriteProfileColor(section, QStringLiteral("KaraokeTextColor2"), m_tagColor);
    WriteProfileFont(QString::fromLatin1(FontSection), m_logFont);
}

void CKaraokeStatic::ApplyFont()
{
    LogFont usable = m_logFont;
    usable.lfHeight = std::clamp(usable.lfHeight, -kLargestFontPixels, kLargestFontPixels);
    m_font = usable.toQFont();
    m_shapedTexts.clear();
    if (m_inlineEdit)
        m_inlineEdit->setFont(m_font);
}

// ---- Loading ------------------------------------------------------------------------------

void CKaraokeStatic::ResetView()
{
    CancelInlineEdit();
    m_clock.Reset(0);
    m_wipePosition = 0;
    m_clockMs = 0;
    m_painted = false;
    m_paintedBlock = -1;
    m_paintedProgress = -1;
    m_mode = ModeView;
    m_edited = {};
    m_modified = false;
    m_contentSize = QSize(0, 0);
    m_margins = QPoint(3, 3);
    m_scroll = QPoint(0, 0);
    m_tapCursor = 0;
    m_tapHistory.clear();
    m_frameTimer.stop();
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

// ---- Measuring and layout -----------------------------------------------------------------

void CKaraokeStatic::MeasureBlock(CKaraokeBlock& block, const QFontMetrics& metrics) const
{
    int width = 0;
    int lineHeight = 0;
    for (CKaraokeToken& token : block.Tokens) {
        token.Width = token.Text().isEmpty() ? 0 : metrics.horizontalAdvance(token.Text());
        token.Height = metrics.height();
        if (token.IsLineBreak())
            continue;
        width += token.Width;
        lineHeight = std::max(lineHeight, token.Height);
    }
    block.TextWidth = width;
    block.LineHeight = lineHeight;
}

void CKaraokeStatic::MeasureAll()
{
    const QFontMetrics metrics(m_font);
    for (CKaraokeBlock* block = m_data.FirstBlock(); block; block = block->Next())
        MeasureBlock(*block, metrics);
}

void CKaraokeStatic::Relayout()
{
    MeasureAll();
    LayoutAll();
    update();
    emit LayoutChanged();
}

void CKaraokeStatic::LayoutAll()
{
    const QFontMetrics metrics(m_font);
    int x = 0;
    int y = 0;
    int lineHeight = 0;
    int widest = 0;
    m_index.clear();
    for (CKaraokeBlock* block = m_data.FirstBlock(); block; block = block->Next()) {
        BlockIndex entry{block, EndOf(*block, m_durationMs), y, y};
        const bool tagless = m_mode == ModeView || (block->StartTime() == 0 && block->Tokens.empty());
        if (tagless) {
            block->TagRect = QRect();
        } else {
            block->TagRect = QRect(x, y, metrics.horizontalAdvance(block->TagText()), metrics.height());
            x += block->TagRect.width();
            lineHeight = std::max(lineHeight, block->TagRect.height());
        }
        for (CKaraokeToken& token : block->Tokens) {
            token.LayoutRect = QRect(x, y, token.Width, token.Height);
            if (token.IsLineBreak()) {
                y += std::max(lineHeight, token.Height);
                x = 0;
                lineHeight = 0;
            } else {
                x += token.Width;
                lineHeight = std::max(lineHeight, token.Height);
            }
            widest = std::max(widest, x);
        }
        widest = std::max(widest, x);
        const int previousBottom = m_index.empty() ? 0 : m_index.back().bottom;
        entry.bottom = std::max({previousBottom, y + lineHeight, entry.top + block->LineHeight});
        m_index.push_back(entry);
    }
    m_contentSize = m_index.empty() ? QSize(0, 0)
                                    : QSize(widest + 2 * m_margins.x(), y + lineHeight + 2 * m_margins.y());
    BuildIndex();
    UpdateTapCursorWord();
}

void CKaraokeStatic::BuildIndex()
{
    m_reach.assign(m_index.size(), kNoEnd);
    for (size_t i = 1; i < m_index.size(); ++i) {
        const BlockIndex& entry = m_index[i];
        const bool error = double(entry.block->StartTime()) > entry.end;
        m_reach[i] = std::max(m_reach[i - 1], error ? kNoEnd : entry.end);
    }
    // Index numbers change with every layout: the next update repaints everything.
    m_painted = false;
}

// ---- Block states and the wipe -----------------------------------------------------------

CKaraokeStatic::BlockState CKaraokeStatic::StateAt(const CKaraokeBlock* block, double clockMs, int* wipe) const
{
    const double start = block->StartTime();
    const double end = EndOf(*block, m_durationMs);
    if (start > end)
        return BlockState::Error;
    if (clockMs < start)
        return BlockState::Unsung;
    if (clockMs > end)
        return BlockState::Sung;
    if (wipe) {
        // A block with no length is wholly sung at its start.
        *wipe = end == start ? block->TextWidth : int((clockMs - start) * block->TextWidth / (end - start));
    }
    return BlockState::Current;
}

int CKaraokeStatic::FindActiveBlock(double clockMs, int* wipe) const
{
    if (m_index.empty())
        return -1;
    int progress = -1;
    // The leading block counts only while current; any later block also while still to come.
    // Among those, the first whose end the clock has not passed is the one: m_reach is the
    // running maximum of those ends, so a binary search finds it.
    int found = -1;
    if (StateAt(m_index[0].block, clockMs, &progress) == BlockState::Current) {
        found = 0;
    } else {
        const auto it = std::lower_bound(m_reach.begin() + 1, m_reach.end(), clockMs);
        if (it != m_reach.end()) {
            found = int(it - m_reach.begin());
            if (StateAt(m_index[size_t(found)].block, clockMs, &progress) != BlockState::Current)
                progress = -1;
        }
    }
    if (wipe)
        *wipe = found >= 0 ? progress : -1;
    return found;
}

void CKaraokeStatic::SetPosition(double seconds)
{
    SetPosition(seconds, false);
}

void CKaraokeStatic::SetPosition(double seconds, bool playing)
{
    m_clock.Update(seconds, playing);
    // While frames run, the next one (due within a frame) paints what this report changed.
    if (!(playing && m_frameTimer.isActive()))
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
    m_wipePosition = m_clock.Position();
    m_clockMs = m_data.Header.TimeRatio * m_wipePosition * 1000.0 + m_data.Header.Offset;
    if (m_index.empty())
        return;
    if (!m_painted) {
        update();
        return;
    }
    int wipe = -1;
    const int found = FindActiveBlock(m_clockMs, &wipe);
    if (found == m_paintedBlock && wipe == m_paintedProgress)
        return;
    QRegion dirty;
    if (found >= 0 && found == m_paintedBlock && wipe >= 0 && m_paintedProgress >= 0)
        dirty = WipeStrip(found, std::min(wipe, m_paintedProgress), std::max(wipe, m_paintedProgress));
    else if (found < 0 || m_paintedBlock < 0)
        dirty = WordsRegion(std::max(found, m_paintedBlock), int(m_index.size()) - 1);
    else
        dirty = WordsRegion(std::min(found, m_paintedBlock), std::max(found, m_paintedBlock));
    if (dirty.isEmpty()) {
        // Nothing of it is on screen: take the new state as painted.
        m_paintedBlock = found;
        m_paintedProgress = wipe;
        return;
    }
    repaint(dirty);
}

void CKaraokeStatic::OnFrame()
{
    // The engine moves its position in steps of some 30 ms; the timer's reports read it at much
    // the same point of each step. Reading it every other frame as well lets the clock meet the
    // steps while they are fresh (every frame gains nothing more and costs the engine a call).
    if (m_positionSource && ++m_framesSinceRead >= kFramesPerRead) {
        m_framesSinceRead = 0;
        m_clock.Update(m_positionSource(), m_clock.IsRunning());
    }
    UpdateWipe();
    UpdateFrames();
}

void CKaraokeStatic::UpdateFrames()
{
    const double delay = m_smoothWipe && m_clock.IsRunning() && isVisible() ? NextChangeMs() : -1;
    if (delay < 0) {
        m_frameTimer.stop();
        return;
    }
    const qreal rate = screen() ? screen()->refreshRate() : 0;
    const int frame = int(1000.0 / (rate > 0 ? rate : 60.0));
    const int interval = int(std::clamp(std::ceil(delay), double(frame), double(kLongestFrameWaitMs)));
    if (interval == frame) {
        // A wipe that moves every frame: a repeating timer keeps the screen's beat even when a
        // frame comes late.
        if (!m_frameTimer.isActive() || m_frameTimer.isSingleShot() || m_frameTimer.interval() != frame) {
            m_frameTimer.setSingleShot(false);
            m_frameTimer.start(frame);
        }
    } else if (!m_frameTimer.isActive() || !m_frameTimer.isSingleShot() || interval < m_frameTimer.remainingTime()) {
        m_frameTimer.setSingleShot(true);
        m_frameTimer.start(interval);
    }
}

double CKaraokeStatic::NextChangeMs() const
{
    int wipe = -1;
    const int found = FindActiveBlock(m_clockMs, &wipe);
    const double ratio = m_data.Header.TimeRatio;
    if (found < 0 || !(ratio > 0))
        return -1;
    const CKaraokeBlock& block = *m_index[size_t(found)].block;
    const double start = block.StartTime();
    const double end = m_index[size_t(found)].end;
    double next = start;                     // a block still to come changes when it starts
    if (wipe >= 0)                           // a current one when its wipe reaches the next pixel
        next = block.TextWidth > 0 ? start + (wipe + 1) * (end - start) / block.TextWidth : end;
    return std::max(0.0, (next - m_clockMs) / ratio);
}

QPoint CKaraokeStatic::ContentToClient() const
{
    return m_margins - m_scroll;
}

QRect CKaraokeStatic::OnScreen(const QRect& contentRect) const
{
    return contentRect.translated(ContentToClient() + contentsRect().topLeft());
}

size_t CKaraokeStatic::FirstBlockReaching(int contentY) const
{
    const auto it = std::lower_bound(m_index.begin(), m_index.end(), contentY,
                                     [](const BlockIndex& entry, int y) { return entry.bottom <= y; });
    return size_t(it - m_index.begin());
}

QRegion CKaraokeStatic::WordsRegion(int fromIndex, int toIndex) const
{
    const QRect client = contentsRect();
    const int shift = (ContentToClient() + client.topLeft()).y();
    // Only the blocks whose rows are on screen can add anything.
    QRegion region;
    for (size_t i = std::max(size_t(fromIndex), FirstBlockReaching(client.top() - shift));
         i <= size_t(toIndex) && i < m_index.size() && m_index[i].top + shift <= client.bottom(); ++i) {
        for (const CKaraokeToken& token : m_index[i].block->Tokens)
            if (!token.IsLineBreak())
                region += OnScreen(token.LayoutRect).intersected(client);
    }
    return region;
}

QRegion CKaraokeStatic::WipeStrip(int index, int fromPixel, int toPixel) const
{
    // Only the pixels that change colour, [from, to): strips of consecutive frames do not overlap,
    // so the window system need not be waited for before each paint.
    const QRect client = contentsRect();
    QRegion region;
    int sum = 0;
    for (const CKaraokeToken& token : m_index[size_t(index)].block->Tokens) {
        if (token.IsLineBreak())
            continue;
        const int left = std::max(fromPixel, sum);
        const int right = std::min(toPixel, sum + token.Width);
        if (left < right) {
            const QRect rect = OnScreen(token.LayoutRect);
            region += QRect(rect.left() + left - sum, rect.top(), right - left, rect.height()).intersected(client);
        }
        sum += token.Width;
        if (sum >= toPixel)
            break;
    }
    return region;
}

// ---- Painting -----------------------------------------------------------------------------

void CKaraokeStatic::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QRect client = contentsRect();
    const QRegion area = event->region().intersected(client);
    painter.fillRect(area.boundingRect(), ToQColor(m_backColor));
    int wipe = -1;
    m_paintedBlock = FindActiveBlock(m_clockMs, &wipe);
    m_paintedProgress = wipe;
    m_painted = true;
    if (!m_index.empty()) {
        painter.setClipRect(client);
        painter.setFont(m_font);
        const QRect bounds = area.boundingRect();
        const int shift = (ContentToClient() + client.topLeft()).y();
        for (size_t i = FirstBlockReaching(bounds.top() - shift);
             i < m_index.size() && m_index[i].top + shift <= bounds.bottom(); ++i)
            PaintBlock(painter, m_index[i], area);
        if (m_mode != ModeView)
            PaintTapCursor(painter);
    }
    // The wipe's small repaints lie inside the frame: the style need not draw it for them.
    if (!client.contains(event->region().boundingRect())) {
        painter.setClipping(false);
        drawFrame(&painter);
    }
}

void CKaraokeStatic::PaintBlock(QPainter& painter, const BlockIndex& entry, const QRegion& area)
{
    const CKaraokeBlock& block = *entry.block;
    if (m_mode != ModeView && !block.TagRect.isEmpty()) {
        const QRect tag = OnScreen(block.TagRect);
        if (area.intersects(tag)) {
            const bool outOfOrder = block.Previous() && block.StartTime() < block.Previous()->StartTime();
            if (outOfOrder || double(block.StartTime()) > entry.end)
                painter.fillRect(tag, ToQColor(m_errColor));
            painter.setPen(ToQColor(m_tagColor));
            DrawText(painter, tag.topLeft(), block.TagText());
        }
    }
    int wipe = 0;
    const BlockState state = StateAt(&block, m_clockMs, &wipe);
    if (state == BlockState::Current) {
        PaintCurrentWords(painter, block, wipe, area);
        return;
    }
    const COLORREF color = state == BlockState::Error    ? m_errColor
                           : state == BlockState::Unsung ? m_unsungColor
                                                         : m_sungColor;
    painter.setPen(ToQColor(color));
    for (const CKaraokeToken& token : block.Tokens) {
        const QRect rect = OnScreen(token.LayoutRect);
        if (!token.IsLineBreak() && area.intersects(rect))
            DrawText(painter, rect.topLeft(), token.Text());
    }
}

void CKaraokeStatic::PaintCurrentWords(QPainter& painter, const CKaraokeBlock& block, int wipe, const QRegion& area)
{
    const QRect client = contentsRect();
    const QColor sung = ToQColor(m_sungColor);
    const QColor unsung = ToQColor(m_unsungColor);
    int sum = 0;
    for (const CKaraokeToken& token : block.Tokens) {
        if (token.IsLineBreak())
            continue;
        const int left = sum;
        sum += token.Width;
        const QRect rect = OnScreen(token.LayoutRect);
        if (!area.intersects(rect))
            continue;
        if (sum <= wipe || left >= wipe) {
            painter.setPen(sum <= wipe ? sung : unsung);
            DrawText(painter, rect.topLeft(), token.Text());
            continue;
        }
        // The word being sung: the part left of the wipe in the sung colour, the rest not.
        const int split = rect.left() + wipe - left;
        painter.setClipRect(QRect(rect.left(), rect.top(), split - rect.left(), rect.height()).intersected(client));
        painter.setPen(sung);
        DrawText(painter, rect.topLeft(), token.Text());
        painter.setClipRect(QRect(split, rect.top(), rect.right() + 1 - split, rect.height()).intersected(client));
        painter.setPen(unsung);
        DrawText(painter, rect.topLeft(), token.Text());
        painter.setClipRect(client);
    }
}

void CKaraokeStatic::DrawText(QPainter& painter, const QPoint& topLeft, const QString& text)
{
    // Shaping a text costs far more than drawing it, and the wipe draws the same words again
    // and again: they are shaped once. Lyrics repeat their words; a cache that grows too large
    // (a huge document scrolled through) simply starts again.
    auto it = m_shapedTexts.find(text);
    if (it == m_shapedTexts.end()) {
        if (m_shapedTexts.size() >= kShapedTextCacheSize)
            m_shapedTexts.clear();
        QStaticText shaped(text);
        shaped.setTextFormat(Qt::PlainText);
        shaped.setPerformanceHint(QStaticText::AggressiveCaching);
        shaped.prepare(QTransform(), m_font);
        it = m_shapedTexts.insert(text, shaped);
    }
    painter.drawStaticText(topLeft, *it);
}

void CKaraokeStatic::PaintTapCursor(QPainter& painter)
{
    if (!m_tapCursorWord)
        return;
    const QRect rect = ClientRectOf(*m_tapCursorWord).translated(contentsRect().topLeft());
    painter.fillRect(QRect(rect.left(), rect.top(), kTapCursorWidth, rect.height()), ToQColor(m_tagColor));
    painter.fillRect(QRect(rect.left(), rect.bottom() - 1, std::max(rect.width(), kTapCursorWidth), 2),
                     ToQColor(m_tagColor));
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
    if (color == m_backColor)
        return;
    m_backColor = color;
    update();
}

void CKaraokeStatic::SetErrColor(COLORREF color)
{
    if (color == m_errColor)
        return;
    m_errColor = color;
    update();
}

void CKaraokeStatic::SetFontAndColors(const LogFont& font, COLORREF sung, COLORREF unsung, COLORREF tag)
{
    m_logFont = font;
    m_sungColor = sung;
    m_unsungColor = unsung;
    m_tagColor = tag;
    ApplyFont();
    Relayout();
}

void CKaraokeStatic::GetFontAndColors(LogFont& font, COLORREF& sung, COLORREF& unsung, COLORREF& tag) const
{
    font = m_logFont;
    sung = m_sungColor;
    unsung = m_unsungColor;
    tag = m_tagColor;
}

void CKaraokeStatic::showEvent(QShowEvent* event)
{
    QFrame::showEvent(event);
    UpdateFrames();
}

void CKaraokeStatic::hideEvent(QHideEvent* event)
{
    QFrame::hideEvent(event);
    UpdateFrames();
}

// ---- Hit testing and editing ------------------------------------------------------------

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
    const QPoint point = clientPoint - ContentToClient();
    const int marginX = m_margins.x();
    for (size_t b = FirstBlockReaching(point.y()); b < m_index.size() && m_index[b].top <= point.y(); ++b) {
        CKaraokeBlock* block = m_index[b].block;
        if (block->TagRect.contains(point))
            return Hit{block, -1};
        const auto& tokens = block->Tokens;
        for (size_t i = 0; i < tokens.size(); ++i) {
            if (tokens[i].IsLineBreak())
                continue;
            const QRect rect = tokens[i].LayoutRect;
            if (rect.contains(point))
                return Hit{block, int(i)};
            if (point.y() < rect.top() || point.y() > rect.bottom())
                continue;
            const bool startsLine = i == 0 || tokens[i - 1].IsLineBreak();
            const bool endsLine = i + 1 < tokens.size() && tokens[i + 1].IsLineBreak();
            const bool inLeftMargin = point.x() >= rect.left() - marginX && point.x() < rect.left();
            const bool inRightMargin = point.x() > rect.right() && point.x() <= rect.right() + marginX;
            if ((startsLine && inLeftMargin) || (endsLine && inRightMargin))
                return Hit{block, int(i)};
        }
    }
    return std::nullopt;
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

bool CKaraokeStatic::OpenInlineEdit(const Hit& item)
{
    if (m_mode != ModeEdit || !item.block)
        return false;
    const QString text = item.token < 0 ? item.block->TagText() : item.block->Tokens[size_t(item.token)].Text();
    auto* box = new CKaraokeInlineEdit(this);
    box->setFont(m_font);
    box->setText(text);
    box->setGeometry(ClientRectOf(item).translated(contentsRect().topLeft()).marginsAdded(kInlineEditMargins));
    box->selectAll();
    connect(box, &CKaraokeInlineEdit::ApplyRequested, this, &CKaraokeStatic::ApplyInlineEdit);
    connect(box, &CKaraokeInlineEdit::CancelRequested, this, &CKaraokeStatic::CancelInlineEdit);
    m_inlineEdit = box;
    m_focusBeforeEdit = window()->focusWidget();
    m_mode = ModeInlineEdit;
    m_edited = item;
    box->show();
    box->setFocus(Qt::MouseFocusReason);
    return true;
}

void CKaraokeStatic::CancelInlineEdit()
{
    if (m_inlineEdit) {
        CKaraokeInlineEdit* box = m_inlineEdit;
        m_inlineEdit = nullptr;
        box->disconnect(this);
        if (window()->focusWidget() == box)
            RestoreFocus();
        box->hide();
        box->deleteLater();
    }
    if (m_mode == ModeInlineEdit) {
        m_mode = ModeEdit;
        m_edited = {};
        update();
    }
}

void CKaraokeStatic::RestoreFocus()
{
    // Hidden with the focus, the box would hand it to the next control in the tab order: the
    // title box, whose text the next key typed would replace.
    QWidget* target = m_focusBeforeEdit;
    if (target && target->isEnabled() && target->isVisible())
        target->setFocus(Qt::OtherFocusReason);
    else
        window()->setFocus(Qt::OtherFocusReason);
}

void CKaraokeStatic::ApplyInlineEdit()
{
    if (m_mode != ModeInlineEdit || !m_edited.block || !m_inlineEdit)
        return;
    const QString text = m_inlineEdit->text();
    CKaraokeBlock* block = m_edited.block;
    bool changed = false;
    if (m_edited.token >= 0) {
        if (text != block->Tokens[size_t(m_edited.token)].Text())
            changed = CKaraokeData::ReplaceWordText(block, m_edited.token, text);
    } else if (!text.isEmpty()) {
        LyricTime time = 0;
        if (CKaraokeData::ParseTimeTag(text, time) == 0) {
            // The box stays open with the text, so the user can put it right.
            m_inlineEdit->SetKeepOnFocusLoss(true);
            ShowMessageBox(window(), StringTable::text(KaraokeString::TimeTagFormatWrong), QStringLiteral("ApplyEdit()"),
                           MB_OK | MB_ICONINFORMATION);
            if (m_inlineEdit) {
                m_inlineEdit->SetKeepOnFocusLoss(false);
                m_inlineEdit->setFocus(Qt::OtherFocusReason);
            }
            return;
        }
        changed = time != block->StartTime();
        if (changed)
            block->SetStartTime(time);
    } else if (block->Previous()) {
        changed = m_data.MergeIntoPrevious(block) != nullptr;
    } else {
        changed = block->StartTime() != 0;
        block->SetStartTime(0);
    }
    CancelInlineEdit();
    if (changed)
        EditChanged();
}

void CKaraokeStatic::EditChanged()
{
    m_modified = true;
    Relayout();
}

LyricTime CKaraokeStatic::EnginePositionMs() const
{
    const double seconds = m_positionSource ? m_positionSource() : 0.0;
    if (!(seconds > 0))
        return 0;
    return LyricTime(std::min(seconds * 1000.0, double(std::numeric_limits<LyricTime>::max())));
}

bool CKaraokeStatic::StampAt(const QPoint& clientPoint)
{
    if (m_mode != ModeEdit || !m_positionSource)
        return false;
    const auto hit = HitTest(clientPoint);
    if (!hit)
        return false;
    const LyricTime time = EnginePositionMs();
    if (hit->token < 0) {
        if (time == hit->block->StartTime())
            return false;
        hit->block->SetStartTime(time);
        EditChanged();
        return true;
    }
    const CKaraokeToken& word = hit->block->Tokens[size_t(hit->token)];
    const int x = clientPoint.x() - ClientRectOf(*hit).left();
    int charIndex = 0;
    if (clientPoint.x() >= m_margins.x())
        charIndex = x >= word.Width ? word.Length() : SplitIndexAt(word.Text(), x);
    SplitAt(hit->block, hit->token, charIndex, time);
    return true;
}

int CKaraokeStatic::SplitIndexAt(const QString& word, int x) const
{
    if (x <= 0 || word.isEmpty())
        return 0;
    const Boundaries boundaries = BoundariesOf(word, m_font);
    const auto reached = std::lower_bound(boundaries.x.begin(), boundaries.x.end(), qreal(x));
    if (reached == boundaries.x.end())
        return int(word.size());
    size_t chosen = size_t(reached - boundaries.x.begin());
    // The nearer of the boundary reached and the one before it; the later one on a tie.
    if (chosen > 0 && x - boundaries.x[chosen - 1] < *reached - x)
        --chosen;
    // Characters of no width after the boundary stay with the part before it.
    while (chosen + 1 < boundaries.x.size() && boundaries.x[chosen + 1] == boundaries.x[chosen])
        ++chosen;
    return boundaries.index[chosen];
}

void CKaraokeStatic::SplitAt(CKaraokeBlock* block, int token, int charIndex, LyricTime time)
{
    m_data.SplitBlock(block, token, charIndex, time);
    EditChanged();
}

// ---- Tap-to-time --------------------------------------------------------------------------

std::vector<CKaraokeStatic::WordStop> CKaraokeStatic::WordStops() const
{
    std::vector<WordStop> stops;
    bool lineStart = true;
    for (CKaraokeBlock* block = m_data.FirstBlock(); block; block = block->Next()) {
        for (size_t i = 0; i < block->Tokens.size(); ++i) {
            if (block->Tokens[i].IsLineBreak()) {
                lineStart = true;
                continue;
            }
            stops.push_back({block, int(i), lineStart});
            lineStart = false;
        }
    }
    return stops;
}

void CKaraokeStatic::UpdateTapCursorWord()
{
    const auto stops = WordStops();
    m_tapCursorWord.reset();
    if (m_tapCursor >= 0 && size_t(m_tapCursor) < stops.size())
        m_tapCursorWord = Hit{stops[size_t(m_tapCursor)].block, stops[size_t(m_tapCursor)].token};
}

bool CKaraokeStatic::TapLine()
{
    return Tap(true);
}

bool CKaraokeStatic::TapWord()
{
    return Tap(false);
}

bool CKaraokeStatic::Tap(bool lineStart)
{
    if (m_mode != ModeEdit || !m_positionSource)
        return false;
    const auto stops = WordStops();
    const auto isStop = [&](size_t i) { return !lineStart || stops[i].lineStart; };
    size_t at = size_t(std::max(m_tapCursor, 0));
    while (at < stops.size() && !isStop(at))
        ++at;
    if (at >= stops.size())
        return false;
    size_t next = at + 1;
    while (next < stops.size() && !isStop(next))
        ++next;
    m_tapHistory.push_back(int(at));
    m_tapCursor = int(next);
    const LyricTime time = EnginePositionMs();
    const WordStop& stop = stops[at];
    if (stop.token != 0) {
        SplitAt(stop.block, stop.token, 0, time);
    } else if (stop.block->StartTime() != time) {
        stop.block->SetStartTime(time);
        EditChanged();
    } else {
        UpdateTapCursorWord();
        update();
    }
    return true;
}

void CKaraokeStatic::TapBack()
{
    if (m_mode != ModeEdit)
        return;
    if (!m_tapHistory.empty()) {
        m_tapCursor = m_tapHistory.back();
        m_tapHistory.pop_back();
    } else {
        m_tapCursor = std::max(0, m_tapCursor - 1);
    }
    UpdateTapCursorWord();
    update();
}
