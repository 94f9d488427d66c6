// The demo library the build writes, read the way the player reads it: tracks that decode and
// last 30 to 60 s, tags in Japanese and English, lyrics from a .kra, an enhanced .lrc and the tag,
// timed within the track, and the covers.

#include "player/karaoke/KaraokeBlock.h"
#include "player/karaoke/KaraokeData.h"
#include "player/library/TagFrame.h"
#include "player/library/TagRecord.h"
#include "tests/support/TestMain.h"

#include <QImage>
#include <QProcess>

namespace {

const QString kFolder = QStringLiteral(SONAVEL_DEMO_FOLDER);

// Decodes the whole file with ffmpeg; its length in seconds, or -1 when decoding reported errors.
double DecodedSeconds(const QString& path)
{
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"), {"-v", "error", "-i", path, "-f", "null", "-"});
    if (!ffmpeg.waitForFinished(60000) || ffmpeg.exitCode() != 0 || !ffmpeg.readAllStandardError().isEmpty())
        return -1;
    QProcess probe;
    probe.start(QStringLiteral("ffprobe"), {"-v", "error", "-show_entries", "format=duration", "-of", "csv=p=0", path});
    return probe.waitForFinished(30000) ? probe.readAllStandardOutput().trimmed().toDouble() : -1;
}

struct Timing {
    int blocks = 0;
    LyricTime first = 0;
    LyricTime last = 0;
    bool ordered = true;
};

Timing TimingOf(const CKaraokeData& lyrics)
{
    Timing timing;
    for (const CKaraokeBlock* block = lyrics.FirstBlock(); block; block = block->Next()) {
        if (timing.blocks++ == 0)
            timing.first = block->StartTime();
        timing.ordered = timing.ordered && block->StartTime() >= timing.last;
        timing.last = block->StartTime();
    }
    return timing;
}

} // namespace

class DemoLibraryTest : public QObject
{
    Q_OBJECT
private slots:
    void everyTrack_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("lyrics");
        QTest::addColumn<bool>("pictureInTag");
        QTest::addColumn<QString>("title");
        QTest::newRow("kra, cover in the tag") << "01 さくらさくら" << "kra" << true << "さくらさくら (Sakura Sakura)";
        QTest::newRow("enhanced lrc") << "02 メリーさんのひつじ" << "lrc" << false << "メリーさんのひつじ (Mary Had a Little Lamb)";
        QTest::newRow("lyrics in the tag") << "03 きらきら星" << "tag" << false << "きらきら星 (Twinkle, Twinkle, Little Star)";
    }
    void everyTrack()
    {
        QFETCH(QString, name);
        QFETCH(QString, lyrics);
        QFETCH(bool, pictureInTag);
        QFETCH(QString, title);
        const QString track = kFolder + '/' + name + ".mp3";
        const double seconds = DecodedSeconds(track);
        QVERIFY2(seconds >= 30 && seconds <= 60, qPrintable(QString::number(seconds)));

        CTagRecord tag;
        tag.read(kFolder, name + ".mp3");
        QCOMPARE(tag.titleText(932), title);
        QCOMPARE(tag.albumText(932), QStringLiteral("Sonavel デモ (Sonavel Demo)"));
        QVERIFY(tag.artistText(932).contains(u'('));
        QCOMPARE(tag.pictureFrame() != nullptr, pictureInTag);
        if (pictureInTag) {
            const std::optional<TagPicture> picture = tag.pictureFrame()->picture(932);
            QVERIFY(picture);
            QVERIFY(!QImage::fromData(picture->Image, "JPG").isNull());
        }

        CKaraokeData document;
        const std::optional<QString> file = CKaraokeData::FindKaraokeFile(track);
        QCOMPARE(file.has_value(), lyrics != "tag");
        int codePage = 932;
        if (file) {
            QVERIFY(file->endsWith('.' + lyrics));
            QVERIFY(document.ReadKaraokeFile(*file, codePage));
            QCOMPARE(codePage, lyrics == "kra" ? 0 : 65001); // UTF-16 with its mark, UTF-8
            QCOMPARE(document.Format.IsLrc(), lyrics == "lrc");
        } else {
            QVERIFY(tag.lyricsFrame());
            QVERIFY(document.ParseKaraokeText(tag.lyricsFrame()->decodeLyrics(932)));
        }
        const Timing timing = TimingOf(document);
        QVERIFY(timing.ordered);
        QVERIFY2(timing.blocks >= 10, qPrintable(QString::number(timing.blocks)));
        QVERIFY(timing.first < 5000);
        QVERIFY(timing.last > 15000 && timing.last < seconds * 1000);
        if (lyrics == "lrc") // word times: more blocks than lines
            QVERIFY(timing.blocks > document.KaraokeText().count(u'\n') * 2);
    }

    void folderCover()
    {
        const QImage cover(kFolder + "/cover.png");
        QVERIFY(!cover.isNull());
        QVERIFY(cover.width() >= 200 && cover.width() == cover.height());
    }
};

SONAVEL_TEST_MAIN(DemoLibraryTest)
#include "DemoLibraryTest.moc"
