#include "tests/karaoke/KaraokeTestSupport.h"
#include "tests/lyrics/LyricBlocks.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include "common/ui/StringTable.h"
#include "platform/profile/Profile.h"
#include "player/karaoke/KaraokeInlineEdit.h"
#include "player/karaoke/KaraokeStatic.h"
#include "player/karaoke/KaraokeStrings.h"
#include "player/settings/ProfileHelpers.h"

#include <QTest>

#include <climits>
#include <memory>

using namespace KaraokeTest;
using Hit = CKaraokeStatic::Hit;
using State = CKaraokeStatic::BlockState;

namespace {

// Three timed blocks of solid squares (their inside has the exact text colour) after an empty
// leading block: 1 s, 2 s and 3 s, the last ending with the duration of 4 s.
const QString kThreeBlocks = QStringLiteral("[00:01:00]■■■■ [00:02:00]■■■■ [00:03:00]■■■■");

QRect WordRect(const CKaraokeStatic& display, int block, int token)
{
    return WidgetRectOf(display, Hit{LyricBlocks::at(display.Data(), block), token});
}

// A client point in the middle of an item's rectangle.
QPoint Middle(const CKaraokeStatic& display, const Hit& item)
{
    return display.ClientRectOf(item).center();
}

} // namespace

class KaraokeStaticTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TempFolder> m_folder;
    std::unique_ptr<CKaraokeStatic> m_display;

    CKaraokeStatic& Display(const QString& text, double duration, QSize size = QSize(600, 200))
    {
        m_display = std::make_unique<CKaraokeStatic>();
        m_display->resize(size);
        m_display->LoadFromText(text, duration);
        return *m_display;
    }

    void OpenAndType(CKaraokeStatic& display, const Hit& item, const QString& text)
    {
        QVERIFY(display.OpenInlineEdit(item));
        QVERIFY(display.InlineEdit());
        display.InlineEdit()->setText(text);
        QTest::keyClick(display.InlineEdit(), Qt::Key_Return);
    }

