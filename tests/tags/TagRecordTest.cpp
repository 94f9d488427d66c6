// Reading whole files into tag records: result codes, offsets, versions, unsynchronisation,
// extended headers, the frame scan's stop rules, text fallbacks, lyrics and pictures.
#include "player/library/TagRecord.h"
#include "tests/support/Id3Writer.h"
#include "tests/support/Mp3Fixture.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QDir>
#include <QFile>

using namespace Id3Writer;

namespace {

const QByteArray kAudio = Mp3Fixture::silentFrames(0.2);
const QString kJapanese = QStringLiteral("夜空の歌");

Frame text(const char* id, const QString& value, TextEncoding encoding = Latin1, int codePage = 1252)
{
    return {id, textData(encoding, value, codePage)};
}

QList<Frame> fourTexts(int version)
{
    if (version == 2)
        return {text("TT2", "Title"), text("TP1", "Artist"), text("TAL", "Album"), text("TRK", "3/12")};
    return {text("TIT2", "Title"), text("TPE1", "Artist"), text("TALB", "Album"), text("TRCK", "3/12")};
}

QStringList frameIds(const CTagRecord& record)
{
    QStringList ids;
    for (const TagFrame& frame : record.V2.Frames)
        ids << QString::fromLatin1(frame.id().data(), qsizetype(frame.id().size()));
    return ids;
}

} // namespace

class TagRecordTest : public QObject
{
    Q_OBJECT
private slots:
    void init() { m_folder = std::make_unique<TempFolder>(); }

    void fileWithoutTags();
    void version1Tags_data();
    void version1Tags();
    void version2Texts_data();
    void version2Texts();
    void textsFallBackToVersion1();
    void encodingsOfVersion24AreDecoded();
    void paddingEndsFrameScan();
    void frameScanStopRules();
    void unknownMajorVersionHasNoFrames();
    void wholeTagUnsynchronisation();
    void unsynchronisationAtTheVeryEnd();
    void version24FrameUnsynchronisationAndLengthIndicator();
    void version24TagUnsynchronisationFlag();
    void extendedHeaders_data();
    void extendedHeaders();
    void extendedHeaderLargerThanBody();
    void resultCodes_data();
    void resultCodes();
    void missingFileResetsRecord();
    void folderNamedLikeTrack();
    void shortFileKeepsVersion2Frames();
    void secondTagHeader();
    void lyricsAndPictureFrames();
    void largeTagsAroundTheFirstRead();
    void version22LyricsAndPicture();
    void bytesReadLikeFile();
    void nonAsciiPath();
    void chainLinks();

private:
    std::unique_ptr<TempFolder> m_folder;
};

void TagRecordTest::fileWithoutTags()
{
    const QString path = m_folder->write("My Song.mp3", kAudio);
    CTagRecord record;
    QCOMPARE(record.read(m_folder->path(), "My Song.mp3"), 0);
    QVERIFY(record.FileFound);
    QCOMPARE(record.Folder, m_folder->path());
    QCOMPARE(record.FileName, QStringLiteral("My Song.mp3"));
    QCOMPARE(record.FullPath, path);
    QCOMPARE(record.FindData.Name, QStringLiteral("My Song.mp3"));
    QCOMPARE(record.FindData.Size, kAudio.size());
    QVERIFY(record.FindData.LastWriteMSecs > 0);
    QCOMPARE(record.AudioStart, 0);
    QCOMPARE(record.AudioEnd, kAudio.size());
    QVERIFY(!record.V1.Present);
    QVERIFY(!record.V2.Present);
    QCOMPARE(record.titleText(932), QStringLiteral("My Song"));
    QVERIFY(record.artistText(932).isEmpty());
    QVERIFY(record.albumText(932).isEmpty());
    QVERIFY(record.trackText(932).isEmpty());
    QVERIFY(!record.lyricsFrame());
    QVERIFY(!record.pictureFrame());
}

