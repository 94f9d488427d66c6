#include "platform/shell/ShortcutFile.h"
#include "player/karaoke/KaraokeData.h"
#include "tests/lyrics/ShellLinkImage.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QDir>
#include <QFile>

class ShortcutFileTest : public QObject
{
    Q_OBJECT

private slots:
    void symbolicLinkToFileAndFolder();
    void danglingAndLoopingLinks();
    void missingOrForeignFilesFailReading();
    void windowsShortcutRelativePath();
    void windowsShortcutLocalPathFallback();
    void windowsShortcutWithoutAnyExistingTarget();
    void truncatedWindowsShortcutFails();
    void corruptLinkInfoOffsetsAreIgnored();
    void createAppendsSuffixOnlyWhenMissing();
    void createReplacesExistingShortcut();
    void lyricShortcutsFollowedOnlyToExistingTargets();
};

void ShortcutFileTest::symbolicLinkToFileAndFolder()
{
    TempFolder folder;
    const QString target = folder.write("song.kra", "x");
    const QString sub = folder.mkdir("sub");
    QVERIFY(QFile::link(target, folder.file("a.lnk")));
    QVERIFY(QFile::link("sub", folder.file("dir.lnk"))); // relative link text

    CShortcutFile shortcut;
    QVERIFY(shortcut.Read(folder.file("a.lnk")));
    QCOMPARE(shortcut.Path(), folder.file("a.lnk"));
    QCOMPARE(shortcut.TargetPath(), target);
    QVERIFY(shortcut.TargetExists());
    QVERIFY(!shortcut.TargetIsDirectory());
    QCOMPARE(shortcut.TargetFindData().size(), 1);

    QVERIFY(shortcut.Read(folder.file("dir.lnk")));
    QCOMPARE(shortcut.TargetPath(), sub);
    QVERIFY(shortcut.TargetIsDirectory());
}

void ShortcutFileTest::danglingAndLoopingLinks()
{
    TempFolder folder;
    QVERIFY(QFile::link(folder.file("gone.kra"), folder.file("dangling.lnk")));
    QVERIFY(QFile::link(folder.file("b.lnk"), folder.file("a.lnk")));
    QVERIFY(QFile::link(folder.file("a.lnk"), folder.file("b.lnk")));
    QVERIFY(QFile::link(folder.file("self.lnk"), folder.file("self.lnk")));

    for (const char* name : {"dangling.lnk", "a.lnk", "self.lnk"}) {
        CShortcutFile shortcut;
        const bool read = shortcut.Read(folder.file(name));
        QVERIFY2(!read || !shortcut.TargetExists(), name);
        QVERIFY2(!shortcut.TargetIsDirectory(), name);
    }
}

void ShortcutFileTest::missingOrForeignFilesFailReading()
{
    TempFolder folder;
    CShortcutFile shortcut;
    QVERIFY(!shortcut.Read(folder.file("none.lnk")));
    QVERIFY(shortcut.TargetPath().isEmpty());
    QVERIFY(!shortcut.TargetExists());
    QVERIFY(!shortcut.Read(folder.write("empty.lnk", {})));
    QVERIFY(!shortcut.Read(folder.write("text.lnk", QByteArray(200, 'a'))));
    QVERIFY(!shortcut.Read(folder.mkdir("folder.lnk")));
    // The right size and flags but another class id.
    QByteArray foreign = ShellLinkImage{.relativePath = "x"}.bytes();
    foreign[4] = 0x02;
    QVERIFY(!shortcut.Read(folder.write("foreign.lnk", foreign)));
}

