#include "platform/text/CodePage.h"
#include "player/karaoke/KaraokeData.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QDir>
#include <QFile>

#include <unistd.h>

namespace {

// Every block as "time:" followed by its tokens, words in quotes and line breaks as "/".
QStringList blockList(const CKaraokeData& data)
{
    QStringList blocks;
    for (const CKaraokeBlock* block = data.FirstBlock(); block; block = block->Next()) {
        QString item = QString::number(block->StartTime()) + ':';
        for (const CKaraokeToken& token : block->Tokens)
            item += token.IsLineBreak() ? QStringLiteral("/") : '"' + token.Text() + '"';
        blocks << item;
    }
    return blocks;
}

// The characters of all tokens in order, line breaks as "\n".
QString allText(const CKaraokeData& data)
{
    QString text;
    for (const CKaraokeBlock* block = data.FirstBlock(); block; block = block->Next())
        for (const CKaraokeToken& token : block->Tokens)
            text += token.IsLineBreak() ? QStringLiteral("\n") : token.Text();
    return text;
}

CKaraokeBlock* blockAt(const CKaraokeData& data, int index)
{
    CKaraokeBlock* block = data.FirstBlock();
    while (block && index-- > 0)
        block = block->Next();
    return block;
}

QByteArray utf16WithMark(const QString& text)
{
    return TestFiles::encode(text, CodePage::Utf16LE, true);
}

} // namespace

class KaraokeDataTest : public QObject
{
    Q_OBJECT

private slots:
    void parseTimeTag_data();
    void parseTimeTag();
    void tagsSplitTextIntoBlocks();
    void tagsRunningBackwardsStillBuildTheDocument();
    void wordsAndLineBreaks();
    void headerLines_data();
    void headerLines();
    void headerNumbers();
    void savedTextGathersHeadersAndWritesLongTags();
    void emptyFile();
    void byteOrderMarkAndCodePages();
    void oddAndInvalidBytes();
    void unreadableFileLeavesDocument();
    void longTimesSurviveSaveAndRead();
    void saveIsAtomicAndRefusesUnknownPages();
    void findPrefersKraThenLrcThenTxt();
    void createWritesUtf16WithHeaders();
    void findBlockAt();
    void splitAndMergeKeepEveryCharacter();
    void splitAtTokenEdges();
    void replaceWordText();
    void longChainsAndManyHeaderStarts();
};

void KaraokeDataTest::parseTimeTag_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("length");
    QTest::addColumn<uint>("time");
    QTest::newRow("long form") << "[01:02:03]" << 10 << 62030u;
    QTest::newRow("short form") << "[00:05]abc" << 7 << 5000u;
    QTest::newRow("no range limits") << "[01:75]" << 7 << 135000u;
    QTest::newRow("99 hundredths") << "[00:00:99]" << 10 << 990u;
    QTest::newRow("one minute digit") << "[1:02]" << 0 << 0u;
    QTest::newRow("one hundredth digit") << "[01:02:3]" << 0 << 0u;
    QTest::newRow("cut short") << "[01:02:0" << 0 << 0u;
    QTest::newRow("lone bracket") << "[" << 0 << 0u;
    QTest::newRow("no bracket") << "01:02]" << 0 << 0u;
    QTest::newRow("three minute digits") << "[100:00:00]" << 11 << 6000000u;
    QTest::newRow("three minute digits short") << "[123:45]" << 8 << 7425000u;
    QTest::newRow("largest time") << "[71582:47:29]" << 13 << 4294967290u;
    QTest::newRow("past 32 bits") << "[71583:00:00]" << 0 << 0u;
    QTest::newRow("six minute digits") << "[123456:00]" << 0 << 0u;
    QTest::newRow("fullwidth digits") << "[０１:０２]" << 0 << 0u;
    QTest::newRow("space inside") << "[01: 2]" << 0 << 0u;
}

