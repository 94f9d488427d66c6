#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The encodings of lyric files. A byte-order mark decides first: FF FE is UTF-16LE (code page 0),
// FE FF UTF-16BE (1201), EF BB BF UTF-8 (65001). Then bytes that are valid UTF-8 with at least
// one multi-byte sequence are UTF-8. Only then does the configured code page count; 0 there
// means UTF-16LE without a mark.
class CLyricEncoding
{
public:
    static constexpr int Utf16LEWithMark = 0;

    struct Decoded {
        QString Text;
        bool ByteOrderMark = false;
        // Bytes below 0x80 only, read in an 8-bit code page: the same text in UTF-8.
        bool Ascii = false;
        // Bytes the code page has no character for were replaced by U+FFFD: written back in that
        // page, the text would not give the same bytes.
        bool Lossy = false;
    };

    // Decodes a file's bytes; `codePage` comes in as configured and goes out as found.
    static Decoded Decode(const QByteArray& bytes, int& codePage);
    // Encodes text for a file; code page 0 always writes FF FE, 1201 and 65001 write their mark
    // when asked. No value for a code page that is not known here.
    static std::optional<QByteArray> Encode(const QString& text, int codePage, bool byteOrderMark);
};
