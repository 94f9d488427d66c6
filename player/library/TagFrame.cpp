#include "player/library/TagFrame.h"

#include "platform/text/CodePage.h"

#include <algorithm>
#include <cstring>

namespace {

// The text encodings of ID3v2 (the byte in front of a frame's texts).
enum Encoding { Latin = 0, Utf16WithMark = 1, Utf16BigEndian = 2, Utf8 = 3 };

constexpr char16_t kByteOrderMark = 0xFEFF;

bool usesWideTerminator(int encoding)
{
    return encoding == Utf16WithMark || encoding == Utf16BigEndian;
}

QString upToNul(QString text)
{
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    if (nul >= 0)
        text.truncate(nul);
    return text;
}

QString withoutByteOrderMark(QString text)
{
    if (text.startsWith(QChar(kByteOrderMark)))
        text.remove(0, 1);
    return text;
}

QString eightBitText(const char* data, qsizetype size, int codePage)
{
    return upToNul(CodePage::toUnicode(data, size, codePage));
}

QString utf8Text(const char* data, qsizetype size)
{
    const auto* nul = static_cast<const char*>(std::memchr(data, 0, static_cast<size_t>(size)));
    return withoutByteOrderMark(QString::fromUtf8(data, nul ? nul - data : size));
}

// 16-bit units up to the first NUL unit; an odd last byte is dropped.
QString utf16Text(const char* data, qsizetype size, bool bigEndian)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(data);
    QString text(size / 2, Qt::Uninitialized);
    auto* out = reinterpret_cast<char16_t*>(text.data());
    qsizetype units = 0;
    for (qsizetype i = 0; i + 1 < size; i += 2) {
        const char16_t unit = bigEndian ? char16_t(bytes[i] << 8 | bytes[i + 1]) : char16_t(bytes[i] | bytes[i + 1] << 8);
        if (unit == 0)
            break;
        out[units++] = unit;
    }
    text.truncate(units);
    return text;
}

bool startsWithByteOrderMark(const char* data, qsizetype size)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(data);
    return size >= 2 && ((bytes[0] == 0xFF && bytes[1] == 0xFE) || (bytes[0] == 0xFE && bytes[1] == 0xFF));
}

// UTF-16 that starts with its byte-order mark; without a mark, `withoutMark` decides.
QString markedUtf16Text(const char* data, qsizetype size, std::optional<bool> withoutMark)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(data);
    if (size >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE)
        return utf16Text(data + 2, size - 2, false);
    if (size >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF)
        return utf16Text(data + 2, size - 2, true);
    if (!withoutMark)
        return {};
    return utf16Text(data, size, *withoutMark);
}

// The offset just after the first terminator (one NUL byte, or one NUL unit aligned to the
// start for UTF-16), or -1 when there is none inside the size.
qsizetype terminatorEnd(const char* data, qsizetype size, bool wide)
{
    if (!wide) {
        const auto* nul = static_cast<const char*>(std::memchr(data, 0, static_cast<size_t>(size)));
        return nul ? nul - data + 1 : -1;
    }
    for (qsizetype i = 0; i + 1 < size; i += 2)
        if (data[i] == 0 && data[i + 1] == 0)
            return i + 2;
    return -1;
}

// A picture description in the frame's encoding (without its terminator).
QString descriptionText(const char* data, qsizetype size, int encoding, int codePage)
{
    switch (encoding) {
    case Utf16WithMark:
        return markedUtf16Text(data, size, false);
    case Utf16BigEndian:
        return withoutByteOrderMark(utf16Text(data, size, true));
    case Utf8:
        return utf8Text(data, size);
    default:
        return eightBitText(data, size, codePage);
    }
}

// CR LF, a lone LF and a lone CR all become CR LF.
QString withCrLfLineEnds(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\r"));
    text.replace(QChar(u'\n'), QChar(u'\r'));
    text.replace(QLatin1String("\r"), QLatin1String("\r\n"));
    return text;
}

} // namespace

TagFrame::TagFrame(std::string_view id, quint16 flags, QByteArray data)
    : Size(static_cast<quint32>(data.size())), Flags(flags), Data(std::move(data))
{
    std::copy_n(id.data(), std::min(id.size(), Id.size() - 1), Id.begin());
}

