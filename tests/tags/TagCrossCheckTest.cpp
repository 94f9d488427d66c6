// The reader against files nobody here wrote: tags written by mutagen (mid3v2 and its Python
// module) at test time, and the test files of mutagen and TagLib.
#include "player/library/TagRecord.h"
#include "tests/support/Mp3Fixture.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace {

constexpr char kImageBytes[] = "\xFF\xD8\xFF\xE0\x00\x10JFIF\x00\xFF\x00\xFF\xE1 bytes \xFF\xD9";
const QByteArray kImage(kImageBytes, sizeof(kImageBytes) - 1);

QString corpusFolder()
{
    return qEnvironmentVariable("SONAVEL_CORPUS_DIR") + QStringLiteral("/id3");
}

// The Python interpreter that runs mid3v2 has the mutagen module.
QString mutagenPython(const QString& mid3v2)
{
    QFile script(mid3v2);
    if (!script.open(QIODevice::ReadOnly))
        return {};
    const QByteArray firstLine = script.readLine().trimmed();
    return firstLine.startsWith("#!") ? QString::fromLocal8Bit(firstLine.mid(2)).section(u' ', 0, 0) : QString();
}

bool run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        qWarning() << program << arguments << process.readAllStandardError();
        return false;
    }
    return true;
}

QStringList frameIds(const CTagRecord& record)
{
    QStringList ids;
    for (const TagFrame& frame : record.V2.Frames)
        ids << QString::fromLatin1(frame.id().data(), qsizetype(frame.id().size())) + u'/' + QString::number(frame.Size);
    return ids;
}

} // namespace

class TagCrossCheckTest : public QObject
{
    Q_OBJECT
private slots:
    void init() { m_folder = std::make_unique<TempFolder>(); }
    void writtenByMid3v2();
    void writtenByMutagenAsVersion23();
    void corpusFilesReadSafely();
    void corpusTexts_data();
    void corpusTexts();

private:
    std::unique_ptr<TempFolder> m_folder;
};

void TagCrossCheckTest::writtenByMid3v2()
{
    const QString mid3v2 = QStandardPaths::findExecutable(QStringLiteral("mid3v2"));
    if (mid3v2.isEmpty())
        QSKIP("mid3v2 (python3-mutagen) is not installed");
    const QString path = m_folder->write("song.mp3", Mp3Fixture::silentFrames(0.5));
    const QString image = m_folder->write("cover.jpg", kImage);
    // mid3v2 writes ID3v2.4 with UTF-8 texts and lyrics and a UTF-16 picture description.
    QVERIFY(run(mid3v2, {"-t", QStringLiteral("夜空の歌"), "-a", QStringLiteral("Ärtist"), "-A", "Album", "-T", "5/12",
                         "--USLT", QStringLiteral("説明:一行目\n二行目:jpn"), "-p",
                         image + QStringLiteral(":表紙:3:image/jpeg"), path}));
    CTagRecord record;
    QCOMPARE(record.read(m_folder->path(), "song.mp3"), 0);
    QCOMPARE(record.V2.Version, 0x400);
    QCOMPARE(record.titleText(932), QStringLiteral("夜空の歌"));
    QCOMPARE(record.artistText(932), QStringLiteral("Ärtist"));
    QCOMPARE(record.albumText(932), QStringLiteral("Album"));
    QCOMPARE(record.trackText(932), QStringLiteral("5/12"));
    QVERIFY(record.lyricsFrame());
    QString language;
    QCOMPARE(record.lyricsFrame()->decodeLyrics(932, &language), QStringLiteral("一行目\r\n二行目"));
    QCOMPARE(language, QStringLiteral("jpn"));
    QVERIFY(record.pictureFrame());
    const auto picture = record.pictureFrame()->picture(932);
    QVERIFY(picture);
    QCOMPARE(picture->MimeType, QStringLiteral("image/jpeg"));
    QCOMPARE(picture->PictureType, 3);
    QCOMPARE(picture->Description, QStringLiteral("表紙"));
    QCOMPARE(picture->Image.toByteArray(), kImage);
    QCOMPARE(record.AudioEnd, QFileInfo(path).size());
}