void KaraokeDataTest::parseTimeTag()
{
    QFETCH(QString, text);
    QFETCH(int, length);
    QFETCH(uint, time);
    LyricTime parsed = 12345;
    QCOMPARE(CKaraokeData::ParseTimeTag(text, parsed), length);
    QCOMPARE(parsed, time);
    // The available length bounds the tag.
    if (length > 0)
        QCOMPARE(CKaraokeData::ParseTimeTag(QStringView(text).first(length - 1), parsed), 0);
}

void KaraokeDataTest::tagsSplitTextIntoBlocks()
{
    CKaraokeData data;
    QVERIFY(data.ParseKaraokeText(u"[00:05]abc"));
    QCOMPARE(blockList(data), QStringList({"0:", "5000:\"abc\""}));
    QCOMPARE(data.FirstBlock()->TagText(), QString("[00:00:00]"));
    QCOMPARE(data.FirstBlock()->Next()->TagText(), QString("[00:05:00]"));
    QCOMPARE(data.KaraokeText(), QString("[00:05:00]abc"));

    // Tags anywhere, not only at line starts; text before the first tag keeps time 0.
    QVERIFY(data.ParseKaraokeText(u"la[00:01]la [00:01:50]x\r\n[1:02]y"));
    QCOMPARE(blockList(data), QStringList({"0:\"la\"", "1000:\"la \"", "1500:\"x\"/\"[1:02]y\""}));
    QCOMPARE(data.KaraokeText(), QString("[00:00:00]la[00:01:00]la [00:01:50]x\r\n[1:02]y"));
}

void KaraokeDataTest::tagsRunningBackwardsStillBuildTheDocument()
{
    CKaraokeData data;
    QVERIFY(!data.ParseKaraokeText(u"a[00:01:00]b[00:00:50]c"));
    QCOMPARE(blockList(data), QStringList({"0:\"a\"", "1000:\"b\"", "500:\"c\""}));
    QVERIFY(data.ParseKaraokeText(u"[00:02][00:02]same"));
    QCOMPARE(blockList(data), QStringList({"0:", "2000:", "2000:\"same\""}));
}

void KaraokeDataTest::wordsAndLineBreaks()
{
    CKaraokeData data;
    data.ParseKaraokeText(u"a b  c\td\r\ne\rf\n\ng\r");
    QCOMPARE(blockList(data),
             QStringList({"0:\"a \"\"b \"\" \"\"c\td\"/\"e\"/\"f\"//\"g\"/"}));
    const CKaraokeToken& lineBreak = data.FirstBlock()->Tokens[4];
    QVERIFY(lineBreak.IsLineBreak());
    QCOMPARE(lineBreak.Text(), QString(" "));
    QCOMPARE(lineBreak.Length(), 1);
    QCOMPARE(data.KaraokeText(), QString("[00:00:00]a b  c\td\r\ne\r\nf\r\n\r\ng\r\n"));
    // A CR and an LF on either side of a tag are two line breaks.
    data.ParseKaraokeText(u"x\r[00:01]\ny");
    QCOMPARE(blockList(data), QStringList({"0:\"x\"/", "1000:/\"y\""}));
}

