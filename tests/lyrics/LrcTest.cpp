#include "player/karaoke/KaraokeData.h"
#include "tests/lyrics/LyricBlocks.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

using LyricBlocks::at;

namespace {

// Reads bytes as a file would be read with the default lyric code page.
bool readBytes(CKaraokeData& data, const QByteArray& bytes, int* codePageOut = nullptr)
{
    int codePage = 932;
    const bool inOrder = data.ReadKaraokeBytes(bytes, codePage);
    if (codePageOut)
        *codePageOut = codePage;
    return inOrder;
}

// Saves the document with the code page its read left and returns the file's bytes.
QByteArray savedBytes(const CKaraokeData& data, int codePage)
{
    TempFolder folder;
    const QString path = folder.file("saved.lrc");
    if (!data.SaveKaraokeFile(path, codePage))
        return "<save failed>";
    return TestFiles::readBytes(path);
}

} // namespace

class LrcTest : public QObject
{
    Q_OBJECT

private slots:
    void dialectFromContent_data();
    void dialectFromContent();
    void standardAndEnhancedLrc_data();
    void standardAndEnhancedLrc();
    void readAndSavedUnchanged_data();
    void readAndSavedUnchanged();
    void repeatedTagsSaveOneLineEach();
    void editsKeepLrc();
    void editsOnEachKindOfFile_data();
    void editsOnEachKindOfFile();
    void headerChangesWriteIdTags();
    void createdFromLrcTextTakesIdTags();
    void savedLrcReadsBackToSameBlocks_data();
    void savedLrcReadsBackToSameBlocks();
    void manyTagsOnALongLineStayBounded();
    void textTypedIntoAsciiFile_data();
    void textTypedIntoAsciiFile();
};

void LrcTest::dialectFromContent_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("lrc");
    QTest::newRow("own tags") << "@Title=x\r\n[00:01:00]a[00:02]b" << false;
    QTest::newRow("line tag with a point") << "[00:01.00]a" << true;
    QTest::newRow("milliseconds") << "x\n[01:02.345]a" << true;
    QTest::newRow("point tag after an own tag") << "[00:01:00][00:02.50]a" << true;
    QTest::newRow("point tag inside a line") << "a [00:01.00]b" << false;
    QTest::newRow("known ID tag") << "[ti:Song]\nla" << true;
    QTest::newRow("ID tag upper case, blanks after") << "[AR:Singer] \t\nla" << true;
    QTest::newRow("unknown key alone") << "[Chorus:]\nla" << false;
    QTest::newRow("ID tag not alone on its line") << "[ti:Song] la" << false;
    QTest::newRow("word tag") << "la <00:01.00>la" << true;
    QTest::newRow("word tag without fraction") << "la <00:01>la" << false;
    QTest::newRow("empty") << "" << false;
}

void LrcTest::dialectFromContent()
{
    QFETCH(QString, text);
    QFETCH(bool, lrc);
    CKaraokeData data;
    data.ParseKaraokeText(text);
    QCOMPARE(data.Format.IsLrc(), lrc);
}