void TagRecordTest::version1Tags_data()
{
    QTest::addColumn<QByteArray>("block");
    QTest::addColumn<int>("codePage");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("track");
    QTest::addColumn<QByteArray>("comment");
    QTest::newRow("1.1 track 7") << v1Tag("Title", "Artist", "Album", 7, 1252, "Comment") << 1252 << "Title" << "7"
                                 << QByteArray("Comment");
    QTest::newRow("1.0 gives 0") << v1Tag("Title", "Artist", "Album", 0, 1252, "Comment") << 1252 << "Title" << "0"
                                 << QByteArray("Comment");
    QTest::newRow("shift-jis") << v1Tag(kJapanese, "Artist", "Album", 1, 932) << 932 << kJapanese << "1" << QByteArray();
    QTest::newRow("trailing spaces") << v1Tag("Title   ", "Artist", "Album", 2, 1252, "  c  ") << 1252 << "Title"
                                     << "2" << QByteArray("  c");
    QByteArray full = v1Tag(QString(30, u'T'), "A", "B", 0, 1252, QString(30, u'C'));
    QTest::newRow("full width") << full << 1252 << QString(30, u'T') << "0" << QByteArray(30, 'C');
    // Byte 125 not zero: all 30 bytes are comment, there is no track.
    QByteArray noTrack = v1Tag("T", "A", "B", 0, 1252, QString(30, u'x'));
    noTrack[126] = '\x05';
    QTest::newRow("no nul before track") << noTrack << 1252 << "T" << "0" << QByteArray(29, 'x') + "\x05";
}

void TagRecordTest::version1Tags()
{
    QFETCH(QByteArray, block);
    QFETCH(int, codePage);
    QFETCH(QString, title);
    QFETCH(QString, track);
    QFETCH(QByteArray, comment);
    const QByteArray bytes = kAudio + block;
    m_folder->write("v1.mp3", bytes);
    CTagRecord record;
    QCOMPARE(record.read(m_folder->path(), "v1.mp3"), 0);
    QVERIFY(record.V1.Present);
    QCOMPARE(record.AudioEnd, bytes.size() - 128);
    QCOMPARE(record.titleText(codePage), title);
    QVERIFY(record.artistText(codePage).startsWith(u'A'));
    QCOMPARE(record.trackText(codePage), track);
    QCOMPARE(QByteArray(record.V1.Comment.data()), comment);
    QCOMPARE(record.V1.Genre, 255);
}

void TagRecordTest::version2Texts_data()
{
    QTest::addColumn<int>("version");
    QTest::newRow("2.2") << 2;
    QTest::newRow("2.3") << 3;
    QTest::newRow("2.4") << 4;
}

void TagRecordTest::version2Texts()
{
    QFETCH(int, version);
    TagOptions options;
    options.version = version;
    const QByteArray tagBytes = tag(fourTexts(version), options);
    m_folder->write("v2.mp3", tagBytes + kAudio);
    CTagRecord record;
    QCOMPARE(record.read(m_folder->path(), "v2.mp3"), 0);
    QVERIFY(record.V2.Present);
    QCOMPARE(record.V2.Version, version * 256);
    QCOMPARE(record.V2.Size, quint32(tagBytes.size() - 10));
    QCOMPARE(record.AudioStart, tagBytes.size());
    QCOMPARE(record.AudioEnd, tagBytes.size() + kAudio.size());
    QCOMPARE(record.V2.Frames.size(), size_t(4));
    QCOMPARE(record.titleText(1252), QStringLiteral("Title"));
    QCOMPARE(record.artistText(1252), QStringLiteral("Artist"));
    QCOMPARE(record.albumText(1252), QStringLiteral("Album"));
    QCOMPARE(record.trackText(1252), QStringLiteral("3/12"));
}

void TagRecordTest::textsFallBackToVersion1()
{
    // Title undecodable (encoding 1 without mark), no artist frame, album present, no track.
    const QByteArray tagBytes = tag({{"TIT2", QByteArray("\x01T\0", 3)}, text("TALB", "V2 Album")});
    m_folder->write("mixed.mp3", tagBytes + kAudio + v1Tag("V1 Title", "V1 Artist", "V1 Album", 9));
    CTagRecord record;
    QCOMPARE(record.read(m_folder->path(), "mixed.mp3"), 0);
    QCOMPARE(record.titleText(1252), QStringLiteral("V1 Title"));
    QCOMPARE(record.artistText(1252), QStringLiteral("V1 Artist"));
    QCOMPARE(record.albumText(1252), QStringLiteral("V2 Album"));
    QCOMPARE(record.trackText(1252), QStringLiteral("9"));

    // An ID3v2 tag without the frames and no ID3v1 tag: the title is the file name.
    m_folder->write("only other.mp3", tag({text("TCON", "Pop")}) + kAudio);
    QCOMPARE(record.read(m_folder->path(), "only other.mp3"), 0);
    QCOMPARE(record.titleText(1252), QStringLiteral("only other"));
    QVERIFY(record.trackText(1252).isEmpty());
}

