#include "tests/support/FlacFixture.h"

#include <QFile>

namespace {

constexpr int kSampleRate = 44100;
constexpr char kStreamInfo = 0;
constexpr char kVorbisComment = 4;
constexpr char kLastBlock = char(0x80);

void appendLittle32(QByteArray& out, quint32 value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.append(char(value >> shift & 0xFF));
}

QByteArray blockHeader(char type, qsizetype length)
{
    QByteArray header;
    header.append(type);
    header.append(char(length >> 16 & 0xFF));
    header.append(char(length >> 8 & 0xFF));
    header.append(char(length & 0xFF));
    return header;
}

QByteArray streamInfoData(double seconds)
{
    const quint64 samples = quint64(seconds * kSampleRate);
    QByteArray info;
    info.append("\x10\x00\x10\x00", 4); // block sizes 4096
    info.append(QByteArray(6, '\0'));   // frame sizes unknown
    // 20 bits rate, 3 bits channels - 1 (0), 5 bits bits per sample - 1 (15), 36 bits samples.
    const quint64 packed = quint64(kSampleRate) << 44 | quint64(15) << 36 | (samples & 0xFFFFFFFFFull);
    for (int shift = 56; shift >= 0; shift -= 8)
        info.append(char(packed >> shift & 0xFF));
    info.append(QByteArray(16, '\0')); // MD5 unknown
    return info;
}

} // namespace

namespace FlacFixture {

QByteArray block(int type, const QByteArray& data, bool last)
{
    return blockHeader(char(type | (last ? kLastBlock : 0)), data.size()) + data;
}

QByteArray streamInfo(double seconds)
{
    return streamInfoData(seconds);
}

QByteArray commentData(const QList<QByteArray>& fields)
{
    QByteArray block;
    const QByteArray vendor("fixture");
    appendLittle32(block, quint32(vendor.size()));
    block.append(vendor);
    appendLittle32(block, quint32(fields.size()));
    for (const QByteArray& field : fields) {
        appendLittle32(block, quint32(field.size()));
        block.append(field);
    }
    return block;
}

QByteArray bytes(const Comments& comments, double seconds)
{
    const QByteArray info = streamInfo(seconds);
    QList<QByteArray> fields;
    for (const auto& [name, value] : comments)
        fields.append(name.toUtf8() + '=' + value.toUtf8());
    const QByteArray comment = commentData(fields);
    return "fLaC" + blockHeader(kStreamInfo, info.size()) + info +
           blockHeader(char(kVorbisComment | kLastBlock), comment.size()) + comment;
}

QString write(const QString& path, const Comments& comments, double seconds)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes(comments, seconds)) < 0)
        return QString();
    return path;
}

void writeNumberedTracks(const QString& folder, int count)
{
    for (int i = 0; i < count; ++i) {
        const Comments comments{{QStringLiteral("TITLE"), QStringLiteral("Title %1").arg(i)},
                                {QStringLiteral("ARTIST"), QStringLiteral("Artist %1").arg(i % 97)},
                                {QStringLiteral("ALBUM"), QStringLiteral("Album %1").arg(i % 31)},
                                {QStringLiteral("TRACKNUMBER"), QString::number(i % 20 + 1)}};
        write(QStringLiteral("%1/track%2.flac").arg(folder).arg(i, 5, 10, QLatin1Char('0')), comments, 0.05);
    }
}

QByteArray commentBlock(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.read(4) != "fLaC")
        return {};
    for (;;) {
        const QByteArray header = file.read(4);
        if (header.size() != 4)
            return {};
        const qint64 length = qint64(uchar(header[1])) << 16 | qint64(uchar(header[2])) << 8 | uchar(header[3]);
        if ((header[0] & 0x7F) == kVorbisComment)
            return file.read(length);
        if (header[0] & kLastBlock || !file.seek(file.pos() + length))
            return {};
    }
}

} // namespace FlacFixture