void KaraokeDataTest::headerLines_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("artist");
    QTest::addColumn<QStringList>("blocks");
    QTest::newRow("trailing spaces kept") << "@Title=  Song  \r\nla" << "Song  " << ""
                                          << QStringList{"0:\"la\""};
    QTest::newRow("LF ends consume one blank line") << "@Title=T\n\nla\n\n" << "T" << ""
                                                    << QStringList{"0:\"la\"//"};
    QTest::newRow("CR CR keeps the second") << "@Title=T\r\rla" << "T" << "" << QStringList{"0:/\"la\""};
    QTest::newRow("after a space") << "a @Artist=B\nc" << "" << "B" << QStringList{"0:\"a \"\"c\""};
    QTest::newRow("not inside a word") << "a@Artist=B" << "" << "" << QStringList{"0:\"a@Artist=B\""};
    QTest::newRow("longer key still counts") << "@Titles=X\n" << "X" << "" << QStringList{"0:"};
    QTest::newRow("case matters") << "@title=X" << "" << "" << QStringList{"0:\"@title=X\""};
    QTest::newRow("no equals") << "@Title X\ny" << "" << "" << QStringList{"0:\"@Title \"\"X\"/\"y\""};
    QTest::newRow("equals last") << "@Title=" << "" << "" << QStringList{"0:\"@Title=\""};
    QTest::newRow("equals past a line end") << "@Title\nX=Y\nz" << "Y" << "" << QStringList{"0:\"z\""};
    QTest::newRow("value to the end") << "@Artist=Name" << "" << "Name" << QStringList{"0:"};
    QTest::newRow("value ends at a tag") << "@Artist=Name[00:01]x" << "" << "Name"
                                         << QStringList{"0:", "1000:\"x\""};
    QTest::newRow("after a tag") << "[00:01]@Title=T\r\nx" << "T" << "" << QStringList{"0:", "1000:\"x\""};
    QTest::newRow("later line wins") << "@Title=A\n@Title=B\n" << "B" << "" << QStringList{"0:"};
    QTest::newRow("dropped keys") << "@Album=X\n@SilencemSec=5\n@Silence=1\n@Flames=2\n@TimeType=x\n@Bgfolder=f\nz"
                                  << "" << "" << QStringList{"0:\"z\""};
    QTest::newRow("empty value") << "@Title=  \nz" << "" << "" << QStringList{"0:\"z\""};
    QTest::newRow("only spaces run to end") << "@Title=  " << "" << "" << QStringList{"0:"};
}

void KaraokeDataTest::headerLines()
{
    QFETCH(QString, text);
    QFETCH(QString, title);
    QFETCH(QString, artist);
    QFETCH(QStringList, blocks);
    CKaraokeData data;
    QVERIFY(data.ParseKaraokeText(text));
    QCOMPARE(data.Header.Title, title);
    QCOMPARE(data.Header.Artist, artist);
    QCOMPARE(blockList(data), blocks);
}

void KaraokeDataTest::headerNumbers()
{
    CKaraokeData data;
    data.ParseKaraokeText(u"@Offset=-250\r\n@TimeRatio=1.5\r\n");
    QCOMPARE(data.Header.Offset, -250);
    QCOMPARE(data.Header.TimeRatio, 1.5);
    data.ParseKaraokeText(u"@TimeRatio= \t+2.5e1x\n@Offset=  +12ms\n");
    QCOMPARE(data.Header.TimeRatio, 25.0);
    QCOMPARE(data.Header.Offset, 12);
    data.ParseKaraokeText(u"@TimeRatio=.5\n");
    QCOMPARE(data.Header.TimeRatio, 0.5);
    data.ParseKaraokeText(u"@TimeRatio=2e\n");
    QCOMPARE(data.Header.TimeRatio, 2.0);
    data.ParseKaraokeText(u"@TimeRatio=abc\n@Offset=x\n");
    QCOMPARE(data.Header.TimeRatio, 0.0);
    QCOMPARE(data.Header.Offset, 0);
    data.ParseKaraokeText(u"@TimeRatio=1e999\n");
    QCOMPARE(data.Header.TimeRatio, 0.0);
    // A new parse resets the header.
    data.ParseKaraokeText(u"x");
    QCOMPARE(data.Header.TimeRatio, 1.0);
    QCOMPARE(data.Header.Offset, 0);
}

void KaraokeDataTest::savedTextGathersHeadersAndWritesLongTags()
{
    CKaraokeData data;
    data.ParseKaraokeText(u"[00:01]a\n@Album=X\n@Artist=Ar\n@Offset=-250\n@TimeRatio=1\n@Title=T  \n[00:02]b");
    QCOMPARE(data.KaraokeText(), QString("@Offset=-250\r\n@Title=T  \r\n@Artist=Ar\r\n[00:01:00]a\r\n[00:02:00]b"));
    data.ParseKaraokeText(u"@TimeRatio=1.5\n@TimeRatio=1.05\nx");
    QCOMPARE(data.KaraokeText(), QString("@TimeRatio=1.050000\r\n[00:00:00]x"));
    // A read-and-saved file reads back to the same document.
    const QString saved = data.KaraokeText();
    CKaraokeData again;
    again.ParseKaraokeText(saved);
    QCOMPARE(again.KaraokeText(), saved);
    QCOMPARE(blockList(again), QStringList({"0:", "0:\"x\""}));
}

