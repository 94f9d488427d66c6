#include "player/karaoke/display/RubyLayer.h"

#include "player/karaoke/AutoReadings.h"
#include "player/karaoke/KaraokeData.h"
#include "player/karaoke/RubySetting.h"
#include "player/karaoke/display/LyricFonts.h"
#include "player/karaoke/display/LyricTimeline.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <memory>

namespace {

// The pixels of a token's words before it in its block, by token.
std::vector<int> TokenOffsets(const CKaraokeBlock& block)
{
    std::vector<int> offsets;
    int sum = 0;
    for (const CKaraokeToken& token : block.Tokens) {
        offsets.push_back(sum);
        if (!token.IsLineBreak())
            sum += token.Width;
    }
    return offsets;
}

} // namespace

CLyricRubies CRubyLayer::ReadingsOf(CKaraokeData& data)
{
    // The last lines computed: the karaoke window and the stage view read the same file.
    static std::shared_ptr<const CAutoReadings> last;
    const RubyMode mode = CRubySetting::Instance().Mode();
    if (mode == RubyMode::Automatic && !data.HasAutomaticReadings()) {
        const QStringList lines = data.RubyLines();
        if (!last || last->Lines != lines)
            last = std::make_shared<const CAutoReadings>(CAutoReadings::Compute(lines));
        data.AdoptAutomaticReadings(*last);
    }
    return data.Rubies(mode);
}

void CRubyLayer::Build(const CKaraokeData& data, const CLyricRubies& rubies, const QFont& lyricFont, double durationMs)
{
    m_placed.clear();
    m_texts.SetFont(CLyricFonts::Ruby(lyricFont));
    const QFontMetrics lyric(lyricFont);
    const QFontMetrics ruby(m_texts.Font());
    m_band = rubies.IsEmpty() ? 0 : ruby.height();
    std::vector<std::vector<Piece>> pieces(rubies.Spans().size());
    bool lineStart = true;
    for (const CKaraokeBlock* block = data.FirstBlock(); block; block = block->Next()) {
        const std::vector<CRubySegment>& segments = rubies.SegmentsOf(block);
        const std::vector<int> offsets = segments.empty() ? std::vector<int>() : TokenOffsets(*block);
        const bool blockStartsLine = lineStart;
        for (const CKaraokeToken& token : block->Tokens)
            lineStart = token.IsLineBreak() || (lineStart && token.Width == 0);
        for (const CRubySegment& segment : segments) {
            const QString& text = block->Tokens[size_t(segment.Token)].Text();
            Placed placed;
            placed.token = segment.Token;
            placed.baseLeft = lyric.horizontalAdvance(text.left(segment.Begin));
            placed.baseRight = lyric.horizontalAdvance(text.left(segment.End));
            placed.text = segment.Reading;
            const bool startsLine =
                segment.Begin == 0 &&
                (segment.Token == 0 ? blockStartsLine : block->Tokens[size_t(segment.Token - 1)].IsLineBreak());
            const double leaves =
                CLyricTimeline::TimeAtPixel(*block, durationMs, offsets[size_t(segment.Token)] + placed.baseRight);
            std::vector<Placed>& list = m_placed[block];
            pieces[size_t(segment.Span)].push_back({block, list.size(), segment.ReadingBegin, startsLine, leaves});
            list.push_back(std::move(placed));
        }
    }
    for (size_t span = 0; span < pieces.size(); ++span)
        PlaceSpan(rubies.Spans()[span], pieces[span], ruby);
}