void TagCrossCheckTest::writtenByMutagenAsVersion23()
{
    const QString mid3v2 = QStandardPaths::findExecutable(QStringLiteral("mid3v2"));
    const QString python = mid3v2.isEmpty() ? QString() : mutagenPython(mid3v2);
    if (python.isEmpty())
        QSKIP("mutagen is not installed");
    const QString path = m_folder->write("song.mp3", Mp3Fixture::silentFrames(0.5));
    const QString image = m_folder->write("cover.jpg", kImage);
    const char* script = R"(
import sys
from mutagen.id3 import ID3, TIT2, TPE1, TALB, TRCK, USLT, APIC
path, title, artist, album, track, lyrics, image = sys.argv[1:8]
tag = ID3()
tag.add(TIT2(encoding=1, text=[title]))
tag.add(TPE1(encoding=1, text=[artist]))
tag.add(TALB(encoding=0, text=[album]))
tag.add(TRCK(encoding=0, text=[track]))
tag.add(USLT(encoding=1, lang="eng", desc="words", text=lyrics))
tag.add(APIC(encoding=0, mime="image/jpeg", type=3, desc="cover", data=open(image, "rb").read()))
tag.save(path, v2_version=3, v1=2)
)";
    QVERIFY(run(python, {"-c", script, path, QStringLiteral("夜空の歌"), QStringLiteral("Ärtist"), QStringLiteral("Café"),
                         "7", "one\ntwo\r\nthree", image}));
    CTagRecord record;
    QCOMPARE(record.read(m_folder->path(), "song.mp3"), 0);
    QCOMPARE(record.V2.Version, 0x300);
    QCOMPARE(record.titleText(932), QStringLiteral("夜空の歌"));
    QCOMPARE(record.artistText(932), QStringLiteral("Ärtist"));
    QCOMPARE(record.albumText(1252), QStringLiteral("Café"));
    QCOMPARE(record.trackText(1252), QStringLiteral("7"));
    QCOMPARE(record.lyricsFrame()->decodeLyrics(1252), QStringLiteral("one\r\ntwo\r\nthree"));
    const auto picture = record.pictureFrame()->picture(1252);
    QVERIFY(picture);
    QCOMPARE(picture->Description, QStringLiteral("cover"));
    QCOMPARE(picture->Image.toByteArray(), kImage);
    // mutagen added an ID3v1 tag: the audio ends in front of it.
    QVERIFY(record.V1.Present);
    QCOMPARE(record.V1.Track, 7);
    QCOMPARE(record.AudioEnd, QFileInfo(path).size() - 128);
    QCOMPARE(record.AudioStart, record.V2.Size + 10);
}

void TagCrossCheckTest::corpusFilesReadSafely()
{
    if (!QFileInfo(corpusFolder()).isDir())
        QSKIP("the test corpus is not there");
    int count = 0;
    QDirIterator files(corpusFolder(), {"*.mp3", "*.id3"}, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QFileInfo file(files.next());
        CTagRecord fromFile;
        CTagRecord fromBytes;
        const int result = fromFile.read(file.absolutePath(), file.fileName());
        QVERIFY2(result == 0 || result == -5 || result == -6 || result == -17, qPrintable(file.fileName()));
        // Reading the same bytes from memory gives the same record.
        QCOMPARE(fromBytes.readBytes(TestFiles::readBytes(file.filePath()), file.fileName()), result);
        QCOMPARE(frameIds(fromBytes), frameIds(fromFile));
        QCOMPARE(fromBytes.AudioStart, fromFile.AudioStart);
        QCOMPARE(fromBytes.AudioEnd, fromFile.AudioEnd);
        QCOMPARE(fromBytes.titleText(1252), fromFile.titleText(1252));
        QVERIFY(fromFile.AudioStart <= file.size() && fromFile.AudioEnd <= file.size());
        for (const TagFrame& frame : fromFile.V2.Frames) {
            frame.decodeText(932);
            frame.decodeLyrics(932);
            if (const auto picture = frame.picture(932))
                QVERIFY(picture->Image.data() + picture->Image.size() <= frame.Data.constData() + frame.Data.size());
        }
        ++count;
    }
    QVERIFY(count >= 40);
}

