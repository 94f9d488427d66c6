// Text classes and decoders of single ID3v2 frames.
#include "player/library/TagFrame.h"
#include "tests/support/Id3Writer.h"
#include "tests/support/TestMain.h"

using namespace Id3Writer;

namespace {

const QString kJapanese = QStringLiteral("夜空の歌");
const QString kNonBmp = QStringLiteral("Song \U0001F3B5");

TagFrame frame(const char* id, const QByteArray& data)
{
    return TagFrame(id, 0, data);
}

} // namespace

class TagFrameTest : public QObject
{
    Q_OBJECT
private slots:
    void textClasses_data();
    void textClasses();
    void textsInEveryEncoding_data();
    void textsInEveryEncoding();
    void textEndsAtFirstNul();
    void shortFramesGiveEmptyText();
    void lyricsInEveryEncoding_data();
    void lyricsInEveryEncoding();
    void lyricsLineEndsBecomeCrLf();
    void lyricsNeedTerminatedDescriptorAndMark();
    void lyricsOnlyFromLyricsFrames();
    void picturesInEveryEncoding_data();
    void picturesInEveryEncoding();
    void pictureOfVersion22();
    void pictureStringsMustEndInsideFrame();
};

void TagFrameTest::textClasses_data()
{
    QTest::addColumn<QByteArray>("id");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("textClass");
    QTest::newRow("8-bit") << QByteArray("TIT2") << QByteArray("\0abc", 4) << int(TagFrame::EightBitText);
    QTest::newRow("utf16 le") << QByteArray("TPE1") << QByteArray("\x01\xFF\xFE", 3) << int(TagFrame::Utf16LittleEndianText);
    QTest::newRow("utf16 be") << QByteArray("TT2") << QByteArray("\x01\xFE\xFF", 3) << int(TagFrame::Utf16BigEndianText);
    QTest::newRow("utf16 no mark") << QByteArray("TALB") << QByteArray("\x01\x00\x41", 3) << int(TagFrame::UndecodableText);
    QTest::newRow("utf16 cut") << QByteArray("TALB") << QByteArray("\x01\xFF", 2) << int(TagFrame::UndecodableText);
    QTest::newRow("utf16be no mark") << QByteArray("TRCK") << QByteArray("\x02\x00\x41", 3) << int(TagFrame::Utf16BigEndianNoMarkText);
    QTest::newRow("utf8") << QByteArray("TIT2") << QByteArray("\x03" "A", 2) << int(TagFrame::Utf8Text);
    QTest::newRow("bad encoding") << QByteArray("TIT2") << QByteArray("\x04" "A", 2) << int(TagFrame::UndecodableText);
    QTest::newRow("lyrics") << QByteArray("USLT") << QByteArray("\0eng", 4) << int(TagFrame::LyricsFrame);
    QTest::newRow("lyrics 2.2") << QByteArray("ULT") << QByteArray("\0eng", 4) << int(TagFrame::LyricsFrame);
    QTest::newRow("picture") << QByteArray("APIC") << QByteArray("\0", 1) << int(TagFrame::OtherFrame);
    QTest::newRow("empty") << QByteArray("TIT2") << QByteArray() << int(TagFrame::NoData);
}

void TagFrameTest::textClasses()
{
    QFETCH(QByteArray, id);
    QFETCH(QByteArray, data);
    QFETCH(int, textClass);
    QCOMPARE(int(TagFrame(id.toStdString(), 0, data).textClass()), textClass);
}

void TagFrameTest::textsInEveryEncoding_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("codePage");
    QTest::addColumn<QString>("expected");
    QTest::newRow("shift-jis") << textData(Latin1, kJapanese, 932) << 932 << kJapanese;
    QTest::newRow("cp1252") << textData(Latin1, QStringLiteral("Café"), 1252) << 1252 << QStringLiteral("Café");
    // The same bytes read with another page give that page's characters.
    QTest::newRow("cp1252 as 1251") << textData(Latin1, QStringLiteral("\u00E9"), 1252) << 1251 << QStringLiteral("\u0439");
    QTest::newRow("utf16 le ignores page") << textData(Utf16, kNonBmp) << 932 << kNonBmp;
    QTest::newRow("utf16 be") << textData(Utf16, kJapanese, 0, true) << 1252 << kJapanese;
    QTest::newRow("utf16be without mark") << textData(Utf16BigEndian, kJapanese) << 1252 << kJapanese;
    QTest::newRow("utf8") << textData(Utf8, kJapanese) << 1252 << kJapanese;
    QTest::newRow("utf8 with mark") << QByteArray("\x03\xEF\xBB\xBFok") << 1252 << QStringLiteral("ok");
    QTest::newRow("utf16 odd byte dropped") << QByteArray("\x01\xFF\xFE" "A\0B", 6) << 1252 << QStringLiteral("A");
}

