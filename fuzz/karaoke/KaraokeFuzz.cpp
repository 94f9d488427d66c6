// Lyric file bytes through the reader, the writer and the editing operations. The first input
// byte picks the code page the reader is given; the rest is the file.
#include "player/karaoke/KaraokeData.h"

#include <cstddef>
#include <cstdint>

namespace {

constexpr int kCodePages[] = {0, 932, 65001, 1252, 949, 50220};

QString allText(const CKaraokeData& data)
{
    QString text;
    for (const CKaraokeBlock* block = data.FirstBlock(); block; block = block->Next())
        for (const CKaraokeToken& token : block->Tokens)
            text += token.IsLineBreak() ? QStringLiteral("\n") : token.Text();
    return text;
}

// A saved document reads back to one that saves the same text (after the first save has
// rounded the time ratio to six decimals).
void checkSaveIsStable(const CKaraokeData& data)
{
    CKaraokeData once;
    once.ParseKaraokeText(data.KaraokeText());
    const QString saved = once.KaraokeText();
    CKaraokeData twice;
    twice.ParseKaraokeText(saved);
    if (twice.KaraokeText() != saved || allText(twice) != allText(data))
        __builtin_trap();
}

// Splitting every block inside its first word and merging the pieces back keeps every character.
void checkSplitAndMerge(CKaraokeData& data)
{
    const QString before = allText(data);
    for (CKaraokeBlock* block = data.FirstBlock(); block; block = block->Next()) {
        CKaraokeBlock* added = data.SplitBlock(block, 0, 1, block->StartTime());
        if (allText(data) != before || data.MergeIntoPrevious(added) != block)
            __builtin_trap();
    }
    if (allText(data) != before)
        __builtin_trap();
    data.FindBlockAt(0);
    data.FindBlockAt(1000);
}

// Every reading's segments lie inside their tokens, in every mode (the dictionary off: the
// harness tests the notation, not MeCab).
void checkReadings(const CKaraokeData& data)
{
    for (const RubyMode mode : {RubyMode::None, RubyMode::Written}) {
        const CLyricRubies rubies = data.Rubies(mode);
        for (const CKaraokeBlock* block = data.FirstBlock(); block; block = block->Next())
            for (const CRubySegment& segment : rubies.SegmentsOf(block))
                if (size_t(segment.Token) >= block->Tokens.size() || segment.Begin < 0 || segment.Begin >= segment.End ||
                    segment.End > block->Tokens[size_t(segment.Token)].Length() ||
                    size_t(segment.Span) >= rubies.Spans().size())
                    __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* input, size_t size)
{
    if (size == 0)
        return 0;
    int codePage = kCodePages[input[0] % std::size(kCodePages)];
    const QByteArray bytes(reinterpret_cast<const char*>(input + 1), qsizetype(size - 1));
    CKaraokeData data;
    data.ReadKaraokeBytes(bytes, codePage);
    checkSaveIsStable(data);
    checkReadings(data);
    checkSplitAndMerge(data);
    checkReadings(data);
    return 0;
}
