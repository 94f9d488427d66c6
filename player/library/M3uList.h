#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

// The entries of an m3u play list found in a scanned folder, as paths for the engine. Lines
// beginning with "#" and blank lines are skipped. An absolute path or a URL (file:// ones become
// local paths) is taken as it stands; any other line is relative to the list's folder, with
// "./" and "../" resolved. ".m3u8" lists are UTF-8; other lists are UTF-8 when they start with
// its mark or are valid multi-byte UTF-8, else in the locale's 8-bit code page. A list copied from
// Windows with its files may name them by the very bytes their names still have here: a line in
// the code page whose own bytes name a file that `exists` finds is taken by those bytes.
class CM3uList
{
public:
    using Exists = std::function<bool(const QString& path)>;
    static QStringList Entries(const QByteArray& bytes, const QString& folder, bool isM3u8, int ansiCodePage,
                               const Exists& exists = {});
    // The path of one entry line, or an empty text when it names nothing here.
    static QString EntryPath(const QString& line, const QString& folder);

private:
    static int CodePageOf(const QByteArray& bytes, bool isM3u8, int ansiCodePage);
};
