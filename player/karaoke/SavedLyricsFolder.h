#pragma once

#include <QString>

#include <optional>

// Where fetched lyrics go when a track's own folder cannot be written:
// $XDG_DATA_HOME/sonavel/lyrics/, one file per track named "artist - title.lrc". The lyric file
// of a track is looked for beside it first and in this folder after.
class CSavedLyricsFolder
{
public:
    static QString Folder();
    // The file name for a track: "artist - title.lrc" (the title alone without an artist, the
    // track's file name without a title), with "/", "\", control characters and ".." replaced
    // and no leading dot, cut to fit a file name; always a plain name inside the folder.
    static QString FileName(const QString& artist, const QString& title);
    static QString PathFor(const QString& artist, const QString& title);
    // The track's lyric file: the files beside it (CKaraokeData::FindKaraokeFile), then this
    // folder's file for its artist and title (an empty title stands for the track's file name).
    static std::optional<QString> FindLyrics(const QString& trackPath, const QString& artist, const QString& title);
    // The title lyrics are filed under: the tag's title, else the track's file name.
    static QString TitleOrFileName(const QString& trackPath, const QString& title);
};
