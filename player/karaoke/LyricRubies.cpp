#include "player/karaoke/LyricRubies.h"

#include "player/karaoke/KaraokeData.h"
#include "player/karaoke/RubyLineBuilder.h"

#include <algorithm>

namespace {

const std::vector<CRubySegment> kNoSegments;

// Calls `token(block, index, token)` for every token and `lineEnd()` after each line.
template <typename TokenFn, typename LineEndFn>
void walkLines(const CKaraokeData& data, TokenFn token, LineEndFn lineEnd)
{
    for (const CKaraokeBlock* block = data.FirstBlock(); block; block = block->Next()) {
        for (size_t i = 0; i < block->Tokens.size(); ++i) {
            token(block, int(i), block->Tokens[i]);
            if (block->Tokens[i].IsLineBreak())
                lineEnd();
        }
    }
    lineEnd();
}

} // namespace

CLyricRubies CLyricRubies::Build(const CKaraokeData& data, RubyMode mode, const CAutoReadings* automatic)
{
    CLyricRubies rubies;
    if (mode == RubyMode::None)
        return rubies;
    CRubyLineBuilder builder(rubies, mode, data.Header.Rubies, automatic);
    walkLines(
        data,
        [&builder](const CKaraokeBlock* block, int index, const CKaraokeToken& token) {
            builder.AddToken(block, index, token);
        },
        [&builder] { builder.EndLine(); });
    for (auto& [block, segments] : rubies.m_segments)
        std::sort(segments.begin(), segments.end(), [](const CRubySegment& a, const CRubySegment& b) {
            return a.Token != b.Token ? a.Token < b.Token : a.Begin < b.Begin;
        });
    return rubies;
}

QStringList CLyricRubies::LineTexts(const CKaraokeData& data)
{
    QStringList lines{QString()};
    walkLines(
        data,
        [&lines](const CKaraokeBlock*, int, const CKaraokeToken& token) {
            if (!token.IsLineBreak())
                lines.last() += token.Text();
        },
        [&lines] { lines.append(QString()); });
    lines.removeLast();
    return lines;
}

const std::vector<CRubySegment>& CLyricRubies::SegmentsOf(const CKaraokeBlock* block) const
{
    const auto found = m_segments.find(block);
    return found == m_segments.end() ? kNoSegments : found->second;
}