void TagRecordTest::encodingsOfVersion24AreDecoded()
{
    // UTF-8 and UTF-16BE frames win over the ID3v1 texts instead of reading as empty.
    TagOptions options;
    options.version = 4;
    const QByteArray tagBytes = tag({text("TIT2", kJapanese, Utf8), text("TPE1", QStringLiteral("Ärtist"), Utf16BigEndian),
                                     text("TALB", QStringLiteral("Älbum"), Utf16), text("TRCK", "4", Utf8)},
                                    options);
    m_folder->write("v24.mp3", tagBytes + kAudio + v1Tag("V1 Title", "V1 Artist", "V1 Album", 9));
    CTagRecord record;
    QCOMPARE(record.read(m_folder->path(), "v24.mp3"), 0);
    QCOMPARE(record.titleText(932), kJapanese);
    QCOMPARE(record.artistText(932), QStringLiteral("Ärtist"));
    QCOMPARE(record.albumText(932), QStringLiteral("Älbum"));
    QCOMPARE(record.trackText(932), QStringLiteral("4"));
}

void TagRecordTest::paddingEndsFrameScan()
{
    TagOptions options;
    options.padding = 1024;
    const QByteArray tagBytes = tag({text("TIT2", "A"), text("TPE1", "B")}, options);
    m_folder->write("padded.mp3", tagBytes + kAudio);
    CTagRecord record;
    QCOMPARE(record.read(m_folder->path(), "padded.mp3"), 0);
    QCOMPARE(frameIds(record), QStringList({"TIT2", "TPE1"}));
    QCOMPARE(record.AudioStart, tagBytes.size());
}

void TagRecordTest::frameScanStopRules()
{
    const QByteArray good = tag({text("TIT2", "Kept")}).mid(10);
    const auto readBody = [&](const QByteArray& extra) {
        QByteArray body = good + extra;
        QByteArray bytes = QByteArray("ID3\x03\0\0", 6) + synchsafe(quint32(body.size())) + body + kAudio;
        auto record = std::make_unique<CTagRecord>();
        const int result = record->readBytes(bytes, "x.mp3");
        return std::make_pair(result, frameIds(*record));
    };
    const QStringList kept{"TIT2"};
    // Lower-case identifier.
    QCOMPARE(readBody(QByteArray("TiT2\0\0\0\x01\0\0\0", 11)), std::make_pair(0, kept));
    // A size running past the body.
    QCOMPARE(readBody(QByteArray("TPE1\0\0\0\x20\0\0\0abc", 13)), std::make_pair(0, kept));
    QCOMPARE(readBody(QByteArray("TPE1\xFF\xFF\xFF\xFF\0\0", 10)), std::make_pair(0, kept));
    // A frame header cut short.
    QCOMPARE(readBody(QByteArray("TPE1\0\0", 6)), std::make_pair(0, kept));
    // A frame of size 0 is taken, and the scan goes on after it.
    QCOMPARE(readBody(QByteArray("TPE1\0\0\0\0\0\0", 10) + tag({text("TALB", "x")}).mid(10)),
             std::make_pair(0, QStringList({"TIT2", "TPE1", "TALB"})));
}

void TagRecordTest::unknownMajorVersionHasNoFrames()
{
    QByteArray bytes = tag(fourTexts(3));
    bytes[3] = 5;
    CTagRecord record;
    QCOMPARE(record.readBytes(bytes + kAudio, "x.mp3"), 0);
    QVERIFY(record.V2.Present);
    QCOMPARE(record.V2.Version, 0x500);
    QVERIFY(record.V2.Frames.empty());
    QCOMPARE(record.AudioStart, bytes.size());
    QCOMPARE(record.titleText(1252), QStringLiteral("x"));
}

