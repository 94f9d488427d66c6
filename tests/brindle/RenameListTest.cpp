#include "platform/text/CodePage.h"
#include "renamer/RenameList.h"
#include "tests/brindle/BrindleTestSupport.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

using BrindleTestSupport::utf16List;

namespace {

RenamePair parse(const QString& line, ListSeparator separator, int expected = CRenameList::Accepted)
{
    RenamePair pair;
    const int result = CRenameList::ParseRenameLine(line, separator, pair);
    if (result != expected)
        qWarning("unexpected result %d for %s", result, qPrintable(line));
    return result == CRenameList::Accepted ? pair : RenamePair{QStringLiteral("<skipped>"), QString()};
}

} // namespace

class RenameListTest : public QObject
{
    Q_OBJECT

private slots:
    void skippedLines_data();
    void skippedLines();
    void extensionRules_data();
    void extensionRules();
    void commaModeSplitsAtFirstComma();
    void namesAreNotTrimmed();
    void onlyCarriageReturnLineFeedEndsLines();
    void byteOrderMarkIsRemoved();
    void encodings_data();
    void encodings();
    void utf8LineEnds();
    void emptyNewNameStaysEmpty();
    void oddLastByteIgnored();
    void nulEndsTheLine();
    void otherEncodingYieldsNothingUsable();
    void fileThatCannotBeRead();
    void emptyFile();
};

void RenameListTest::skippedLines_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("separator");
    QTest::newRow("empty") << QString() << int(ListSeparator::Tab);
    QTest::newRow("comment") << QStringLiteral("#a.mp3\tb.mp3") << int(ListSeparator::Tab);
    QTest::newRow("comma only in tab mode") << QStringLiteral("a.mp3,b.mp3") << int(ListSeparator::Tab);
    QTest::newRow("tab only in comma mode") << QStringLiteral("a.mp3\tb.mp3") << int(ListSeparator::Comma);
    QTest::newRow("no separator") << QStringLiteral("a.mp3") << int(ListSeparator::Comma);
}

void RenameListTest::skippedLines()
{
    QFETCH(QString, line);
    QFETCH(int, separator);
    RenamePair pair{QStringLiteral("untouched"), QString()};
    QCOMPARE(CRenameList::ParseRenameLine(line, ListSeparator(separator), pair), int(CRenameList::Skipped));
}

void RenameListTest::extensionRules_data()
{
    QTest::addColumn<QString>("oldName");
    QTest::addColumn<QString>("newName");
    QTest::addColumn<QString>("expected");
    QTest::newRow("takes old extension") << "x.mp3" << "y" << "y.mp3";
    QTest::newRow("lower-cased") << "a.MP3" << "b" << "b.mp3";
    QTest::newRow("different extension kept") << "a.mp3" << "b.wma" << "b.wma.mp3";
    QTest::newRow("equal ignoring case") << "a.mp3" << "B.MP3" << "B.MP3";
    QTest::newRow("old without extension") << "readme" << "readme.txt" << "readme.txt";
    QTest::newRow("neither has extension") << "readme" << "README" << "README";
    QTest::newRow("non-ASCII extension folds") << "a.ÄÖ" << "b" << "b.äö";
    QTest::newRow("dot file") << ".bashrc" << "x" << "x.bashrc";
}

void RenameListTest::extensionRules()
{
    QFETCH(QString, oldName);
    QFETCH(QString, newName);
    QFETCH(QString, expected);
    const RenamePair pair = parse(oldName + '\t' + newName, ListSeparator::Tab);
    QCOMPARE(pair.oldName, oldName);
    QCOMPARE(pair.newName, expected);
}

void RenameListTest::commaModeSplitsAtFirstComma()
{
    const RenamePair pair = parse(QStringLiteral("a.mp3,b,c.mp3"), ListSeparator::Comma);
    QCOMPARE(pair.oldName, QStringLiteral("a.mp3"));
    QCOMPARE(pair.newName, QStringLiteral("b,c.mp3"));
    // In tab mode a tab after the first stays in the new name.
    QCOMPARE(parse(QStringLiteral("a\tb\tc"), ListSeparator::Tab).newName, QStringLiteral("b\tc"));
}

