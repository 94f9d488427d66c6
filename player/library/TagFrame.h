#pragma once

#include "player/library/TagPicture.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <optional>
#include <string_view>

// One ID3v2 frame as read from a tag: identifier, flags and a private copy of the data bytes,
// so decoding needs no further file access. Every decoder stays inside the data.
class TagFrame
{
public:
    // How the frame's data is decoded; the numbers are the classes the reader has always used,
    // 54 and 56 were added for the encodings of ID3v2.4.
    enum TextClass {
        NoData = 0,
        UndecodableText = 16,
        EightBitText = 17,
        Utf16LittleEndianText = 50,
        Utf16BigEndianText = 52,
        Utf16BigEndianNoMarkText = 54,
        Utf8Text = 56,
        OtherFrame = 64,
        LyricsFrame = 72,
    };

    TagFrame(std::string_view id, quint16 flags, QByteArray data);

    std::string_view id() const { return std::string_view(Id.data()); }
    TextClass textClass() const;

    // The text of a "T" frame; 8-bit text is converted from the code page. Ends at the first NUL.
    QString decodeText(int codePage) const;
    // The text of an unsynchronised-lyrics frame with every line ending in CR LF; the content
    // descriptor is skipped. The three-letter language goes to `language` when asked.
    QString decodeLyrics(int codePage, QString* language = nullptr) const;
    // The picture of an "APIC" frame (or a version 2.2 "PIC" frame); nothing when a string
    // runs past the end of the data.
    std::optional<TagPicture> picture(int codePage) const;

    std::array<char, 5> Id{}; // 3 characters (version 2.2) or 4, NUL-terminated
    quint32 Size = 0;         // length of Data
    quint16 Flags = 0;        // as stored; 0 for version 2.2
    QByteArray Data;
};
