// Tags as other programs really write them: iTunes' plain frame sizes in ID3v2.4, frames with a
// group byte, compressed and encrypted frames, lyrics frames with a bare empty descriptor.
#include "player/library/FrameInflater.h"
#include "player/library/TagRecord.h"
#include "tests/support/Id3Writer.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QtEndian>

using namespace Id3Writer;

namespace {

const QByteArray kImage = QByteArray("\xFF\xD8\xFF\xE0", 4) + QByteArray(296, '\x11');

Frame text(const char* id, const QString& value)
{
    return {id, textData(Latin1, value)};
}

QByteArray plain32(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}

// A version 2.4 frame whose size field holds `sizeField` as it stands.
QByteArray rawFrame(const QByteArray& id, const QByteArray& sizeField, const QByteArray& data, quint16 flags = 0)
{
    return id + sizeField + QByteArray(1, char(flags >> 8)) + QByteArray(1, char(flags & 0xFF)) + data;
}

QByteArray tagOfBody(const QByteArray& body, int version = 4)
{
    return QByteArray("ID3") + char(version) + QByteArray(2, '\0') + synchsafe(quint32(body.size())) + body;
}

// zlib data as compressed frames carry it (qCompress puts the size in front).
QByteArray zlibOf(const QByteArray& bytes)
{
    return qCompress(bytes).mid(4);
}

QStringList texts(const CTagRecord& record)
{
    return {record.titleText(1252), record.artistText(1252)};
}

int pictureSize(const CTagRecord& record)
{
    const auto picture = record.pictureFrame() ? record.pictureFrame()->picture(1252) : std::nullopt;
    return picture ? int(picture->Image.size()) : -1;
}

} // namespace

class TagQuirksTest : public QObject
{
    Q_OBJECT
private slots:
    void frameSizesOfVersion24_data();
    void frameSizesOfVersion24();
    void itunesCorpusFile();
    void compressedCorpusFrames_data();
    void compressedCorpusFrames();
    void frameFlagsOfVersion23_data();
    void frameFlagsOfVersion23();
    void frameFlagsOfVersion24_data();
    void frameFlagsOfVersion24();
    void inflateStaysWithinItsLimit();
    void lyricsDescriptors_data();
    void lyricsDescriptors();
};

void TagQuirksTest::frameSizesOfVersion24_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<int>("pictureSize");
    const QByteArray picture = pictureData(Latin1, "image/jpeg", 3, "", kImage); // 300 + 13 bytes
    const QByteArray title = rawFrame("TIT2", synchsafe(6), textData(Latin1, "Title"));
    const QByteArray artist = rawFrame("TPE1", synchsafe(7), textData(Latin1, "Artist"));
    QTest::newRow("plain size, a frame follows")
        << rawFrame("APIC", plain32(quint32(picture.size())), picture) + title + artist + QByteArray(20, '\0')
        << QStringList{"Title", "Artist"} << int(kImage.size());
    QTest::newRow("plain size at the end of the tag")
        << title + rawFrame("APIC", plain32(quint32(picture.size())), picture) << QStringList{"Title", ""}
        << int(kImage.size());
    QTest::newRow("plain size before padding")
        << artist + rawFrame("APIC", plain32(quint32(picture.size())), picture) + QByteArray(100, '\0')
        << QStringList{"x", "Artist"} << int(kImage.size());
    // 128 synchsafe is 256 plain; both land on something that may follow a frame: synchsafe wins.
    const QByteArray data128 = textData(Latin1, QString(127, u'x'));
    QTest::newRow("synchsafe size wins when both fit")
        << rawFrame("TIT2", synchsafe(128), data128) + artist + QByteArray(256 - 128 - artist.size(), '\0')
        << QStringList{QString(127, u'x'), "Artist"} << -1;
    // Neither fits: the synchsafe size is taken and the scan stops behind it, as before.
    QTest::newRow("neither fits")
        << title + rawFrame("APIC", plain32(quint32(picture.size()) + 7), picture) + artist << QStringList{"Title", ""}
        << 192 - 13;
}

void TagQuirksTest::frameSizesOfVersion24()
{
    QFETCH(QByteArray, body);
    QFETCH(QStringList, texts);
    QFETCH(int, pictureSize);
    CTagRecord record;
    QCOMPARE(record.readBytes(tagOfBody(body) + QByteArray(200, '\0'), "x.mp3"), 0);
    QCOMPARE(::texts(record), texts);
    QCOMPARE(::pictureSize(record), pictureSize);
}

