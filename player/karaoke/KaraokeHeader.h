#pragma once

#include "player/karaoke/HeaderRuby.h"

#include <QString>
#include <QtGlobal>

#include <vector>

// The "@" header values a lyric document keeps. Other header keys are recognised and dropped.
class CKaraokeHeader
{
public:
    void Reset() { *this = CKaraokeHeader(); }

    // Lyric clock = TimeRatio x playback position in seconds x 1000 + Offset (milliseconds).
    double TimeRatio = 1.0;   // "@TimeRatio"
    qint32 Offset = 0;        // "@Offset", milliseconds
    QString Artist;           // "@Artist"
    QString Title;            // "@Title"
    // "@Ruby1=..." lines in file order (the lines themselves stay in the text as notation).
    std::vector<CHeaderRuby> Rubies;
};