void TagRecordTest::wholeTagUnsynchronisation()
{
    // Latin-1 "ÿ" is FF; the image holds FF 00 and FF E0 sequences.
    const QByteArray image("\xFF\xD8\xFF\xE0\x00\x10JFIF\xFF\x00\xFF", 13);
    const QList<Frame> frames{text("TIT2", QStringLiteral("ÿÿ\u00E0ÿ")), {"APIC", pictureData(Latin1, "image/jpeg", 3, "", image)},
                              text("TPE1", "After")};
    TagOptions options;
    options.unsynchronise = true;
    const QByteArray tagBytes = tag(frames, options);
    QVERIFY(tagBytes.contains(QByteArray("\xFF\x00", 2)));
    m_folder->write("unsync.mp3", tagBytes + kAudio);
    CTagRecord record;
    QCOMPARE(record.read(m_folder->path(), "unsync.mp3"), 0);
    QCOMPARE(frameIds(record), QStringList({"TIT2", "APIC", "TPE1"}));
    QCOMPARE(record.titleText(1252), QStringLiteral("ÿÿ\u00E0ÿ"));
    QCOMPARE(record.artistText(1252), QStringLiteral("After"));
    QCOMPARE(record.pictureFrame()->picture(1252)->Image.toByteArray(), image);
    QCOMPARE(record.AudioStart, tagBytes.size());
}

void TagRecordTest::unsynchronisationAtTheVeryEnd()
{
    // The body ends in FF (no byte after it to drop) and in FF 00.
    for (const QByteArray& tail : {QByteArray("\xFF", 1), QByteArray("\xFF\x00", 2)}) {
        const QByteArray frame = QByteArray("TIT2\0\0\0\x02\0\0\0", 11) + tail.left(1);
        const QByteArray body = frame + tail.mid(1);
        const QByteArray bytes = QByteArray("ID3\x03\0\x80", 6) + synchsafe(quint32(body.size())) + body;
        CTagRecord record;
        QCOMPARE(record.readBytes(bytes + kAudio, "x.mp3"), 0);
        QCOMPARE(record.V2.Frames.size(), size_t(1));
        QCOMPARE(record.V2.Frames[0].Data, QByteArray("\0\xFF", 2));
    }
}

void TagRecordTest::version24FrameUnsynchronisationAndLengthIndicator()
{
    const QByteArray image("\xFF\xD8\xFF\xE0\x00\xFF\x00\xFF", 8);
    const QList<Frame> frames{
        {"TIT2", textData(Latin1, QStringLiteral("ÿ\u00E0ÿ")), Unsynchronised24},
        {"APIC", pictureData(Latin1, "image/jpeg", 3, "", image), Unsynchronised24 | DataLengthIndicator24},
        {"TPE1", textData(Utf8, QStringLiteral("Länge")), DataLengthIndicator24},
        text("TALB", "Plain"),
    };
    TagOptions options;
    options.version = 4;
    m_folder->write("v24unsync.mp3", tag(frames, options) + kAudio);
    CTagRecord record;
    QCOMPARE(record.read(m_folder->path(), "v24unsync.mp3"), 0);
    QCOMPARE(frameIds(record), QStringList({"TIT2", "APIC", "TPE1", "TALB"}));
    QCOMPARE(record.titleText(1252), QStringLiteral("ÿ\u00E0ÿ"));
    QCOMPARE(record.pictureFrame()->picture(1252)->Image.toByteArray(), image);
    QCOMPARE(record.artistText(1252), QStringLiteral("Länge"));
    QCOMPARE(record.albumText(1252), QStringLiteral("Plain"));
    QCOMPARE(record.V2.Frames[1].Size, quint32(record.V2.Frames[1].Data.size()));
}

void TagRecordTest::version24TagUnsynchronisationFlag()
{
    // The tag-wide flag of version 2.4 means every frame is unsynchronised; the frame sizes
    // count the inserted bytes.
    const QByteArray image("\xFF\xE0\xFF\x00\xFF", 5);
    TagOptions options;
    options.version = 4;
    options.unsynchronise = true;
    const QByteArray tagBytes =
        tag({{"APIC", pictureData(Latin1, "image/png", 0, "", image)}, text("TIT2", QStringLiteral("ÿÿ"))}, options);
    CTagRecord record;
    QCOMPARE(record.readBytes(tagBytes + kAudio, "x.mp3"), 0);
    QCOMPARE(frameIds(record), QStringList({"APIC", "TIT2"}));
    QCOMPARE(record.pictureFrame()->picture(1252)->Image.toByteArray(), image);
    QCOMPARE(record.titleText(1252), QStringLiteral("ÿÿ"));
}

void TagRecordTest::extendedHeaders_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<bool>("unsynchronise");
    QTest::newRow("2.3") << 3 << false;
    QTest::newRow("2.3 unsynchronised") << 3 << true;
    QTest::newRow("2.4") << 4 << false;
}

