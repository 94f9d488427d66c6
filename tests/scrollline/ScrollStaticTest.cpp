#include "tests/karaoke/KaraokeTestSupport.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include "platform/profile/Profile.h"
#include "player/settings/ProfileHelpers.h"
#include "player/widgets/ScrollStatic.h"

#include <QElapsedTimer>
#include <QFontMetrics>
#include <QImage>

namespace {

constexpr char kSection[] = "CScrollStatic";
constexpr COLORREF kTitle = RGB(128, 128, 0);
constexpr COLORREF kData = RGB(0, 255, 0);
constexpr COLORREF kSung = RGB(0, 255, 255);
constexpr COLORREF kUnsung = RGB(255, 255, 255);
constexpr COLORREF kCenterLine = RGB(0, 255, 0);

// The client area of the line as painted.
QImage Client(CScrollStatic& line)
{
    return line.grab(line.contentsRect()).toImage();
}

// The columns of a picture in which the colour appears exactly (glyph edges blend; their inside
// has the colour itself).
QList<int> ColumnsWith(const QImage& image, COLORREF colour)
{
    const QRgb wanted = ToQColor(colour).rgb();
    QList<int> columns;
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 0; y < image.height(); ++y) {
            if ((image.pixel(x, y) & 0xFFFFFF) == (wanted & 0xFFFFFF)) {
                columns.append(x);
                break;
            }
        }
    }
    return columns;
}

bool AnyColumnIn(const QList<int>& columns, int from, int to)
{
    return std::any_of(columns.begin(), columns.end(), [&](int x) { return x >= from && x < to; });
}

int Width(const QFont& font, const QString& text)
{
    return QFontMetrics(font).horizontalAdvance(text);
}

QFont TitleFont(const CScrollStatic& line)
{
    LogFont font;
    COLORREF colour = 0;
    line.GetTitleFont(font, colour);
    return font.toQFont();
}

QFont DataFont(const CScrollStatic& line)
{
    LogFont font;
    COLORREF colour = 0;
    line.GetDataFont(font, colour);
    return font.toQFont();
}

CScrollStatic::ShowFlags Only(CScrollStatic::Item item)
{
    CScrollStatic::ShowFlags flags{};
    flags[item] = true;
    return flags;
}

} // namespace

