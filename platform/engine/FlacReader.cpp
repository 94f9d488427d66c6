#include "platform/engine/FlacReader.h"

#include <QStringList>
#include <QStringDecoder>

#include <cwchar>
#include <map>
#include <string>

#include <unistd.h>

namespace {

constexpr int kStreamInfo = 0;
constexpr int kPadding = 1;
constexpr int kSeekTable = 3;
constexpr int kVorbisComment = 4;
constexpr qint64 kHeadBytes = 16 * 1024;
constexpr qint64 kId3v1Size = 128;

quint32 bigEndian(const char* bytes, int count)
{
    quint32 value = 0;
    for (int i = 0; i < count; ++i)
        value = value << 8 | quint8(bytes[i]);
    return value;
}

quint32 littleEndian32(const char* bytes)
{
    return quint32(quint8(bytes[0])) | quint32(quint8(bytes[1])) << 8 | quint32(quint8(bytes[2])) << 16 |
           quint32(quint8(bytes[3])) << 24;
}

// The bytes at `offset`, from the head already read when they are in it.
std::optional<QByteArray> bytesAt(int descriptor, const QByteArray& head, qint64 offset, qint64 count)
{
    if (offset + count <= head.size())
        return head.mid(offset, count);
    QByteArray bytes(count, Qt::Uninitialized);
    return ::pread(descriptor, bytes.data(), size_t(count), offset) == count ? std::optional(bytes) : std::nullopt;
}

// A field value as TagLib decodes it: UTF-8 up to its first NUL. No value for bytes that are
// not UTF-8, which TagLib then judges.
std::optional<QString> decodedValue(QByteArrayView bytes)
{
    // A byte-order mark at the start stays a character, as it does for TagLib.
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    if (const qsizetype nul = text.indexOf(QChar(0)); nul >= 0)
        text.truncate(nul);
    return text;
}

// The key upper-cased, or empty when TagLib does not take it (characters 0x20 to 0x7D but '=').
QString fieldKey(QByteArrayView bytes)
{
    QString key;
    for (const char byte : bytes) {
        if (byte < 0x20 || byte > 0x7D)
            return QString();
        key += QChar(byte >= 'a' && byte <= 'z' ? byte - 'a' + 'A' : byte);
    }
    return key;
}

using Fields = std::map<QString, QStringList>;

std::optional<Fields> commentFields(const QByteArray& block)
{
    const qsizetype size = block.size();
    if (size < 8)
        return std::nullopt;
    const qint64 vendor = littleEndian32(block.constData());
    if (vendor > size - 8)
        return std::nullopt;
    qint64 at = 4 + vendor;
    const qint64 count = littleEndian32(block.constData() + at);
    at += 4;
    if (count > (size - 8) / 4)
        return std::nullopt;
    Fields fields;
    for (qint64 i = 0; i < count; ++i) {
        if (at + 4 > size)
            return std::nullopt;
        const qint64 length = littleEndian32(block.constData() + at);
        at += 4;
        if (length > size - at)
            return std::nullopt;
        const QByteArrayView entry(block.constData() + at, length);
        at += length;
        const qsizetype separator = entry.indexOf('=');
        const QString key = separator < 1 ? QString() : fieldKey(entry.first(separator));
        if (key.isEmpty() || key == QLatin1String("METADATA_BLOCK_PICTURE") || key == QLatin1String("COVERART"))
            continue;
        const std::optional<QString> value = decodedValue(entry.sliced(separator + 1));
        if (!value)
            return std::nullopt;
        if (!value->isEmpty())
            fields[key].append(*value);
    }
    return fields;
}

// TagLib hands its texts over as wide strings, which lose a byte-order mark at their start.
QString withoutMark(QString text)
{
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}

QString joined(const Fields& fields, const char* key)
{
    const auto found = fields.find(QLatin1String(key));
    return found == fields.end() ? QString() : withoutMark(found->second.join(u' '));
}

// The number the first value starts with, read the way TagLib reads it (wcstol), "" for 0.
QString trackText(const Fields& fields)
{
    for (const char* key : {"TRACKNUMBER", "TRACKNUM"}) {
        const auto found = fields.find(QLatin1String(key));
        if (found == fields.end())
            continue;
        std::wstring wide;
        for (const QChar unit : found->second.front())
            wide += wchar_t(unit.unicode());
        const auto number = unsigned(static_cast<int>(std::wcstol(wide.c_str(), nullptr, 10)));
        return number ? QString::number(number) : QString();
    }
    return QString();
}

double secondsOf(const QByteArray& streamInfo)
{
    const quint32 flags = bigEndian(streamInfo.constData() + 10, 4);
    const quint32 rate = flags >> 12;
    const quint64 frames = quint64(flags & 0xF) << 32 | bigEndian(streamInfo.constData() + 14, 4);
    if (frames == 0 || rate == 0)
        return 0;
    return int(double(frames) * 1000.0 / rate + 0.5) / 1000.0;
}

} // namespace

std::optional<MediaTags> FlacReader::fromBlocks(const QByteArray& streamInfo, const QByteArray& comments)
{
    const std::optional<Fields> fields = comments.isEmpty() ? Fields() : commentFields(comments);
    if (!fields || streamInfo.size() < 18)
        return std::nullopt;
    MediaTags tags;
    tags.title = joined(*fields, "TITLE");
    tags.artist = joined(*fields, "ARTIST");
    tags.album = joined(*fields, "ALBUM");
    tags.track = trackText(*fields);
    for (const char* key : {"SYNCEDLYRICS", "LYRICS", "UNSYNCEDLYRICS"})
        if (const auto found = fields->find(QLatin1String(key)); found != fields->end())
            for (const QString& text : found->second)
                tags.lyrics.push_back(withoutMark(text));
    tags.seconds = secondsOf(streamInfo);
    return tags;
}

std::optional<MediaTags> FlacReader::read(int descriptor, qint64 size)
{
    QByteArray head(qMin(size, kHeadBytes), Qt::Uninitialized);
    if (size <= kId3v1Size || ::pread(descriptor, head.data(), size_t(head.size()), 0) != head.size() ||
        !head.startsWith("fLaC"))
        return std::nullopt;
    const std::optional<QByteArray> tail = bytesAt(descriptor, head, size - kId3v1Size, 3);
    if (!tail || tail->startsWith("TAG"))
        return std::nullopt; // TagLib merges an ID3v1 tag in
    QByteArray streamInfo;
    QByteArray comments;
    for (qint64 at = 4, blocks = 0;; ++blocks) {
        const std::optional<QByteArray> header = bytesAt(descriptor, head, at, 4);
        if (!header)
            return std::nullopt;
        const int type = quint8(header->at(0)) & 0x7F;
        const qint64 length = bigEndian(header->constData() + 1, 3);
        const bool valid = blocks == 0 ? type == kStreamInfo
                                       : type != kStreamInfo && type < 7 && (length > 0 || type == kPadding || type == kSeekTable);
        if (!valid || at + 4 + length > size)
            return std::nullopt;
        if (blocks == 0 || (type == kVorbisComment && comments.isEmpty())) {
            const std::optional<QByteArray> data = bytesAt(descriptor, head, at + 4, length);
            if (!data)
                return std::nullopt;
            (blocks == 0 ? streamInfo : comments) = *data;
        }
        at += 4 + length;
        if (quint8(header->at(0)) & 0x80)
            break;
    }
    return fromBlocks(streamInfo, comments);
}
