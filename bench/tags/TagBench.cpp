// The own tag reader against TagLib: title, artist, album and track of the same 2,000 mp3
// files (ID3v2.3 UTF-16, ID3v2.4 UTF-8, ID3v2.3 Shift-JIS, some with a picture, padding and an
// ID3v1 tag), page cache warm, best of five runs.
#include "player/library/TagRecord.h"
#include "tests/support/Id3Writer.h"
#include "tests/support/Mp3Fixture.h"
#include "tests/support/TestFiles.h"

#include <taglib/mpegfile.h>
#include <taglib/tag.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>

using namespace Id3Writer;

namespace {

constexpr int kFileCount = 2000;
constexpr int kRuns = 5;

QByteArray tagFor(int index)
{
    const QString title = QStringLiteral("曲 %1").arg(index);
    const QString artist = QStringLiteral("Artist %1").arg(index % 37);
    const QString album = QStringLiteral("Album %1").arg(index % 11);
    const QString track = QString::number(index % 20 + 1);
    TagOptions options;
    options.padding = 1024;
    QList<Frame> frames;
    switch (index % 3) {
    case 0:
        frames = {{"TIT2", textData(Utf16, title)}, {"TPE1", textData(Utf16, artist)},
                  {"TALB", textData(Utf16, album)}, {"TRCK", textData(Latin1, track)}};
        break;
    case 1:
        options.version = 4;
        frames = {{"TIT2", textData(Utf8, title)}, {"TPE1", textData(Utf8, artist)},
                  {"TALB", textData(Utf8, album)}, {"TRCK", textData(Utf8, track)}};
        break;
    default:
        frames = {{"TIT2", textData(Latin1, title, 932)}, {"TPE1", textData(Latin1, artist, 932)},
                  {"TALB", textData(Latin1, album, 932)}, {"TRCK", textData(Latin1, track, 932)}};
        break;
    }
    frames.append({"TCON", textData(Latin1, QStringLiteral("Pop"))});
    if (index % 4 == 0)
        frames.append({"APIC", pictureData(Latin1, "image/jpeg", 3, {}, QByteArray(20000, '\x55'))});
    return tag(frames, options);
}

void writeFiles(const QString& folder, QStringList& names)
{
    const QByteArray audio = Mp3Fixture::silentFrames(1.0);
    for (int i = 0; i < kFileCount; ++i) {
        const QString name = QStringLiteral("track%1.mp3").arg(i, 4, 10, QChar(u'0'));
        QByteArray bytes = tagFor(i) + audio;
        if (i % 2 == 0)
            bytes.append(v1Tag(QStringLiteral("Title %1").arg(i), QStringLiteral("Artist"), QStringLiteral("Album"), 1));
        TestFiles::writeBytes(folder + u'/' + name, bytes);
        names.append(name);
    }
}

// Reads every file and returns a checksum of the text lengths, so nothing is optimised away.
// The checksums differ by the Shift-JIS files: TagLib reads 8-bit text as Latin-1.
qint64 readOwn(const QString& folder, const QStringList& names)
{
    qint64 sum = 0;
    for (const QString& name : names) {
        CTagRecord record;
        record.read(folder, name);
        sum += record.titleText(932).size() + record.artistText(932).size() + record.albumText(932).size() +
               record.trackText(932).size();
    }
    return sum;
}

qint64 readTagLib(const QString& folder, const QStringList& names)
{
    qint64 sum = 0;
    for (const QString& name : names) {
        TagLib::MPEG::File file(QFile::encodeName(folder + u'/' + name).constData(), false);
        const TagLib::Tag* tag = file.tag();
        if (!tag)
            continue;
        sum += QString::fromStdWString(tag->title().toWString()).size() +
               QString::fromStdWString(tag->artist().toWString()).size() +
               QString::fromStdWString(tag->album().toWString()).size() + QString::number(tag->track()).size();
    }
    return sum;
}

double bestMilliseconds(const std::function<qint64()>& run, qint64& checksum)
{
    double best = 1e300;
    for (int i = 0; i < kRuns; ++i) {
        QElapsedTimer timer;
        timer.start();
        checksum = run();
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    return best;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    QStringList names;
    writeFiles(dir.path(), names);
    qint64 ownSum = 0;
    qint64 tagLibSum = 0;
    readOwn(dir.path(), names); // warm the page cache
    const double own = bestMilliseconds([&] { return readOwn(dir.path(), names); }, ownSum);
    const double tagLib = bestMilliseconds([&] { return readTagLib(dir.path(), names); }, tagLibSum);
    std::printf("files: %d (best of %d runs)\n", kFileCount, kRuns);
    std::printf("own reader: %8.2f ms  (%.2f us/file, text checksum %lld)\n", own, own * 1000 / kFileCount,
                static_cast<long long>(ownSum));
    std::printf("TagLib:     %8.2f ms  (%.2f us/file, text checksum %lld)\n", tagLib, tagLib * 1000 / kFileCount,
                static_cast<long long>(tagLibSum));
    std::printf("ratio TagLib / own: %.2f\n", tagLib / own);
    return 0;
}