void TagRecordTest::extendedHeaders()
{
    QFETCH(int, version);
    QFETCH(bool, unsynchronise);
    TagOptions options;
    options.version = version;
    options.extendedHeader = true;
    options.unsynchronise = unsynchronise;
    options.padding = 16;
    CTagRecord record;
    QCOMPARE(record.readBytes(tag(fourTexts(version), options) + kAudio, "x.mp3"), 0);
    QCOMPARE(record.V2.Extended.Size, 6u);
    QCOMPARE(frameIds(record), QStringList({"TIT2", "TPE1", "TALB", "TRCK"}));
    QCOMPARE(record.titleText(1252), QStringLiteral("Title"));
}

void TagRecordTest::extendedHeaderLargerThanBody()
{
    for (const QByteArray& body : {synchsafe(5000) + QByteArray(20, 'A'), QByteArray("\0\0", 2),
                                   QByteArray("\x7F\x7F\x7F\x7F", 4)}) {
        for (char version : {'\x03', '\x04'}) {
            const QByteArray bytes = QByteArray("ID3") + version + QByteArray("\0\x40", 2) +
                                     synchsafe(quint32(body.size())) + body + kAudio;
            CTagRecord record;
            QCOMPARE(record.readBytes(bytes, "x.mp3"), 0);
            QVERIFY(record.V2.Frames.empty());
            QCOMPARE(record.AudioStart, 10 + body.size());
        }
    }
}

void TagRecordTest::resultCodes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("result");
    QTest::addColumn<bool>("v2Present");
    QTest::addColumn<qint64>("audioStart");
    QTest::addColumn<qint64>("audioEnd");
    QTest::newRow("empty file") << QByteArray() << -6 << false << qint64(0) << qint64(0);
    QTest::newRow("9 bytes") << QByteArray("ID3\x03\0\0\0\0", 9) << -6 << false << qint64(0) << qint64(0);
    QTest::newRow("10-byte header, size 0") << QByteArray("ID3\x03\0\0\0\0\0\0", 10) << -5 << true << qint64(10)
                                            << qint64(0);
    QTest::newRow("10-byte header, size 5") << QByteArray("ID3\x03\0\0\0\0\0\x05", 10) << -6 << true << qint64(0)
                                            << qint64(0);
    QTest::newRow("tag size past the file") << QByteArray("ID3\x04\0\0\x7F\x7F\x7F\x7F", 10) + kAudio << -6 << true
                                            << qint64(0) << qint64(0);
    QTest::newRow("short file without tag") << QByteArray(100, 'x') << -5 << false << qint64(0) << qint64(0);
    QTest::newRow("exactly 128 bytes") << QByteArray(128, 'x') << 0 << false << qint64(0) << qint64(128);
    QTest::newRow("only a v1 tag") << v1Tag("T", "A", "B", 1) << 0 << false << qint64(0) << qint64(0);
}

void TagRecordTest::resultCodes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, result);
    QFETCH(bool, v2Present);
    QFETCH(qint64, audioStart);
    QFETCH(qint64, audioEnd);
    m_folder->write("case.mp3", bytes);
    CTagRecord record;
    QCOMPARE(record.read(m_folder->path(), "case.mp3"), result);
    QVERIFY(record.FileFound);
    QCOMPARE(record.V2.Present, v2Present);
    QVERIFY(record.V2.Frames.empty());
    QCOMPARE(record.AudioStart, audioStart);
    QCOMPARE(record.AudioEnd, audioEnd);
    // The same bytes from memory give the same.
    CTagRecord fromBytes;
    QCOMPARE(fromBytes.readBytes(bytes, "case.mp3"), result);
    QCOMPARE(fromBytes.AudioEnd, audioEnd);
}

void TagRecordTest::missingFileResetsRecord()
{
    m_folder->write("there.mp3", tag(fourTexts(3)) + kAudio + v1Tag("T", "A", "B", 1));
    CTagRecord record;
    QCOMPARE(record.read(m_folder->path(), "there.mp3"), 0);
    QVERIFY(record.V1.Present);
    QCOMPARE(record.read(m_folder->path(), "gone.mp3"), -3);
    QVERIFY(!record.FileFound);
    QVERIFY(record.FileName.isEmpty());
    QVERIFY(record.FullPath.isEmpty());
    QVERIFY(!record.V1.Present);
    QVERIFY(!record.V2.Present);
    QVERIFY(record.V2.Frames.empty());
    QCOMPARE(record.AudioStart, 0);
    QCOMPARE(record.AudioEnd, 0);
    QVERIFY(record.titleText(1252).isEmpty());
    QCOMPARE(record.read(m_folder->path() + "/nowhere", "there.mp3"), -3);
}