void LrcTest::standardAndEnhancedLrc_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("blocks");
    QTest::addColumn<QStringList>("header"); // title, artist, offset
    QTest::addColumn<bool>("inOrder");
    const QStringList noHeader{"", "", "0"};
    QTest::newRow("ID tags and milliseconds")
        << "[ti: Song ]\n[ar:Singer]\n[al:Album]\n[by:me]\n[offset:+250]\n[00:12.345]first line\n[00:15.00]second\n"
        << QStringList{"0:", "12345:\"first \"\"line\"/", "15000:\"second\"/"} << QStringList{"Song", "Singer", "250"}
        << true;
    QTest::newRow("negative offset, later value wins") << "[offset:100]\n[offset:-75]\n[00:01.00]a"
                                                       << QStringList{"0:", "1000:\"a\""} << QStringList{"", "", "-75"}
                                                       << true;
    QTest::newRow("repeated tags in time order")
        << "[00:12.00][01:30.00]chorus\r\n[00:20.00]verse\r\n"
        << QStringList{"0:", "12000:\"chorus\"/", "20000:\"verse\"/", "90000:\"chorus\"/"} << noHeader << true;
    QTest::newRow("lines without tags") << "intro\n[00:01.00]a\nb\n\n[00:02.00]c"
                                        << QStringList{"0:\"intro\"/", "1000:\"a\"/\"b\"//", "2000:\"c\""} << noHeader
                                        << true;
    QTest::newRow("enhanced word times")
        << "[00:20.00]<00:20.00>word1 <00:20.50>word2 <00:21.00>word3\n"
        << QStringList{"0:", "20000:", "20000:\"word1 \"", "20500:\"word2 \"", "21000:\"word3\"/"} << noHeader << true;
    QTest::newRow("word times after text") << "[00:05.00]a <00:06.00>b\n"
                                           << QStringList{"0:", "5000:\"a \"", "6000:\"b\"/"} << noHeader << true;
    QTest::newRow("repeated line shifts its word times")
        << "[00:10.00][01:10.00]a <00:10.50>b\n"
        << QStringList{"0:", "10000:\"a \"", "10500:\"b\"/", "70000:\"a \"", "70500:\"b\"/"} << noHeader << true;
    QTest::newRow("own tag forms in an LRC file") << "[ti:x]\n[00:01]a\n[00:02:50]b\n[00:03.5]c"
                                                  << QStringList{"0:", "1000:\"a\"/", "2500:\"b\"/", "3500:\"c\""}
                                                  << QStringList{"x", "", "0"} << true;
    QTest::newRow("lines sorted, the last gets a line end")
        << "[00:02.00]b\n[00:01.00]a" << QStringList{"0:", "1000:\"a\"/", "2000:\"b\"/"} << noHeader << true;
    QTest::newRow("word times running backwards") << "[00:02.00]a<00:01.00>b"
                                                  << QStringList{"0:", "2000:\"a\"", "1000:\"b\""} << noHeader << false;
    QTest::newRow("text tags inside a line stay text")
        << "[00:01.00]a [00:02:00]b @Title=x" << QStringList{"0:", "1000:\"a \"\"[00:02:00]b \"\"@Title=x\""} << noHeader
        << true;
    QTest::newRow("square word times inside a line") << "[00:05.00]hello [00:06.00]world\n"
                                                     << QStringList{"0:", "5000:\"hello \"", "6000:\"world\"/"}
                                                     << noHeader << true;
    QTest::newRow("word tag at a line start") << "[00:01.00]a\n<00:03.00>b\n"
                                              << QStringList{"0:", "1000:\"a\"/", "3000:\"b\"/"} << noHeader << true;
    QTest::newRow("unknown ID tags are no text") << "[ti:x]\n[kana:うた]\n[00:01.00]a"
                                                 << QStringList{"0:", "1000:\"a\""} << QStringList{"x", "", "0"} << true;
}

void LrcTest::standardAndEnhancedLrc()
{
    QFETCH(QString, text);
    QFETCH(QStringList, blocks);
    QFETCH(QStringList, header);
    QFETCH(bool, inOrder);
    CKaraokeData data;
    QCOMPARE(data.ParseKaraokeText(text), inOrder);
    QVERIFY(data.Format.IsLrc());
    QCOMPARE(LyricBlocks::tokens(data), blocks);
    QCOMPARE(QStringList({data.Header.Title, data.Header.Artist, QString::number(data.Header.Offset)}), header);
}

void LrcTest::readAndSavedUnchanged_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("codePage");
    QTest::newRow("standard, LF, UTF-8")
        << QByteArray("[ti:夜の歌]\n[ar:歌手]\n[al:Album]\n[length: 03:45]\n[re:tool]\n[ve:1.0]\n[offset:+250]\n"
                      "[00:12.00]最初の行\n[00:15.50]二行目\n\n[00:20.00]")
        << 65001;
    QTest::newRow("CR LF and milliseconds, ASCII")
        << QByteArray("[ar:A]\r\n[00:01.005]one\r\nuntagged\r\n[00:02.100]two\r\n") << 65001;
    QTest::newRow("enhanced") << QByteArray("[ti:x]\n[00:20.00]<00:20.00>w1 <00:20.50>w2 <00:21.00>w3\n"
                                           "[00:22.00]<00:22.00>w4\n")
                              << 65001;
    QTest::newRow("text before the first tag, no final line end") << QByteArray("[#:comment]\nintro line\n[00:01.00]a")
                                                                    << 65001;
    QTest::newRow("square word times") << QByteArray("[ti:x]\r\n[00:05.00]hello [00:06.00]world\r\n"
                                                    "[00:07.50]a[00:08.25]b [00:09.00]\r\n")
                                       << 65001;
    QTest::newRow("UTF-8 with mark") << QByteArray("\xEF\xBB\xBF[ti:x]\n[00:01.00]歌\n") << 65001;
    QTest::newRow("UTF-16BE with mark") << TestFiles::encode(u"\uFEFF[ti:x]\r\n[00:01.00]歌\r\n"_qs, 1201) << 1201;
    QTest::newRow("UTF-16LE with mark") << TestFiles::encode(u"[ar:x]\r\n[00:01.00]歌"_qs, 1200, true) << 0;
    QTest::newRow("Shift-JIS") << TestFiles::encode(u"[ti:歌]\r\n[00:01.00]あいう\r\n"_qs, 932) << 932;
}

