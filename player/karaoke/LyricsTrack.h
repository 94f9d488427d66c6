#pragma once

#include "platform/net/LrclibTypes.h"

#include <QString>

// A track whose lyrics are looked for online: its file and what the service is told of it (the
// tag's title, else the file name; artist, album and duration as known).
struct LyricsTrack {
    QString Path;
    LrclibTrack Tags;
};
