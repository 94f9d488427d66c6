// Readings as the karaoke window and the stage view draw them: above their base, wiped with it
// or by their own times, the ルビ setting applied at once, the band deaf to edit clicks.
#include "tests/karaoke/KaraokeTestSupport.h"
#include "tests/lyrics/LyricBlocks.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include "platform/profile/Profile.h"
#include "player/karaoke/RubySetting.h"
#include "player/karaoke/stage/StageView.h"

#include <QScreen>
#include <QTest>

using namespace KaraokeTest;

namespace {

// Squares (their inside has the exact colour) under three half-size ones, sung from 1 s to 3 s;
// a header reading whose last two squares follow at 1.2 s; the first after words that take the
// stage's line onto two rows; a kanji the dictionary reads.
const QString kWritten = QStringLiteral("[00:01:00]｜■■《■■■》[00:03:00]");
const QString kTimed = QStringLiteral("[00:01:00]■■[00:03:00]\r\n@Ruby1=■■,■[00:00:20]■■");
const QString kWrapped = QStringLiteral("[00:00:10]") + QStringLiteral("■■■ ").repeated(10) + kWritten;
const QString kKanji = QStringLiteral("[00:01:00]空[00:03:00]");

} // namespace

class RubyDisplayTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempFolder> m_folder;
    std::unique_ptr<CKaraokeStatic> m_display;
    std::unique_ptr<CStageView> m_stage;
    QImage m_screen;    // as the wipe's repaints left it
    QRect m_word;       // the base: the last word shown
    int m_lineHeight = 0;

    // The face shown, the ルビ setting changed, and the wipe brought to `seconds` in steps as
    // frames bring it. False when the screen differs from a whole paint.
    bool Show(bool stage, const QString& lyrics, RubyMode mode, double seconds)
    {
        m_display = std::make_unique<CKaraokeStatic>();
        QWidget* widget = m_display.get();
        if (stage) {
            widget = (m_stage = std::make_unique<CStageView>()).get();
            m_stage->SetLook(m_display->GetLogFont(), m_display->Colours());
            m_stage->LoadFromText(lyrics, 4.0);
            m_stage->Enter(QGuiApplication::primaryScreen());
        } else {
            LogFont font = m_display->GetLogFont();
            font.lfHeight = -32; // kana with strokes of the exact colour
            m_display->SetFontAndColors(font, Sung, Unsung, Tag);
            m_display->LoadFromText(lyrics, 4.0);
            m_display->resize(300, 150);
            m_display->show();
        }
        if (!QTest::qWaitForWindowExposed(widget))
            return false;
        CRubySetting::Instance().SetMode(mode);
        QCoreApplication::processEvents();
        for (int step = 0; step <= 40; ++step)
            stage ? m_stage->SetPosition(seconds * step / 40, false) : m_display->SetPosition(seconds * step / 40);
        m_screen = QGuiApplication::primaryScreen()->grabWindow(widget->winId()).toImage();
        if (stage) {
            const auto& row = m_stage->PlacedSlot(0).rows.back();
            const QRect word = row.words.back().rect;
            m_word = QRect(CStageLayout::ScreenX(row, word.left()), word.top(), word.width(), word.height());
            m_lineHeight = row.rect.height();
        } else {
            m_word = WidgetRectOf(*m_display, {LyricBlocks::at(m_display->Data(), 1), 0});
            m_lineHeight = m_display->CurrentSpot()->line.height();
        }
        return m_screen == Grab(*widget);
    }

private slots:
    void init()
    {
        m_folder = std::make_unique<TempFolder>();
        Profile::setPath(m_folder->file("test.ini"));
    }

    void cleanup() { m_stage.reset(); }

    // The reading stands in a band right above its base, centred: its halves in the colours the
    // base's share (or its own times: the base a third sung, the reading half) gives; Back: none.
    void readingOverItsBase_data()
    {
        QTest::addColumn<bool>("stage");
        QTest::addColumn<QString>("lyrics");
        QTest::addColumn<RubyMode>("mode");
        QTest::addColumn<double>("seconds");
        QTest::addColumn<quint32>("left");
        QTest::addColumn<quint32>("right");
        const RubyMode automatic = RubyMode::Automatic;
        for (const bool stage : {false, true}) {
            const char* face = stage ? "stage: " : "window: ";
            QTest::addRow("%shalf sung", face) << stage << kWritten << automatic << 2.0 << Sung << Unsung;
            QTest::addRow("%sなし", face) << stage << kWritten << RubyMode::None << 2.0 << Back << Back;
            QTest::addRow("%sdictionary", face) << stage << kKanji << automatic << 2.0 << Sung << Unsung;
        }
        QTest::newRow("own times") << true << kTimed << automatic << 1.65 << Sung << Unsung;
        QTest::newRow("second row") << true << kWrapped << automatic << 2.0 << Sung << Unsung;
    }
    void readingOverItsBase()
    {
        QFETCH(bool, stage);
        QFETCH(QString, lyrics);
        QFETCH(RubyMode, mode);
        QFETCH(double, seconds);
        QFETCH(quint32, left);
        QFETCH(quint32, right);
        QVERIFY(Show(stage, lyrics, mode, seconds));
        const int band = m_lineHeight - m_word.height(); // none: the line as high as its words
        QVERIFY(left != Back ? band >= m_word.height() / 3 : band == 0);
        const int height = std::max(band, 16);
        const auto shows = [&](int x0, int x1, int y, COLORREF colour) {
            const Colours seen = ColoursIn(m_screen, QRect(x0, y, x1 - x0, height));
            return colour == Back ? !seen.sung && !seen.unsung : seen.Only(colour);
        };
        QVERIFY(shows(m_word.left(), m_word.center().x() - 3, m_word.top() - height, left));
        QVERIFY(shows(m_word.center().x() + 3, m_word.right(), m_word.top() - height, right));
    }

    // In edit mode a click in the band above a word opens no box; on the word it does.
    void editClicksPassTheBand()
    {
        QVERIFY(Show(false, kWritten, RubyMode::Automatic, 0));
        m_display->SetMode(CKaraokeStatic::ModeEdit);
        const QPoint word = WidgetRectOf(*m_display, {LyricBlocks::at(m_display->Data(), 1), 0}).center();
        for (const bool onWord : {false, true}) {
            QTest::mouseClick(m_display.get(), Qt::LeftButton, Qt::NoModifier,
                              word - QPoint(0, onWord ? 0 : m_display->RubyBand() + 4));
            QCOMPARE(m_display->InlineEdit() != nullptr, onWord);
        }
    }
};

SONAVEL_TEST_MAIN(RubyDisplayTest)
#include "RubyDisplayTest.moc"
