#pragma once

#include "player/karaoke/KaraokeData.h"

#include <QStringList>

// Lyric documents as text, for comparisons in tests.
namespace LyricBlocks {

// Every block as "time:" followed by its tokens, words in quotes and line breaks as "/".
QStringList tokens(const CKaraokeData& data);
// Every block as "time:" followed by its text, line breaks as "/": what a reader shows, whatever
// the words were cut into.
QStringList texts(const CKaraokeData& data);
// The block at an index of the chain, or nullptr.
CKaraokeBlock* at(const CKaraokeData& data, int index);

} // namespace LyricBlocks