void TagQuirksTest::itunesCorpusFile()
{
    const QFileInfo file(qEnvironmentVariable("SONAVEL_CORPUS_DIR") + "/id3/taglib/005411.id3");
    if (!file.exists())
        QSKIP("the test corpus is not there");
    CTagRecord record;
    QCOMPARE(record.read(file.absolutePath(), file.fileName()), 0);
    QCOMPARE(QStringList({record.titleText(1252), record.artistText(1252), record.albumText(1252), record.trackText(1252)}),
             QStringList({"Sunshine Superman", "Donovan", "Sunshine Superman", "1"}));
    const auto picture = record.pictureFrame()->picture(1252);
    QVERIFY(picture);
    QCOMPARE(picture->MimeType, QString("image/jpg"));
    // The whole JPEG: from its start marker to its end marker.
    QCOMPARE(picture->Image.size(), 36061);
    QVERIFY(picture->Image.startsWith("\xFF\xD8"));
    QVERIFY(picture->Image.endsWith("\xFF\xD9"));
}

void TagQuirksTest::compressedCorpusFrames_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("version 2.4 with length indicator") << "compressed_id3_frame.mp3";
    QTest::newRow("version 2.3 announcing a wrong size") << "compressed_id3_frame_invalid.mp3";
}

// Both files were cut short behind their one compressed picture frame, so their tag sizes run
// past the end; with the size mended, the picture inflates whole.
void TagQuirksTest::compressedCorpusFrames()
{
    QFETCH(QString, file);
    QByteArray bytes = TestFiles::readBytes(qEnvironmentVariable("SONAVEL_CORPUS_DIR") + "/id3/taglib/" + file);
    if (bytes.isEmpty())
        QSKIP("the test corpus is not there");
    bytes.replace(6, 4, synchsafe(quint32(bytes.size() - 10)));
    CTagRecord record;
    QCOMPARE(record.readBytes(bytes, file), 0);
    const auto picture = record.pictureFrame() ? record.pictureFrame()->picture(1252) : std::nullopt;
    QVERIFY(picture);
    QCOMPARE(picture->MimeType, QString("image/bmp"));
    QCOMPARE(picture->Image.size(), 86414);
    QVERIFY(picture->Image.startsWith("BM"));
}

void TagQuirksTest::frameFlagsOfVersion23_data()
{
    QTest::addColumn<QList<Frame>>("frames");
    QTest::addColumn<QString>("title");
    const QByteArray raw = textData(Utf16, QStringLiteral("圧縮された題"));
    QTest::newRow("group byte") << QList<Frame>{{"TIT2", "\x05" + textData(Latin1, "Grouped"), 0x0020}} << "Grouped";
    QTest::newRow("compressed") << QList<Frame>{{"TIT2", qCompress(raw), 0x0080}} << "圧縮された題";
    QTest::newRow("compressed and grouped")
        << QList<Frame>{{"TIT2", plain32(quint32(raw.size())) + "\x07" + zlibOf(raw), 0x00A0}} << "圧縮された題";
    QTest::newRow("wrong inflated size") << QList<Frame>{{"TIT2", plain32(3) + zlibOf(raw), 0x0080}} << "圧縮された題";
    QTest::newRow("encrypted frame skipped")
        << QList<Frame>{{"TIT2", "\x80" + textData(Latin1, "secret"), 0x0040}, text("TIT2", "Open")} << "Open";
    QTest::newRow("broken zlib skipped")
        << QList<Frame>{{"TIT2", plain32(20) + "not zlib at all", 0x0080}, text("TIT2", "Next")} << "Next";
    QTest::newRow("flag bytes missing") << QList<Frame>{{"TIT2", "\x01", 0x0080}, text("TIT2", "Next")} << "Next";
}

void TagQuirksTest::frameFlagsOfVersion23()
{
    QFETCH(QList<Frame>, frames);
    QFETCH(QString, title);
    TagOptions options;
    options.version = 3;
    CTagRecord record;
    QCOMPARE(record.readBytes(tag(frames, options) + QByteArray(200, '\0'), "x.mp3"), 0);
    QCOMPARE(record.titleText(1252), title);
}