void LrcTest::readAndSavedUnchanged()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, codePage);
    CKaraokeData data;
    int read = 0;
    QVERIFY(readBytes(data, bytes, &read));
    QCOMPARE(read, codePage);
    QVERIFY(data.Format.IsLrc());
    QCOMPARE(savedBytes(data, read), bytes);
}

void LrcTest::repeatedTagsSaveOneLineEach()
{
    CKaraokeData data;
    QVERIFY(readBytes(data, "[ti:x]\n[00:12.00][01:30.00]chorus\n[00:20.00]verse\n[00:05.00]intro"));
    QCOMPARE(savedBytes(data, 932),
             QByteArray("[ti:x]\n[00:05.00]intro\n[00:12.00]chorus\n[00:20.00]verse\n[01:30.00]chorus\n"));
}

void LrcTest::editsKeepLrc()
{
    CKaraokeData data;
    readBytes(data, "[ti:Song]\n[00:01.00]hello world\nsecond line\n[00:04.00]next line\n");
    // Splitting inside a line gives a word tag.
    data.SplitBlock(at(data, 1), 1, 0, 1500);
    QCOMPARE(data.KaraokeText(), QString("[ti:Song]\n[00:01.00]hello <00:01.50>world\nsecond line\n[00:04.00]next line\n"));
    // Splitting after a line break gives a line tag.
    data.SplitBlock(at(data, 2), 2, 0, 2000);
    QCOMPARE(data.KaraokeText(),
             QString("[ti:Song]\n[00:01.00]hello <00:01.50>world\n[00:02.00]second line\n[00:04.00]next line\n"));
    // Splitting inside a word, at a time in milliseconds the file cannot hold; stamping; a word edit.
    data.SplitBlock(at(data, 4), 0, 2, 4257);
    at(data, 4)->SetStartTime(3500);
    QVERIFY(CKaraokeData::ReplaceWordText(at(data, 5), 1, "Line"));
    QCOMPARE(data.KaraokeText(), QString("[ti:Song]\n[00:01.00]hello <00:01.50>world\n[00:02.00]second line\n"
                                         "[00:03.50]ne<00:04.25>xt Line\n"));
    // Merging takes the tags out again.
    data.MergeIntoPrevious(at(data, 5));
    data.MergeIntoPrevious(at(data, 3));
    data.MergeIntoPrevious(at(data, 2));
    QCOMPARE(data.KaraokeText(), QString("[ti:Song]\n[00:01.00]hello world\nsecond line\n[00:03.50]next Line\n"));
    // The saved file reads back to the same blocks and saves the same again.
    data.SplitBlock(at(data, 1), 1, 3, 1200);
    const QByteArray saved = savedBytes(data, 932);
    CKaraokeData again;
    QVERIFY(readBytes(again, saved));
    QCOMPARE(LyricBlocks::texts(again), LyricBlocks::texts(data));
    QCOMPARE(savedBytes(again, 932), saved);
}

