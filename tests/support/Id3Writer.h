#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// ID3 tags built byte by byte for tests: ID3v1, and ID3v2.2, 2.3 and 2.4 with
// unsynchronisation, padding, an extended header and frames in every text encoding.
namespace Id3Writer {

enum TextEncoding { Latin1 = 0, Utf16 = 1, Utf16BigEndian = 2, Utf8 = 3 };

enum FrameFlag : quint16 {
    Unsynchronised24 = 0x0002,    // version 2.4: unsynchronise this frame's data
    DataLengthIndicator24 = 0x0001, // version 2.4: put the data length in front of the data
};

struct Frame {
    QByteArray id;
    QByteArray data;
    quint16 flags = 0;
};

struct TagOptions {
    int version = 3; // major version: 2, 3 or 4
    bool unsynchronise = false;
    int padding = 0;
    bool extendedHeader = false;
};

// A string in an encoding: 8-bit text in `codePage` for Latin1; for Utf16 a byte-order mark
// and little-endian units (big-endian when `bigEndianMark`); NUL-terminated when asked.
QByteArray encodeString(TextEncoding encoding, const QString& text, bool terminated, int codePage = 1252,
                        bool bigEndianMark = false);

// Frame data (encoding byte first).
QByteArray textData(TextEncoding encoding, const QString& text, int codePage = 1252, bool bigEndianMark = false);
QByteArray lyricsData(TextEncoding encoding, const QByteArray& language, const QString& descriptor, const QString& text,
                      int codePage = 1252);
QByteArray pictureData(TextEncoding encoding, const QByteArray& mimeType, int pictureType, const QString& description,
                       const QByteArray& image);
QByteArray picture22Data(TextEncoding encoding, const QByteArray& format, int pictureType, const QString& description,
                         const QByteArray& image);

// The whole ID3v2 tag: header, extended header, frames, padding.
QByteArray tag(const QList<Frame>& frames, const TagOptions& options = {});

// A 128-byte ID3v1 tag; a track of 0 or less writes version 1.0 (30-byte comment).
QByteArray v1Tag(const QString& title, const QString& artist, const QString& album, int track, int codePage = 1252,
                 const QString& comment = {});

// Inserts 00 after every FF that is followed by 00 or a byte of 111xxxxx, and after an FF at the end.
QByteArray unsynchronise(const QByteArray& bytes);
QByteArray synchsafe(quint32 value);

} // namespace Id3Writer
