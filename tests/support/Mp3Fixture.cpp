#include "tests/support/Mp3Fixture.h"

#include "tests/support/Id3Writer.h"
#include "tests/support/TestFiles.h"

#include <QFile>

namespace Mp3Fixture {
namespace {

constexpr int kFrameBytes = 417;              // 144 * 128000 / 44100, no padding
constexpr double kFrameSeconds = 1152.0 / 44100.0;

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
    QList<Id3Writer::Frame> frames;
    const std::pair<const char*, const QString*> texts[] = {
        {"TIT2", &tags.title}, {"TPE1", &tags.artist}, {"TALB", &tags.album}, {"TRCK", &tags.track}};
    for (const auto& [id, text] : texts)
        if (!text->isEmpty())
            frames.append({id, Id3Writer::textData(Id3Writer::Utf16, *text)});
    return Id3Writer::tag(frames);
}

QByteArray id3v1Tag(const Tags& tags)
{
    return Id3Writer::v1Tag(tags.title, tags.artist, tags.album, tags.track.toInt(), 28591);
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

void writeNumberedTracks(const QString& folder, int count, double seconds)
{
    const QByteArray frames = silentFrames(seconds);
    for (int i = 0; i < count; ++i) {
        Tags tags;
        tags.title = QStringLiteral("Title %1").arg(i);
        tags.artist = QStringLiteral("Artist %1").arg(i % 97);
        tags.album = QStringLiteral("Album %1").arg(i % 31);
        tags.track = QString::number(i % 20 + 1);
        QFile file(QStringLiteral("%1/track%2.mp3").arg(folder).arg(i, 5, 10, QLatin1Char('0')));
        if (file.open(QIODevice::WriteOnly))
            file.write(id3v23Tag(tags) + frames + id3v1Tag(tags));
    }
}

} // namespace Mp3Fixture