void ShortcutFileTest::windowsShortcutRelativePath()
{
    TempFolder folder;
    const QString target = folder.write("lyrics/歌.kra", "x");
    ShellLinkImage image;
    image.localBasePath = "C:\\Music\\lyrics\\歌.kra";
    image.relativePath = "..\\lyrics\\歌.kra";
    image.arguments = "-q";
    image.iconLocation = "C:\\icon.ico";
    image.iconIndex = 3;
    folder.mkdir("links");
    CShortcutFile shortcut;
    QVERIFY(shortcut.Read(folder.write("links/song.kra.lnk", image.bytes())));
    QCOMPARE(shortcut.TargetPath(), target);
    QVERIFY(shortcut.TargetExists());
    QCOMPARE(shortcut.Arguments(), QString("-q"));
    QCOMPARE(shortcut.IconLocation(), QString("C:\\icon.ico"));
    QCOMPARE(shortcut.IconIndex(), 3);

    image.unicodeStrings = false;
    image.relativePath = "..\\lyrics\\歌.kra";
    image.withIdList = false;
    // 8-bit strings cannot hold the kanji in Latin-1; use a plain name.
    const QString plain = folder.write("lyrics/plain.kra", "x");
    image.relativePath = "..\\lyrics\\plain.kra";
    QVERIFY(shortcut.Read(folder.write("links/plain.kra.lnk", image.bytes())));
    QCOMPARE(shortcut.TargetPath(), plain);
}

void ShortcutFileTest::windowsShortcutLocalPathFallback()
{
    TempFolder folder;
    const QString target = folder.write("real.kra", "x");
    for (bool unicode : {false, true}) {
        ShellLinkImage image;
        image.localBasePath = target; // a shortcut made for this machine
        image.unicodeLinkInfo = unicode;
        image.relativePath = ".\\missing.kra";
        CShortcutFile shortcut;
        QVERIFY(shortcut.Read(folder.write("x.lnk", image.bytes())));
        QCOMPARE(shortcut.TargetPath(), target);
        QVERIFY(shortcut.TargetExists());
    }
}

void ShortcutFileTest::windowsShortcutWithoutAnyExistingTarget()
{
    TempFolder folder;
    ShellLinkImage image;
    image.localBasePath = "C:\\Music\\song.kra";
    CShortcutFile shortcut;
    // A drive path names nothing here and there is no relative path: nothing to read.
    QVERIFY(!shortcut.Read(folder.write("drive.lnk", image.bytes())));

    image.relativePath = ".\\song.kra";
    QVERIFY(shortcut.Read(folder.write("rel.lnk", image.bytes())));
    QCOMPARE(shortcut.TargetPath(), folder.file("song.kra"));
    QVERIFY(!shortcut.TargetExists());
}

void ShortcutFileTest::truncatedWindowsShortcutFails()
{
    TempFolder folder;
    folder.write("song.kra", "x");
    ShellLinkImage image;
    image.localBasePath = "C:\\Music\\song.kra";
    image.unicodeLinkInfo = true;
    image.relativePath = ".\\song.kra";
    image.arguments = "args";
    const QByteArray whole = image.bytes();
    CShortcutFile shortcut;
    QVERIFY(shortcut.Read(folder.write("whole.lnk", whole)));
    // The image ends with its last string, so every shorter prefix is cut inside a structure.
    for (qsizetype size = 0; size < whole.size(); ++size)
        QVERIFY2(!shortcut.Read(folder.write("cut.lnk", whole.first(size))), qPrintable(QString::number(size)));
}

void ShortcutFileTest::corruptLinkInfoOffsetsAreIgnored()
{
    TempFolder folder;
    ShellLinkImage image;
    image.localBasePath = folder.write("real.kra", "x");
    image.withIdList = false;
    QByteArray bytes = image.bytes();
    const qsizetype linkInfo = 76;
    CShortcutFile shortcut;
    QVERIFY(shortcut.Read(folder.write("ok.lnk", bytes)));
    // LocalBasePathOffset far past the structure, then onto the last byte (no terminator).
    for (quint32 offset : {0x7FFFFFF0u, 0xFFFFFFFFu}) {
        QByteArray broken = bytes;
        for (int i = 0; i < 4; ++i)
            broken[linkInfo + 16 + i] = char(offset >> (8 * i) & 0xFF);
        QVERIFY(!shortcut.Read(folder.write("bad.lnk", broken)));
    }
    // A LinkInfoSize larger than the file.
    QByteArray oversized = bytes;
    oversized[linkInfo + 3] = char(0x7F);
    QVERIFY(!shortcut.Read(folder.write("big.lnk", oversized)));
    // A LinkInfoSize smaller than its own header.
    QByteArray undersized = bytes;
    undersized[linkInfo] = 4;
    undersized[linkInfo + 1] = 0;
    QVERIFY(!shortcut.Read(folder.write("small.lnk", undersized)));
}