void TagRecordTest::folderNamedLikeTrack()
{
    m_folder->mkdir("x.mp3");
    CTagRecord record;
    QCOMPARE(record.read(m_folder->path(), "x.mp3"), -4);
    QVERIFY(record.FileFound);
    QCOMPARE(record.FileName, QStringLiteral("x.mp3"));
    QVERIFY(!record.V2.Present);
}

void TagRecordTest::shortFileKeepsVersion2Frames()
{
    const QByteArray tagBytes = tag({text("TIT2", "Short"), {"USLT", lyricsData(Latin1, "eng", "", "la")}});
    QVERIFY(tagBytes.size() < 128);
    m_folder->write("short.mp3", tagBytes);
    CTagRecord record;
    QCOMPARE(record.read(m_folder->path(), "short.mp3"), -5);
    QCOMPARE(record.AudioEnd, 0);
    QCOMPARE(record.AudioStart, tagBytes.size());
    QCOMPARE(record.titleText(1252), QStringLiteral("Short"));
    QVERIFY(record.lyricsFrame());
}

void TagRecordTest::secondTagHeader()
{
    const QByteArray first = tag({text("TIT2", "First")});
    const QByteArray second = tag({text("TIT2", "Second")});
    m_folder->write("two.mp3", first + second + kAudio + v1Tag("V1", "A", "B", 1));
    CTagRecord record;
    QCOMPARE(record.read(m_folder->path(), "two.mp3"), -17);
    QCOMPARE(record.titleText(1252), QStringLiteral("First"));
    QVERIFY(record.V1.Present);
    QCOMPARE(record.AudioStart, first.size());
    // "ID" without the "3" is no second header.
    m_folder->write("cut.mp3", first + "ID" + kAudio);
    QCOMPARE(record.read(m_folder->path(), "cut.mp3"), 0);
}

void TagRecordTest::lyricsAndPictureFrames()
{
    const QByteArray jpeg("\xFF\xD8\xFF\xE0 picture bytes \xFF\xD9", 20);
    const QList<Frame> frames{
        text("TIT2", "With extras"),
        {"APIC", pictureData(Utf16, "image/jpeg", 3, QStringLiteral("表紙"), jpeg)},
        {"USLT", lyricsData(Latin1, "jpn", QStringLiteral("歌詞"), QStringLiteral("[00:01:00]一行目\n[00:02:00]二行目"), 932)},
        {"USLT", lyricsData(Latin1, "eng", "", "second frame")},
        {"APIC", pictureData(Latin1, "image/png", 0, "", "png")},
    };
    m_folder->write("extras.mp3", tag(frames) + kAudio);
    CTagRecord record;
    QCOMPARE(record.read(m_folder->path(), "extras.mp3"), 0);
    // Everything comes from memory once read.
    QVERIFY(QFile::remove(m_folder->file("extras.mp3")));
    const TagFrame* lyrics = record.lyricsFrame();
    QVERIFY(lyrics);
    QString language;
    QCOMPARE(lyrics->decodeLyrics(932, &language), QStringLiteral("[00:01:00]一行目\r\n[00:02:00]二行目"));
    QCOMPARE(language, QStringLiteral("jpn"));
    const TagFrame* pictureFrame = record.pictureFrame();
    QVERIFY(pictureFrame);
    const auto picture = pictureFrame->picture(437);
    QVERIFY(picture);
    QCOMPARE(picture->Description, QStringLiteral("表紙"));
    QCOMPARE(picture->MimeType, QStringLiteral("image/jpeg"));
    QCOMPARE(picture->Image.toByteArray(), jpeg);
}

