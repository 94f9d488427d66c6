// The lyrics tracks carry in their tags, in every format the list plays: real files made by
// ffmpeg, tagged by TagLib, read by the own ID3v2 reader and the engine, chosen and read as lyrics.
#include "platform/engine/Media.h"
#include "player/karaoke/KaraokeData.h"
#include "player/library/SyltFrame.h"
#include "player/library/TagLyrics.h"
#include "player/library/TagRecord.h"
#include "tests/support/Id3Writer.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QFileInfo>
#include <QMap>
#include <QProcess>

#include <taglib/apetag.h>
#include <taglib/fileref.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/synchronizedlyricsframe.h>
#include <taglib/tpropertymap.h>
#include <taglib/unsynchronizedlyricsframe.h>

namespace {

// One lyric text for a tag: a property name, or for mp3 "USLT", "APE", or "SYLT-ms" / "SYLT-frames"
// whose text is "time text" entries separated by "|".
using Field = QPair<QString, QString>;

// One second of a tone in the format of the file's extension, encoded by ffmpeg without tags.
bool tone(const QString& path)
{
    const QString extension = QFileInfo(path).suffix();
    const QMap<QString, QString> codecs{
        {"flac", "flac"}, {"ogg", "libvorbis"}, {"opus", "libopus"}, {"m4a", "aac"}, {"mp3", "libmp3lame"}};
    QStringList arguments{"-v",
                          "error",
                          "-y",
                          "-f",
                          "lavfi",
                          "-i",
                          "sine=frequency=440:duration=1",
                          "-ar",
                          extension == "opus" ? "48000" : "44100",
                          "-c:a",
                          codecs.value(extension),
                          "-fflags",
                          "+bitexact"};
    if (extension == "mp3")
        arguments << "-id3v2_version"
                  << "0"
                  << "-write_xing"
                  << "0";
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg", arguments << path);
    return ffmpeg.waitForFinished(60000) && ffmpeg.exitStatus() == QProcess::NormalExit && ffmpeg.exitCode() == 0;
}

TagLib::String tagText(const QString& text)
{
    return TagLib::String(text.toStdString(), TagLib::String::UTF8);
}

TagLib::ID3v2::SynchronizedLyricsFrame* syltFrame(const QString& entries, bool frames)
{
    auto* frame = new TagLib::ID3v2::SynchronizedLyricsFrame(TagLib::String::UTF16);
    frame->setType(TagLib::ID3v2::SynchronizedLyricsFrame::Lyrics);
    frame->setTimestampFormat(frames ? TagLib::ID3v2::SynchronizedLyricsFrame::AbsoluteMpegFrames
                                     : TagLib::ID3v2::SynchronizedLyricsFrame::AbsoluteMilliseconds);
    TagLib::ID3v2::SynchronizedLyricsFrame::SynchedTextList list;
    for (const QString& entry : entries.split('|')) {
        const qsizetype space = entry.indexOf(' ');
        QString text = entry.mid(space + 1);
        text.replace(QLatin1String("\\n"), QLatin1String("\n"));
        list.append({entry.left(space).toUInt(), tagText(text)});
    }
    frame->setSynchedText(list);
    return frame;
}

bool tagMp3(const QString& path, const QList<Field>& fields)
{
    TagLib::MPEG::File file(path.toUtf8().constData());
    int tags = 0;
    for (const auto& [name, text] : fields) {
        if (name == "APE") {
            file.APETag(true)->addValue("Lyrics", tagText(text));
            tags |= TagLib::MPEG::File::APE;
            continue;
        }
        TagLib::ID3v2::Tag* id3 = file.ID3v2Tag(true);
        tags |= TagLib::MPEG::File::ID3v2;
        if (name == "USLT") {
            auto* frame = new TagLib::ID3v2::UnsynchronizedLyricsFrame(TagLib::String::UTF8);
            frame->setText(tagText(text));
            id3->addFrame(frame);
        } else {
            id3->addFrame(syltFrame(text, name == "SYLT-frames"));
        }
    }
    return file.save(tags, TagLib::File::StripNone, TagLib::ID3v2::v3);
}

// Other containers through TagLib's common property names ("LYRICS" is MP4's ©lyr atom).
bool tagFile(const QString& path, const QList<Field>& fields)
{
    if (path.endsWith(".mp3"))
        return tagMp3(path, fields);
    TagLib::FileRef file(path.toUtf8().constData());
    TagLib::PropertyMap properties = file.file()->properties();
    for (const auto& [key, text] : fields)
        properties[key.toStdString()].append(tagText(text));
    file.file()->setProperties(properties);
    return file.save();
}

// A SYLT frame's data up to its descriptor: the encoding, a language, millisecond times, lyrics.
QByteArray syltHeader(char encoding)
{
    return QByteArray(1, encoding) + QByteArray("jpn\x02\x01", 5);
}

// One entry: the text, its terminator (two bytes in UTF-16) and its time.
QByteArray entry(const QByteArray& text, quint32 time, bool wide = false)
{
    return text + QByteArray(wide ? 2 : 1, '\0') + char(time >> 24) + char(time >> 16) + char(time >> 8) + char(time);
}

// The blocks after the leading one: "time words" with "/" for a line break.
QString blocksOf(const QString& text)
{
    CKaraokeData data;
    data.ParseKaraokeText(text);
    QStringList blocks;
    for (const CKaraokeBlock* block = data.FirstBlock(); block; block = block->Next()) {
        QString words;
        for (const CKaraokeToken& token : block->Tokens)
            words += token.IsLineBreak() ? QStringLiteral("/") : token.Text();
        if (block->Previous() || !words.isEmpty())
            blocks << QString::number(block->StartTime()) + ' ' + words;
    }
    return blocks.join(" | ");
}

} // namespace