void CRubyLayer::PlaceSpan(const CRubySpan& span, const std::vector<Piece>& pieces, const QFontMetrics& ruby)
{
    // The whole reading centred over the whole base, each piece's share where it falls in it: the
    // shares stand apart only where the base's parts do (a tag between them, a row's end).
    int baseWidth = 0;
    double leaves = 0;
    for (const Piece& piece : pieces) {
        const Placed& placed = m_placed[piece.block][piece.index];
        baseWidth += placed.baseRight - placed.baseLeft;
        leaves = std::max(leaves, piece.leaves);
    }
    int start = (baseWidth - ruby.horizontalAdvance(span.Reading)) / 2;
    // A reading wider than its base does not stand out left of its line.
    if (!pieces.empty() && pieces.front().startsLine)
        start = std::max(start, 0);
    int baseBefore = 0;
    for (const Piece& piece : pieces) {
        Placed& placed = m_placed[piece.block][piece.index];
        const int left =
            placed.baseLeft - baseBefore + start + ruby.horizontalAdvance(span.Reading.left(piece.readingBegin));
        placed.rect = QRect(left, -m_band, ruby.horizontalAdvance(placed.text), m_band);
        baseBefore += placed.baseRight - placed.baseLeft;
        if (span.Timings.empty())
            continue;
        const auto pixelsOf = [&](int spanChar) {
            const int chars = std::clamp(spanChar - piece.readingBegin, 0, int(placed.text.size()));
            return ruby.horizontalAdvance(placed.text.left(chars));
        };
        placed.times.emplace_back(double(span.BaseStart), 0);
        for (const CRubyReading::Timing& timing : span.Timings)
            placed.times.emplace_back(double(span.BaseStart + timing.Offset), pixelsOf(timing.Char));
        placed.times.emplace_back(leaves, placed.rect.width());
    }
}

std::pair<const CRubyLayer::Placed*, const CRubyLayer::Placed*> CRubyLayer::Over(const CKaraokeBlock* block,
                                                                                 int token) const
{
    const auto found = m_placed.find(block);
    if (found == m_placed.end())
        return {nullptr, nullptr};
    const std::vector<Placed>& list = found->second;
    const auto byToken = [](const Placed& placed, int value) { return placed.token < value; };
    const auto first = std::lower_bound(list.begin(), list.end(), token, byToken);
    const auto last = std::lower_bound(first, list.end(), token + 1, byToken);
    return {list.data() + (first - list.begin()), list.data() + (last - list.begin())};
}

int CRubyLayer::SungPixels(const Placed& placed, int tokenSung, double clockMs)
{
    const int width = placed.rect.width();
    if (tokenSung <= placed.baseLeft)
        return 0;
    if (tokenSung >= placed.baseRight)
        return width;
    if (placed.times.empty())
        return width * (tokenSung - placed.baseLeft) / (placed.baseRight - placed.baseLeft);
    return TimedPixels(placed, clockMs);
}

QRect CRubyLayer::ChangedPart(const Placed& placed, int from, int to)
{
    if (!placed.times.empty())
        return placed.rect;
    // A column either side for the edges of glyphs.
    const int left = SungPixels(placed, from, 0) - 1;
    const int right = SungPixels(placed, to, 0) + 1;
    return QRect(placed.rect.left() + left, placed.rect.top(), right - left, placed.rect.height());
}

int CRubyLayer::TimedPixels(const Placed& placed, double clockMs)
{
    int sung = 0;
    for (size_t i = 0; i < placed.times.size() && clockMs >= placed.times[i].first; ++i) {
        const auto [start, from] = placed.times[i];
        if (i + 1 == placed.times.size()) {
            sung = from;
            break;
        }
        const auto [end, to] = placed.times[i + 1];
        sung = end > start ? from + int((to - from) * std::min(1.0, (clockMs - start) / (end - start))) : to;
    }
    return std::clamp(sung, 0, placed.rect.width());
}

void CRubyLayer::Paint(QPainter& painter, const CKaraokeBlock* block, int token, const QPoint& origin, int sungPixels,
                       double clockMs, const QColor& sung, const QColor& unsung, const QRegion& area)
{
    for (auto [it, end] = Over(block, token); it != end; ++it) {
        const QRect rect = it->rect.translated(origin);
        if (!area.intersects(painter.transform().mapRect(rect)))
            continue;
        const int done = sung == unsung ? 0 : SungPixels(*it, sungPixels, clockMs);
        if (done <= 0 || done >= rect.width()) {
            painter.setPen(done > 0 ? sung : unsung);
            m_texts.Draw(painter, rect.topLeft(), it->text);
            continue;
        }
        // Split at the wipe; each part reaches well beyond the text, so no glyph edge is cut.
        const int reach = rect.height();
        const QRect parts[] = {QRect(rect.left() - reach, rect.top(), reach + done, rect.height()),
                               QRect(rect.left() + done, rect.top(), rect.width() - done + reach, rect.height())};
        for (int part = 0; part < 2; ++part) {
            painter.save();
            painter.setClipRect(parts[part], painter.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
            painter.setPen(part == 0 ? sung : unsung);
            m_texts.Draw(painter, rect.topLeft(), it->text);
            painter.restore();
        }
    }
}
