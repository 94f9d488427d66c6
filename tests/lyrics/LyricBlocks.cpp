#include "tests/lyrics/LyricBlocks.h"

namespace LyricBlocks {

QStringList tokens(const CKaraokeData& data)
{
    QStringList blocks;
    for (const CKaraokeBlock* block = data.FirstBlock(); block; block = block->Next()) {
        QString item = QString::number(block->StartTime()) + ':';
        for (const CKaraokeToken& token : block->Tokens)
            item += token.IsLineBreak() ? QStringLiteral("/") : '"' + token.Text() + '"';
        blocks << item;
    }
    return blocks;
}

QStringList texts(const CKaraokeData& data)
{
    QStringList blocks;
    for (const CKaraokeBlock* block = data.FirstBlock(); block; block = block->Next()) {
        QString item = QString::number(block->StartTime()) + ':';
        for (const CKaraokeToken& token : block->Tokens)
            item += token.IsLineBreak() ? QStringLiteral("/") : token.Text();
        blocks << item;
    }
    return blocks;
}

CKaraokeBlock* at(const CKaraokeData& data, int index)
{
    CKaraokeBlock* block = data.FirstBlock();
    while (block && index-- > 0)
        block = block->Next();
    return block;
}

} // namespace LyricBlocks