void LrcTest::editsOnEachKindOfFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("block");
    QTest::addColumn<int>("token");
    QTest::addColumn<QString>("word");
    QTest::addColumn<uint>("time");
    QTest::addColumn<QByteArray>("edited");
    // Repeated tags come out as one line per tag (the other rows come out as they went in).
    QTest::addColumn<QByteArray>("unedited");
    QTest::newRow("ID tags and milliseconds") << QByteArray("[ti:T]\n[ar:A]\n[00:01.005]one two\n[00:02.100]three\n") << 1
                                              << 1 << "2" << 1500u
                                              << QByteArray("[ti:T]\n[ar:A]\n[00:01.500]one 2\n[00:02.100]three\n")
                                              << QByteArray();
    QTest::newRow("repeated tags") << QByteArray("[00:01.00][00:03.00]la la\r\n[00:02.00]mid\r\n") << 3 << 0 << "LA "
                                   << 3500u << QByteArray("[00:01.00]la la\r\n[00:02.00]mid\r\n[00:03.50]LA la\r\n")
                                   << QByteArray("[00:01.00]la la\r\n[00:02.00]mid\r\n[00:03.00]la la\r\n");
    QTest::newRow("lines without tags") << QByteArray("intro\n[00:01.00]a b\nuntagged line\n[00:02.00]c\n") << 1 << 3
                                        << "UNTAGGED " << 1200u
                                        << QByteArray("intro\n[00:01.20]a b\nUNTAGGED line\n[00:02.00]c\n")
                                        << QByteArray();
    QTest::newRow("enhanced word times") << QByteArray("[00:20.00]<00:20.00>w1 <00:20.50>w2\n") << 3 << 0 << "W2"
                                         << 20600u << QByteArray("[00:20.00]<00:20.00>w1 <00:20.60>W2\n")
                                         << QByteArray();
}

// Splits and merges leave a file as it was; a word edit and a stamp change only what they touch.
void LrcTest::editsOnEachKindOfFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, block);
    QFETCH(int, token);
    QFETCH(QString, word);
    QFETCH(uint, time);
    QFETCH(QByteArray, edited);
    QFETCH(QByteArray, unedited);
    CKaraokeData data;
    QVERIFY(readBytes(data, bytes));
    QCOMPARE(savedBytes(data, 932), unedited.isEmpty() ? bytes : unedited);
    QVERIFY(CKaraokeData::ReplaceWordText(at(data, block), token, word));
    at(data, block)->SetStartTime(time);
    const QByteArray saved = savedBytes(data, 932);
    QCOMPARE(saved, edited);
    for (CKaraokeBlock* each = data.FirstBlock(); each; each = each->Next()) {
        CKaraokeBlock* added = data.SplitBlock(each, 0, 1, each->StartTime());
        QVERIFY(savedBytes(data, 932) != saved || each->Tokens.empty());
        QCOMPARE(data.MergeIntoPrevious(added), each);
    }
    QCOMPARE(savedBytes(data, 932), saved);
    CKaraokeData again;
    QVERIFY(readBytes(again, saved));
    QCOMPARE(LyricBlocks::texts(again), LyricBlocks::texts(data));
}

void LrcTest::headerChangesWriteIdTags()
{
    CKaraokeData data;
    readBytes(data, "[al:Album]\n[ti: Old ]\n[offset:+250]\n[00:01.00]a\n");
    QCOMPARE(data.Header.Title, QString("Old"));
    // Unchanged values keep their lines as written.
    QCOMPARE(data.KaraokeText(), QString("[al:Album]\n[ti: Old ]\n[offset:+250]\n[00:01.00]a\n"));
    data.Header.Title = "New";
    data.Header.Offset = -100;
    data.Header.Artist = "Singer";
    QCOMPARE(data.KaraokeText(), QString("[ar:Singer]\n[al:Album]\n[ti:New]\n[offset:-100]\n[00:01.00]a\n"));
}

void LrcTest::createdFromLrcTextTakesIdTags()
{
    TempFolder folder;
    const auto created = CKaraokeData::CreateKaraokeFile(folder.file("song.mp3"), "T", "A", u"[00:01.00]la\r\n");
    QVERIFY(created);
    QCOMPARE(TestFiles::readBytes(*created), TestFiles::encode(u"[ti:T]\r\n[ar:A]\r\n[00:01.00]la\r\n"_qs, 1200, true));
    CKaraokeData data;
    int codePage = 932;
    QVERIFY(data.ReadKaraokeFile(*created, codePage));
    QCOMPARE(LyricBlocks::tokens(data), QStringList({"0:", "1000:\"la\"/"}));
    QCOMPARE(data.Header.Title, QString("T"));
    QCOMPARE(data.Header.Artist, QString("A"));
}

