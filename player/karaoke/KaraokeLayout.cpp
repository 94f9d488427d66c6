#include "player/karaoke/KaraokeLayout.h"

#include "player/karaoke/display/LyricTimeline.h"

#include <algorithm>
#include <limits>

namespace {

constexpr double kNoEnd = -std::numeric_limits<double>::infinity();

} // namespace

void CKaraokeLayout::Build(const CKaraokeData& data, const QFontMetrics& metrics, bool withTags, double durationMs,
                           const QPoint& margins, const CRubyLayer& rubies)
{
    m_rubies = &rubies;
    m_entries.clear();
    m_lines.clear();
    m_durationMs = durationMs;
    // Where each block ends: on a line still open (its bottom is that line's), or right after a
    // line break (the next line's top).
    struct BlockEnd {
        size_t line;
        bool afterBreak;
    };
    std::vector<BlockEnd> ends;
    std::vector<Item> items;
    int x = 0;
    int y = 0;
    int widest = 0;
    for (CKaraokeBlock* block = data.FirstBlock(); block; block = block->Next()) {
        m_entries.push_back({block, CLyricTimeline::EndOf(*block, durationMs), y, y});
        if (!withTags || (block->StartTime() == 0 && block->Tokens.empty())) {
            block->TagRect = QRect();
        } else {
            const int width = metrics.horizontalAdvance(block->TagText());
            items.push_back({&block->TagRect, x, width, metrics.height()});
            x += width;
        }
        for (CKaraokeToken& token : block->Tokens) {
            if (token.IsLineBreak()) {
                CloseLine(items, token.Height, y);
                // The line break's own rectangle stands at the end of its line.
                const Line& line = m_lines.back();
                token.LayoutRect = QRect(x, line.top + line.band, token.Width, token.Height);
                x = 0;
                continue;
            }
            items.push_back({&token.LayoutRect, x, token.Width, token.Height});
            x += token.Width;
            widest = std::max(widest, x);
        }
        widest = std::max(widest, x);
        ends.push_back({m_lines.size(), items.empty() && x == 0});
    }
    const int lastTop = y;
    CloseLine(items, 0, y);
    const Line& last = m_lines.back();
    int previousBottom = 0;
    for (size_t i = 0; i < m_entries.size(); ++i) {
        const Line& line = m_lines[ends[i].line];
        const int bottom = ends[i].afterBreak ? line.top : line.top + line.height;
        Entry& entry = m_entries[i];
        entry.bottom = std::max({previousBottom, bottom, entry.top + entry.block->LineHeight});
        previousBottom = entry.bottom;
    }
    m_contentSize = m_entries.empty()
                        ? QSize(0, 0)
                        : QSize(widest + 2 * margins.x(), lastTop + last.height + 2 * margins.y());
    BuildReach();
}

void CKaraokeLayout::CloseLine(std::vector<Item>& items, int breakHeight, int& y)
{
    Line line;
    line.top = y;
    line.band = m_rubies->Band();
    int textHeight = 0;
    for (const Item& item : items)
        textHeight = std::max(textHeight, item.height);
    for (const Item& item : items) {
        *item.rect = QRect(item.x, y + line.band, item.width, item.height);
        line.width = std::max(line.width, item.x + item.width);
    }
    line.height = line.band + std::max(textHeight, breakHeight);
    m_lines.push_back(line);
    y += line.height;
    items.clear();
}

void CKaraokeLayout::BuildReach()
{
    m_reach.assign(m_entries.size(), kNoEnd);
    for (size_t i = 1; i < m_entries.size(); ++i) {
        const Entry& entry = m_entries[i];
        const bool error = double(entry.block->StartTime()) > entry.end;
        m_reach[i] = std::max(m_reach[i - 1], error ? kNoEnd : entry.end);
    }
}

size_t CKaraokeLayout::FirstBlockReaching(int contentY) const
{
    const auto it = std::lower_bound(m_entries.begin(), m_entries.end(), contentY,
                                     [](const Entry& entry, int y) { return entry.bottom <= y; });
    return size_t(it - m_entries.begin());
}

int CKaraokeLayout::FindActiveBlock(double clockMs, int* wipe) const
{
    if (wipe)
        *wipe = -1;
    if (m_entries.empty())
        return -1;
    using State = CLyricTimeline::State;
    int progress = -1;
    const auto stateOf = [&](size_t i) {
        const CKaraokeBlock& block = *m_entries[i].block;
        return CLyricTimeline::StateAt(block, clockMs, m_durationMs, block.TextWidth, &progress);
    };
    // The leading block counts only while current; any later block also while still to come.
    // Among those, the first whose end the clock has not passed is the one: m_reach is the
    // running maximum of those ends, so a binary search finds it.
    int found = -1;
    if (stateOf(0) == State::Current) {
        found = 0;
    } else {
        const auto it = std::lower_bound(m_reach.begin() + 1, m_reach.end(), clockMs);
        if (it == m_reach.end())
            return -1;
        found = int(it - m_reach.begin());
        if (stateOf(size_t(found)) != State::Current)
            progress = -1;
    }
    if (wipe)
        *wipe = progress;
    return found;
}