void TagRecordTest::largeTagsAroundTheFirstRead()
{
    // Tags that end just before, at and after the first 16 KiB read, followed by a second
    // header whose "ID3" may straddle that boundary.
    for (int imageSize = 16300; imageSize <= 16400; imageSize += 3) {
        const QByteArray image(imageSize, '\x5A');
        const QByteArray first = tag({{"APIC", pictureData(Latin1, "image/jpeg", 3, "", image)}, text("TIT2", "Big")});
        const QByteArray bytes = first + tag({text("TIT2", "Second")}) + kAudio;
        m_folder->write("big.mp3", bytes);
        CTagRecord record;
        QCOMPARE(record.read(m_folder->path(), "big.mp3"), -17);
        QCOMPARE(record.AudioStart, first.size());
        QCOMPARE(record.titleText(1252), QStringLiteral("Big"));
        QCOMPARE(record.pictureFrame()->picture(1252)->Image.size(), imageSize);
        QCOMPARE(record.readBytes(first + kAudio, "big.mp3"), 0);
        QCOMPARE(record.titleText(1252), QStringLiteral("Big"));
    }
}

void TagRecordTest::version22LyricsAndPicture()
{
    TagOptions options;
    options.version = 2;
    const QList<Frame> frames{text("TT2", kJapanese, Latin1, 932),
                              {"ULT", lyricsData(Latin1, "eng", "", "line\rline")},
                              {"PIC", picture22Data(Latin1, "JPG", 3, "", "\xFF\xD8")}};
    m_folder->write("v22.mp3", tag(frames, options) + kAudio);
    CTagRecord record;
    QCOMPARE(record.read(m_folder->path(), "v22.mp3"), 0);
    QCOMPARE(record.V2.Version, 512);
    QCOMPARE(record.titleText(932), kJapanese);
    QVERIFY(record.lyricsFrame());
    QCOMPARE(record.lyricsFrame()->decodeLyrics(1252), QStringLiteral("line\r\nline"));
    QVERIFY(record.pictureFrame());
    QCOMPARE(record.pictureFrame()->picture(1252)->MimeType, QStringLiteral("JPG"));
    QCOMPARE(record.pictureFrame()->picture(1252)->Image.toByteArray(), QByteArray("\xFF\xD8"));
    QCOMPARE(record.V2.Frames[0].Flags, 0);
}

void TagRecordTest::bytesReadLikeFile()
{
    TagOptions options;
    options.unsynchronise = true;
    options.padding = 50;
    const QByteArray bytes = tag(fourTexts(3), options) + kAudio + v1Tag("T", "A", "B", 5);
    m_folder->write("same.mp3", bytes);
    CTagRecord fromFile;
    CTagRecord fromBytes;
    QCOMPARE(fromFile.read(m_folder->path(), "same.mp3"), 0);
    QCOMPARE(fromBytes.readBytes(bytes, "same.mp3"), 0);
    QCOMPARE(frameIds(fromBytes), frameIds(fromFile));
    QCOMPARE(fromBytes.AudioStart, fromFile.AudioStart);
    QCOMPARE(fromBytes.AudioEnd, fromFile.AudioEnd);
    QCOMPARE(fromBytes.trackText(1252), fromFile.trackText(1252));
    QCOMPARE(fromBytes.titleText(1252), QStringLiteral("Title"));
}

void TagRecordTest::nonAsciiPath()
{
    const QString folder = m_folder->mkdir(QStringLiteral("フォルダ"));
    TestFiles::writeBytes(folder + QStringLiteral("/曲.mp3"), tag(fourTexts(3)) + kAudio);
    CTagRecord record;
    QCOMPARE(record.read(folder, QStringLiteral("曲.mp3")), 0);
    QCOMPARE(record.FullPath, folder + QStringLiteral("/曲.mp3"));
    QCOMPARE(record.artistText(932), QStringLiteral("Artist"));
}

void TagRecordTest::chainLinks()
{
    CTagRecord a, b, c;
    b.insertAfter(a);
    c.insertAfter(b);
    QVERIFY(a.Next == &b && b.Next == &c && c.Previous == &b && b.Previous == &a);
    // Move c in front of a: c, a, b.
    c.insertBefore(a);
    QVERIFY(c.Previous == nullptr && c.Next == &a && a.Previous == &c && a.Next == &b && b.Next == nullptr);
    {
        CTagRecord d;
        d.insertAfter(a); // c, a, d, b
        QVERIFY(a.Next == &d && b.Previous == &d);
    }
    // A destroyed record leaves the chain closed behind it.
    QVERIFY(a.Next == &b && b.Previous == &a);
    a.unlink();
    QVERIFY(c.Next == &b && b.Previous == &c && !a.Next && !a.Previous);
}

SONAVEL_TEST_MAIN(TagRecordTest)
#include "TagRecordTest.moc"