class EmbeddedLyricsTest : public QObject
{
    Q_OBJECT
private slots:
    void eachContainerSings_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QList<Field>>("fields");
        QTest::addColumn<QString>("blocks");
        const QString lrc = QStringLiteral("[00:01.00]春の<00:01.50>歌\n[00:03.00]夏");
        const QString sung = QStringLiteral("1000 春の | 1500 歌/ | 3000 夏");
        const QString plain = QStringLiteral("ただの歌詞\n二行目");
        QTest::newRow("FLAC LYRICS") << "a.flac" << QList<Field>{{"LYRICS", lrc}} << sung;
        QTest::newRow("Ogg syncedlyrics") << "a.ogg" << QList<Field>{{"syncedlyrics", lrc}} << sung;
        QTest::newRow("Opus UNSYNCEDLYRICS")
            << "a.opus" << QList<Field>{{"UNSYNCEDLYRICS", plain}} << QStringLiteral("0 ただの歌詞/二行目");
        QTest::newRow("MP4 ©lyr atom") << "a.m4a" << QList<Field>{{"LYRICS", lrc}} << sung;
        QTest::newRow("mp3 USLT") << "a.mp3" << QList<Field>{{"USLT", lrc}} << sung;
        QTest::newRow("mp3 SYLT ms, out of order, per syllable")
            << "a.mp3" << QList<Field>{{"SYLT-ms", "1500 の|1000 春|2000 歌|3000 \\n夏"}}
            << QStringLiteral("1000 春 | 1500 の | 2000 歌/ | 3000 夏");
        // 1152 samples at 44.1 kHz: frame 100 plays at 2612 ms.
        QTest::newRow("mp3 SYLT frames") << "a.mp3" << QList<Field>{{"SYLT-frames", "0 い|100 ろ"}}
                                         << QStringLiteral("0 い | 2612 ろ");
        QTest::newRow("mp3 APEv2") << "a.mp3" << QList<Field>{{"APE", lrc}} << sung;
        // Time-tagged text first, plain text after, else the first.
        QTest::newRow("FLAC plain LYRICS, LRC SYNCEDLYRICS")
            << "a.flac" << QList<Field>{{"LYRICS", plain}, {"SYNCEDLYRICS", lrc}} << sung;
        QTest::newRow("mp3 plain USLT, SYLT")
            << "a.mp3" << QList<Field>{{"USLT", plain}, {"SYLT-ms", "1000 春"}} << QStringLiteral("1000 春");
        QTest::newRow("mp3 plain USLT, LRC in APE") << "a.mp3" << QList<Field>{{"USLT", plain}, {"APE", lrc}} << sung;
        QTest::newRow("mp3 plain USLT, plain APE")
            << "a.mp3" << QList<Field>{{"USLT", plain}, {"APE", "別"}} << QStringLiteral("0 ただの歌詞/二行目");
    }

    void eachContainerSings()
    {
        QFETCH(QString, fileName);
        QFETCH(QList<Field>, fields);
        QFETCH(QString, blocks);
        TempFolder folder;
        const QString path = folder.file(fileName);
        QVERIFY(tone(path));
        QVERIFY(tagFile(path, fields));

        CTagRecord record;
        if (fileName.endsWith(".mp3"))
            QCOMPARE(record.read(folder.path(), fileName), int(CTagRecord::ReadOk));
        const MediaPtr media = Media::forFile(path);
        QVERIFY(TagLyrics::Has(&record, media.get()));
        const std::optional<QString> lyrics = TagLyrics::Choose(&record, media.get(), 932);
        QVERIFY(lyrics);
        QCOMPARE(blocksOf(*lyrics), blocks);
    }

    void badSyncedLyricsFrames_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("lrc"); // "-": no frame
        const QByteArray latin = syltHeader(0) + '\0';
        QTest::newRow("no entries") << syltHeader(3) + QByteArray("desc\0", 5) << QString();
        QTest::newRow("encoding byte 7") << syltHeader(7) + '\0' + entry("a", 1) << "-";
        QTest::newRow("header cut short") << QByteArray("\0jp", 3) << "-";
        QTest::newRow("last entry cut short") << latin + entry("a", 5) + QByteArray("b\0\0\0", 4) << "[00:00.005]a";
        QTest::newRow("time past any track") << latin + entry("a", 0xFFFFFFFF) << "[71582:47.295]a";
        QTest::newRow("code page text") << latin + entry(TestFiles::encode("歌", 932), 10) << "[00:00.010]歌";
        QTest::newRow("UTF-16 big-endian") << syltHeader(2) + QByteArray(2, '\0') + entry(QByteArray("\x6B\x4C", 2), 7, true)
                                           << "[00:00.007]歌";
        QTest::newRow("UTF-8") << syltHeader(3) + '\0' + entry("歌", 8) + entry("\n詞", 9) << "[00:00.008]歌\n[00:00.009]詞";
        // UTF-16: the byte-order mark of the first string counts for those without one.
        QTest::newRow("UTF-16 big-endian mark once")
            << syltHeader(1) + QByteArray("\xFE\xFF\0\0", 4) + entry(QByteArray("\xFE\xFF\0a", 4), 1, true) +
                   entry(QByteArray("\0b", 2), 2, true)
            << "[00:00.001]a<00:00.002>b";
    }

    void badSyncedLyricsFrames()
    {
        QFETCH(QByteArray, data);
        QFETCH(QString, lrc);
        const std::optional<CSyltFrame> sylt = CSyltFrame::Parse(TagFrame("SYLT", 0, data), 932);
        QCOMPARE(sylt.has_value(), lrc != "-");
        if (sylt)
            QCOMPARE(sylt->LrcText(26.0), lrc);
        // The row's lyric mark only for a frame that gives lyrics.
        CTagRecord record;
        record.FileFound = true;
        record.V2.Frames.emplace_back("SYLT", 0, data);
        QCOMPARE(TagLyrics::Has(&record, nullptr), lrc != "-" && !lrc.isEmpty());
    }

    void hundredThousandSyllablesStayInOrder()
    {
        QByteArray data = syltHeader(0) + '\0';
        for (quint32 i = 0; i < 100000; ++i)
            data += entry("la", (100000 - i) * 10); // written backwards
        const std::optional<CSyltFrame> sylt = CSyltFrame::Parse(TagFrame("SYLT", 0, data), 932);
        QVERIFY(sylt);
        CKaraokeData document;
        QVERIFY(document.ParseKaraokeText(sylt->LrcText(26.0))); // in order: never the error colour
        int blocks = 0;
        for (const CKaraokeBlock* block = document.FirstBlock(); block; block = block->Next())
            ++blocks;
        QCOMPARE(blocks, 100001);
        // The player keeps what fits its limit, cut where a syllable begins.
        const std::optional<QString> kept = TagLyrics::Preferred({sylt->LrcText(26.0)});
        QVERIFY(kept && kept->size() <= TagLyrics::MaxLength && kept->endsWith(u"la"));
    }
};

SONAVEL_TEST_MAIN(EmbeddedLyricsTest)
#include "EmbeddedLyricsTest.moc"