void TagFrameTest::textsInEveryEncoding()
{
    QFETCH(QByteArray, data);
    QFETCH(int, codePage);
    QFETCH(QString, expected);
    QCOMPARE(frame("TIT2", data).decodeText(codePage), expected);
}

void TagFrameTest::textEndsAtFirstNul()
{
    // Version 2.4 separates several values by NUL; the first one is the text.
    QCOMPARE(frame("TPE1", textData(Latin1, QStringLiteral("One")) + '\0' + "Two").decodeText(1252), QStringLiteral("One"));
    QCOMPARE(frame("TPE1", textData(Utf16, QStringLiteral("One")) + QByteArray("\0\0T\0", 4)).decodeText(1252),
             QStringLiteral("One"));
    QCOMPARE(frame("TPE1", textData(Utf16BigEndian, QStringLiteral("One")) + QByteArray("\0\0\0T", 4)).decodeText(1252),
             QStringLiteral("One"));
    QCOMPARE(frame("TPE1", textData(Utf8, QStringLiteral("Üne")) + '\0' + "Two").decodeText(1252), QStringLiteral("Üne"));
}

void TagFrameTest::shortFramesGiveEmptyText()
{
    QVERIFY(frame("TIT2", QByteArray("\0", 1)).decodeText(1252).isEmpty());
    QVERIFY(frame("TIT2", QByteArray("\x01\xFF\xFE", 3)).decodeText(1252).isEmpty());
    QVERIFY(frame("TIT2", QByteArray("\x01\xFF\xFE" "A", 4)).decodeText(1252).isEmpty());
    QVERIFY(frame("TIT2", QByteArray("\x02", 1)).decodeText(1252).isEmpty());
    QVERIFY(frame("TIT2", QByteArray()).decodeText(1252).isEmpty());
    // Encoding 1 without a byte-order mark stays undecodable.
    QVERIFY(frame("TIT2", QByteArray("\x01" "A\0B\0", 5)).decodeText(1252).isEmpty());
}

void TagFrameTest::lyricsInEveryEncoding_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("expected");
    const QString text = QStringLiteral("一行目\r\nsecond line");
    QTest::newRow("shift-jis") << lyricsData(Latin1, "jpn", QStringLiteral("説明"), text, 932) << text;
    QTest::newRow("utf16 le") << lyricsData(Utf16, "jpn", QStringLiteral("desc"), text) << text;
    QTest::newRow("utf16 be") << QByteArray("\x01jpn") + encodeString(Utf16, QStringLiteral("d"), true, 0, true) +
                                     encodeString(Utf16, text, false, 0, true)
                              << text;
    QTest::newRow("utf16be without mark") << lyricsData(Utf16BigEndian, "jpn", QStringLiteral("desc"), text) << text;
    QTest::newRow("utf8") << lyricsData(Utf8, "jpn", QStringLiteral("desc"), text) << text;
    QTest::newRow("empty descriptor") << lyricsData(Utf8, "jpn", QString(), text) << text;
}

void TagFrameTest::lyricsInEveryEncoding()
{
    QFETCH(QByteArray, data);
    QFETCH(QString, expected);
    QString language;
    QCOMPARE(frame("USLT", data).decodeLyrics(932, &language), expected);
    QCOMPARE(language, QStringLiteral("jpn"));
}

void TagFrameTest::lyricsLineEndsBecomeCrLf()
{
    const TagFrame lf = frame("USLT", lyricsData(Latin1, "eng", {}, QStringLiteral("a\nb\rc\r\nd\n\n")));
    QCOMPARE(lf.decodeLyrics(1252), QStringLiteral("a\r\nb\r\nc\r\nd\r\n\r\n"));
    const TagFrame utf16 = frame("ULT", lyricsData(Utf16, "eng", {}, QStringLiteral("x\ny")));
    QCOMPARE(utf16.decodeLyrics(1252), QStringLiteral("x\r\ny"));
}

