// The engine's own FLAC reader against TagLib: for files of every shape both give the same
// attributes, and the own reader takes exactly the plain files.

#include "platform/engine/FlacReader.h"
#include "platform/engine/Media.h"
#include "tests/support/FlacFixture.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QtTest>

#include <taglib/audioproperties.h>
#include <taglib/fileref.h>
#include <taglib/tag.h>
#include <taglib/tpropertymap.h>

#include <fcntl.h>
#include <unistd.h>

using namespace FlacFixture;

namespace {

QString text(const TagLib::String& value)
{
    return QString::fromStdWString(value.toWString());
}

// What the engine gave before it read FLAC files itself: TagLib's tag and lyric properties.
QStringList taglibAttributes(const QString& path)
{
    TagLib::FileRef file(QFile::encodeName(path).constData(), true, TagLib::AudioProperties::Fast);
    if (file.isNull() || !file.file()->isValid())
        return {};
    const TagLib::Tag* tag = file.tag();
    QStringList attributes{text(tag->title()), text(tag->artist()), text(tag->album()),
                           tag->track() ? QString::number(tag->track()) : QString(),
                           QString::number(file.audioProperties()->lengthInMilliseconds() / 1000.0)};
    const TagLib::PropertyMap properties = file.file()->properties();
    for (const char* name : {"SYNCEDLYRICS", "LYRICS", "UNSYNCEDLYRICS"})
        if (const auto found = properties.find(name); found != properties.end())
            for (const TagLib::String& value : found->second)
                attributes.append(text(value));
    return attributes;
}

QStringList engineAttributes(const QString& path)
{
    const MediaPtr item = Media::forFile(path);
    if (!item->getItemInfo("Author"))
        return {};
    QStringList attributes;
    for (const char* name : {"Title", "Author", "WM/AlbumTitle", "WM/TrackNumber"})
        attributes.append(*item->getItemInfo(name));
    if (attributes[0] == QLatin1String("track"))
        attributes[0].clear(); // no tag title: the engine shows the file name
    attributes.append(QString::number(item->duration()));
    for (int i = 0; i < item->getAttributeCountByType("WM/Lyrics", {}); ++i)
        attributes.append(*item->getItemInfoByType("WM/Lyrics", {}, i));
    return attributes;
}

const QByteArray audio(300, '\x55');

QByteArray file(const QList<QByteArray>& fields, double seconds = 1.0)
{
    return "fLaC" + block(0, streamInfo(seconds)) + block(4, commentData(fields), true) + audio;
}

} // namespace

class FlacReaderTest : public QObject
{
    Q_OBJECT
private slots:
    void readsWhatTagLibReads_data();
    void readsWhatTagLibReads();
};

void FlacReaderTest::readsWhatTagLibReads_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("ownReader");
    const QByteArray picture = block(6, QByteArray(40000, 'p'));
    const QByteArray comments = block(4, commentData({"TITLE=t", "ARTIST=a"}));
    QTest::newRow("plain") << file({"TITLE=Title 1", "ARTIST=Artist", "ALBUM=Album", "TRACKNUMBER=4"}) << true;
    QTest::newRow("values joined") << file({"TITLE=One", "TITLE=Two", "ARTIST=A", "ARTIST=B"}) << true;
    QTest::newRow("keys in any case") << file({"title=low", "Artist=Mix", "tracknumber=5"}) << true;
    QTest::newRow("track 3/12") << file({"TRACKNUMBER=3/12"}) << true;
    QTest::newRow("track spaced") << file({"TRACKNUMBER= 7"}) << true;
    QTest::newRow("track not a number") << file({"TRACKNUMBER=x", "TRACKNUM=9"}) << true;
    QTest::newRow("track negative") << file({"TRACKNUMBER=-2"}) << true;
    QTest::newRow("track huge") << file({"TRACKNUMBER=99999999999"}) << true;
    QTest::newRow("track empty, other key") << file({"TRACKNUMBER=", "TRACKNUM=9"}) << true;
    QTest::newRow("empty values") << file({"TITLE=", "TITLE=Real", "ARTIST="}) << true;
    QTest::newRow("NUL inside") << file({QByteArray("TITLE=ab\0cd", 11)}) << true;
    QTest::newRow("marks, kana, emoji") << file({"TITLE=\xEF\xBB\xBF" "a", "TITLE=\xEF\xBB\xBF" "b",
                                                 "ARTIST=さくら", "ALBUM=a😀b"}) << true;
    QTest::newRow("fields TagLib drops") << file({"TITLEabc", "TI~TLE=x", "T\x7F" "E=y", "=v", "ARTIST=ok"}) << true;
    QTest::newRow("lyrics") << file({"LYRICS=la la", "SYNCEDLYRICS=[00:01]x", "UNSYNCEDLYRICS=u", "LYRICS="}) << true;
    QTest::newRow("odd length") << file({"TITLE=t"}, 1.23456) << true;
    QTest::newRow("long lyrics") << file({"LYRICS=" + QByteArray(30000, 'l'), "TITLE=t"}) << true;
    QTest::newRow("picture, padding and seek table first")
        << "fLaC" + block(0, streamInfo(2)) + block(3, {}) + picture + block(1, QByteArray(100, '\0')) + comments +
               block(1, QByteArray(5000, '\0'), true) + audio << true;
    QTest::newRow("second comment block") << "fLaC" + block(0, streamInfo(1)) + comments +
                                                 block(4, commentData({"TITLE=second"}), true) + audio << true;
    QTest::newRow("no comment block") << "fLaC" + block(0, streamInfo(1), true) + audio << true;
    QTest::newRow("not UTF-8") << file({"TITLE=a\xFF" "b", "ARTIST=ok"}) << false;
    QTest::newRow("ID3v1 at the end") << file({"TITLE=t"}) + "TAG" + QByteArray(125, 'v') << false;
    QTest::newRow("ID3v2 in front") << "ID3\x03" + QByteArray(6, '\0') + file({"TITLE=t"}) << false;
    QTest::newRow("block past the end") << file({"TITLE=t", "ARTIST=" + QByteArray(800, 'a')}).chopped(400) << false;
    QTest::newRow("no stream info first") << "fLaC" + comments + block(0, streamInfo(1), true) + audio << false;
    QTest::newRow("field count too large") << "fLaC" + block(0, streamInfo(1)) +
                                                  block(4, QByteArray("\0\0\0\0\xFF\xFF\0\0", 8) + QByteArray(200, 'z'), true) + audio << false;
}

void FlacReaderTest::readsWhatTagLibReads()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, ownReader);
    TempFolder folder;
    const QString path = folder.write("track.flac", bytes);
    QCOMPARE(engineAttributes(path), taglibAttributes(path));
    const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    QCOMPARE(FlacReader::read(descriptor, QFileInfo(path).size()).has_value(), ownReader);
    ::close(descriptor);
}

SONAVEL_TEST_MAIN(FlacReaderTest)
#include "FlacReaderTest.moc"
