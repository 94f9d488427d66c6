#include "platform/text/CodePage.h"
#include "player/karaoke/KaraokeData.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QDir>
#include <QFile>

namespace {

const QString kOwnText = QStringLiteral("@Title=歌\r\n[00:01:00]あいう\r\n");

} // namespace

class LyricFilesTest : public QObject
{
    Q_OBJECT

private slots:
    void encodingsReadAndKept_data();
    void encodingsReadAndKept();
    void savedInAnotherCodePageHasNoMark();
    void lookupWithoutRegardToCase();
    void lookupOfShortcutsWithoutRegardToCase();
    void lookupSeesNewFiles();
    void otherSpellingOnlyWithoutAnotherTrack_data();
    void otherSpellingOnlyWithoutAnotherTrack();
};

void LyricFilesTest::encodingsReadAndKept_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("configured");
    QTest::addColumn<int>("codePage");
    QTest::addColumn<QString>("title");
    QTest::newRow("UTF-8 with mark") << TestFiles::encode(kOwnText, 65001, true) << 932 << 65001 << "歌";
    QTest::newRow("UTF-8 without mark") << TestFiles::encode(kOwnText, 65001) << 932 << 65001 << "歌";
    QTest::newRow("UTF-8 over a Unicode setting") << TestFiles::encode(kOwnText, 65001) << 0 << 65001 << "歌";
    QTest::newRow("UTF-16BE with mark") << TestFiles::encode(QChar(0xFEFF) + kOwnText, 1201) << 932 << 1201 << "歌";
    QTest::newRow("UTF-16LE with mark") << TestFiles::encode(kOwnText, 1200, true) << 932 << 0 << "歌";
    QTest::newRow("Shift-JIS") << TestFiles::encode(kOwnText, 932) << 932 << 932 << "歌";
    QTest::newRow("ASCII") << QByteArray("@Title=Song\r\n[00:01:00]abc\r\n") << 932 << 932 << "Song";
    QTest::newRow("ASCII in a single-byte page") << QByteArray("@Title=Song\r\n[00:01:00]abc") << 1252 << 1252 << "Song";
    QTest::newRow("Latin-1 is no UTF-8") << QByteArray("@Title=Caf\xE9\r\n") << 1252 << 1252 << "Café";
}

void LyricFilesTest::encodingsReadAndKept()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, configured);
    QFETCH(int, codePage);
    QFETCH(QString, title);
    TempFolder folder;
    const QString path = folder.write("song.kra", bytes);
    CKaraokeData data;
    int page = configured;
    QVERIFY(data.ReadKaraokeFile(path, page));
    QCOMPARE(page, codePage);
    QCOMPARE(data.Header.Title, title);
    QVERIFY(!data.Format.IsLrc());
    QVERIFY(data.SaveKaraokeFile(path, page));
    QCOMPARE(TestFiles::readBytes(path), bytes);
}

void LyricFilesTest::savedInAnotherCodePageHasNoMark()
{
    TempFolder folder;
    const QString path = folder.write("song.kra", TestFiles::encode(kOwnText, 65001, true));
    CKaraokeData data;
    int page = 932;
    QVERIFY(data.ReadKaraokeFile(path, page));
    QVERIFY(data.SaveKaraokeFile(path, 932));
    QCOMPARE(TestFiles::readBytes(path), TestFiles::encode(kOwnText, 932));
    QVERIFY(data.SaveKaraokeFile(path, 0));
    QCOMPARE(TestFiles::readBytes(path), TestFiles::encode(kOwnText, 1200, true));
}