void KaraokeDataTest::emptyFile()
{
    TempFolder folder;
    const QString path = folder.write("empty.kra", {});
    for (int page : {932, 0}) {
        CKaraokeData data;
        int codePage = page;
        QVERIFY(data.ReadKaraokeFile(path, codePage));
        QCOMPARE(codePage, page);
        QCOMPARE(blockList(data), QStringList({"0:"}));
        QVERIFY(data.SaveKaraokeFile(folder.file("saved.kra"), page));
        QCOMPARE(TestFiles::readBytes(folder.file("saved.kra")), page == 0 ? QByteArray("\xFF\xFE") : QByteArray());
    }
    CKaraokeData none;
    QVERIFY(!none.SaveKaraokeFile(folder.file("none.kra"), 0));
    QVERIFY(!QFile::exists(folder.file("none.kra")));
}

void KaraokeDataTest::byteOrderMarkAndCodePages()
{
    TempFolder folder;
    const QString text = QStringLiteral("@Title=歌\r\n[00:01:00]あいう\r\n");
    const QString utf16 = folder.write("u.kra", utf16WithMark(text));
    CKaraokeData data;
    int codePage = 932;
    QVERIFY(data.ReadKaraokeFile(utf16, codePage));
    QCOMPARE(codePage, 0);
    QCOMPARE(data.Header.Title, QString("歌"));
    QVERIFY(data.SaveKaraokeFile(utf16, codePage));
    QCOMPARE(TestFiles::readBytes(utf16), utf16WithMark(text));

    const QByteArray shiftJis = CodePage::fromUnicode(text, 932);
    const QString sjis = folder.write("s.kra", shiftJis);
    codePage = 932;
    QVERIFY(data.ReadKaraokeFile(sjis, codePage));
    QCOMPARE(codePage, 932);
    QCOMPARE(blockList(data), QStringList({"0:", "1000:\"あいう\"/"}));
    QVERIFY(data.SaveKaraokeFile(sjis, codePage));
    QCOMPARE(TestFiles::readBytes(sjis), shiftJis);

    // Code page 0 and no mark: UTF-16LE as it stands.
    const QString bare = folder.write("b.kra", CodePage::fromUnicode(u"[00:02]歌"_qs, CodePage::Utf16LE));
    codePage = 0;
    QVERIFY(data.ReadKaraokeFile(bare, codePage));
    QCOMPARE(blockList(data), QStringList({"0:", "2000:\"歌\""}));
}

void KaraokeDataTest::oddAndInvalidBytes()
{
    CKaraokeData data;
    int codePage = 932;
    // An odd last byte after FF FE is ignored.
    QVERIFY(data.ReadKaraokeBytes(QByteArray("\xFF\xFE" "a\0b", 5), codePage));
    QCOMPARE(allText(data), QString("a"));
    codePage = 0;
    QVERIFY(data.ReadKaraokeBytes(QByteArray("x\0y", 3), codePage));
    QCOMPARE(allText(data), QString("x"));
    // A lone FF is not a mark.
    codePage = 1252;
    QVERIFY(data.ReadKaraokeBytes(QByteArray("\xFF"), codePage));
    QCOMPARE(allText(data), QString("ÿ"));
    // Invalid Shift-JIS bytes become replacement characters, the rest stays.
    codePage = 932;
    QVERIFY(data.ReadKaraokeBytes(QByteArray("[00:01]a\x81\x20" "b\x82"), codePage));
    QCOMPARE(blockList(data).first(), QString("0:"));
    QVERIFY(allText(data).startsWith('a'));
    QVERIFY(allText(data).contains(QChar(0xFFFD)));
    // Unpaired surrogates and a lone "[" at the end survive a UTF-16 round trip.
    const QString odd = QStringLiteral("[00:01]x") + QChar(0xD800) + QStringLiteral(" y") + QChar(0xDC00) + QStringLiteral("[");
    data.ParseKaraokeText(odd);
    TempFolder folder;
    QVERIFY(data.SaveKaraokeFile(folder.file("s.kra"), 0));
    codePage = 932;
    CKaraokeData again;
    QVERIFY(again.ReadKaraokeFile(folder.file("s.kra"), codePage));
    QCOMPARE(allText(again), allText(data));
    QCOMPARE(allText(data), QStringLiteral("x") + QChar(0xD800) + QStringLiteral(" y") + QChar(0xDC00) + QStringLiteral("["));
}

