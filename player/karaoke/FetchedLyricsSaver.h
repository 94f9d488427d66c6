#pragma once

#include "player/karaoke/LyricsTrack.h"

#include <QString>

#include <functional>

// Writes fetched lyrics for a track, in UTF-8 and atomically: into the lyric file it already has
// (only after `confirmOverwrite` agreed), else as name.lrc beside it, else, where its folder
// cannot be written, into the saved lyrics folder under its artist and title.
class CFetchedLyricsSaver
{
public:
    enum class Outcome { Saved, Declined, Failed };
    struct Result {
        Outcome What = Outcome::Failed;
        QString Path; // the file written, or the one that could not be
    };
    using ConfirmOverwrite = std::function<bool(const QString& existingPath)>;

    // Without `confirmOverwrite` an existing lyric file is never replaced.
    static Result Save(const LyricsTrack& track, const QString& text, const ConfirmOverwrite& confirmOverwrite);
};
