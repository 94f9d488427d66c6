#include "player/library/Id3v2Tag.h"

#include <algorithm>
#include <cstring>

namespace {

quint32 byteAt(const char* data, qsizetype index)
{
    return static_cast<unsigned char>(data[index]);
}

quint32 synchsafe32(const char* data)
{
    return ((byteAt(data, 0) * 128 + byteAt(data, 1)) * 128 + byteAt(data, 2)) * 128 + byteAt(data, 3);
}

quint32 bigEndian(const char* data, int bytes)
{
    quint32 value = 0;
    for (int i = 0; i < bytes; ++i)
        value = value << 8 | byteAt(data, i);
    return value;
}

bool isIdentifierCharacter(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z');
}

bool isFrameIdentifier(const char* id)
{
    return std::all_of(id, id + 4, isIdentifierCharacter);
}

// Whether a frame ending at `end` is followed by what may follow a frame: another frame's
// header, padding up to the end of the tag, or the end itself.
bool endsAtFrameBoundary(QByteArrayView body, qint64 end)
{
    if (end > body.size())
        return false;
    const QByteArrayView rest = body.sliced(end);
    if (rest.size() >= 4 && isFrameIdentifier(rest.data()))
        return true;
    return std::all_of(rest.begin(), rest.end(), [](char c) { return c == 0; });
}

// The extra bytes a frame's flags put in front of its content, and what they say.
struct FramePrefix {
    qsizetype Size = 0;
    quint32 InflatedSize = 0;
};

} // namespace

bool CId3v2Tag::parseHeader(const char* header)
{
    if (std::memcmp(header, "ID3", 3) != 0)
        return false;
    Present = true;
    Version = static_cast<quint16>(byteAt(header, 3) << 8 | byteAt(header, 4));
    Flags = static_cast<quint8>(header[5]);
    Size = synchsafe32(header + 6);
    return true;
}

void CId3v2Tag::removeUnsynchronisation(QByteArray& bytes)
{
    const qsizetype first = bytes.indexOf('\xFF');
    if (first < 0)
        return;
    char* data = bytes.data();
    qsizetype out = first;
    bool afterFF = false;
    for (qsizetype in = first; in < bytes.size(); ++in) {
        const char c = data[in];
        const bool stuffed = afterFF && c == 0;
        if (!stuffed)
            data[out++] = c;
        afterFF = !stuffed && static_cast<unsigned char>(c) == 0xFF;
    }
    bytes.truncate(out);
}

void CId3v2Tag::parseBody(QByteArrayView body)
{
    // Version 2.4 unsynchronises frame by frame (the frame sizes count the stuffed bytes),
    // so only older versions undo it over the whole body.
    if ((Flags & Unsynchronisation) && majorVersion() != 4) {
        QByteArray synchronised = body.toByteArray();
        removeUnsynchronisation(synchronised);
        scanFrames(synchronised, skipExtendedHeader(synchronised));
        return;
    }
    scanFrames(body, skipExtendedHeader(body));
}

qsizetype CId3v2Tag::skipExtendedHeader(QByteArrayView body)
{
    const int major = majorVersion();
    if (!(Flags & ExtendedHeaderFlag) || (major != 3 && major != 4))
        return 0;
    if (body.size() < 4)
        return body.size();
    const char* data = body.data();
    Extended.Size = synchsafe32(data);
    if (body.size() >= 10) {
        Extended.Flags = static_cast<quint16>(bigEndian(data + 4, 2));
        Extended.PaddingSize = bigEndian(data + 6, 4);
    }
    if ((Extended.Flags & 0x8000) && Extended.Size > 9 && body.size() >= 14)
        Extended.Crc = bigEndian(data + 10, 4);
    // Version 2.3 does not count the size field itself, version 2.4 does.
    const qint64 end = static_cast<qint64>(Extended.Size) + (major == 3 ? 4 : 0);
    return static_cast<qsizetype>(std::min<qint64>(end, body.size()));
}

