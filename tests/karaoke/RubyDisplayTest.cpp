// Readings as the karaoke window and the stage view draw them: above their base, wiped with it
// or by their own times, the ルビ setting applied at once, the band deaf to edit clicks; and
// pictures of the demo's さくらさくら mid-wipe.
#include "tests/karaoke/KaraokeTestSupport.h"
#include "tests/lyrics/LyricBlocks.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include "platform/profile/Profile.h"
#include "player/karaoke/KaraokeDlg.h"
#include "player/karaoke/KaraokeInlineEdit.h"
#include "player/karaoke/RubySetting.h"
#include "player/karaoke/stage/StageView.h"

#include <QScreen>
#include <QTest>

using namespace KaraokeTest;

namespace {

// Squares (their inside has the exact colour) under a reading of three half-size squares, sung
// from 1 s to 3 s; a header reading of its own times: its last two squares from 1.2 s on; the
// first after words that take the stage's line onto two rows.
const QString kWritten = QStringLiteral("[00:01:00]｜■■《■■■》[00:03:00]");
const QString kTimed = QStringLiteral("[00:01:00]■■[00:03:00]\r\n@Ruby1=■■,■[00:00:20]■■");
const QString kWrapped = QStringLiteral("[00:00:10]") + QStringLiteral("■■■ ").repeated(10) + kWritten;

struct Face {
    QImage picture; // as the wipe's repaints left the screen
    QImage fresh;   // painted whole
    QRect word;     // the base: the last word on screen
    int band = 0;
    size_t rows = 1;
};

} // namespace

class RubyDisplayTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempFolder> m_folder;
    std::unique_ptr<CKaraokeStatic> m_display;
    std::unique_ptr<CStageView> m_stage;

    CStageView& Stage(const QString& lyrics)
    {
        m_stage = std::make_unique<CStageView>();
        m_stage->SetLook(CKaraokeStatic().GetLogFont(), CKaraokeStatic().Colours());
        m_stage->LoadFromText(lyrics, 4.0);
        m_stage->Enter(QGuiApplication::primaryScreen());
        return *m_stage;
    }

    // The face on screen after the wipe came to `seconds` in steps, as frames bring it.
    Face Show(bool stage, const QString& lyrics, double seconds)
    {
        QWidget* widget = nullptr;
        std::function<void(double)> position;
        if (stage) {
            widget = &Stage(lyrics);
            position = [this](double at) { m_stage->SetPosition(at, false); };
        } else {
            m_display = std::make_unique<CKaraokeStatic>();
            m_display->resize(400, 200);
            LogFont font = m_display->GetLogFont();
            font.lfHeight = -32;
            m_display->SetFontAndColors(font, Sung, Unsung, Tag);
            m_display->LoadFromText(lyrics, 4.0);
            m_display->show();
            widget = m_display.get();
            position = [this](double at) { m_display->SetPosition(at); };
        }
        if (!QTest::qWaitForWindowExposed(widget))
            return {};
        for (double at = 0; at < seconds; at += 0.05)
            position(at);
        position(seconds);
        Face face;
        face.picture = QGuiApplication::primaryScreen()
                           ->grabWindow(widget->winId())
                           .toImage()
                           .convertToFormat(QImage::Format_RGB32);
        face.fresh = Grab(*widget);
        if (stage) {
            const CStageLayout::PlacedLine line = m_stage->PlacedSlot(0);
            const auto& row = line.rows.back();
            const QRect word = row.words.back().rect;
            face.word = QRect(CStageLayout::ScreenX(row, word.left()), word.top(), word.width(), word.height());
            face.band = m_stage->Rubies().Band();
            face.rows = line.rows.size();
        } else {
            const int base = BlockCount(m_display->Data()) - 2;
            face.word = WidgetRectOf(*m_display, {LyricBlocks::at(m_display->Data(), base), 0});
            face.band = m_display->RubyBand();
        }
        return face;
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
        m_stage.reset();
        CRubySetting::Instance().SetMode(RubyMode::Automatic);
    }

    // The reading stands in the band right above its base, centred: its left half and its right
    // half in the colours the base's share (or the reading's own times) gives.
    void readingOverItsBase_data()
    {
        QTest::addColumn<bool>("stage");
        QTest::addColumn<QString>("lyrics");
        QTest::addColumn<double>("seconds");
        QTest::addColumn<quint32>("left");
        QTest::addColumn<quint32>("right");
        for (const bool stage : {false, true}) {
            const char* face = stage ? "stage: " : "window: ";
            QTest::addRow("%sbefore", face) << stage << kWritten << 0.5 << Unsung << Unsung;
            QTest::addRow("%sbase half sung", face) << stage << kWritten << 2.0 << Sung << Unsung;
            QTest::addRow("%sown times, base a third sung", face) << stage << kTimed << 1.65 << Sung << Unsung;
            QTest::addRow("%sown times, base sung", face) << stage << kTimed << 3.5 << Sung << Sung;
        }
        QTest::newRow("stage: second row, base half sung") << true << kWrapped << 2.0 << Sung << Unsung;
    }
    void readingOverItsBase()
    {
        QFETCH(bool, stage);
        QFETCH(QString, lyrics);
        QFETCH(double, seconds);
        QFETCH(quint32, left);
        QFETCH(quint32, right);
        const Face face = Show(stage, lyrics, seconds);
        QVERIFY(face.band >= face.word.height() / 3);
        QCOMPARE(face.rows, size_t(lyrics == kWrapped ? 2 : 1));
        QVERIFY(face.picture == face.fresh);
        const int middle = face.word.center().x();
        const int top = face.word.top() - face.band;
        QVERIFY(
            ColoursIn(face.picture, QRect(face.word.left(), top, middle - 3 - face.word.left(), face.band)).Only(left));
        QVERIFY(ColoursIn(face.picture, QRect(middle + 3, top, face.word.right() - middle - 3, face.band)).Only(right));
        // Nothing of it stands outside its band.
        QVERIFY(
            !ColoursIn(face.picture, QRect(face.word.left(), top - face.band, face.word.width(), face.band)).unsung);
    }

    // Each mode at once in both faces: the band and the dictionary's reading of 空 come and go,
    // the line height with them.
    void settingAppliesAtOnce()
    {
        const QString lyrics = QStringLiteral("[00:01:00]｜■■《■■■》[00:03:00]■■ 空\r\n[00:03:50]■");
        Show(false, lyrics, 0);
        CStageView& stage = Stage(lyrics);
        CRubySetting::Instance().SetMode(RubyMode::None);
        const int plainHeight = m_display->ContentSize().height();
        const int rowHeight = stage.PlacedSlot(0).rows.front().rect.height();
        CKaraokeBlock* sky = LyricBlocks::at(m_display->Data(), 2);
        for (const RubyMode mode : {RubyMode::Written, RubyMode::Automatic, RubyMode::None}) {
            CRubySetting::Instance().SetMode(mode);
            const int band = mode == RubyMode::None ? 0 : m_display->RubyBand();
            QCOMPARE(band > 0, mode != RubyMode::None);
            QCOMPARE(m_display->ContentSize().height(), plainHeight + 2 * band);
            QCOMPARE(stage.PlacedSlot(0).rows.front().rect.height() > rowHeight, mode != RubyMode::None);
            const auto over = m_display->Rubies().Over(sky, 1);
            QCOMPARE(over.first != over.second, mode == RubyMode::Automatic);
            const QRect word = WidgetRectOf(*m_display, {sky, 1});
            const QRect above(word.left(), word.top() - band, word.width(), band);
            QCOMPARE(ColoursIn(Grab(*m_display), above).unsung, mode == RubyMode::Automatic);
        }
    }

    // In edit mode a click in the band above a word neither opens the box nor stamps; on the word
    // it does, and a split inside the base leaves its reading spread over both parts.
    void editClicksPassTheBand()
    {
        Show(false, kWritten, 0);
        CKaraokeStatic& display = *m_display;
        display.SetPositionSource([] { return std::optional<double>(1.5); });
        display.SetMode(CKaraokeStatic::ModeEdit);
        const QRect word = WidgetRectOf(display, {LyricBlocks::at(display.Data(), 1), 0});
        const QPoint band(word.center().x(), word.top() - display.RubyBand() / 2);
        for (const Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton})
            QTest::mouseClick(&display, button, Qt::NoModifier, band);
        QVERIFY(!display.InlineEdit());
        QCOMPARE(BlockCount(display.Data()), 3);
        QVERIFY(!display.IsModified());
        QTest::mouseClick(&display, Qt::RightButton, Qt::NoModifier, word.center());
        QCOMPARE(BlockCount(display.Data()), 4);
        for (const int block : {1, 2}) {
            const auto over = display.Rubies().Over(LyricBlocks::at(display.Data(), block), 0);
            QVERIFY(over.first != over.second && !over.first->text.isEmpty());
        }
        QTest::mouseClick(&display, Qt::LeftButton, Qt::NoModifier, word.center());
        QVERIFY(display.InlineEdit());
    }

    // The demo's さくらさくら with readings from its text and its header, mid-wipe over 空《そら》.
    void screenshots()
    {
        const QString song = QStringLiteral(SONAVEL_DEMO_FOLDER "/01 さくらさくら.kra");
        CKaraokeDlg dlg;
        int codePage = 0;
        QVERIFY(dlg.LoadFromFile(song, codePage, 50.0));
        dlg.Create();
        dlg.setGeometry(QGuiApplication::primaryScreen()->geometry());
        // At full screen a singer takes a large font.
        LogFont font;
        COLORREF sung, unsung, tag;
        dlg.Display()->GetFontAndColors(font, sung, unsung, tag);
        font.lfHeight = -48;
        dlg.Display()->SetFontAndColors(font, sung, unsung, tag);
        dlg.SetPosition(12.8, false);
        QTRY_VERIFY(dlg.isVisible());
        QVERIFY(dlg.grab().save(ArtifactsFolder() + "/karaoke-ruby.png"));
        CStageView& stage = Stage(QString());
        stage.LoadFromFile(song, codePage, 50.0);
        QVERIFY(QTest::qWaitForWindowExposed(&stage));
        stage.SetPosition(12.8, false);
        QVERIFY(Grab(stage).save(ArtifactsFolder() + "/stage-ruby.png"));
        const CLyricRubies rubies = stage.Data().Rubies(RubyMode::Written);
        QVERIFY(std::any_of(rubies.Spans().begin(), rubies.Spans().end(),
                            [](const CRubySpan& span) { return span.From == CRubySpan::Source::Header; }));
        QVERIFY(rubies.Spans().size() > 8);
    }
};

SONAVEL_TEST_MAIN(RubyDisplayTest)
#include "RubyDisplayTest.moc"
