#pragma once

#include "player/karaoke/KaraokeBlock.h"
#include "player/karaoke/KaraokeHeader.h"
#include "player/karaoke/LyricFileFormat.h"

#include <QString>

// Writes a lyric document as LRC: the ID tags first (in the order read, with the current title,
// artist and offset), then each block with its tag: "[mm:ss.xx]" when it starts a line,
// "<mm:ss.xx>" (or "[mm:ss.xx]" as the file had them) inside one. Any chain of blocks therefore gives an LRC file that
// other players read, whatever splits, merges and re-timings it went through; a document read from LRC and left alone
// comes out as it went in.
class CLrcWriter
{
public:
    static QString Write(const CKaraokeHeader& header, const CLyricFileFormat& format, const CKaraokeBlock* first);
    // "[key:value]", the value on one line.
    static QString IdTagLine(QStringView key, const QString& value);

private:
    static void AppendIdTags(QString& text, const CKaraokeHeader& header, const CLyricFileFormat& format);
    static QString TagFor(const CKaraokeBlock& block, bool atLineStart, bool squareWordTag, int fractionDigits);
};