void TagQuirksTest::frameFlagsOfVersion24_data()
{
    QTest::addColumn<QList<Frame>>("frames");
    QTest::addColumn<QString>("title");
    const QByteArray raw = textData(Utf8, QStringLiteral("圧縮"));
    QTest::newRow("group byte") << QList<Frame>{{"TIT2", "\x05" + textData(Latin1, "Grouped"), 0x0040}} << "Grouped";
    // The writer puts the data-length indicator in front.
    QTest::newRow("compressed with length") << QList<Frame>{{"TIT2", zlibOf(raw), 0x0009}} << "圧縮";
    QTest::newRow("compressed and unsynchronised")
        << QList<Frame>{{"TIT2", zlibOf(raw + QByteArray("\0\xFF\xE0", 3)), 0x000B}} << "圧縮";
    QTest::newRow("encrypted frame skipped")
        << QList<Frame>{{"TIT2", "\x80" + textData(Latin1, "secret"), 0x0004}, text("TIT2", "Open")} << "Open";
}

void TagQuirksTest::frameFlagsOfVersion24()
{
    QFETCH(QList<Frame>, frames);
    QFETCH(QString, title);
    TagOptions options;
    options.version = 4;
    CTagRecord record;
    QCOMPARE(record.readBytes(tag(frames, options) + QByteArray(200, '\0'), "x.mp3"), 0);
    QCOMPARE(record.titleText(1252), title);
}

void TagQuirksTest::inflateStaysWithinItsLimit()
{
    const QByteArray bytes(10000, 'a');
    QCOMPARE(CFrameInflater::Inflate(zlibOf(bytes), 10000, 20000).value_or(QByteArray()), bytes);
    QVERIFY(!CFrameInflater::Inflate(zlibOf(bytes), 10000, 9999));
    QVERIFY(!CFrameInflater::Inflate(zlibOf(bytes).chopped(4), 10000));
    QVERIFY(!CFrameInflater::Inflate("garbage", 10));
    QVERIFY(!CFrameInflater::Inflate({}, 0));
    // A small frame that would unpack past the limit is dropped, whatever it announces.
    const QByteArray bomb = zlibOf(QByteArray(CFrameInflater::Limit + 1, '\0'));
    QVERIFY(bomb.size() < 100 * 1024);
    TagOptions options;
    options.version = 3;
    CTagRecord record;
    const QList<Frame> frames{{"APIC", plain32(100) + bomb, 0x0080}, text("TIT2", "After")};
    QCOMPARE(record.readBytes(tag(frames, options) + QByteArray(200, '\0'), "x.mp3"), 0);
    QVERIFY(!record.pictureFrame());
    QCOMPARE(record.titleText(1252), QString("After"));
    // Frames under the limit each, but together past what a tag may unpack to: the last is dropped.
    const QByteArray large = qCompress(textData(Latin1, "x") + QByteArray(30 * 1024 * 1024, '\0'), 9);
    const QList<Frame> many{{"TIT2", large, 0x0080}, {"TPE1", large, 0x0080}, {"TALB", large, 0x0080}};
    QCOMPARE(record.readBytes(tag(many, options) + QByteArray(200, '\0'), "x.mp3"), 0);
    QCOMPARE(QStringList({record.titleText(1252), record.artistText(1252), record.albumText(1252)}),
             QStringList({"x", "x", ""}));
}

void TagQuirksTest::lyricsDescriptors_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("lyrics");
    const QByteArray words = encodeString(Utf16, QStringLiteral("一行目\n二行目"), false);
    QTest::newRow("empty descriptor without a mark") << "\x01" "eng" + QByteArray(2, '\0') + words << "一行目\r\n二行目";
    QTest::newRow("empty descriptor with a mark") << "\x01" "eng" "\xFF\xFE" + QByteArray(2, '\0') + words
                                                  << "一行目\r\n二行目";
    QTest::newRow("descriptor without a mark")
        << "\x01" "eng" + QByteArray("d\0\0\0", 4) + words << "一行目\r\n二行目";
    QTest::newRow("descriptor with a mark") << lyricsData(Utf16, "eng", "説明", "歌詞") << "歌詞";
}

void TagQuirksTest::lyricsDescriptors()
{
    QFETCH(QByteArray, data);
    QFETCH(QString, lyrics);
    const TagFrame frame("USLT", 0, data);
    QCOMPARE(frame.decodeLyrics(932), lyrics);
}

SONAVEL_TEST_MAIN(TagQuirksTest)
#include "TagQuirksTest.moc"