void KaraokeDataTest::unreadableFileLeavesDocument()
{
    TempFolder folder;
    CKaraokeData data;
    data.ParseKaraokeText(u"[00:01]keep");
    int codePage = 932;
    QVERIFY(!data.ReadKaraokeFile(folder.file("missing.kra"), codePage));
    QVERIFY(!data.ReadKaraokeFile(folder.mkdir("dir.kra"), codePage));
    QCOMPARE(blockList(data), QStringList({"0:", "1000:\"keep\""}));
    QCOMPARE(codePage, 932);
}

void KaraokeDataTest::longTimesSurviveSaveAndRead()
{
    TempFolder folder;
    CKaraokeData data;
    data.ParseKaraokeText(u"[00:01]a");
    CKaraokeBlock* block = data.FirstBlock()->Next();
    block->SetStartTime(6000000);
    QCOMPARE(block->TagText(), QString("[100:00:00]"));
    data.SplitBlock(block, 1, 0, 4294967295u);
    QCOMPARE(block->Next()->TagText(), QString("[71582:47:29]"));
    QVERIFY(data.SaveKaraokeFile(folder.file("long.kra"), 932));
    int codePage = 932;
    CKaraokeData again;
    QVERIFY(again.ReadKaraokeFile(folder.file("long.kra"), codePage));
    QCOMPARE(blockList(again), QStringList({"0:", "6000000:\"a\"", "4294967290:"}));
}

void KaraokeDataTest::saveIsAtomicAndRefusesUnknownPages()
{
    TempFolder folder;
    const QByteArray old = utf16WithMark(u"[00:01]old"_qs);
    const QString path = folder.write("song.kra", old);
    // A second name for the same file shows whether the save wrote into it or replaced it.
    QCOMPARE(::link(QFile::encodeName(path).constData(), QFile::encodeName(folder.file("other")).constData()), 0);
    CKaraokeData data;
    data.ParseKaraokeText(u"[00:02]new");
    QVERIFY(!data.SaveKaraokeFile(path, 12345));
    QCOMPARE(TestFiles::readBytes(path), old);
    QVERIFY(!data.SaveKaraokeFile(folder.file("no/such/folder.kra"), 0));
    QVERIFY(data.SaveKaraokeFile(path, 0));
    QCOMPARE(TestFiles::readBytes(path), utf16WithMark(u"[00:02:00]new"_qs));
    QCOMPARE(TestFiles::readBytes(folder.file("other")), old);
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files).size(), 2);

    // A lyric file that is a symbolic link stays one; its target gets the text.
    const QString real = folder.write("real/song.kra", old);
    QVERIFY(QFile::link(real, folder.file("linked.kra")));
    QVERIFY(data.SaveKaraokeFile(folder.file("linked.kra"), 0));
    QVERIFY(QFileInfo(folder.file("linked.kra")).isSymLink());
    QCOMPARE(TestFiles::readBytes(real), utf16WithMark(u"[00:02:00]new"_qs));
}

