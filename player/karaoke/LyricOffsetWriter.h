#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <optional>

// Writes a lyric offset into a lyric file and leaves every other byte as it was: the number of
// the file's "@Offset" line (own dialect) or "[offset:]" tag (LRC) is replaced, or, when the file
// has none, such a line goes in at its top, after any byte-order mark, with the file's line end.
// Whatever is changed is checked by reading it again: the same lyrics, now at the new offset.
class CLyricOffsetWriter
{
public:
    // `codePage` is the lyric code page the file is read in (as for CKaraokeData). False, the file
    // untouched, when it cannot be read or written, or when its bytes would not come out again
    // from its text (a byte invalid in its code page).
    static bool Write(const QString& path, int codePage, qint32 offset);
    // The same on the file's bytes: the bytes to write (the same bytes when the file already has
    // that offset), or none.
    static std::optional<QByteArray> WithOffset(const QByteArray& bytes, int codePage, qint32 offset);
};
