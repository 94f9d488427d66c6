// LRC text through the reader and the writer: a saved document must read back to the same blocks
// and save the same text again, as read and after splits that keep the times in order.
#include "player/karaoke/KaraokeData.h"

#include <cstddef>
#include <cstdint>

namespace {

// Each block as its time and text; words may be cut differently, the text may not.
QStringList blockTexts(const CKaraokeData& data)
{
    QStringList blocks;
    for (const CKaraokeBlock* block = data.FirstBlock(); block; block = block->Next()) {
        QString item = QString::number(block->StartTime()) + u':';
        for (const CKaraokeToken& token : block->Tokens)
            item += token.IsLineBreak() ? QStringLiteral("\n") : token.Text();
        blocks << item;
    }
    return blocks;
}

bool blocksInOrder(const CKaraokeData& data)
{
    for (const CKaraokeBlock* block = data.FirstBlock(); block && block->Next(); block = block->Next())
        if (block->Next()->StartTime() < block->StartTime())
            return false;
    return true;
}

void checkReadsBackTheSame(const CKaraokeData& data)
{
    const QString saved = data.KaraokeText();
    CKaraokeData again;
    again.ParseKaraokeText(saved);
    if (!again.Format.IsLrc() || blockTexts(again) != blockTexts(data) || again.KaraokeText() != saved ||
        again.Header.Title != data.Header.Title || again.Header.Artist != data.Header.Artist ||
        again.Header.Offset != data.Header.Offset)
        __builtin_trap();
}

// Splits every block inside its second token at its own start time, so the times stay in order.
void splitEveryBlock(CKaraokeData& data, int charIndex)
{
    for (CKaraokeBlock* block = data.FirstBlock(); block; block = block->Next())
        if (block->Tokens.size() > 1)
            block = data.SplitBlock(block, 1, charIndex, block->StartTime());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* input, size_t size)
{
    if (size == 0)
        return 0;
    // The first byte: whether an ID tag makes the text LRC whatever follows, and where to split.
    const bool forceLrc = input[0] & 1;
    const int charIndex = input[0] >> 1 & 3;
    QString text = QString::fromUtf8(reinterpret_cast<const char*>(input + 1), qsizetype(size - 1));
    if (forceLrc)
        text.prepend(QStringLiteral("[ti:fuzz]\n"));
    CKaraokeData data;
    data.ParseKaraokeText(text);
    if (!data.Format.IsLrc())
        return 0;
    checkReadsBackTheSame(data);
    if (blocksInOrder(data)) {
        splitEveryBlock(data, charIndex);
        checkReadsBackTheSame(data);
    }
    return 0;
}