void KaraokeDataTest::findPrefersKraThenLrcThenTxt()
{
    TempFolder folder;
    const QString track = folder.file("song.name.mp3");
    QVERIFY(!CKaraokeData::FindKaraokeFile(track));
    folder.mkdir("song.name.kra"); // a folder is no lyric file
    QVERIFY(!CKaraokeData::FindKaraokeFile(track));
    const QString txt = folder.write("song.name.txt", "x");
    QCOMPARE(CKaraokeData::FindKaraokeFile(track).value_or(QString()), txt);
    const QString lrc = folder.write("song.name.lrc", "x");
    QCOMPARE(CKaraokeData::FindKaraokeFile(track).value_or(QString()), lrc);
    QVERIFY(QDir(folder.path()).rmdir("song.name.kra"));
    const QString kra = folder.write("song.name.kra", "x");
    QCOMPARE(CKaraokeData::FindKaraokeFile(track).value_or(QString()), kra);
    // A name without an extension is used whole.
    const QString bare = folder.write("noext.lrc", "x");
    QCOMPARE(CKaraokeData::FindKaraokeFile(folder.file("noext")).value_or(QString()), bare);
}

void KaraokeDataTest::createWritesUtf16WithHeaders()
{
    TempFolder folder;
    const QString track = folder.file("song.mp3");
    const auto created = CKaraokeData::CreateKaraokeFile(track, "T", "A", u"line1\r\n[00:01]x");
    QCOMPARE(created.value_or(QString()), folder.file("song.kra"));
    QCOMPARE(TestFiles::readBytes(*created), utf16WithMark(u"@Title=T\r\n@Artist=A\r\nline1\r\n[00:01]x"_qs));
    QVERIFY(!CKaraokeData::CreateKaraokeFile(track, "T", "A", u"other"));
    QCOMPARE(TestFiles::readBytes(*created), utf16WithMark(u"@Title=T\r\n@Artist=A\r\nline1\r\n[00:01]x"_qs));

    const QString second = folder.file("b.mp3");
    QCOMPARE(CKaraokeData::CreateKaraokeFile(second, {}, {}, {}).value_or(QString()), folder.file("b.kra"));
    QCOMPARE(TestFiles::readBytes(folder.file("b.kra")), QByteArray("\xFF\xFE"));
    // Any lyric file, here a txt, keeps a new one from being made.
    folder.write("c.txt", "x");
    QVERIFY(!CKaraokeData::CreateKaraokeFile(folder.file("c.mp3"), "T", {}, {}));
    QVERIFY(!QFile::exists(folder.file("c.kra")));
}

void KaraokeDataTest::findBlockAt()
{
    CKaraokeData data;
    QVERIFY(!data.FindBlockAt(0));
    data.ParseKaraokeText(u"a[00:01]b[00:02]c");
    const CKaraokeBlock* first = data.FirstBlock();
    QCOMPARE(data.FindBlockAt(-500), first);
    QCOMPARE(data.FindBlockAt(0), first);
    QCOMPARE(data.FindBlockAt(999), first);
    QCOMPARE(data.FindBlockAt(1000), first->Next());
    QCOMPARE(data.FindBlockAt(1999), first->Next());
    QCOMPARE(data.FindBlockAt(2000), first->Next()->Next());
    QCOMPARE(data.FindBlockAt(1 << 30), first->Next()->Next());
}