void TagFrameTest::lyricsNeedTerminatedDescriptorAndMark()
{
    // No terminator after the descriptor.
    QVERIFY(frame("USLT", QByteArray("\0engdescriptor", 14)).decodeLyrics(1252).isEmpty());
    QVERIFY(frame("USLT", QByteArray("\x01" "eng\xFF\xFE" "d\0", 8)).decodeLyrics(1252).isEmpty());
    // Encoding 1 text without its byte-order mark.
    QVERIFY(frame("USLT", QByteArray("\x01" "eng\xFF\xFE\0\0" "t\0", 10)).decodeLyrics(1252).isEmpty());
    // Too short for encoding and language.
    QString language = QStringLiteral("unchanged");
    QVERIFY(frame("USLT", QByteArray("\0en", 3)).decodeLyrics(1252, &language).isEmpty());
    QCOMPARE(language, QStringLiteral("unchanged"));
    QVERIFY(frame("USLT", QByteArray("\x01" "eng\xFF", 5)).decodeLyrics(1252).isEmpty());
}

void TagFrameTest::lyricsOnlyFromLyricsFrames()
{
    QVERIFY(frame("COMM", lyricsData(Latin1, "eng", {}, QStringLiteral("text"))).decodeLyrics(1252).isEmpty());
    QVERIFY(frame("TIT2", textData(Latin1, QStringLiteral("text"))).decodeLyrics(1252).isEmpty());
}

void TagFrameTest::picturesInEveryEncoding_data()
{
    QTest::addColumn<int>("encoding");
    QTest::addColumn<QString>("description");
    QTest::newRow("latin") << int(Latin1) << QStringLiteral("Front");
    QTest::newRow("utf16") << int(Utf16) << kJapanese;
    QTest::newRow("utf16be") << int(Utf16BigEndian) << kJapanese;
    QTest::newRow("utf8") << int(Utf8) << kJapanese;
    QTest::newRow("utf16 empty") << int(Utf16) << QString();
}

void TagFrameTest::picturesInEveryEncoding()
{
    QFETCH(int, encoding);
    QFETCH(QString, description);
    // Image bytes that begin with zeros must not be taken for a terminator.
    const QByteArray image("\0\0\xFF\xD8\xFF\xE0jpeg-ish\0", 15);
    const TagFrame apic = frame("APIC", pictureData(TextEncoding(encoding), "image/jpeg", 3, description, image));
    const auto picture = apic.picture(1252);
    QVERIFY(picture.has_value());
    QCOMPARE(picture->MimeType, QStringLiteral("image/jpeg"));
    QCOMPARE(picture->PictureType, 3);
    QCOMPARE(picture->Description, description);
    QCOMPARE(picture->Image.toByteArray(), image);
    // The bytes stay inside the frame's own data.
    QVERIFY(picture->Image.data() >= apic.Data.constData());
    QCOMPARE(picture->Image.data() + picture->Image.size(), apic.Data.constData() + apic.Data.size());
}

void TagFrameTest::pictureOfVersion22()
{
    const TagFrame pic = frame("PIC", picture22Data(Latin1, "PNG", 0, QStringLiteral("cover"), "\x89PNG"));
    const auto picture = pic.picture(1252);
    QVERIFY(picture.has_value());
    QCOMPARE(picture->MimeType, QStringLiteral("PNG"));
    QCOMPARE(picture->PictureType, 0);
    QCOMPARE(picture->Description, QStringLiteral("cover"));
    QCOMPARE(picture->Image.toByteArray(), QByteArray("\x89PNG"));
    // Without image bytes the picture is there with an empty image.
    const auto empty = frame("PIC", picture22Data(Latin1, "JPG", 3, {}, {})).picture(1252);
    QVERIFY(empty.has_value());
    QVERIFY(empty->Image.isEmpty());
}

void TagFrameTest::pictureStringsMustEndInsideFrame()
{
    QVERIFY(!frame("APIC", QByteArray()).picture(1252));
    QVERIFY(!frame("APIC", QByteArray("\0image/jpeg", 11)).picture(1252));
    QVERIFY(!frame("APIC", QByteArray("\0image/jpeg\0", 12)).picture(1252));     // no picture type
    QVERIFY(!frame("APIC", QByteArray("\0image/jpeg\0\x03" "desc", 17)).picture(1252));
    QVERIFY(!frame("APIC", QByteArray("\x01image/png\0\x03\xFF\xFE" "d\0\0", 16)).picture(1252)); // no NUL unit
    QVERIFY(!frame("PIC", QByteArray("\0JP", 3)).picture(1252));
    QVERIFY(!frame("PIC", QByteArray("\0JPG", 4)).picture(1252));
    QVERIFY(!frame("PIC", QByteArray("\0JPG\x03" "desc", 9)).picture(1252));
}

SONAVEL_TEST_MAIN(TagFrameTest)
#include "TagFrameTest.moc"
