#include "player/karaoke/stage/StageLayout.h"

#include <algorithm>
#include <cmath>

CStageLayout::CStageLayout(const QSize& screen) : m_screen(screen)
{
}

CStageLayout::PlacedLine CStageLayout::Place(const StageLine& line, int slot, int rowHeight, int band) const
{
    PlacedLine placed;
    const std::vector<StageRow> rows = CStageLines::Rows(line, MaxRowWidth());
    const int count = int(rows.size());
    // The upper slot grows upwards from the middle band, the lower one downwards.
    int top = slot == 0 ? MiddleTop() - count * (band + rowHeight) : MiddleBottom();
    for (const StageRow& row : rows) {
        PlacedRow placedRow;
        placedRow.scale = row.width > MaxRowWidth() ? double(MaxRowWidth()) / row.width : 1.0;
        const int width = int(std::ceil(row.width * placedRow.scale));
        const int left = slot == 0 ? Margin() : m_screen.width() - Margin() - width;
        placedRow.rect = QRect(left, top, width, band + rowHeight);
        int x = 0;
        for (int i = row.first; i < row.first + row.count; ++i) {
            const StageWord& word = line.words[size_t(i)];
            placedRow.words.push_back({&word, QRect(x, top + band, word.width, rowHeight)});
            x += word.width;
        }
        placed.rows.push_back(std::move(placedRow));
        top += band + rowHeight;
    }
    return placed;
}

std::vector<QRect> CStageLayout::Dots(const PlacedLine& line, int dots) const
{
    std::vector<QRect> rects;
    if (line.rows.empty())
        return rects;
    const QRect first = line.rows.front().rect;
    const int size = std::max(4, LineHeight() / 5);
    const int step = size * 2;
    const int y = first.top() - size - size / 2;
    for (int i = 0; i < dots; ++i)
        rects.emplace_back(first.left() + i * step, y, size, size);
    return rects;
}

QRect CStageLayout::TitleRect() const
{
    return QRect(Margin(), m_screen.height() * 2 / 5 - LineHeight(), MaxRowWidth(), LineHeight() * 3 / 2);
}

QRect CStageLayout::ArtistRect() const
{
    return QRect(Margin(), m_screen.height() * 2 / 5 + LineHeight(), MaxRowWidth(), LineHeight());
}

QRegion CStageLayout::Span(const PlacedLine& line, int from, int to, const CRubyLayer& rubies)
{
    QRegion region;
    int sum = 0;
    for (const PlacedRow& row : line.rows) {
        for (const PlacedWord& placed : row.words) {
            const int width = placed.word->width;
            const int left = std::max(from, sum);
            const int right = std::min(to, sum + width);
            if (left < right) {
                const int x0 = ScreenX(row, placed.rect.left() + left - sum);
                const int x1 = ScreenX(row, placed.rect.left() + right - sum) + 1;
                const QRect rect = placed.rect;
                region += QRect(x0, rect.top(), std::max(1, x1 - x0), rect.height());
                rubies.ForEachChange(
                    placed.word->block, placed.word->token, left - sum, right - sum, [&](const QRect& reading) {
                        const int x = ScreenX(row, rect.left() + reading.left());
                        region += QRect(x, rect.top() + reading.top(), int(std::ceil(reading.width() * row.scale)) + 1,
                                        reading.height());
                    });
            }
            sum += width;
        }
    }
    return region;
}
