#pragma once

#include "demo/DemoSong.h"

#include <QString>

// The lyric texts of a demo song, timed from its notes: a tag at every sung syllable and at
// every rest after one, so the wipe stops where the voice does.
class CDemoLyrics
{
public:
    // The player's own dialect: "@Title"/"@Artist" lines (when asked), "[mm:ss:hh]" tags, CR LF.
    static QString OwnDialect(const CDemoSong& song, bool withHeader);
    // Enhanced LRC: ID tags, "[mm:ss.xx]" at each line start, "<mm:ss.xx>" before each
    // syllable and after the last one of a line, LF line ends.
    static QString EnhancedLrc(const CDemoSong& song);
};