int CKaraokeLayout::LineAt(int contentY) const
{
    const auto it = std::upper_bound(m_lines.begin(), m_lines.end(), contentY,
                                     [](int y, const Line& line) { return y < line.top + line.height; });
    return it == m_lines.end() ? -1 : int(it - m_lines.begin());
}

CKaraokeLayout::Spot CKaraokeLayout::SpotOf(int entry, int wipe) const
{
    const CKaraokeBlock& block = *m_entries[size_t(entry)].block;
    const CKaraokeToken* lastWord = nullptr;
    int sum = 0;
    for (const CKaraokeToken& token : block.Tokens) {
        if (token.IsLineBreak())
            continue;
        if (wipe < sum + token.Width)
            return {LineAt(token.LayoutRect.top()), token.LayoutRect.left() + std::max(0, wipe - sum)};
        sum += token.Width;
        lastWord = &token;
    }
    if (lastWord)
        return {LineAt(lastWord->LayoutRect.top()), lastWord->LayoutRect.right() + 1};
    return {LineAt(m_entries[size_t(entry)].top), 0};
}

std::optional<KaraokeHit> CKaraokeLayout::HitTest(const QPoint& point, int marginX) const
{
    for (size_t b = FirstBlockReaching(point.y()); b < m_entries.size() && m_entries[b].top <= point.y(); ++b) {
        CKaraokeBlock* block = m_entries[b].block;
        if (block->TagRect.contains(point))
            return KaraokeHit{block, -1};
        const auto& tokens = block->Tokens;
        for (size_t i = 0; i < tokens.size(); ++i) {
            if (tokens[i].IsLineBreak())
                continue;
            const QRect rect = tokens[i].LayoutRect;
            if (rect.contains(point))
                return KaraokeHit{block, int(i)};
            if (point.y() < rect.top() || point.y() > rect.bottom())
                continue;
            const bool startsLine = i == 0 || tokens[i - 1].IsLineBreak();
            const bool endsLine = i + 1 < tokens.size() && tokens[i + 1].IsLineBreak();
            const bool inLeftMargin = point.x() >= rect.left() - marginX && point.x() < rect.left();
            const bool inRightMargin = point.x() > rect.right() && point.x() <= rect.right() + marginX;
            if ((startsLine && inLeftMargin) || (endsLine && inRightMargin))
                return KaraokeHit{block, int(i)};
        }
    }
    return std::nullopt;
}

QRegion CKaraokeLayout::WordsRegion(int fromEntry, int toEntry, const QPoint& shift, const QRect& client) const
{
    // Only the blocks whose rows are on screen can add anything.
    QRegion region;
    for (size_t i = std::max(size_t(fromEntry), FirstBlockReaching(client.top() - shift.y()));
         i <= size_t(toEntry) && i < m_entries.size() && m_entries[i].top + shift.y() <= client.bottom(); ++i) {
        const auto& tokens = m_entries[i].block->Tokens;
        for (size_t t = 0; t < tokens.size(); ++t) {
            if (tokens[t].IsLineBreak())
                continue;
            region += tokens[t].LayoutRect.translated(shift).intersected(client);
            AddReadings(region, m_entries[i].block, int(t), 0, tokens[t].Width, shift, client);
        }
    }
    return region;
}

QRegion CKaraokeLayout::WipeStrip(int entry, int fromPixel, int toPixel, const QPoint& shift, const QRect& client) const
{
    // Only the pixels that change colour, [from, to): strips of consecutive frames do not overlap,
    // so the window system need not be waited for before each paint.
    QRegion region;
    int sum = 0;
    const CKaraokeBlock* block = m_entries[size_t(entry)].block;
    for (size_t t = 0; t < block->Tokens.size(); ++t) {
        const CKaraokeToken& token = block->Tokens[t];
        if (token.IsLineBreak())
            continue;
        const int left = std::max(fromPixel, sum);
        const int right = std::min(toPixel, sum + token.Width);
        if (left < right) {
            const QRect rect = token.LayoutRect.translated(shift);
            region += QRect(rect.left() + left - sum, rect.top(), right - left, rect.height()).intersected(client);
            AddReadings(region, block, int(t), left - sum, right - sum, shift, client);
        }
        sum += token.Width;
        if (sum >= toPixel)
            break;
    }
    return region;
}

void CKaraokeLayout::AddReadings(QRegion& region, const CKaraokeBlock* block, int token, int from, int to,
                                 const QPoint& shift, const QRect& client) const
{
    const QPoint origin = block->Tokens[size_t(token)].LayoutRect.topLeft() + shift;
    m_rubies->ForEachChange(block, token, from, to,
                            [&](const QRect& rect) { region += rect.translated(origin).intersected(client); });
}