void RenameListTest::namesAreNotTrimmed()
{
    const RenamePair pair = parse(QStringLiteral(" a.mp3 \t\"b\".mp3"), ListSeparator::Tab);
    QCOMPARE(pair.oldName, QStringLiteral(" a.mp3 "));
    // "mp3 " with its space is another extension than "mp3": it is appended, space and all.
    QCOMPARE(pair.newName, QStringLiteral("\"b\".mp3.mp3 "));
}

void RenameListTest::onlyCarriageReturnLineFeedEndsLines()
{
    // Line feeds only: one single line, split at its first tab.
    const QByteArray unix = TestFiles::encode(QStringLiteral("a.mp3\tb.mp3\nc.mp3\td.mp3\n"), CodePage::Utf16LE);
    QCOMPARE(CRenameList::SplitLines(unix).size(), 1);
    const auto pairs = CRenameList::Parse(unix, ListSeparator::Tab);
    QCOMPARE(pairs.size(), size_t(1));
    QCOMPARE(pairs.front().oldName, QStringLiteral("a.mp3"));
    QCOMPARE(pairs.front().newName, QStringLiteral("b.mp3\nc.mp3\td.mp3\n.mp3"));

    // A lone CR stays inside; a final CR LF gives an empty last line that is skipped.
    const QByteArray mixed = utf16List({QStringLiteral("a\rb\tc"), QStringLiteral("d\te")});
    const QStringList lines = CRenameList::SplitLines(mixed);
    QCOMPARE(lines, (QStringList{QStringLiteral("a\rb\tc"), QStringLiteral("d\te"), QString()}));
    QCOMPARE(CRenameList::Parse(mixed, ListSeparator::Tab).size(), size_t(2));
    // Without a final line end the last line still counts.
    QCOMPARE(CRenameList::Parse(utf16List({QStringLiteral("d\te")}, false), ListSeparator::Tab).size(), size_t(1));
}

void RenameListTest::byteOrderMarkIsRemoved()
{
    // The mark is not part of the first old name, so that row can succeed.
    const QByteArray bytes = TestFiles::encode(QStringLiteral("a.mp3\tb\r\n#c\td\r\n"), CodePage::Utf16LE, true);
    const auto pairs = CRenameList::Parse(bytes, ListSeparator::Tab);
    QCOMPARE(pairs.size(), size_t(1));
    QCOMPARE(pairs.front().oldName, QStringLiteral("a.mp3"));
    QCOMPARE(pairs.front().newName, QStringLiteral("b.mp3"));
    // A comment right after the mark is a comment.
    const QByteArray comment = TestFiles::encode(QStringLiteral("#x\ty\r\n"), CodePage::Utf16LE, true);
    QVERIFY(CRenameList::Parse(comment, ListSeparator::Tab).empty());
}

void RenameListTest::encodings_data()
{
    const QString text = QStringLiteral("曲.mp3\t新しい曲\r\n# コメント\r\nb.mp3\tc\r\n");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("encoding");
    QByteArray utf16be("\xFE\xFF", 2);
    utf16be += CodePage::fromUnicode(text, CodePage::Utf16BE);
    QTest::newRow("FF FE") << TestFiles::encode(text, CodePage::Utf16LE, true) << int(ListEncoding::Utf16LE);
    QTest::newRow("FE FF") << utf16be << int(ListEncoding::Utf16BE);
    QTest::newRow("EF BB BF") << TestFiles::encode(text, CodePage::Utf8, true) << int(ListEncoding::Utf8);
    QTest::newRow("UTF-8 without mark") << TestFiles::encode(text, CodePage::Utf8) << int(ListEncoding::Utf8);
    QTest::newRow("UTF-16LE without mark") << TestFiles::encode(text, CodePage::Utf16LE) << int(ListEncoding::Utf16LE);
}

void RenameListTest::encodings()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, encoding);
    QCOMPARE(int(CRenameList::DetectEncoding(bytes)), encoding);
    const auto pairs = CRenameList::Parse(bytes, ListSeparator::Tab);
    QCOMPARE(pairs.size(), size_t(2));
    QCOMPARE(pairs[0].oldName, QStringLiteral("曲.mp3"));
    QCOMPARE(pairs[0].newName, QStringLiteral("新しい曲.mp3"));
    QCOMPARE(pairs[1].oldName, QStringLiteral("b.mp3"));
    QCOMPARE(pairs[1].newName, QStringLiteral("c.mp3"));
}

