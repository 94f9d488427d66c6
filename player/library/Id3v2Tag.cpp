#include "player/library/Id3v2Tag.h"

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
        const quint32 size = major == 2 ? bigEndian(header + 3, 3)
                             : major == 3 ? bigEndian(header + 4, 4)
                                          : synchsafe32(header + 4);
        if (size > static_cast<quint64>(remaining - headerSize))
            return;
        const quint16 flags = major == 2 ? 0 : static_cast<quint16>(bigEndian(header + 8, 2));
        QByteArray frameData(header + headerSize, size);
        if (major == 4)
            frameData = frameDataOfVersion24(std::move(frameData), flags);
        Frames.emplace_back(std::string_view(header, static_cast<size_t>(idLength)), flags, std::move(frameData));
        position += headerSize + size;
    }
}

// Undoes the per-frame unsynchronisation (the tag-wide flag means every frame has it) and
// drops the data-length indicator, which follows the grouping and encryption bytes.
QByteArray CId3v2Tag::frameDataOfVersion24(QByteArray data, quint16 frameFlags) const
{
    if ((frameFlags & FrameUnsynchronisation) || (Flags & Unsynchronisation))
        removeUnsynchronisation(data);
    if (frameFlags & FrameDataLengthIndicator) {
        const qsizetype indicatorAt = ((frameFlags & FrameGrouping) ? 1 : 0) + ((frameFlags & FrameEncryption) ? 1 : 0);
        if (data.size() >= indicatorAt + 4)
            data.remove(indicatorAt, 4);
    }
    return data;
}

const TagFrame* CId3v2Tag::firstFrame(std::string_view id) const
{
    for (const TagFrame& frame : Frames)
        if (frame.id() == id)
            return &frame;
    return nullptr;
}
