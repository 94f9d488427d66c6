#pragma once

#include "platform/net/LrclibTypes.h"

#include <QString>

#include <optional>

class CKaraokeData;

// The lyrics of the service's records as this player keeps them, and its own lyric documents as
// the service takes them.
class CLrclibLyrics
{
public:
    struct ToSave {
        std::optional<QString> Text; // what the lyric file gets
        QString Problem;             // why there is none
    };
    // The synced lyrics, else the plain ones, after ID tags of the record's title, artist and
    // album (unless they have ID tags of their own). Synced lyrics with a line that has no time tag or
    // with tags that run backwards are refused, as is a record without lyrics.
    static ToSave TextToSave(const LrclibRecord& record);
    // Empty when every line with text begins with a time tag and the tags run forwards, else
    // the user's message.
    static QString CheckSynced(const QString& synced);

    struct Lines {
        QString Synced; // standard line-synced LRC, each line at its first word's block
        QString Plain;
    };
    // A document as line-synced LRC: times are playback positions (the header's offset and time
    // ratio undone); text before the first time tag is left out. Empty without any timed line.
    static Lines LineSynced(const CKaraokeData& document);
};