private slots:
    void init()
    {
        m_folder = std::make_unique<TempFolder>();
        Profile::setPath(m_folder->file("test.ini"));
    }

    void cleanup()
    {
        m_display.reset();
    }

    void coloursFollowTheClock_data()
    {
        QTest::addColumn<double>("position");
        QTest::addColumn<QList<quint32>>("colours"); // of blocks 1, 2, 3
        QTest::newRow("before every tag") << 0.5 << QList<quint32>{Unsung, Unsung, Unsung};
        QTest::newRow("second block sung over") << 2.999 << QList<quint32>{Sung, Sung, Unsung};
        QTest::newRow("last block past the duration") << 4.5 << QList<quint32>{Sung, Sung, Sung};
    }

    void coloursFollowTheClock()
    {
        QFETCH(double, position);
        QFETCH(QList<quint32>, colours);
        CKaraokeStatic& display = Display(kThreeBlocks, 4.0);
        display.SetPosition(position);
        const QImage image = Grab(display);
        for (int block = 1; block <= 3; ++block) {
            const Colours found = ColoursIn(image, WordRect(display, block, 0));
            QVERIFY2(found.Only(colours[block - 1]), qPrintable(QStringLiteral("block %1").arg(block)));
        }
    }

    void wipeSplitsTheWord_data()
    {
        QTest::addColumn<double>("position");
        QTest::addColumn<double>("share");
        QTest::newRow("a quarter") << 2.25 << 0.25;
        QTest::newRow("half") << 2.5 << 0.5;
        QTest::newRow("nine tenths") << 2.9 << 0.9;
    }

    void wipeSplitsTheWord()
    {
        QFETCH(double, position);
        QFETCH(double, share);
        CKaraokeStatic& display = Display(kThreeBlocks, 4.0);
        display.SetPosition(position);
        const CKaraokeBlock* block = LyricBlocks::at(display.Data(), 2);
        int wipe = -1;
        QCOMPARE(display.StateAt(block, display.LyricClockMs(), &wipe), State::Current);
        QCOMPARE(wipe, int(share * block->TextWidth));
        const QImage image = Grab(display);
        const QRect word = WordRect(display, 2, 0);
        const QRect sungPart(word.left(), word.top(), wipe, word.height());
        const QRect rest(word.left() + wipe, word.top(), word.width() - wipe, word.height());
        QVERIFY(ColoursIn(image, sungPart).Only(Sung));
        QVERIFY(ColoursIn(image, rest).Only(Unsung));
    }

    void blockTurnsCurrentWithOffsetAndRatio_data()
    {
        QTest::addColumn<QString>("header");
        QTest::addColumn<double>("turn");
        QTest::newRow("offset 500 ms") << QStringLiteral("@Offset=500\r\n") << 9.5;
        QTest::newRow("ratio 2.0") << QStringLiteral("@TimeRatio=2.0\r\n") << 5.0;
        QTest::newRow("negative offset") << QStringLiteral("@Offset=-2000\r\n") << 12.0;
    }

    void blockTurnsCurrentWithOffsetAndRatio()
    {
        QFETCH(QString, header);
        QFETCH(double, turn);
        CKaraokeStatic& display = Display(header + QStringLiteral("[00:10:00]■■■■■■■■"), 30.0);
        const CKaraokeBlock* block = LyricBlocks::at(display.Data(), 1);
        display.SetPosition(turn - 0.01);
        QCOMPARE(display.StateAt(block, display.LyricClockMs()), State::Unsung);
        display.SetPosition(turn);
        QCOMPARE(display.LyricClockMs(), 10000.0);
        QCOMPARE(display.StateAt(block, display.LyricClockMs()), State::Current);
        display.SetPosition(turn + 1.0);
        const QImage image = Grab(display);
        const QRect word = WordRect(display, 1, 0);
        QVERIFY(ColoursIn(image, word.adjusted(0, 0, -word.width() / 2, 0)).sung);
        QVERIFY(ColoursIn(image, word.adjusted(word.width() / 2, 0, 0, 0)).Only(Unsung));
    }

    void clockBeforeTheFirstBlockShowsNoError()
    {
        CKaraokeStatic& display = Display(QStringLiteral("@Offset=-5000\r\n■■ [00:01:00]■■ [00:02:00]■■"), 3.0);
        display.SetPosition(0.5);
        QVERIFY(display.LyricClockMs() < 0);
        const QImage image = Grab(display);
        for (int block = 0; block <= 2; ++block)
            QVERIFY(ColoursIn(image, WordRect(display, block, 0)).Only(Unsung));
    }

    void errorsAndTagsInEditMode()
    {
        // The block at 2 s comes before one at 1 s: the first ends before it starts (error); the
        // second starts earlier than its predecessor, so its tag sits on the error colour.
        CKaraokeStatic& display = Display(QStringLiteral("■■ [00:02:00]■■ [00:01:00]■■ [00:03:00]■■"), 4.0);
        display.SetMode(CKaraokeStatic::ModeEdit);
        display.SetPosition(3.5);
        const QImage image = Grab(display);
        QVERIFY(ColoursIn(image, WordRect(display, 1, 0)).Only(Err));
        QVERIFY(ColoursIn(image, WordRect(display, 2, 0)).Only(Sung));
        const Colours current = ColoursIn(image, WordRect(display, 3, 0));
        QVERIFY(current.sung && current.unsung && !current.err);
        QVERIFY(ColoursIn(image, WordRect(display, 0, -1)).Only(Tag));
        const Colours outOfOrderTag = ColoursIn(image, WordRect(display, 2, -1));
        QVERIFY(outOfOrderTag.tag && outOfOrderTag.err);
        QVERIFY(ColoursIn(image, WordRect(display, 3, -1)).Only(Tag));
        // The error block's tag is on the error colour too (it starts after its end).
        QVERIFY(ColoursIn(image, WordRect(display, 1, -1)).err);
    }

    void zeroLengthAndUnknownDuration()
    {
        // No duration known: the last block ends at 0 and is an error.
        CKaraokeStatic& display = Display(QStringLiteral("[00:01:00]■■ [00:01:00]■■ [00:02:00]■■"), 0);
        display.SetPosition(1.0);
        const QImage image = Grab(display);
        // A block of no length is wholly sung at its start; the block after it starts there.
        QVERIFY(ColoursIn(image, WordRect(display, 1, 0)).Only(Sung));
        QVERIFY(ColoursIn(image, WordRect(display, 2, 0)).Only(Unsung));
        QVERIFY(ColoursIn(image, WordRect(display, 3, 0)).Only(Err));
    }

    void tagsTakeRoomOnlyInEditMode()
    {
        CKaraokeStatic& display = Display(QStringLiteral("[00:01:00]■■ [00:02:00]■■\r\n[00:03:00]■■"), 4.0);
        const CKaraokeBlock* first = LyricBlocks::at(display.Data(), 1);
        const int viewWidth = display.ContentSize().width();
        QCOMPARE(first->Tokens[0].LayoutRect.left(), 0);
        QVERIFY(LyricBlocks::at(display.Data(), 0)->TagRect.isEmpty());
        QVERIFY(first->TagRect.isEmpty());
        QVERIFY(!ColoursIn(Grab(display), display.contentsRect()).tag);

        display.SetMode(CKaraokeStatic::ModeEdit);
        const int tagWidth = first->TagRect.width();
        QVERIFY(tagWidth > 0);
        QCOMPARE(first->Tokens[0].LayoutRect.left(), tagWidth);
        // The empty leading block at 0 still has no tag.
        QVERIFY(LyricBlocks::at(display.Data(), 0)->TagRect.isEmpty());
        QCOMPARE(display.ContentSize().width(), viewWidth + 2 * tagWidth);
        QVERIFY(ColoursIn(Grab(display), WordRect(display, 1, -1)).Only(Tag));
    }

    void hitTestingWithMargins_data()
    {
        QTest::addColumn<int>("token");  // word whose edge is probed
        QTest::addColumn<bool>("leftEdge");
        QTest::addColumn<int>("distance"); // pixels outside the word
        QTest::addColumn<int>("expected"); // token hit, -2 for none
        // Block: "■■ " "■■" / "■■" with tokens 0, 1, 2 (line break), 3.
        QTest::newRow("left margin of the line's first word") << 0 << true << 3 << 0;
        QTest::newRow("beyond it") << 0 << true << 4 << -2;
        QTest::newRow("right margin before a line break") << 1 << false << 3 << 1;
        QTest::newRow("beyond that margin") << 1 << false << 4 << -2;
        QTest::newRow("left margin after a line break") << 3 << true << 2 << 3;
        QTest::newRow("right of the block's last word") << 3 << false << 1 << -2;
    }

    void hitTestingWithMargins()
    {
        QFETCH(int, token);
        QFETCH(bool, leftEdge);
        QFETCH(int, distance);
        QFETCH(int, expected);
        // View mode, so that the first line starts at the left edge (no tag in front).
        CKaraokeStatic& display = Display(QStringLiteral("[00:01:00]■■ ■■\r\n■■"), 4.0, QSize(300, 100));
        CKaraokeBlock* block = LyricBlocks::at(display.Data(), 1);
        const QRect rect = display.ClientRectOf(Hit{block, token});
        const QPoint point(leftEdge ? rect.left() - distance : rect.right() + distance, rect.center().y());
        const auto hit = display.HitTest(point);
        if (expected == -2) {
            QVERIFY(!hit);
        } else {
            QVERIFY(hit);
            QCOMPARE(*hit, (Hit{block, expected}));
        }
    }

    void hitTestingFindsTagsFirst()
    {
        CKaraokeStatic& display = Display(QStringLiteral("■■[00:01:00]■■"), 4.0);
        display.SetMode(CKaraokeStatic::ModeEdit);
        for (int block = 0; block <= 1; ++block) {
            const Hit tag{LyricBlocks::at(display.Data(), block), -1};
            QCOMPARE(display.HitTest(Middle(display, tag)), tag);
        }
        QVERIFY(!display.HitTest(QPoint(590, 150)));
    }

    void tagStepsByHundredMilliseconds_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("up");
        QTest::addColumn<int>("expected"); // -1: not a whole tag, nothing happens
        QTest::newRow("up from 9950") << "[00:09:95]" << true << 10000;
        QTest::newRow("down from 10000") << "[00:10:00]" << false << 9900;
        QTest::newRow("down from 10050") << "[00:10:05]" << false << 10000;
        QTest::newRow("up from a multiple") << "[01:00:00]" << true << 60100;
        QTest::newRow("down from 0 stays 0") << "[00:00:00]" << false << 0;
        QTest::newRow("down from 50 to 0") << "[00:00:05]" << false << 0;
        QTest::newRow("short tag") << "[00:10]" << true << 10100;
        QTest::newRow("tag and text") << "[00:10:00]x" << true << -1;
        QTest::newRow("no tag") << "abc" << false << -1;
    }

    void tagStepsByHundredMilliseconds()
    {
        QFETCH(QString, text);
        QFETCH(bool, up);
        QFETCH(int, expected);
        const auto stepped = CKaraokeInlineEdit::SteppedTagTime(text, up);
        QCOMPARE(stepped.has_value(), expected >= 0);
        if (stepped)
            QCOMPARE(int(*stepped), expected);

        // The same through the keys of a real box.
        CKaraokeStatic& display = Display(QStringLiteral("x[00:05:00]y"), 10.0);
        display.SetMode(CKaraokeStatic::ModeEdit);
        QVERIFY(display.OpenInlineEdit(Hit{LyricBlocks::at(display.Data(), 1), -1}));
        CKaraokeInlineEdit* box = display.InlineEdit();
        box->setText(text);
        QTest::keyClick(box, up ? Qt::Key_Up : Qt::Key_Down);
        QCOMPARE(box->text(), expected >= 0 ? CKaraokeBlock::FormatTagText(LyricTime(expected)) : text);
        if (expected >= 0)
            QCOMPARE(box->selectedText(), box->text());
    }

    void inlineEditAppliesTagsAndWords()
    {
        CKaraokeStatic& display = Display(QStringLiteral("a [00:02:00]b c"), 10.0);
        display.SetMode(CKaraokeStatic::ModeEdit);
        CKaraokeBlock* second = LyricBlocks::at(display.Data(), 1);

        // The box sits over the item, 6 pixels wider each side and 3 higher, with all selected.
        QVERIFY(display.OpenInlineEdit(Hit{second, -1}));
        CKaraokeInlineEdit* box = display.InlineEdit();
        QCOMPARE(box->objectName(), QStringLiteral("id51432"));
        QCOMPARE(box->geometry(), WordRect(display, 1, -1).adjusted(-6, -3, 6, 3));
        QCOMPARE(box->selectedText(), QStringLiteral("[00:02:00]"));
        QCOMPARE(display.GetMode(), int(CKaraokeStatic::ModeInlineEdit));
        box->setText(QStringLiteral("[00:03:50]ignored"));
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(display.GetMode(), int(CKaraokeStatic::ModeEdit));
        QCOMPARE(second->StartTime(), LyricTime(3500));
        QVERIFY(display.IsModified());

        // A word's text is replaced as it stands, not split again.
        OpenAndType(display, Hit{second, 1}, QStringLiteral("long er "));
        QCOMPARE(LyricBlocks::tokens(display.Data()), (QStringList{"0:\"a \"", "3500:\"b \"\"long er \""}));
        QCOMPARE(second->Tokens[1].Width, QFontMetrics(display.LyricFont()).horizontalAdvance("long er "));

        // Escape closes without applying.
        QVERIFY(display.OpenInlineEdit(Hit{second, 0}));
        display.InlineEdit()->setText(QStringLiteral("zzz"));
        QTest::keyClick(display.InlineEdit(), Qt::Key_Escape);
        QCOMPARE(display.GetMode(), int(CKaraokeStatic::ModeEdit));
        QCOMPARE(second->Tokens[0].Text(), QStringLiteral("b "));
    }

    void tagBoxKeepsTheDocumentsNotation_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("typed");   // empty: Enter on the text as shown
        QTest::addColumn<int>("time");
        QTest::addColumn<QString>("stepped"); // the shown tag after Up
        QTest::newRow("LRC milliseconds, unchanged") << "[00:12.345]a\n" << "[00:12.345]" << QString() << 12345
                                                    << "[00:12.400]";
        QTest::newRow("LRC hundredths, unchanged") << "[00:12.34]a\n" << "[00:12.34]" << QString() << 12340 << "[00:12.40]";
        QTest::newRow("own notation typed into LRC") << "[00:12.34]a\n" << "[00:12.34]" << "[00:13:50]" << 13500
                                                     << "[00:12.40]";
        QTest::newRow("LRC notation typed into own") << "x[00:12:34]a" << "[00:12:34]" << "[00:13.50]" << 13500
                                                     << "[00:12:40]";
        QTest::newRow("own, unchanged") << "x[00:12:34]a" << "[00:12:34]" << QString() << 12340 << "[00:12:40]";
    }

    void tagBoxKeepsTheDocumentsNotation()
    {
        QFETCH(QString, text);
        QFETCH(QString, shown);
        QFETCH(QString, typed);
        QFETCH(int, time);
        QFETCH(QString, stepped);
        CKaraokeStatic& display = Display(text, 20.0);
        display.SetMode(CKaraokeStatic::ModeEdit);
        const Hit tag{LyricBlocks::at(display.Data(), 1), -1};
        QVERIFY(display.OpenInlineEdit(tag));
        QCOMPARE(display.InlineEdit()->text(), shown);
        QTest::keyClick(display.InlineEdit(), Qt::Key_Up);
        QCOMPARE(display.InlineEdit()->text(), stepped);
        QTest::keyClick(display.InlineEdit(), Qt::Key_Escape);
        OpenAndType(display, tag, typed.isEmpty() ? shown : typed);
        QCOMPARE(int(tag.block->StartTime()), time);
        QCOMPARE(display.IsModified(), !typed.isEmpty());
    }

    void emptyTagMergesOrZeroesTheLeadingBlock()
    {
        CKaraokeStatic& display = Display(QStringLiteral("a [00:02:00]b [00:04:00]c"), 10.0);
        display.SetMode(CKaraokeStatic::ModeEdit);
        OpenAndType(display, Hit{LyricBlocks::at(display.Data(), 1), -1}, QString());
        QCOMPARE(LyricBlocks::tokens(display.Data()), (QStringList{"0:\"a \"\"b \"", "4000:\"c\""}));
        QVERIFY(display.IsModified());

        // The leading block has no block to join: its time becomes 0.
        OpenAndType(display, Hit{LyricBlocks::at(display.Data(), 0), -1}, QStringLiteral("[00:00:70]"));
        QCOMPARE(LyricBlocks::at(display.Data(), 0)->StartTime(), LyricTime(700));
        OpenAndType(display, Hit{LyricBlocks::at(display.Data(), 0), -1}, QString());
        QCOMPARE(LyricBlocks::tokens(display.Data()), (QStringList{"0:\"a \"\"b \"", "4000:\"c\""}));
    }

    void badTagKeepsTheBoxOpen()
    {
        RegisterKaraokeStrings();
        MessageBoxRecorder boxes(IDOK);
        CKaraokeStatic& display = Display(QStringLiteral("a [00:02:00]b"), 10.0);
        display.SetMode(CKaraokeStatic::ModeEdit);
        OpenAndType(display, Hit{LyricBlocks::at(display.Data(), 1), -1}, QStringLiteral("[0:02:00]"));
        QCOMPARE(boxes.count(), 1);
        QCOMPARE(boxes.prompts()[0].text, QStringLiteral("入力されたタイムタグの書式が正しくありません"));
        QCOMPARE(boxes.prompts()[0].caption, QStringLiteral("ApplyEdit()"));
        QCOMPARE(boxes.prompts()[0].flags, unsigned(MB_OK | MB_ICONINFORMATION));
        QCOMPARE(display.GetMode(), int(CKaraokeStatic::ModeInlineEdit));
        QVERIFY(display.InlineEdit());
        QCOMPARE(display.InlineEdit()->text(), QStringLiteral("[0:02:00]"));
        QVERIFY(!display.IsModified());
        // Put right, it applies.
        display.InlineEdit()->setText(QStringLiteral("[00:02:50]"));
        QTest::keyClick(display.InlineEdit(), Qt::Key_Enter);
        QCOMPARE(LyricBlocks::at(display.Data(), 1)->StartTime(), LyricTime(2500));
    }

    void splitIndexIsTheNearestBoundary()
    {
        CKaraokeStatic& display = Display(QStringLiteral("x"), 1.0);
        const QFontMetrics metrics(display.LyricFont());
        const QString word = QStringLiteral("ABCD");
        const int a = metrics.horizontalAdvance("A");
        const int ab = metrics.horizontalAdvance("AB");
        QCOMPARE(display.SplitIndexAt(word, 0), 0);
        QCOMPARE(display.SplitIndexAt(word, a / 2 - 1), 0);
        QCOMPARE(display.SplitIndexAt(word, a + 1), 1);
        QCOMPARE(display.SplitIndexAt(word, ab - 1), 2);
        QCOMPARE(display.SplitIndexAt(word, 1000), 4);
        // A character of no width after the boundary stays in front of it.
        QCOMPARE(display.SplitIndexAt(QStringLiteral("A\u200BBC"), a), 2);
        // A base letter and its combining mark are never cut apart.
        QVERIFY(display.SplitIndexAt(QStringLiteral("e\u0301e\u0301"), metrics.horizontalAdvance("e") - 1) != 1);
    }

    void positionUpdateRepaintsOnlyWhenTheWipeMoves()
    {
        CKaraokeStatic& display = Display(QStringLiteral("[00:01:00]■■■■■■■■■■ [00:11:00]■■"), 20.0);
        display.show();
        QVERIFY(QTest::qWaitForWindowExposed(&display));
        PaintCounter counter;
        display.installEventFilter(&counter);
        display.SetPosition(2.0);
        QCoreApplication::processEvents();
        const int afterFirst = counter.paints;
        QVERIFY(afterFirst >= 1);
        // 10 s for the block's width: a millisecond moves the wipe by less than a pixel.
        display.SetPosition(2.001);
        QCoreApplication::processEvents();
        QCOMPARE(counter.paints, afterFirst);
        display.SetPosition(3.0);
        QCoreApplication::processEvents();
        QCOMPARE(counter.paints, afterFirst + 1);
    }

    void smoothWipeRunsOnlyWhilePlaying()
    {
        CKaraokeStatic& display = Display(QStringLiteral("[00:01:00]■■■■■■■■■■ [00:11:00]■■"), 20.0);
        display.show();
        QVERIFY(QTest::qWaitForWindowExposed(&display));
        display.SetPosition(2.0, true);
        QVERIFY(display.IsAnimating());
        QTest::qWait(200);
        QVERIFY(display.WipePosition() >= 2.15);
        display.SetPosition(2.5, false);
        QVERIFY(!display.IsAnimating());
        QTest::qWait(50);
        QCOMPARE(display.WipePosition(), 2.5);
        // Past the end of the lyrics there is nothing to animate.
        display.SetPosition(25.0, true);
        QVERIFY(!display.IsAnimating());
        display.SetPosition(2.0, true);
        display.SetSmoothWipe(false);
        QVERIFY(!display.IsAnimating());
        display.SetSmoothWipe(true);
        QVERIFY(display.IsAnimating());
        display.hide();
        QVERIFY(!display.IsAnimating());
    }

    void settingsAreReadAndWritten()
    {
        WriteProfileString("CKaraokeStatic", "KaraokeTextColor0", "10,20");
        WriteProfileString("CKaraokeStatic_KaraokeFont", "lfFaceName", "NoSuchFace Sans");
        WriteProfileInt("CKaraokeStatic_KaraokeFont", "lfHeight", -24);
        {
            CKaraokeStatic display;
            LogFont font;
            COLORREF sung = 0, unsung = 0, tag = 0;
            display.GetFontAndColors(font, sung, unsung, tag);
            QCOMPARE(sung, RGB(10, 20, 0));
            QCOMPARE(unsung, Unsung);
            QCOMPARE(tag, Tag);
            QCOMPARE(display.GetBackColor(), Back);
            QCOMPARE(display.GetErrColor(), Err);
            QCOMPARE(font.lfFaceName, QStringLiteral("NoSuchFace Sans"));
            QCOMPARE(display.LyricFont().pixelSize(), 24);
            display.SetBackColor(RGB(1, 2, 3));
            display.SetErrColor(RGB(7, 8, 9));
            font.lfWeight = 700;
            display.SetFontAndColors(font, RGB(4, 5, 6), unsung, tag);
        }
        QCOMPARE(GetProfileString("CKaraokeStatic", "BackColor", {}), QStringLiteral("1,2,3"));
        QCOMPARE(GetProfileString("CKaraokeStatic", "KaraokeTextColor0", {}), QStringLiteral("4,5,6"));
        QCOMPARE(GetProfileString("CKaraokeStatic", "ErrColor", {}), QStringLiteral("7,8,9"));
        QCOMPARE(GetProfileString("CKaraokeStatic", "KaraokeTextColor2", {}), QStringLiteral("255,128,0"));
        QCOMPARE(GetProfileInt("CKaraokeStatic_KaraokeFont", "lfWeight", 0), 700);
    }

    void defaultFontIsTahomaSixteen()
    {
        CKaraokeStatic display;
        QCOMPARE(display.GetLogFont().lfHeight, -16);
        QCOMPARE(display.GetLogFont().lfFaceName, QStringLiteral("Tahoma"));
        QCOMPARE(display.GetLogFont().lfCharSet, uint8_t(222));
        QCOMPARE(display.GetLogFont().lfPitchAndFamily, uint8_t(34));
    }

    void loadResetsTheView()
    {
        CKaraokeStatic& display = Display(QStringLiteral("a [00:02:00]b"), 10.0);
        display.SetMode(CKaraokeStatic::ModeEdit);
        display.SetScrollOffset(QPoint(5, 7));
        OpenAndType(display, Hit{LyricBlocks::at(display.Data(), 1), -1}, QStringLiteral("[00:03:00]"));
        display.SetPosition(4.0);
        QVERIFY(display.IsModified());
        QVERIFY(!display.LoadFromText(QStringLiteral("[00:05:00]b[00:01:00]c"), 0));
        QCOMPARE(display.GetMode(), int(CKaraokeStatic::ModeView));
        QCOMPARE(display.GetScrollOffset(), QPoint(0, 0));
        QCOMPARE(display.LyricClockMs(), 0.0);
        QVERIFY(!display.IsModified());
        QCOMPARE(display.Margins(), QPoint(3, 3));
        // A duration of 0 keeps the one before.
        QCOMPARE(display.MediaDurationMs(), 10000.0);
        const QFontMetrics metrics(display.LyricFont());
        const int width = metrics.horizontalAdvance("b") + metrics.horizontalAdvance("c");
        QCOMPARE(display.ContentSize(), QSize(width + 6, metrics.height() + 6));
    }

    void badInputStaysUsable_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("position");
        QString manyBlocks;
        for (int i = 0; i < 100000; ++i)
            manyBlocks += CKaraokeBlock::FormatTagText(LyricTime(i) * 10) + (i % 20 == 19 ? "w\r\n" : "w ");
        QTest::newRow("100,000 blocks") << manyBlocks << 500.005;
        QTest::newRow("one word of 10,000 characters")
            << QStringLiteral("[00:01:00]") + QString(10000, QChar(0x3042)) << 5.5;
        QTest::newRow("tags running backwards") << QStringLiteral("[00:09:00]a[00:05:00]b[00:01:00]c") << 6.0;
    }

    void badInputStaysUsable()
    {
        QFETCH(QString, text);
        QFETCH(double, position);
        CKaraokeStatic& display = Display(text, 10.0);
        display.SetPosition(position);
        QVERIFY(display.ContentSize().width() > 0);
        QImage image = Grab(display);
        const Colours shown = ColoursIn(image, display.contentsRect());
        QVERIFY(shown.sung || shown.err);
        // Scrolled to the end in edit mode, the last word is drawn and found where it is drawn.
        display.SetMode(CKaraokeStatic::ModeEdit);
        display.SetScrollOffset(QPoint(display.ContentSize().width() - 300, display.ContentSize().height() - 100));
        CKaraokeBlock* last = LyricBlocks::at(display.Data(), BlockCount(display.Data()) - 1);
        int lastToken = int(last->Tokens.size()) - 1;
        while (last->Tokens[size_t(lastToken)].IsLineBreak())
            --lastToken;
        const Hit lastWord{last, lastToken};
        image = Grab(display);
        const Colours end = ColoursIn(image, WidgetRectOf(display, lastWord).intersected(display.contentsRect()));
        QVERIFY(end.sung || end.unsung || end.err);
        QCOMPARE(display.HitTest(display.ClientRectOf(lastWord).bottomRight() - QPoint(1, 1)), lastWord);
        display.SetPosition(position + 0.5);
        display.SetPosition(0);
        QVERIFY(!Grab(display).isNull());
    }

    void fontThatDoesNotExistStillPaints_data()
    {
        QTest::addColumn<QString>("face");
        QTest::addColumn<int>("height");
        QTest::newRow("unknown face") << QStringLiteral("No Such Font At All") << -20;
        QTest::newRow("empty face, no height") << QString() << 0;
        QTest::newRow("absurd height") << QStringLiteral("Tahoma") << INT_MIN;
        QTest::newRow("absurd cell height") << QStringLiteral("Tahoma") << INT_MAX;
    }

    void fontThatDoesNotExistStillPaints()
    {
        QFETCH(QString, face);
        QFETCH(int, height);
        CKaraokeStatic& display = Display(kThreeBlocks, 4.0);
        LogFont font = display.GetLogFont();
        font.lfFaceName = face;
        font.lfHeight = height;
        display.SetFontAndColors(font, Sung, Unsung, Tag);
        QVERIFY(display.LyricFont().pixelSize() <= 512);
        display.SetPosition(3.0);
        // The middle of the first (sung) word in the middle of the display.
        const QPoint middle = display.ClientRectOf(Hit{LyricBlocks::at(display.Data(), 1), 0}).center();
        const QPoint offset = middle - display.contentsRect().center();
        display.SetScrollOffset(QPoint(std::max(0, offset.x()), std::max(0, offset.y())));
        QVERIFY(ColoursIn(Grab(display), display.contentsRect()).sung);
    }
};

SONAVEL_TEST_MAIN(KaraokeStaticTest)
#include "KaraokeStaticTest.moc"