void KaraokeDataTest::splitAndMergeKeepEveryCharacter()
{
    CKaraokeData data;
    data.ParseKaraokeText(u"[00:01]hello world\r\nnext line[00:03]end");
    const QString before = allText(data);
    CKaraokeBlock* block = blockAt(data, 1);
    CKaraokeBlock* added = data.SplitBlock(block, 0, 2, 1500);
    QCOMPARE(added, block->Next());
    QCOMPARE(added->Previous(), block);
    QCOMPARE(added->TagText(), QString("[00:01:50]"));
    QCOMPARE(blockList(data), QStringList({"0:", "1000:\"he\"", "1500:\"llo \"\"world\"/\"next \"\"line\"", "3000:\"end\""}));
    QCOMPARE(allText(data), before);
    QCOMPARE(block->Tokens.capacity(), block->Tokens.size());

    CKaraokeBlock* merged = data.MergeIntoPrevious(added);
    QCOMPARE(merged, block);
    QCOMPARE(block->Next()->StartTime(), 3000u);
    QCOMPARE(block->Next()->Previous(), block);
    QCOMPARE(blockList(data), QStringList({"0:", "1000:\"he\"\"llo \"\"world\"/\"next \"\"line\"", "3000:\"end\""}));
    QCOMPARE(allText(data), before);
    QCOMPARE(data.KaraokeText(), QString("[00:01:00]hello world\r\nnext line[00:03:00]end"));

    // Merging the last block and then the one before it; the leading block has no predecessor.
    QVERIFY(data.MergeIntoPrevious(block->Next()));
    QVERIFY(data.MergeIntoPrevious(block));
    QVERIFY(!data.MergeIntoPrevious(data.FirstBlock()));
    QVERIFY(!data.MergeIntoPrevious(nullptr));
    QCOMPARE(blockList(data).size(), 1);
    QCOMPARE(allText(data), before);
}

void KaraokeDataTest::splitAtTokenEdges()
{
    CKaraokeData data;
    data.ParseKaraokeText(u"[00:01]ab cd\nef");
    CKaraokeBlock* block = blockAt(data, 1);
    // Character 0: the whole word moves.
    data.SplitBlock(block, 1, 0, 2000);
    QCOMPARE(blockList(data), QStringList({"0:", "1000:\"ab \"", "2000:\"cd\"/\"ef\""}));
    // After the last character: the new block starts with an empty word.
    CKaraokeBlock* second = block->Next();
    data.SplitBlock(second, 2, 2, 3000);
    QCOMPARE(blockList(data), QStringList({"0:", "1000:\"ab \"", "2000:\"cd\"/\"ef\"", "3000:\"\""}));
    // Past the last token: an empty block; a line break is never cut.
    data.SplitBlock(block, 99, 5, 1200);
    data.SplitBlock(second, 1, 1, 2500);
    QCOMPARE(blockList(data), QStringList({"0:", "1000:\"ab \"", "1200:", "2000:\"cd\"/", "2500:\"ef\"",
                                           "3000:\"\""}));
    QCOMPARE(allText(data), QString("ab cd\nef"));
    QVERIFY(!data.SplitBlock(nullptr, 0, 0, 0));
}

void KaraokeDataTest::replaceWordText()
{
    CKaraokeData data;
    data.ParseKaraokeText(u"ab\ncd");
    CKaraokeBlock* block = data.FirstBlock();
    QVERIFY(CKaraokeData::ReplaceWordText(block, 2, "x y"));
    QCOMPARE(blockList(data), QStringList({"0:\"ab\"/\"x y\""}));
    QVERIFY(!CKaraokeData::ReplaceWordText(block, 1, "z"));
    QVERIFY(!CKaraokeData::ReplaceWordText(block, 3, "z"));
    QVERIFY(!CKaraokeData::ReplaceWordText(block, -1, "z"));
    QCOMPARE(blockList(data), QStringList({"0:\"ab\"/\"x y\""}));
    block->SetStartTime(12345);
    QCOMPARE(block->TagText(), QString("[00:12:34]"));
}

void KaraokeDataTest::longChainsAndManyHeaderStarts()
{
    // Destroying a long chain must not recurse block by block.
    CKaraokeData data;
    QVERIFY(data.ParseKaraokeText(QStringLiteral("[00:00]").repeated(300000)));
    int count = 0;
    for (const CKaraokeBlock* block = data.FirstBlock(); block; block = block->Next())
        ++count;
    QCOMPARE(count, 300001);
    data.Clear();
    QVERIFY(!data.FirstBlock());
    // Many "@Title" words without an "=" stay words.
    QVERIFY(data.ParseKaraokeText(QStringLiteral("@Title ").repeated(200000)));
    QCOMPARE(data.FirstBlock()->Tokens.size(), size_t(200000));
}

SONAVEL_TEST_MAIN(KaraokeDataTest)
#include "KaraokeDataTest.moc"