void LrcTest::savedLrcReadsBackToSameBlocks_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("line tag text after a word tag at a line start") << "<00:02.00>[00:05.00]x\n[00:01.00]a";
    QTest::newRow("unsorted with untagged lines") << "[00:09.00]z\nq\n[00:01.00]a\n\n";
    QTest::newRow("odd line ends") << "[00:01.00]a\r[00:02.00]b\r\n\n[00:03.00]c\r";
    QTest::newRow("huge times") << "[71582:47.295]a <71582:47.295>b\n[00:00.001][71582:47.295]c<00:00.002>d";
}

void LrcTest::savedLrcReadsBackToSameBlocks()
{
    QFETCH(QString, text);
    CKaraokeData data;
    data.ParseKaraokeText(text);
    CKaraokeData again;
    again.ParseKaraokeText(data.KaraokeText());
    QCOMPARE(LyricBlocks::texts(again), LyricBlocks::texts(data));
    QCOMPARE(again.KaraokeText(), data.KaraokeText());
}

void LrcTest::manyTagsOnALongLineStayBounded()
{
    // 2000 tags in front of 2000 words: 4 million tokens if every copy kept its words.
    QString text;
    for (int i = 0; i < 2000; ++i)
        text += QStringLiteral("[%1:%2.00]").arg(i / 60, 2, 10, QChar(u'0')).arg(i % 60, 2, 10, QChar(u'0'));
    text += QStringLiteral("w ").repeated(2000);
    CKaraokeData data;
    QVERIFY(data.ParseKaraokeText(text));
    qsizetype blocks = 0;
    qsizetype tokens = 0;
    for (const CKaraokeBlock* block = data.FirstBlock(); block; block = block->Next(), ++blocks)
        tokens += qsizetype(block->Tokens.size());
    QCOMPARE(blocks, 2001);
    QVERIFY(tokens > 900000 && tokens < 1100000);
    // The first copies keep their words, the last keeps its time.
    QCOMPARE(at(data, 1)->Tokens.size(), size_t(2001));
    QCOMPARE(at(data, 2000)->StartTime(), 1999000u);
    QVERIFY(at(data, 2000)->Tokens.back().IsLineBreak());
}

void LrcTest::textTypedIntoAsciiFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("configured");
    QTest::addColumn<int>("codePage");
    QTest::addColumn<QByteArray>("saved");
    const QString edited = QStringLiteral("[ti:T]\n[00:01.00]歌 b\n");
    QTest::newRow("LRC in Shift-JIS's place") << QByteArray("[ti:T]\n[00:01.00]a b\n") << 932 << 65001
                                              << TestFiles::encode(edited, 65001);
    QTest::newRow("LRC in a Western page") << QByteArray("[ti:T]\n[00:01.00]a b\n") << 1252 << 65001
                                           << TestFiles::encode(edited, 65001);
    QTest::newRow("own dialect stays in the page") << QByteArray("@Title=T\r\n[00:01:00]a b") << 932 << 932
                                                   << TestFiles::encode(u"@Title=T\r\n[00:01:00]歌 b"_qs, 932);
    QTest::newRow("LRC in Shift-JIS stays so")
        << TestFiles::encode(u"[ti:T]\n[00:01.00]あ b\n"_qs, 932) << 932 << 932 << TestFiles::encode(edited, 932);
}

// A word typed into a file that held only ASCII: an LRC file becomes UTF-8, as other players
// read LRC files; a file of the own dialect is written in the configured page as before.
void LrcTest::textTypedIntoAsciiFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, configured);
    QFETCH(int, codePage);
    QFETCH(QByteArray, saved);
    CKaraokeData data;
    int read = configured;
    QVERIFY(data.ReadKaraokeBytes(bytes, read));
    QCOMPARE(read, codePage);
    QCOMPARE(savedBytes(data, read), bytes);
    QVERIFY(CKaraokeData::ReplaceWordText(at(data, 1), 0, u"歌 "_qs));
    QCOMPARE(savedBytes(data, read), saved);
    CKaraokeData again;
    int reread = configured;
    QVERIFY(again.ReadKaraokeBytes(saved, reread));
    QCOMPARE(LyricBlocks::texts(again), LyricBlocks::texts(data));
}

SONAVEL_TEST_MAIN(LrcTest)
#include "LrcTest.moc"
