// Code pages, the runtime locale, text-file lines and path parts.
#include "common/ui/PathParts.h"
#include "common/ui/StringTable.h"
#include "platform/text/CodePage.h"
#include "platform/text/RuntimeLocale.h"
#include "platform/text/TextFile.h"
#include "platform/text/WToI.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QDir>

class TextTest : public QObject
{
    Q_OBJECT
private slots:
    void pathPartsSplit_data();
    void pathPartsSplit();
    void pathPartsJoin();
    void codePageRoundTrips_data();
    void codePageRoundTrips();
    void invalidBytesBecomeReplacement();
    void unknownCodePageGivesEmptyText();
    void utf16Pages();
    void unencodableCharacterBecomesQuestionMark();
    void localeNames();
    void unknownLocaleKeepsPrevious();
    void localeCollation();
    void splitLinesEndings();
    void writeAtomicallyKeepsOldFileOnFailure();
    void wtoi();
    void printfFormatting();
};

void TextTest::pathPartsSplit_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("extension");
    QTest::newRow("full") << "/home/u/song.mp3" << "/home/u" << "song" << "mp3";
    QTest::newRow("two dots") << "/a/b.c.txt" << "/a" << "b.c" << "txt";
    QTest::newRow("no dot") << "/a/README" << "/a" << "README" << "";
    QTest::newRow("leading dot only") << "/a/.hidden" << "/a" << "" << "hidden";
    QTest::newRow("root file") << "/name.txt" << "/" << "name" << "txt";
    QTest::newRow("no folder") << "name.txt" << "" << "name" << "txt";
    QTest::newRow("dot in folder only") << "/a.b/c" << "/a.b" << "c" << "";
    QTest::newRow("trailing slash") << "/a/b/" << "/a/b" << "" << "";
    QTest::newRow("backslash is a character") << "C:\\x\\y.mp3" << "" << "C:\\x\\y" << "mp3";
}

void TextTest::pathPartsSplit()
{
    QFETCH(QString, path);
    QFETCH(QString, folder);
    QFETCH(QString, title);
    QFETCH(QString, extension);
    const CPathParts parts(path);
    QCOMPARE(parts.Folder, folder);
    QCOMPARE(parts.Title, title);
    QCOMPARE(parts.Extension, extension);
}

void TextTest::pathPartsJoin()
{
    QCOMPARE(CPathParts("/name.txt").Path(), QString("/name.txt"));
    QCOMPARE(CPathParts("/home/u/song.mp3").Path(), QString("/home/u/song.mp3"));
    QCOMPARE(CPathParts("name").Path(), QString("name"));
    CPathParts parts("/a/b.");
    QCOMPARE(parts.Name(), QString("b")); // a lone trailing dot is not kept
    parts.Title.clear();
    QCOMPARE(parts.Path(), QString("/a"));
    CPathParts changed("/music/a.MP3");
    changed.Extension = "wma";
    QCOMPARE(changed.Path(), QString("/music/a.wma"));
}

void TextTest::codePageRoundTrips_data()
{
    QTest::addColumn<int>("codePage");
    QTest::addColumn<QString>("text");
    QTest::newRow("shift-jis") << 932 << QString("日本語のテキスト ｶﾀｶﾅ abc");
    QTest::newRow("euc-jp") << 20932 << QString("日本語");
    QTest::newRow("iso-2022-jp") << 50220 << QString("日本語 and ASCII");
    QTest::newRow("gbk") << 936 << QString("简体中文");
    QTest::newRow("big5") << 950 << QString("繁體中文");
    QTest::newRow("korean") << 949 << QString("한국어");
    QTest::newRow("thai") << 874 << QString("ภาษาไทย");
    QTest::newRow("cp1252 euro") << 1252 << QString("€ café");
    QTest::newRow("cp1251") << 1251 << QString("Привет");
    QTest::newRow("utf-8") << 65001 << QString("ü 日本 😀");
    QTest::newRow("oem 437") << 437 << QString("╔═╗");
    QTest::newRow("latin-2") << 28592 << QString("Łódź");
}

void TextTest::codePageRoundTrips()
{
    QFETCH(int, codePage);
    QFETCH(QString, text);
    const QByteArray bytes = CodePage::fromUnicode(text, codePage);
    QVERIFY(!bytes.isEmpty());
    QCOMPARE(CodePage::toUnicode(bytes, codePage), text);
}

void TextTest::invalidBytesBecomeReplacement()
{
    // 0x82 starts a two-byte Shift-JIS character; 0xFF is never valid; a lead byte at the end is cut short.
    QCOMPARE(CodePage::toUnicode(QByteArray("a\xFF" "b"), 932), QString("a\uFFFD" "b"));
    QCOMPARE(CodePage::toUnicode(QByteArray("ab\x82"), 932), QString("ab\uFFFD"));
    QCOMPARE(CodePage::toUnicode(QByteArray("\xC3("), 65001).at(0), QChar(0xFFFD));
}