TagFrame::TextClass TagFrame::textClass() const
{
    if (Data.isEmpty())
        return NoData;
    if (Id[0] == 'T') {
        const auto* bytes = reinterpret_cast<const unsigned char*>(Data.constData());
        switch (bytes[0]) {
        case Latin:
            return EightBitText;
        case Utf16WithMark:
            if (Data.size() >= 3 && bytes[1] == 0xFF && bytes[2] == 0xFE)
                return Utf16LittleEndianText;
            if (Data.size() >= 3 && bytes[1] == 0xFE && bytes[2] == 0xFF)
                return Utf16BigEndianText;
            return UndecodableText;
        case Utf16BigEndian:
            return Utf16BigEndianNoMarkText;
        case Utf8:
            return Utf8Text;
        default:
            return UndecodableText;
        }
    }
    if (id() == "USLT" || id() == "ULT")
        return LyricsFrame;
    return OtherFrame;
}

QString TagFrame::decodeText(int codePage) const
{
    const char* data = Data.constData();
    const qsizetype size = Data.size();
    switch (textClass()) {
    case EightBitText:
        return eightBitText(data + 1, size - 1, codePage);
    case Utf16LittleEndianText:
        return utf16Text(data + 3, size - 3, false);
    case Utf16BigEndianText:
        return utf16Text(data + 3, size - 3, true);
    case Utf16BigEndianNoMarkText:
        return withoutByteOrderMark(utf16Text(data + 1, size - 1, true));
    case Utf8Text:
        return utf8Text(data + 1, size - 1);
    default:
        return {};
    }
}

QString TagFrame::decodeLyrics(int codePage, QString* language) const
{
    constexpr qsizetype kDescriptorStart = 4; // encoding byte, three-letter language
    if (textClass() != LyricsFrame || Data.size() < kDescriptorStart)
        return {};
    const char* data = Data.constData();
    const qsizetype size = Data.size();
    const int encoding = static_cast<unsigned char>(data[0]);
    if (language)
        *language = QString::fromLatin1(data + 1, 3);

    // Encoding 1 (and unknown ones) carry a byte-order mark in front of the descriptor, except
    // where a writer left an empty descriptor as a bare 00 00.
    const bool markedEncoding = encoding != Latin && encoding != Utf8 && encoding != Utf16BigEndian;
    const qsizetype markSize = markedEncoding && startsWithByteOrderMark(data + kDescriptorStart, size - kDescriptorStart) ? 2 : 0;
    const qsizetype descriptorStart = kDescriptorStart + markSize;
    if (descriptorStart > size)
        return {};
    const qsizetype descriptorEnd =
        terminatorEnd(data + descriptorStart, size - descriptorStart, encoding != Latin && encoding != Utf8);
    if (descriptorEnd < 0)
        return {};
    const char* text = data + descriptorStart + descriptorEnd;
    const qsizetype textSize = size - descriptorStart - descriptorEnd;

    switch (encoding) {
    case Latin:
        return withCrLfLineEnds(eightBitText(text, textSize, codePage));
    case Utf8:
        return withCrLfLineEnds(utf8Text(text, textSize));
    case Utf16BigEndian:
        return withCrLfLineEnds(withoutByteOrderMark(utf16Text(text, textSize, true)));
    default:
        return withCrLfLineEnds(markedUtf16Text(text, textSize, std::nullopt));
    }
}

std::optional<TagPicture> TagFrame::picture(int codePage) const
{
    const char* data = Data.constData();
    const qsizetype size = Data.size();
    if (size < 1)
        return std::nullopt;
    const int encoding = static_cast<unsigned char>(data[0]);
    TagPicture picture;
    qsizetype position = 1;
    if (id() == "PIC") {
        constexpr qsizetype kFormatSize = 3;
        if (size < position + kFormatSize)
            return std::nullopt;
        picture.MimeType = eightBitText(data + position, kFormatSize, codePage);
        position += kFormatSize;
    } else {
        const qsizetype mimeEnd = terminatorEnd(data + position, size - position, false);
        if (mimeEnd < 0)
            return std::nullopt;
        picture.MimeType = eightBitText(data + position, mimeEnd - 1, codePage);
        position += mimeEnd;
    }
    if (position >= size)
        return std::nullopt;
    picture.PictureType = static_cast<unsigned char>(data[position++]);

    const bool wide = usesWideTerminator(encoding);
    const qsizetype descriptionEnd = terminatorEnd(data + position, size - position, wide);
    if (descriptionEnd < 0)
        return std::nullopt;
    picture.Description = descriptionText(data + position, descriptionEnd - (wide ? 2 : 1), encoding, codePage);
    position += descriptionEnd;
    picture.Image = QByteArrayView(data + position, size - position);
    return picture;
}