void ShortcutFileTest::createAppendsSuffixOnlyWhenMissing()
{
    TempFolder folder;
    const QString target = folder.write("song.mp3", "x");
    CShortcutFile shortcut;
    QVERIFY(shortcut.Create(target, folder.file("plain")));
    QVERIFY(QFileInfo(folder.file("plain.lnk")).isSymLink());
    QCOMPARE(shortcut.Path(), folder.file("plain.lnk"));
    QVERIFY(shortcut.Create(target, folder.file("named.lnk")));
    QVERIFY(QFileInfo(folder.file("named.lnk")).isSymLink());
    QVERIFY(!QFileInfo::exists(folder.file("named.lnk.lnk")));
    QVERIFY(shortcut.Create(target, folder.file("upper.LNK")));
    QVERIFY(QFileInfo(folder.file("upper.LNK.lnk")).isSymLink());

    CShortcutFile reader;
    QVERIFY(reader.Read(folder.file("plain.lnk")));
    QCOMPARE(reader.TargetPath(), target);
    QVERIFY(!shortcut.Create(QString(), folder.file("empty")));
    QVERIFY(!shortcut.Create(target, folder.file("nofolder/x")));
    QVERIFY(!QFileInfo::exists(folder.file("empty.lnk")));
}

void ShortcutFileTest::createReplacesExistingShortcut()
{
    TempFolder folder;
    const QString first = folder.write("one.mp3", "1");
    const QString second = folder.write("two.mp3", "2");
    const QString existing = folder.write("song.lnk", "an old Windows shortcut");
    CShortcutFile shortcut;
    QVERIFY(shortcut.Create(first, folder.file("song")));
    QVERIFY(shortcut.Create(second, existing));
    CShortcutFile reader;
    QVERIFY(reader.Read(existing));
    QCOMPARE(reader.TargetPath(), second);
    // Nothing is left behind but the two files and the shortcut.
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::System).size(), 3);
    // A folder in the way is not replaced.
    folder.mkdir("dir.lnk");
    QVERIFY(!shortcut.Create(first, folder.file("dir.lnk")));
    QVERIFY(QFileInfo(folder.file("dir.lnk")).isDir());
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::System).size(), 3);
}

void ShortcutFileTest::lyricShortcutsFollowedOnlyToExistingTargets()
{
    TempFolder folder;
    const QString track = folder.write("music/song.mp3", "x");
    const QString elsewhere = folder.write("lyrics/song.lrc", "x");
    QVERIFY(!CKaraokeData::FindKaraokeFile(track));
    // A kra shortcut whose target is missing is passed over for the lrc shortcut.
    QVERIFY(QFile::link(folder.file("lyrics/gone.kra"), folder.file("music/song.kra.lnk")));
    QVERIFY(!CKaraokeData::FindKaraokeFile(track));
    QVERIFY(QFile::link(elsewhere, folder.file("music/song.lrc.lnk")));
    QCOMPARE(CKaraokeData::FindKaraokeFile(track).value_or(QString()), elsewhere);
    // A shortcut to a folder does not count.
    QVERIFY(QFile::remove(folder.file("music/song.lrc.lnk")));
    QVERIFY(QFile::link(folder.file("lyrics"), folder.file("music/song.lrc.lnk")));
    QVERIFY(!CKaraokeData::FindKaraokeFile(track));
    // A Windows shortcut file with a relative path.
    const QString txt = folder.write("lyrics/song.txt", "x");
    folder.write("music/song.txt.lnk", ShellLinkImage{.relativePath = "..\\lyrics\\song.txt"}.bytes());
    QCOMPARE(CKaraokeData::FindKaraokeFile(track).value_or(QString()), txt);
    // A real lyric file beside the track comes before every shortcut.
    const QString beside = folder.write("music/song.txt", "x");
    QCOMPARE(CKaraokeData::FindKaraokeFile(track).value_or(QString()), beside);
}

SONAVEL_TEST_MAIN(ShortcutFileTest)
#include "ShortcutFileTest.moc"