void TextTest::unknownCodePageGivesEmptyText()
{
    QVERIFY(!CodePage::isKnown(12345));
    QVERIFY(CodePage::toUnicode(QByteArray("abc"), 12345).isEmpty());
    QVERIFY(CodePage::fromUnicode("abc", 12345).isEmpty());
    QVERIFY(CodePage::toUnicode(QByteArray("abc"), 0).isEmpty());
}

void TextTest::utf16Pages()
{
    QCOMPARE(CodePage::toUnicode(QByteArray("a\0b\0", 4), 1200), QString("ab"));
    QCOMPARE(CodePage::toUnicode(QByteArray("\0a\0b", 4), 1201), QString("ab"));
    // An odd last byte cannot form a unit.
    QCOMPARE(CodePage::toUnicode(QByteArray("a\0b", 3), 1200), QString("a\uFFFD"));
}

void TextTest::unencodableCharacterBecomesQuestionMark()
{
    QCOMPARE(CodePage::fromUnicode("a\u0416b", 1252), QByteArray("a?b"));
    QCOMPARE(CodePage::fromUnicode("x😀y", 932), QByteArray("x?y"));
}

void TextTest::localeNames()
{
    RuntimeLocale locale;
    QVERIFY(locale.set("jpn"));
    QCOMPARE(locale.ansiCodePage(), 932);
    QVERIFY(locale.set("Japanese_Japan.932"));
    QCOMPARE(locale.ansiCodePage(), 932);
    QVERIFY(locale.set("chs"));
    QCOMPARE(locale.ansiCodePage(), 936);
    QVERIFY(locale.set("cht"));
    QCOMPARE(locale.ansiCodePage(), 950);
    QVERIFY(locale.set("kor"));
    QCOMPARE(locale.ansiCodePage(), 949);
    QVERIFY(locale.set("English_United States.1252"));
    QCOMPARE(locale.ansiCodePage(), 1252);
    QVERIFY(locale.set("english"));
    QCOMPARE(locale.ansiCodePage(), 1252);
    QVERIFY(locale.set(".1251"));
    QCOMPARE(locale.ansiCodePage(), 1251);
    QVERIFY(locale.set("C"));
    QCOMPARE(locale.name(), QString("C"));
}

void TextTest::unknownLocaleKeepsPrevious()
{
    RuntimeLocale locale;
    QVERIFY(locale.set("jpn"));
    QVERIFY(!locale.set("klingon"));
    QVERIFY(!locale.set("Japanese_Japan.abc"));
    QVERIFY(!locale.set(""));
    QCOMPARE(locale.name(), QString("jpn"));
    QCOMPARE(locale.ansiCodePage(), 932);
}

void TextTest::localeCollation()
{
    RuntimeLocale locale;
    QVERIFY(locale.set("english"));
    QVERIFY(locale.compare("apple", "Banana") < 0); // a collation, not code units
    QCOMPARE(locale.compareNoCase("ABC", "abc"), 0);
    QVERIFY(locale.set("C"));
    QVERIFY(locale.compare("apple", "Banana") > 0); // "C" compares code units
}

void TextTest::splitLinesEndings()
{
    QCOMPARE(TextFile::splitLines("a\r\nb\nc", 932), QStringList({"a", "b", "c"}));
    QCOMPARE(TextFile::splitLines("a\n\nb\n", 932), QStringList({"a", "", "b"}));
    QCOMPARE(TextFile::splitLines("", 932), QStringList());
    QCOMPARE(TextFile::splitLines("\x93\xFA\x96\x7B\r\n", 932), QStringList({"日本"}));
    QVERIFY(!TextFile::readLines("/nonexistent/file.txt", 932).has_value());
}

void TextTest::writeAtomicallyKeepsOldFileOnFailure()
{
    TempFolder folder;
    const QString path = folder.write("settings.ini", "old");
    QVERIFY(TextFile::writeAtomically(path, "new"));
    QCOMPARE(TestFiles::readBytes(path), QByteArray("new"));
    QVERIFY(!TextFile::writeAtomically(folder.file("missing/folder/x.ini"), "x"));
    const QStringList leftovers = QDir(folder.path()).entryList(QDir::Files);
    QCOMPARE(leftovers, QStringList({"settings.ini"}));
}

void TextTest::wtoi()
{
    QCOMPARE(WToI(u"  -42abc"), -42);
    QCOMPARE(WToI(u"+7"), 7);
    QCOMPARE(WToI(u"abc"), 0);
    QCOMPARE(WToI(u""), 0);
    QCOMPARE(WToI(u"4294967295"), -1); // wraps like the 32-bit runtime
}

void TextTest::printfFormatting()
{
    QCOMPARE(FormatPrintf("ファイル\"%s\"が%d個 100%%", {"a.mp3", "3"}), QString("ファイル\"a.mp3\"が3個 100%"));
    QCOMPARE(FormatPrintf("%s and %s", {"one"}), QString("one and "));
}

SONAVEL_TEST_MAIN(TextTest)
#include "TextTest.moc"