void RenameListTest::utf8LineEnds()
{
    // LF alone ends a line, CR LF too (the CR is not part of the name); a lone CR stays.
    const QByteArray bytes = QStringLiteral("a.mp3\tb\nc.mp3\td\r\ne\rf.mp3\tg\n\n").toUtf8();
    const QStringList lines = CRenameList::SplitLines(bytes);
    QCOMPARE(lines, (QStringList{"a.mp3\tb", "c.mp3\td", "e\rf.mp3\tg", QString(), QString()}));
    const auto pairs = CRenameList::Parse(bytes, ListSeparator::Tab);
    QCOMPARE(pairs.size(), size_t(3));
    QCOMPARE(pairs[1].newName, QStringLiteral("d.mp3"));

    // Bytes that are not valid UTF-8 (Shift_JIS here) or that hold a NUL stay UTF-16LE.
    QCOMPARE(CRenameList::DetectEncoding(TestFiles::encode(QStringLiteral("曲\t歌\n"), 932)), ListEncoding::Utf16LE);
    QCOMPARE(CRenameList::DetectEncoding(QByteArray("a\tb\n\0", 5)), ListEncoding::Utf16LE);
    // An unmarked UTF-16LE list keeps "only CR LF ends a line" (see onlyCarriageReturnLineFeedEndsLines).
    QCOMPARE(CRenameList::DetectEncoding(QByteArray()), ListEncoding::Utf8);
}

void RenameListTest::emptyNewNameStaysEmpty()
{
    // "p3.txt<TAB>" once became the hidden ".txt"; now the run refuses the empty name.
    const RenamePair pair = parse(QStringLiteral("p3.txt\t"), ListSeparator::Tab);
    QCOMPARE(pair.oldName, QStringLiteral("p3.txt"));
    QCOMPARE(pair.newName, QString());
}

void RenameListTest::oddLastByteIgnored()
{
    QByteArray bytes = utf16List({QStringLiteral("a\tb")}, false);
    bytes.append('\x41');
    const QStringList lines = CRenameList::SplitLines(bytes);
    QCOMPARE(lines, QStringList{QStringLiteral("a\tb")});
}

void RenameListTest::nulEndsTheLine()
{
    const QByteArray bytes = utf16List({QStringLiteral("a.mp3\tb") + QChar(0) + QStringLiteral("/../x"),
                                        QStringLiteral("c") + QChar(0) + QStringLiteral("\td")});
    const auto pairs = CRenameList::Parse(bytes, ListSeparator::Tab);
    QCOMPARE(pairs.size(), size_t(1));
    QCOMPARE(pairs.front().newName, QStringLiteral("b.mp3"));
}

void RenameListTest::otherEncodingYieldsNothingUsable()
{
    // Shift_JIS is not valid UTF-8 and is read as UTF-16: no tab and no CR LF unit, no pair.
    const QString text = QStringLiteral("曲.mp3\t新しい曲.mp3\r\nb.mp3\tc.mp3\r\n");
    QVERIFY(CRenameList::Parse(TestFiles::encode(text, 932), ListSeparator::Tab).empty());
}

void RenameListTest::fileThatCannotBeRead()
{
    TempFolder folder;
    QVERIFY(!CRenameList::ReadFile(folder.file(QStringLiteral("missing.txt")), ListSeparator::Tab));
    QVERIFY(!CRenameList::ReadFile(folder.path(), ListSeparator::Tab));   // a folder
}

void RenameListTest::emptyFile()
{
    TempFolder folder;
    const QString path = folder.write(QStringLiteral("empty.txt"), QByteArray());
    const auto pairs = CRenameList::ReadFile(path, ListSeparator::Tab);
    QVERIFY(pairs.has_value());
    QVERIFY(pairs->empty());
}

SONAVEL_TEST_MAIN(RenameListTest)
#include "RenameListTest.moc"