void CId3v2Tag::scanFrames(QByteArrayView body, qsizetype position)
{
    const int major = majorVersion();
    if (major < 2 || major > 4)
        return;
    const qsizetype idLength = major == 2 ? 3 : 4;
    const qsizetype headerSize = major == 2 ? 6 : 10;
    const char* data = body.data();
    while (position < body.size()) {
        const qsizetype remaining = body.size() - position;
        if (remaining < headerSize)
            return;
        const char* header = data + position;
        for (qsizetype i = 0; i < idLength; ++i)
            if (!isIdentifierCharacter(header[i]))
                return; // padding or garbage ends the tag
        const quint32 size = frameSize(body, position);
        if (size > static_cast<quint64>(remaining - headerSize))
            return;
        const quint16 flags = major == 2 ? 0 : static_cast<quint16>(bigEndian(header + 8, 2));
        std::optional<QByteArray> content(QByteArray(header + headerSize, size));
        if (major == 3)
            content = frameContentOfVersion23(std::move(*content), flags);
        else if (major == 4)
            content = frameContentOfVersion24(std::move(*content), flags);
        if (content)
            Frames.emplace_back(std::string_view(header, static_cast<size_t>(idLength)), flags, std::move(*content));
        position += headerSize + size;
    }
}

// Version 2.4 sizes are synchsafe, but iTunes wrote plain 32-bit numbers there. When the
// synchsafe size does not end at a frame boundary and the plain size does, the plain size is
// meant (the workaround widely used readers apply).
quint32 CId3v2Tag::frameSize(QByteArrayView body, qsizetype position) const
{
    const char* sizeField = body.data() + position + (majorVersion() == 2 ? 3 : 4);
    if (majorVersion() == 2)
        return bigEndian(sizeField, 3);
    const quint32 plain = bigEndian(sizeField, 4);
    if (majorVersion() == 3)
        return plain;
    const quint32 synchsafe = synchsafe32(sizeField);
    const qint64 contentStart = position + HeaderSize;
    if (synchsafe == plain || endsAtFrameBoundary(body, contentStart + synchsafe) ||
        !endsAtFrameBoundary(body, contentStart + plain))
        return synchsafe;
    return plain;
}

// Version 2.3 puts the inflated size (compression), the encryption method and the group byte
// in front of the content, in that order.
std::optional<QByteArray> CId3v2Tag::frameContentOfVersion23(QByteArray data, quint16 frameFlags)
{
    FramePrefix prefix;
    if (frameFlags & Frame23Compression) {
        if (data.size() < 4)
            return std::nullopt;
        prefix.InflatedSize = bigEndian(data.constData(), 4);
        prefix.Size += 4;
    }
    prefix.Size += ((frameFlags & Frame23Encryption) ? 1 : 0) + ((frameFlags & Frame23Grouping) ? 1 : 0);
    if ((frameFlags & Frame23Encryption) || prefix.Size > data.size())
        return std::nullopt;
    data.remove(0, prefix.Size);
    if (frameFlags & Frame23Compression)
        return inflate(data, prefix.InflatedSize);
    return data;
}

// Version 2.4 unsynchronises frame by frame (the tag-wide flag means every frame has it), then
// puts the group byte, the encryption method and the data-length indicator in front.
std::optional<QByteArray> CId3v2Tag::frameContentOfVersion24(QByteArray data, quint16 frameFlags)
{
    if ((frameFlags & FrameUnsynchronisation) || (Flags & Unsynchronisation))
        removeUnsynchronisation(data);
    FramePrefix prefix;
    prefix.Size = ((frameFlags & FrameGrouping) ? 1 : 0) + ((frameFlags & FrameEncryption) ? 1 : 0);
    if (frameFlags & FrameDataLengthIndicator) {
        if (data.size() < prefix.Size + 4)
            return std::nullopt;
        prefix.InflatedSize = synchsafe32(data.constData() + prefix.Size);
        prefix.Size += 4;
    }
    if ((frameFlags & FrameEncryption) || prefix.Size > data.size())
        return std::nullopt;
    data.remove(0, prefix.Size);
    if (frameFlags & FrameCompression)
        return inflate(data, prefix.InflatedSize);
    return data;
}

std::optional<QByteArray> CId3v2Tag::inflate(QByteArrayView data, quint32 announcedSize)
{
    auto inflated = CFrameInflater::Inflate(data, announcedSize, std::min(CFrameInflater::Limit, m_inflateBudgetLeft));
    if (inflated)
        m_inflateBudgetLeft -= inflated->size();
    return inflated;
}

const TagFrame* CId3v2Tag::firstFrame(std::string_view id) const
{
    for (const TagFrame& frame : Frames)
        if (frame.id() == id)
            return &frame;
    return nullptr;
}