void TagCrossCheckTest::corpusTexts_data()
{
    // Checked against `mid3v2 -l`; where it differs the reader's own rules decide: the first
    // value of a multi-value frame, "0" for the track of an ID3v1.0 tag, the file name as the
    // last title, and tags mutagen refuses (extended headers with a CRC) read as they stand.
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("result");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QString>("lyrics");
    QTest::addColumn<int>("pictureSize");
    const QStringList combined{"cosmic american", "Anais Mitchell", "Hymns for the Exiled", "3/11"};
    const QStringList nina{"My babe just cares for me", "Nina Simone", "100% Jazz", "03"};
    QTest::newRow("v1 and v2") << "mutagen/id3v1v2-combined.mp3" << 0 << combined << "" << -1;
    QTest::newRow("v2.2") << "mutagen/id3v22-test.mp3" << 0 << combined << "" << -1;
    QTest::newRow("v2.3 unsync") << "mutagen/id3v23_unsynch.id3" << 0 << nina << "" << -1;
    QTest::newRow("v2.3 unsync taglib") << "taglib/unsynch.id3" << 0 << nina << "" << -1;
    QTest::newRow("v2.4 frame unsync") << "taglib/unsynch24.id3" << -5 << QStringList{"Hi", "", "", ""} << "" << -1;
    QTest::newRow("v2.4 ext header")
        << "mutagen/id3v24_extended_header.id3" << 0
        << QStringList{"One Second of Silence", "Snild Dolkow", "Mutagen Bug Reports", "1"} << "" << -1;
    QTest::newRow("v2.4 ext header taglib") << "taglib/extended-header.mp3" << 0
                                            << QStringList{"Druids", "Excelsis", "Vo Chrieger U Drache", "03"} << ""
                                            << -1;
    QTest::newRow("multi-value artist") << "mutagen/silence-44-s.mp3" << 0
                                        << QStringList{"Silence", "piman", "Quod Libet Test Data", "02/10"} << "" << -1;
    QTest::newRow("v1 only") << "mutagen/silence-44-s-v1.mp3" << 0
                             << QStringList{"Silence", "piman", "Quod Libet Test Data", "2"} << "" << -1;
    QTest::newRow("v1.0 track") << "mutagen/bad-TYER-frame.mp3" << 0
                                << QStringList{"This track has an invalid TYER frame, that used to be able to break Mutagen",
                                               "From 1.01 To 1.02", "Splitted by Mp3Splt v. 2.1", "0"}
                                << "" << -1;
    QTest::newRow("bad POPM") << "mutagen/bad-POPM-frame.mp3" << 0
                              << QStringList{"Emit and exude", "she", "emit and exude", "4"} << "" << -1;
    QTest::newRow("bad xing") << "mutagen/bad-xing.mp3" << 0
                              << QStringList{"09-28-2001", "Ito Kazunori", "Patlabor CD Box Deluxe Disc 3", "12"} << ""
                              << -1;
    QTest::newRow("short audio") << "mutagen/too-short.mp3" << 0
                                 << QStringList{"Track 10", "Hieroglyph", "Hieroglyph", "10/10"} << "" << -1;
    QTest::newRow("broken TENC") << "taglib/broken-tenc.id3" << 0 << QStringList{"Take On Me", "A Ha", "1985", "1"}
                                 << "" << -1;
    QTest::newRow("itunes v2.2") << "taglib/itunes10.mp3" << 0 << QStringList{"iTunes10MP3", "Artist", "Album", "1/10"}
                                 << "Lyrics" << 2315;
    QTest::newRow("itunes v2.4 plain frame sizes")
        << "taglib/005411.id3" << 0 << QStringList{"Sunshine Superman", "Donovan", "Sunshine Superman", "1"} << ""
        << 36061;
    QTest::newRow("v2.2 date only") << "taglib/id3v22-tda.mp3" << 0 << QStringList{"id3v22-tda", "", "", "1"} << ""
                                    << -1;
    QTest::newRow("duplicate tag") << "taglib/duplicate_id3v2.mp3" << -17
                                   << QStringList{"TitleXXXX", "ArtistXXXX", "AlbumXXXX", ""} << "" << -1;
    QTest::newRow("no tags") << "mutagen/no-tags.mp3" << 0 << QStringList{"no-tags", "", "", ""} << "" << -1;
    QTest::newRow("empty file") << "mutagen/emptyfile.mp3" << -6 << QStringList{"emptyfile", "", "", ""} << "" << -1;
    QTest::newRow("huge tag size") << "taglib/excessive_alloc.mp3" << -6 << QStringList{"excessive_alloc", "", "", ""}
                                   << "" << -1;
}

void TagCrossCheckTest::corpusTexts()
{
    QFETCH(QString, file);
    QFETCH(int, result);
    QFETCH(QStringList, texts);
    QFETCH(QString, lyrics);
    QFETCH(int, pictureSize);
    const QFileInfo info(corpusFolder() + u'/' + file);
    if (!info.exists())
        QSKIP("the test corpus is not there");
    CTagRecord record;
    QCOMPARE(record.read(info.absolutePath(), info.fileName()), result);
    QCOMPARE(QStringList({record.titleText(1252), record.artistText(1252), record.albumText(1252), record.trackText(1252)}),
             texts);
    const TagFrame* lyricsFrame = record.lyricsFrame();
    QCOMPARE(lyricsFrame ? lyricsFrame->decodeLyrics(1252) : QString(), lyrics);
    const TagFrame* pictureFrame = record.pictureFrame();
    const auto picture = pictureFrame ? pictureFrame->picture(1252) : std::nullopt;
    QCOMPARE(picture ? int(picture->Image.size()) : -1, pictureSize);
}

SONAVEL_TEST_MAIN(TagCrossCheckTest)
#include "TagCrossCheckTest.moc"