void LyricFilesTest::lookupWithoutRegardToCase()
{
    TempFolder folder;
    const QString track = folder.file("song.mp3");
    const QString upper = folder.write("Song.LRC", "x");
    QCOMPARE(CKaraokeData::FindKaraokeFile(track).value_or(QString()), upper);
    // The exact name wins over other spellings of the same candidate.
    const QString exact = folder.write("song.lrc", "x");
    QCOMPARE(CKaraokeData::FindKaraokeFile(track).value_or(QString()), exact);
    // An earlier candidate in any spelling wins over a later one spelt exactly.
    const QString kra = folder.write("SONG.Kra", "x");
    QCOMPARE(CKaraokeData::FindKaraokeFile(track).value_or(QString()), kra);
    // A folder with the exact name is no file; its other spelling is.
    QVERIFY(QFile::remove(kra));
    folder.mkdir("song.kra");
    const QString other = folder.write("Song.kra", "x");
    QCOMPARE(CKaraokeData::FindKaraokeFile(track).value_or(QString()), other);
    // Another track's name does not match.
    QVERIFY(!CKaraokeData::FindKaraokeFile(folder.file("songs.mp3")));
}

void LyricFilesTest::lookupOfShortcutsWithoutRegardToCase()
{
    TempFolder folder;
    const QString target = folder.write("lyrics/real.lrc", "x");
    QVERIFY(QFile::link(target, folder.file("Track.LRC.LNK")));
    QCOMPARE(CKaraokeData::FindKaraokeFile(folder.file("track.mp3")).value_or(QString()), target);
    // A later plain candidate in another spelling still comes before any shortcut.
    const QString txt = folder.write("TRACK.txt", "x");
    QCOMPARE(CKaraokeData::FindKaraokeFile(folder.file("track.mp3")).value_or(QString()), txt);
}

void LyricFilesTest::lookupSeesNewFiles()
{
    TempFolder folder;
    for (int i = 0; i < 50; ++i)
        folder.write(QStringLiteral("track%1.mp3").arg(i), "x");
    const QString track = folder.file("track7.mp3");
    QVERIFY(!CKaraokeData::FindKaraokeFile(track));
    const QString added = folder.write("Track7.Txt", "x");
    QCOMPARE(CKaraokeData::FindKaraokeFile(track).value_or(QString()), added);
    QVERIFY(QFile::rename(added, folder.file("TRACK7.KRA")));
    QCOMPARE(CKaraokeData::FindKaraokeFile(track).value_or(QString()), folder.file("TRACK7.KRA"));
    QVERIFY(QFile::remove(folder.file("TRACK7.KRA")));
    QVERIFY(!CKaraokeData::FindKaraokeFile(track));
}

void LyricFilesTest::otherSpellingOnlyWithoutAnotherTrack_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("track");
    QTest::addColumn<QString>("found"); // empty: none
    const QStringList twins{"Song.mp3", "song.mp3", "song.lrc"};
    QTest::newRow("the twin spelt like the file") << twins << "song.mp3" << "song.lrc";
    QTest::newRow("its twin has the better claim") << twins << "Song.mp3" << QString();
    QTest::newRow("a twin of another kind") << QStringList{"Song.mp3", "song.flac", "song.lrc"} << "Song.mp3" << QString();
    QTest::newRow("only lyric files differ") << QStringList{"Song.mp3", "song.lrc", "SONG.txt"} << "Song.mp3"
                                             << "song.lrc";
    QTest::newRow("same spelling, two kinds") << QStringList{"Song.mp3", "Song.flac", "song.lrc"} << "Song.flac"
                                              << "song.lrc";
}

void LyricFilesTest::otherSpellingOnlyWithoutAnotherTrack()
{
    QFETCH(QStringList, files);
    QFETCH(QString, track);
    QFETCH(QString, found);
    TempFolder folder;
    for (const QString& name : files)
        folder.write(name, "[00:01:00]x");
    const std::optional<QString> lyric = CKaraokeData::FindKaraokeFile(folder.file(track));
    QCOMPARE(lyric.value_or(QString()), found.isEmpty() ? QString() : folder.file(found));
}

SONAVEL_TEST_MAIN(LyricFilesTest)
#include "LyricFilesTest.moc"
