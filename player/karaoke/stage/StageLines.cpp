#include "player/karaoke/stage/StageLines.h"

#include "player/karaoke/KaraokeData.h"
#include "player/karaoke/display/LyricTimeline.h"

#include <algorithm>

void CStageLines::Build(const CKaraokeData& data, double durationMs)
{
    m_lines.clear();
    StageLine line;
    const auto close = [&] {
        if (!line.words.empty()) {
            const StageWord& first = line.words.front();
            const StageWord& last = line.words.back();
            line.start = CLyricTimeline::TimeAtPixel(*first.block, durationMs, first.offset);
            line.end =
                std::max(line.start, CLyricTimeline::TimeAtPixel(*last.block, durationMs, last.offset + last.width));
            m_lines.push_back(std::move(line));
        }
        line = StageLine();
    };
    for (const CKaraokeBlock* block = data.FirstBlock(); block; block = block->Next()) {
        int offset = 0;
        for (size_t i = 0; i < block->Tokens.size(); ++i) {
            const CKaraokeToken& token = block->Tokens[i];
            if (token.IsLineBreak()) {
                close();
                continue;
            }
            line.words.push_back({block, int(i), offset, token.Width});
            line.width += token.Width;
            offset += token.Width;
        }
    }
    close();
}

std::vector<StageRow> CStageLines::Rows(const StageLine& line, int maxWidth)
{
    const int count = int(line.words.size());
    if (line.width <= maxWidth || count < 2)
        return {{0, count, line.width}};
    int best = 1;
    int bestWidest = line.width;
    int left = 0;
    for (int split = 1; split < count; ++split) {
        left += line.words[size_t(split - 1)].width;
        const int widest = std::max(left, line.width - left);
        if (widest < bestWidest) {
            bestWidest = widest;
            best = split;
        }
    }
    int firstWidth = 0;
    for (int i = 0; i < best; ++i)
        firstWidth += line.words[size_t(i)].width;
    return {{0, best, firstWidth}, {best, count - best, line.width - firstWidth}};
}
