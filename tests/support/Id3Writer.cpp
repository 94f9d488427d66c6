#include "tests/support/Id3Writer.h"

#include "platform/text/CodePage.h"

namespace Id3Writer {
namespace {

QByteArray bigEndian(quint32 value, int bytes)
{
    QByteArray out(bytes, '\0');
    for (int i = bytes - 1; i >= 0; --i) {
        out[i] = static_cast<char>(value & 0xFF);
        value >>= 8;
    }
    return out;
}

QByteArray utf16Units(const QString& text, bool bigEndianUnits)
{
    QByteArray out;
    for (QChar c : text) {
        const char high = static_cast<char>(c.unicode() >> 8);
        const char low = static_cast<char>(c.unicode() & 0xFF);
        out.append(bigEndianUnits ? high : low);
        out.append(bigEndianUnits ? low : high);
    }
    return out;
}

QByteArray frameBytes(const Frame& frame, const TagOptions& options)
{
    switch (options.version) {
    case 2:
        return frame.id.left(3) + bigEndian(static_cast<quint32>(frame.data.size()), 3) + frame.data;
    case 3:
        return frame.id.left(4) + bigEndian(static_cast<quint32>(frame.data.size()), 4) + bigEndian(frame.flags, 2) +
               frame.data;
    default: {
        quint16 flags = frame.flags;
        QByteArray data = frame.data;
        if (flags & DataLengthIndicator24)
            data.prepend(synchsafe(static_cast<quint32>(data.size())));
        if (options.unsynchronise)
            flags |= Unsynchronised24;
        if (flags & Unsynchronised24)
            data = unsynchronise(data);
        return frame.id.left(4) + synchsafe(static_cast<quint32>(data.size())) + bigEndian(flags, 2) + data;
    }
    }
}

QByteArray extendedHeader(const TagOptions& options)
{
    if (options.version == 3)
        return bigEndian(6, 4) + QByteArray(2, '\0') + bigEndian(static_cast<quint32>(options.padding), 4);
    return synchsafe(6) + QByteArray("\x01\x00", 2);
}

} // namespace

QByteArray synchsafe(quint32 value)
{
    QByteArray out(4, '\0');
    for (int i = 3; i >= 0; --i) {
        out[i] = static_cast<char>(value & 0x7F);
        value >>= 7;
    }
    return out;
}

QByteArray unsynchronise(const QByteArray& bytes)
{
    QByteArray out;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        out.append(bytes[i]);
        if (static_cast<unsigned char>(bytes[i]) != 0xFF)
            continue;
        const bool last = i + 1 == bytes.size();
        if (last || bytes[i + 1] == 0 || (static_cast<unsigned char>(bytes[i + 1]) & 0xE0) == 0xE0)
            out.append('\0');
    }
    return out;
}

QByteArray encodeString(TextEncoding encoding, const QString& text, bool terminated, int codePage, bool bigEndianMark)
{
    QByteArray out;
    switch (encoding) {
    case Latin1:
        out = CodePage::fromUnicode(text, codePage);
        break;
    case Utf16:
        out = (bigEndianMark ? QByteArray("\xFE\xFF") : QByteArray("\xFF\xFE")) + utf16Units(text, bigEndianMark);
        break;
    case Utf16BigEndian:
        out = utf16Units(text, true);
        break;
    case Utf8:
        out = text.toUtf8();
        break;
    }
    if (terminated)
        out.append(QByteArray(encoding == Utf16 || encoding == Utf16BigEndian ? 2 : 1, '\0'));
    return out;
}

QByteArray textData(TextEncoding encoding, const QString& text, int codePage, bool bigEndianMark)
{
    return char(encoding) + encodeString(encoding, text, false, codePage, bigEndianMark);
}

QByteArray lyricsData(TextEncoding encoding, const QByteArray& language, const QString& descriptor, const QString& text,
                      int codePage)
{
    return char(encoding) + language.left(3) + encodeString(encoding, descriptor, true, codePage) +
           encodeString(encoding, text, false, codePage);
}

QByteArray pictureData(TextEncoding encoding, const QByteArray& mimeType, int pictureType, const QString& description,
                       const QByteArray& image)
{
    return char(encoding) + mimeType + '\0' + char(pictureType) + encodeString(encoding, description, true) + image;
}

QByteArray picture22Data(TextEncoding encoding, const QByteArray& format, int pictureType, const QString& description,
                         const QByteArray& image)
{
    return char(encoding) + format.left(3) + char(pictureType) + encodeString(encoding, description, true) + image;
}

QByteArray tag(const QList<Frame>& frames, const TagOptions& options)
{
    QByteArray body;
    if (options.extendedHeader && options.version >= 3)
        body.append(extendedHeader(options));
    for (const Frame& frame : frames)
        body.append(frameBytes(frame, options));
    if (options.unsynchronise && options.version < 4)
        body = unsynchronise(body);
    body.append(QByteArray(options.padding, '\0'));

    char flags = 0;
    if (options.unsynchronise)
        flags |= char(0x80);
    if (options.extendedHeader && options.version >= 3)
        flags |= char(0x40);
    QByteArray header("ID3");
    header.append(char(options.version));
    header.append('\0');
    header.append(flags);
    header.append(synchsafe(static_cast<quint32>(body.size())));
    return header + body;
}

QByteArray v1Tag(const QString& title, const QString& artist, const QString& album, int track, int codePage,
                 const QString& comment)
{
    QByteArray block(128, '\0');
    block.replace(0, 3, "TAG");
    const auto put = [&](int offset, const QString& text, int width) {
        const QByteArray bytes = CodePage::fromUnicode(text, codePage).left(width);
        block.replace(offset, bytes.size(), bytes);
    };
    put(3, title, 30);
    put(33, artist, 30);
    put(63, album, 30);
    put(97, comment, track > 0 ? 28 : 30);
    if (track > 0)
        block[126] = static_cast<char>(track);
    block[127] = '\xFF';
    return block;
}

} // namespace Id3Writer
