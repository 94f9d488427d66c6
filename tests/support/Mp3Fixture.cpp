#include "tests/support/Mp3Fixture.h"

#include "tests/support/TestFiles.h"

namespace Mp3Fixture {
namespace {

constexpr int kFrameBytes = 417;              // 144 * 128000 / 44100, no padding
constexpr double kFrameSeconds = 1152.0 / 44100.0;

QByteArray syncsafe(quint32 value)
{
    QByteArray bytes(4, '\0');
    for (int i = 3; i >= 0; --i) {
        bytes[i] = static_cast<char>(value & 0x7F);
        value >>= 7;
    }
    return bytes;
}

QByteArray bigEndian32(quint32 value)
{
    QByteArray bytes(4, '\0');
    for (int i = 3; i >= 0; --i) {
        bytes[i] = static_cast<char>(value & 0xFF);
        value >>= 8;
    }
    return bytes;
}

QByteArray textFrame(const char* id, const QString& text)
{
    QByteArray body;
    body.append('\x01');
    body.append("\xFF\xFE", 2);
    body.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    QByteArray frame(id, 4);
    frame.append(bigEndian32(static_cast<quint32>(body.size())));
    frame.append("\0\0", 2);
    frame.append(body);
    return frame;
}

void putLatin1(QByteArray& tag, int offset, const QString& text, int length)
{
    const QByteArray bytes = text.toLatin1().left(length);
    tag.replace(offset, bytes.size(), bytes);
}

} // namespace

QByteArray silentFrames(double seconds)
{
    const int count = std::max(1, static_cast<int>(seconds / kFrameSeconds + 0.5));
    QByteArray frame(kFrameBytes, '\0');
    frame[0] = '\xFF';
    frame[1] = '\xFB'; // MPEG-1, Layer III, no CRC
    frame[2] = '\x90'; // 128 kbit/s, 44.1 kHz, no padding
    frame[3] = '\xC4'; // mono, original
    return frame.repeated(count);
}

QByteArray id3v23Tag(const Tags& tags)
{
    QByteArray frames;
    if (!tags.title.isEmpty())
        frames.append(textFrame("TIT2", tags.title));
    if (!tags.artist.isEmpty())
        frames.append(textFrame("TPE1", tags.artist));
    if (!tags.album.isEmpty())
        frames.append(textFrame("TALB", tags.album));
    if (!tags.track.isEmpty())
        frames.append(textFrame("TRCK", tags.track));
    QByteArray tag("ID3\x03\x00\x00", 6);
    tag.append(syncsafe(static_cast<quint32>(frames.size())));
    tag.append(frames);
    return tag;
}

QByteArray id3v1Tag(const Tags& tags)
{
    QByteArray tag(128, '\0');
    tag.replace(0, 3, "TAG");
    putLatin1(tag, 3, tags.title, 30);
    putLatin1(tag, 33, tags.artist, 30);
    putLatin1(tag, 63, tags.album, 30);
    tag[126] = static_cast<char>(tags.track.toInt() & 0xFF);
    tag[127] = '\xFF';
    return tag;
}

QString write(const QString& path, const Tags& tags, double seconds, bool withV1)
{
    QByteArray bytes;
    if (!(tags.title.isEmpty() && tags.artist.isEmpty() && tags.album.isEmpty() && tags.track.isEmpty()))
        bytes.append(id3v23Tag(tags));
    bytes.append(silentFrames(seconds));
    if (withV1)
        bytes.append(id3v1Tag(tags));
    return TestFiles::writeBytes(path, bytes) ? path : QString();
}

} // namespace Mp3Fixture