// The scrolling information line: its settings, the information face's speeds, cycles and
// folding, the karaoke face's centre line and colours, and the smooth lyric clock.
class ScrollStaticTest : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_folder = std::make_unique<TempFolder>();
        Profile::setPath(m_folder->file("sonavel.ini"));
    }

    void cleanup() { m_folder.reset(); }

    void defaultsAreReadAndWrittenBack()
    {
        {
            CScrollStatic line;
            QCOMPARE(line.GetScrollSpeed(), 1);
            QCOMPARE(line.GetShowFlags(), (CScrollStatic::ShowFlags{false, true, true, true, false}));
            QCOMPARE(line.GetBackColor(), RGB(0, 0, 0));
            QCOMPARE(line.GetCenterLineColor(), kCenterLine);
            LogFont font;
            COLORREF colour = 0;
            COLORREF unsung = 0;
            line.GetTitleFont(font, colour);
            QCOMPARE(colour, kTitle);
            QCOMPARE(font.lfFaceName, QStringLiteral("ＭＳ Ｐゴシック"));
            QCOMPARE(int(font.lfCharSet), 128);
            QCOMPARE(int(font.lfPitchAndFamily), 50);
            QCOMPARE(font.lfHeight, -12);
            QCOMPARE(font.lfWeight, 400);
            line.GetDataFont(font, colour);
            QCOMPARE(colour, kData);
            QCOMPARE(font.lfFaceName, QStringLiteral("Tahoma"));
            QCOMPARE(int(font.lfCharSet), 222);
            QCOMPARE(int(font.lfPitchAndFamily), 34);
            QCOMPARE(font.lfHeight, -16);
            QCOMPARE(font.lfWeight, 700);
            line.GetKaraokeFont(font, colour, unsung);
            QCOMPARE(colour, kSung);
            QCOMPARE(unsung, kUnsung);
            QCOMPARE(font.lfHeight, -16);
            QCOMPARE(font.lfWeight, 400);

            line.SetBackColor(RGB(1, 2, 3));
            line.SetShowFlags({true, false, true, false, true});
            QVERIFY(line.SetScrollSpeed(4));
            font.lfHeight = -20;
            line.SetKaraokeFont(font, RGB(9, 9, 9), RGB(8, 8, 8));
        }
        const QString section = QString::fromLatin1(kSection);
        QCOMPARE(GetProfileString(section, "BackColor", ""), QStringLiteral("1,2,3"));
        QCOMPARE(GetProfileString(section, "TitleTextColor", ""), QStringLiteral("128,128,0"));
        QCOMPARE(GetProfileString(section, "KaraokeTextColor0", ""), QStringLiteral("9,9,9"));
        QCOMPARE(GetProfileString(section, "CenterLinePenColor", ""), QStringLiteral("0,255,0"));
        QCOMPARE(GetProfileInt(section, "ScrollSpeed", 0), 4);
        QCOMPARE(GetProfileInt(section, "ShowFileName", -1), 1);
        QCOMPARE(GetProfileInt(section, "ShowTitle", -1), 0);
        QCOMPARE(GetProfileInt("CScrollStatic_KaraokeFont", "lfHeight", 0), -20);
        QCOMPARE(GetProfileString("CScrollStatic_DataFont", "lfFaceName", ""), QStringLiteral("Tahoma"));

        CScrollStatic again;
        QCOMPARE(again.GetBackColor(), RGB(1, 2, 3));
        QCOMPARE(again.GetScrollSpeed(), 4);
        QCOMPARE(again.GetShowFlags(), (CScrollStatic::ShowFlags{true, false, true, false, true}));
    }

    void storedSpeedOutsideTheRangeIsOne_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("speed");
        QTest::newRow("1") << "1" << 1;
        QTest::newRow("5") << "5" << 5;
        QTest::newRow("0") << "0" << 1;
        QTest::newRow("6") << "6" << 1;
        QTest::newRow("-3") << "-3" << 1;
        QTest::newRow("text") << "fast" << 1;
    }

    void storedSpeedOutsideTheRangeIsOne()
    {
        QFETCH(QString, stored);
        QFETCH(int, speed);
        WriteProfileString(kSection, "ScrollSpeed", stored);
        CScrollStatic line;
        QCOMPARE(line.GetScrollSpeed(), speed);
        // The settings dialog's speed is taken only from 1 to 5.
        QVERIFY(!line.SetScrollSpeed(0));
        QVERIFY(!line.SetScrollSpeed(6));
        QCOMPARE(line.GetScrollSpeed(), speed);
    }

    void speedMovesOnePixelPerInterval_data()
    {
        QTest::addColumn<int>("speed");
        QTest::addColumn<int>("interval");
        QTest::newRow("1") << 1 << 100;
        QTest::newRow("3") << 3 << 60;
        QTest::newRow("5") << 5 << 20;
    }

    void speedMovesOnePixelPerInterval()
    {
        QFETCH(int, speed);
        QFETCH(int, interval);
        CScrollStatic line;
        QCOMPARE(CScrollStatic::StepInterval(speed), interval);
        line.resize(300, 24);
        // One cycle far wider than the distance scrolled, so no cycle is folded away.
        line.SetTexts({QString(), QString(200, QChar('W')), QString(), QString(), QString()});
        QVERIFY(line.SetScrollSpeed(speed));
        line.show();
        // The real millisecond clock, read through the test so that the times of the first and
        // the last tick are known exactly however the machine schedules the test.
        QElapsedTimer measured;
        measured.start();
        qint64 lastRead = 0;
        line.SetMillisecondSource([&] { return lastRead = measured.elapsed(); });
        line.Tick(0);
        const qint64 firstTick = lastRead;
        const int first = line.ScrollOffset();
        while (measured.elapsed() < firstTick + 1000) {
            line.Tick(0);
            QTest::qWait(7);
        }
        line.Tick(0);
        const qint64 elapsed = lastRead - firstTick;
        const int pixels = first - line.ScrollOffset();
        // The first tick left less than one interval over, which may complete one more step.
        const qint64 expected = elapsed / interval;
        QVERIFY2(pixels == expected || pixels == expected + 1,
                 qPrintable(QStringLiteral("%1 px in %2 ms").arg(pixels).arg(elapsed)));
    }

    void remainderCarriesOver()
    {
        CScrollStatic line;
        qint64 now = 1000;
        line.SetMillisecondSource([&now] { return now; });
        line.SetTexts({QString(), QString(100, QChar('W')), QString(), QString(), QString()});
        now += 99; // speed 1: 100 ms per pixel
        line.Tick(0);
        QCOMPARE(line.ScrollOffset(), 0);
        now += 1;
        line.Tick(0);
        QCOMPARE(line.ScrollOffset(), -1);
        now += 250;
        line.Tick(0);
        QCOMPARE(line.ScrollOffset(), -3);
        now += 50; // with the 50 ms left over from before
        line.Tick(0);
        QCOMPARE(line.ScrollOffset(), -4);
    }

    void cyclesScrolledOutAreFolded_data()
    {
        QTest::addColumn<int>("fromEnd");
        QTest::addColumn<int>("expected"); // offset, relative to a cycle's width when negative
        // The cycle's last item ends `fromEnd` pixels right of the left edge.
        QTest::newRow("last item still in view") << 1 << -1;
        QTest::newRow("last item at the edge") << 0 << -1;
        QTest::newRow("just out") << -1 << 19;
        QTest::newRow("gap out too") << -20 << 0;
    }

    void cyclesScrolledOutAreFolded()
    {
        QFETCH(int, fromEnd);
        QFETCH(int, expected);
        CScrollStatic line;
        qint64 now = 0;
        line.SetMillisecondSource([&now] { return now; });
        line.SetTexts({QString(), QStringLiteral("Song"), QString(), QString(), QString()});
        const int cycle = line.CycleWidth();
        QCOMPARE(cycle, Width(TitleFont(line), "Title:") + Width(DataFont(line), "Song") + 30);
        // The items of a cycle end 20 pixels before the cycle does.
        const int steps = cycle - 20 - fromEnd;
        now = qint64(steps) * 100;
        line.Tick(0);
        QCOMPARE(line.ScrollOffset(), expected == -1 ? -steps : expected);
    }

    void fileNameAloneScrolls()
    {
        CScrollStatic line;
        line.resize(600, 26);
        line.SetTexts({QStringLiteral("song.mp3"), QStringLiteral("Title"), QStringLiteral("Artist"),
                       QStringLiteral("Album"), QStringLiteral("7")});
        line.SetShowFlags(Only(CScrollStatic::ItemFileName));
        const int label = Width(TitleFont(line), "FileName:");
        const int value = Width(DataFont(line), "song.mp3");
        QCOMPARE(line.CycleWidth(), label + value + 30);
        const QImage picture = Client(line);
        const QList<int> titles = ColumnsWith(picture, kTitle);
        const QList<int> data = ColumnsWith(picture, kData);
        QVERIFY(AnyColumnIn(titles, 0, label));
        QVERIFY(AnyColumnIn(data, label, label + value));
        // Nothing in the gap between the cycles.
        QVERIFY(!AnyColumnIn(titles + data, label + value + 1, label + value + 29));
    }

    void shortTextIsRepeatedToFillTheLine()
    {
        CScrollStatic line;
        line.resize(500, 26);
        line.SetTexts({QString(), QStringLiteral("ab"), QString(), QString(), QString()});
        const int label = Width(TitleFont(line), "Title:");
        const int value = Width(DataFont(line), "ab");
        const int cycle = line.CycleWidth();
        QVERIFY(cycle * 3 < 500);
        const QImage picture = Client(line);
        const QList<int> titles = ColumnsWith(picture, kTitle);
        const QList<int> data = ColumnsWith(picture, kData);
        int cycles = 0;
        for (int start = 0; start + label + value < 500; start += cycle, ++cycles) {
            QVERIFY2(AnyColumnIn(titles, start, start + label), qPrintable(QString::number(start)));
            QVERIFY2(AnyColumnIn(data, start + label, start + label + value), qPrintable(QString::number(start)));
        }
        QVERIFY(cycles >= 3);
        // Texts stand on a line 3 pixels above the bottom: nothing in the last three rows.
        for (int y = picture.height() - 3; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                QCOMPARE(picture.pixelColor(x, y), QColor(Qt::black));
    }

    void withoutShowFlagsOnlyTheBackground()
    {
        CScrollStatic line;
        line.resize(300, 26);
        line.SetBackColor(RGB(10, 20, 30));
        line.SetTexts({QStringLiteral("a.mp3"), QStringLiteral("t"), QStringLiteral("a"), QStringLiteral("b"), "1"});
        line.SetShowFlags({});
        const QImage picture = Client(line);
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                QCOMPARE(picture.pixelColor(x, y), ToQColor(RGB(10, 20, 30)));
    }

    void karaokeFaceKeepsTheSingingPointAtTheCentre()
    {
        CScrollStatic line;
        line.resize(400, 30);
        const QString path = WriteLyrics(QStringLiteral("[00:01:00]■■■■[00:03:00]■■■■"));
        int codePage = 932;
        QVERIFY(line.LoadLyrics(path, codePage, 5.0));
        QCOMPARE(codePage, 0);
        QVERIFY(!line.ShowsKaraokeFace());
        line.SetKaraokeLine(true);
        QVERIFY(line.ShowsKaraokeFace());
        const int center = line.CenterX();
        QCOMPARE(center, line.contentsRect().width() / 2);
        const int width = KaraokeWidth(line, QStringLiteral("■■■■"));

        // At the block's start its first character stands at the centre line, all unsung.
        line.Tick(1.0);
        QCOMPARE(line.CurrentLine().startX, center);
        QImage picture = Client(line);
        QVERIFY(ColumnsWith(picture, kSung).isEmpty());
        QList<int> unsung = ColumnsWith(picture, kUnsung);
        QVERIFY(!unsung.isEmpty());
        QVERIFY2(unsung.first() >= center && unsung.first() < center + 4, qPrintable(QString::number(unsung.first())));
        QCOMPARE(picture.pixelColor(center, 0), ToQColor(kCenterLine));
        QCOMPARE(picture.pixelColor(center, picture.height() - 1), ToQColor(kCenterLine));

        // Half way through, half of it has passed the line in the sung colour.
        line.Tick(2.0);
        QCOMPARE(line.CurrentLine().startX, center - width / 2);
        picture = Client(line);
        const QList<int> sung = ColumnsWith(picture, kSung);
        unsung = ColumnsWith(picture, kUnsung);
        QVERIFY(!sung.isEmpty() && !unsung.isEmpty());
        QVERIFY(sung.last() < center);
        QVERIFY(sung.first() >= center - width / 2 && sung.first() < center - width / 2 + 4);
        QVERIFY(unsung.first() >= center);

        // At its end the next block starts at the centre line.
        line.Tick(3.0);
        QCOMPARE(line.CurrentLine().block->StartTime(), 3000u);
        QCOMPARE(line.CurrentLine().startX, center);
        picture = Client(line);
        QVERIFY(ColumnsWith(picture, kSung).last() < center);
        QVERIFY(ColumnsWith(picture, kSung).first() >= center - width);
        QVERIFY(ColumnsWith(picture, kUnsung).first() >= center);
    }

    void beforeTheFirstBlockTheLineWaitsAtTheCentre_data()
    {
        QTest::addColumn<double>("seconds");
        QTest::addColumn<int>("progress"); // share of the first block passed, in hundredths
        QTest::newRow("clock -1000") << 0.0 << 0;
        QTest::newRow("clock -500") << 0.5 << 0;
        QTest::newRow("clock 0") << 1.0 << 0;
        QTest::newRow("clock 1000") << 2.0 << 50;
    }

    void beforeTheFirstBlockTheLineWaitsAtTheCentre()
    {
        QFETCH(double, seconds);
        QFETCH(int, progress);
        CScrollStatic line;
        line.resize(400, 30);
        int codePage = 932;
        QVERIFY(line.LoadLyrics(WriteLyrics(QStringLiteral("@Offset=-1000\r\n■■■■[00:02:00]■■")), codePage, 10));
        line.SetKaraokeLine(true);
        line.Tick(seconds);
        const CScrollStatic::LinePosition position = line.CurrentLine();
        QCOMPARE(position.block, line.Data().FirstBlock());
        QCOMPARE(position.startX, line.CenterX() - position.block->TextWidth * progress / 100);
    }

    void repaintsOnlyWhenTheLineMovesByAPixel()
    {
        CScrollStatic line;
        line.resize(400, 30);
        int codePage = 932;
        QVERIFY(line.LoadLyrics(WriteLyrics(QStringLiteral("[00:01:00]■■■■[00:09:00]■■■■")), codePage, 10));
        line.SetKaraokeLine(true);
        line.show();
        QVERIFY(QTest::qWaitForWindowExposed(&line));
        PaintCounter counter;
        line.installEventFilter(&counter);
        line.Tick(2.0);
        QTRY_VERIFY(counter.paints > 0);
        counter.paints = 0;
        // 8 s for one block: a millisecond moves it by far less than a pixel.
        line.Tick(2.001);
        line.Tick(2.0015);
        QTest::qWait(50);
        QCOMPARE(counter.paints, 0);
        line.Tick(3.0);
        QTRY_VERIFY(counter.paints > 0);
        QVERIFY(!line.IsAnimating()); // not playing: the line stands
    }

    void whilePlayingTheLineRunsOnBetweenTicks()
    {
        CScrollStatic line;
        line.resize(400, 30);
        int codePage = 932;
        QVERIFY(line.LoadLyrics(WriteLyrics(QStringLiteral("[00:01:00]■■■■■■■■[00:03:00]■■")), codePage, 10));
        line.SetKaraokeLine(true);
        line.show();
        QVERIFY(QTest::qWaitForWindowExposed(&line));
        line.Tick(1.0, true);
        QVERIFY(line.IsAnimating());
        const int start = line.CurrentLine().startX;
        QTest::qWait(400);
        // No tick came, yet the clock went on about 400 ms of 2000: about a fifth of the block.
        const int moved = start - line.CurrentLine().startX;
        const int width = line.CurrentLine().block->TextWidth;
        QVERIFY2(moved >= width / 10 && moved <= width / 2, qPrintable(QStringLiteral("%1 of %2").arg(moved).arg(width)));
        // Paused: the line stops with the engine.
        line.Tick(1.4, false);
        QVERIFY(!line.IsAnimating());
        // Playing again it runs on, until the information face takes the line's place.
        line.Tick(1.4, true);
        QVERIFY(line.IsAnimating());
        line.SetKaraokeLine(false);
        QVERIFY(!line.IsAnimating());
    }

    void unreadableOrBackwardLyricsLeaveTheInformationFace_data()
    {
        QTest::addColumn<QString>("text"); // empty: no file at all
        QTest::newRow("missing file") << QString();
        QTest::newRow("tags run backwards") << QStringLiteral("a[00:02:00]b[00:01:00]c");
    }

    void unreadableOrBackwardLyricsLeaveTheInformationFace()
    {
        QFETCH(QString, text);
        CScrollStatic line;
        int codePage = 932;
        QVERIFY(line.LoadLyrics(WriteLyrics(QStringLiteral("[00:01:00]good")), codePage, 10));
        line.SetKaraokeLine(true);
        QVERIFY(line.ShowsKaraokeFace());
        const QString path = text.isEmpty() ? m_folder->file("none.kra") : WriteLyrics(text);
        QVERIFY(!line.LoadLyrics(path, codePage, 10));
        QVERIFY(!line.HasLyrics());
        QVERIFY(!line.ShowsKaraokeFace());
        QVERIFY(line.IsKaraokeLine());
    }

    void doubleClickTogglesTheFaces()
    {
        CScrollStatic line;
        line.resize(300, 26);
        line.show();
        QVERIFY(QTest::qWaitForWindowExposed(&line));
        QVERIFY(!line.IsKaraokeLine());
        QTest::mouseDClick(&line, Qt::LeftButton);
        QVERIFY(line.IsKaraokeLine());
        QTest::mouseDClick(&line, Qt::LeftButton);
        QVERIFY(!line.IsKaraokeLine());
    }

private:
    QString WriteLyrics(const QString& text)
    {
        return m_folder->write(QStringLiteral("lyrics%1.kra").arg(++m_files), TestFiles::encode(text, 1200, true));
    }

    static int KaraokeWidth(const CScrollStatic& line, const QString& text)
    {
        LogFont font;
        COLORREF sung = 0;
        COLORREF unsung = 0;
        line.GetKaraokeFont(font, sung, unsung);
        return Width(font.toQFont(), text);
    }

    std::unique_ptr<TempFolder> m_folder;
    int m_files = 0;
};

SONAVEL_TEST_MAIN(ScrollStaticTest)
#include "ScrollStaticTest.moc"
