// The stage view at 1920x1080: which lines it shows in which slot, its countdown and title card,
// long lines on two rows, leaving it, the screen saver kept away while it is shown; and that the
// lyric faces of a minimised window stop their frames.

#include "tests/karaoke/KaraokeTestSupport.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include "platform/profile/Profile.h"
#include "player/karaoke/KaraokeDlg.h"
#include "player/karaoke/KaraokeStatic.h"
#include "player/karaoke/display/ShapedTextCache.h"
#include "player/karaoke/stage/StageView.h"
#include "player/widgets/ScrollStatic.h"

#include <QDBusConnection>
#include <QDir>
#include <QPainter>
#include <QScreen>
#include <QStaticText>
#include <QTest>
#include <QVBoxLayout>

#include <memory>

using namespace KaraokeTest;

namespace {

// Lines of solid squares (their inside has the exact text colour): a verse at 8, 10 and 12 s
// ending at 14 s, a pause, a verse at 20 and 22 s ending at 24 s; `longLine` replaces the line
// at 10 s by one wider than the screen.
QString Song(bool longLine = false)
{
    const QString line10 = longLine ? QString(QStringLiteral("■■■ ")).repeated(10) : QStringLiteral("■■■ ■■■");
    return QStringLiteral("@Title=■■■■\r\n@Artist=■■\r\n[00:08:00]■■■ ■■■\r\n[00:10:00]%1\r\n[00:12:00]■■■ ■■■\r\n"
                          "[00:14:00]\r\n[00:20:00]■■■ ■■■\r\n[00:22:00]■■■\r\n[00:24:00]\r\n")
        .arg(line10);
}

QString ArtifactsFolder()
{
    const QString folder = qEnvironmentVariable("SONAVEL_BINARY_DIR", QDir::currentPath()) + "/artifacts";
    QDir().mkpath(folder);
    return folder;
}

// The colours seen on a slot's rows, and nothing of them when the slot is empty.
Colours SlotColours(const CStageView& view, const QImage& picture, int slot)
{
    Colours seen;
    for (const auto& row : view.PlacedSlot(slot).rows) {
        const Colours colours = ColoursIn(picture, row.rect);
        seen.sung |= colours.sung;
        seen.unsung |= colours.unsung;
    }
    return seen;
}

// How many countdown dots show: the centres of the dot places above the slot's line in the
// sung colour.
int DotsShown(const CStageView& view, const QImage& picture, int slot)
{
    int shown = 0;
    for (const QRect& dot : view.Layout().Dots(view.PlacedSlot(slot), 4))
        shown += FromQColor(picture.pixelColor(dot.center())) == Sung;
    return shown;
}

// A stand-in for the desktop's screen saver on the test's own session bus: it counts what is
// asked of it.
class ScreenSaverService : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")
public:
    int inhibited = 0;

public slots:
    uint Inhibit(const QString&, const QString&)
    {
        ++inhibited;
        return 42;
    }
    void UnInhibit(uint cookie)
    {
        if (cookie == 42)
            --inhibited;
    }
};

} // namespace

class StageViewTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TempFolder> m_folder;
    std::unique_ptr<CStageView> m_view;

    CStageView& View(const QString& lyrics)
    {
        m_view = std::make_unique<CStageView>();
        const CKaraokeStatic display;
        m_view->SetLook(display.GetLogFont(), display.Colours());
        m_view->LoadFromText(lyrics, 30.0);
        m_view->Enter(QGuiApplication::primaryScreen());
        return *m_view;
    }

private slots:
    void init()
    {
        m_folder = std::make_unique<TempFolder>();
        Profile::setPath(m_folder->file("test.ini"));
    }

    void cleanup()
    {
        m_view.reset();
    }

    // Each slot at each moment: the title card in the intro, the first verse with its countdown,
    // the line being sung (sung and unsung) with the next one (unsung), a finished line's slot
    // taking the line after next, the next verse after the pause with its countdown.
    void showsTheSungAndTheNextLine_data()
    {
        QTest::addColumn<double>("position");
        QTest::addColumn<int>("upper");   // line index, -1 none
        QTest::addColumn<int>("lower");
        QTest::addColumn<int>("dots");
        QTest::addColumn<QString>("shot");
        QTest::newRow("intro: title card") << 1.0 << -1 << -1 << 0 << "";
        QTest::newRow("3 s before the first line") << 5.0 << 0 << 1 << 3 << "";
        QTest::newRow("first line half sung") << 9.0 << 0 << 1 << 0 << "";
        QTest::newRow("second line: the first's slot takes the third") << 11.0 << 2 << 1 << 0 << "";
        QTest::newRow("pause, 5 s before the verse") << 15.0 << 3 << 4 << 0 << "";
        QTest::newRow("pause, 2.5 s before the verse") << 17.5 << 3 << 4 << 3 << "";
        QTest::newRow("after the last line") << 28.0 << -1 << -1 << 0 << "";
    }
    void showsTheSungAndTheNextLine()
    {
        QFETCH(double, position);
        QFETCH(int, upper);
        QFETCH(int, lower);
        QFETCH(int, dots);
        QFETCH(QString, shot);
        CStageView& view = View(Song());
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QCOMPARE(view.size(), QSize(1920, 1080));
        view.SetPosition(position, false);
        const QImage picture = Grab(view);
        if (!shot.isEmpty())
            QVERIFY(picture.save(ArtifactsFolder() + "/" + shot));
        const StageScene& scene = view.Scene();
        QCOMPARE(scene.slotLines[0], upper);
        QCOMPARE(scene.slotLines[1], lower);
        const bool titleCard = upper < 0 && lower < 0;
        QCOMPARE(scene.kind == StageScene::Kind::TitleCard, titleCard);
        if (titleCard) {
            // The title in the unsung colour, the artist in the sung one, and nothing else.
            QVERIFY(ColoursIn(picture, view.Layout().TitleRect()).Only(Unsung));
            QVERIFY(ColoursIn(picture, view.Layout().ArtistRect()).Only(Sung));
            QVERIFY(!ColoursIn(picture, QRect(0, 1080 * 3 / 4, 1920, 1080 / 4)).unsung);
            return;
        }
        const double lineStart[] = {8, 10, 12, 20, 22};
        for (const int slot : {0, 1}) {
            const int line = scene.slotLines[size_t(slot)];
            const Colours seen = SlotColours(view, picture, slot);
            const bool singing = position > lineStart[line] && position < lineStart[line] + 2;
            QCOMPARE(seen.sung, singing);
            QVERIFY(seen.unsung);
            // The upper line starts at the left margin, the lower one ends at the right margin.
            const QRect row = view.PlacedSlot(slot).rows.front().rect;
            QCOMPARE(slot == 0 ? row.left() : row.right() + 1,
                     slot == 0 ? view.Layout().Margin() : 1920 - view.Layout().Margin());
        }
        QCOMPARE(DotsShown(view, picture, scene.countdownSlot < 0 ? 0 : scene.countdownSlot), dots);
        // A tenth of the screen's height per line.
        QVERIFY(qAbs(view.PlacedSlot(0).rows.front().rect.height() - 108) <= 8);
    }

    // Pictures of a song as a singer sees it: the karaoke window at its first size mid-song, the
    // stage view mid-line and during a countdown.
    void screenshots()
    {
        const QString song = QStringLiteral(
            "@Title=さくらさくら\r\n@Artist=日本古謡\r\n"
            "[00:08:00]さくら [00:08:50]さくら\r\n[00:09:50]やよいの [00:10:50]そらは\r\n"
            "[00:11:50]みわたす [00:12:50]かぎり\r\n[00:13:50]かすみか [00:14:50]くもか\r\n"
            "[00:15:50]においぞ [00:16:50]いずる\r\n[00:17:50]\r\n"
            "[00:22:00]いざや [00:23:00]いざや\r\n[00:24:00]みに [00:24:50]ゆかん\r\n[00:26:00]\r\n");
        CKaraokeDlg dlg;
        int codePage = 0;
        dlg.LoadFromFile(m_folder->write("sakura.kra", TestFiles::encode(song, 1200, true)), codePage, 30.0);
        dlg.Create();
        dlg.SetPosition(15.0, false);
        QTRY_VERIFY(dlg.isVisible());
        QVERIFY(dlg.grab().save(ArtifactsFolder() + "/karaoke-first-size.png"));
        CStageView& view = View(song);
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        for (const auto& [seconds, name] : {std::pair{12.9, "stage-mid-line.png"}, std::pair{19.6, "stage-countdown.png"}}) {
            view.SetPosition(seconds, false);
            QVERIFY(Grab(view).save(ArtifactsFolder() + "/" + name));
        }
        QCOMPARE(view.Scene().dots, 3);
        // The demo's, with readings, mid-wipe over 空《そら》; the karaoke window full screen, in a large font.
        const QString demo = QStringLiteral(SONAVEL_DEMO_FOLDER "/01 さくらさくら.kra");
        QVERIFY(dlg.LoadFromFile(demo, codePage, 50.0) && view.LoadFromFile(demo, codePage, 50.0));
        LogFont font = dlg.Display()->GetLogFont();
        font.lfHeight = -48;
        dlg.Display()->SetFontAndColors(font, Sung, Unsung, Tag);
        dlg.setGeometry(view.geometry());
        dlg.SetPosition(12.8, false);
        view.SetPosition(12.8, false);
        QVERIFY(dlg.grab().save(ArtifactsFolder() + "/karaoke-ruby.png"));
        QVERIFY(Grab(view).save(ArtifactsFolder() + "/stage-ruby.png"));
    }

    // The view repaints only what changed: after each step the screen shows what a whole paint
    // shows, with nothing left of the lines or dots before.
    void screenMatchesAWholePaint()
    {
        CStageView& view = View(Song());
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        for (const double position : {5.0, 6.5, 8.6, 9.0, 9.4, 11.0, 15.0, 17.5, 28.0}) {
            view.SetPosition(position, false);
            QTest::qWait(50);
            const QImage onScreen =
                view.screen()->grabWindow(view.winId()).toImage().convertToFormat(QImage::Format_RGB32);
            QVERIFY2(onScreen == Grab(view), qPrintable(QStringLiteral("at %1 s").arg(position)));
        }
    }

    // Words past the glyph cache's size are drawn from images: the same pixels as Qt draws them,
    // in each colour, and in the painter's colour of the moment.
    void largeWordsDrawnAsQtDrawsThem_data()
    {
        QTest::addColumn<int>("pixels");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("stage size, sung") << 86 << QColor(Qt::cyan);
        QTest::newRow("stage size, unsung") << 86 << QColor(Qt::white);
        QTest::newRow("title size") << 130 << QColor(Qt::yellow);
        QTest::newRow("karaoke size, glyph cache") << 16 << QColor(Qt::white);
    }
    void largeWordsDrawnAsQtDrawsThem()
    {
        QFETCH(int, pixels);
        QFETCH(QColor, colour);
        QFont font(QStringLiteral("Noto Sans CJK JP"));
        font.setPixelSize(pixels);
        const QString word = QStringLiteral("見渡す");
        auto paint = [&](auto draw) {
            QImage image(pixels * 4, pixels * 2, QImage::Format_RGB32);
            image.fill(Qt::black);
            QPainter painter(&image);
            painter.setFont(font);
            painter.setPen(colour);
            draw(painter);
            return image;
        };
        CShapedTextCache cache;
        cache.SetFont(font);
        // An image made in another colour first must not be the one reused.
        paint([&](QPainter& p) {
            p.setPen(Qt::red);
            cache.Draw(p, QPointF(10, 10), word);
        });
        const QImage cached = paint([&](QPainter& p) { cache.Draw(p, QPointF(10, 10), word); });
        const QImage direct = paint([&](QPainter& p) {
            QStaticText text(word);
            text.prepare(QTransform(), font);
            p.drawStaticText(QPointF(10, 10), text);
        });
        QVERIFY(cached == direct);
    }

    // A line wider than the screen goes on two rows, split at a word boundary, that wipe in turn.
    void wrapsALongLine_data()
    {
        QTest::addColumn<double>("position");
        QTest::addColumn<bool>("firstRowSung");
        QTest::addColumn<bool>("secondRowSung");
        QTest::newRow("before it") << 9.5 << false << false;
        QTest::newRow("a quarter in") << 10.5 << true << false;
        QTest::newRow("three quarters in") << 11.5 << true << true;
    }
    void wrapsALongLine()
    {
        QFETCH(double, position);
        QFETCH(bool, firstRowSung);
        QFETCH(bool, secondRowSung);
        CStageView& view = View(Song(true));
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        view.SetPosition(position, false);
        QCOMPARE(view.Scene().slotLines[1], 1);
        const auto rows = view.PlacedSlot(1).rows;
        QCOMPARE(rows.size(), size_t(2));
        QCOMPARE(rows[0].words.size() + rows[1].words.size(), size_t(10));
        QVERIFY(qAbs(int(rows[0].words.size()) - int(rows[1].words.size())) <= 1);
        const QImage picture = Grab(view);
        for (size_t i = 0; i < 2; ++i) {
            QVERIFY(rows[i].rect.right() < 1920 && rows[i].rect.left() >= 0);
            QCOMPARE(ColoursIn(picture, rows[i].rect).sung, i == 0 ? firstRowSung : secondRowSung);
        }
        // The first row is wholly sung before the second starts.
        QCOMPARE(ColoursIn(picture, rows[0].rect).unsung, !firstRowSung || !secondRowSung);
    }

    // Escape, F11 and a double click leave the view; while it is shown the screen saver is held
    // off, and after it no longer.
    void leaves_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("Escape") << 0;
        QTest::newRow("F11") << 1;
        QTest::newRow("double click") << 2;
    }
    void leaves()
    {
        QFETCH(int, how);
        ScreenSaverService service;
        QDBusConnection bus = QDBusConnection::sessionBus();
        QVERIFY2(bus.isConnected(), "run under dbus-run-session");
        QVERIFY(bus.registerObject(QStringLiteral("/org/freedesktop/ScreenSaver"), &service,
                                   QDBusConnection::ExportAllSlots));
        QVERIFY(bus.registerService(QStringLiteral("org.freedesktop.ScreenSaver")));
        CStageView& view = View(Song());
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QVERIFY(view.IsInhibitingScreenSaver());
        QCOMPARE(service.inhibited, 1);
        int left = 0;
        connect(&view, &CStageView::Left, this, [&left] { ++left; });
        if (how == 0)
            QTest::keyClick(&view, Qt::Key_Escape);
        else if (how == 1)
            QTest::keyClick(&view, Qt::Key_F11);
        else
            QTest::mouseDClick(&view, Qt::LeftButton, Qt::NoModifier, QPoint(960, 540));
        QVERIFY(!view.isVisible());
        QCOMPARE(left, 1);
        QVERIFY(!view.IsInhibitingScreenSaver());
        QCOMPARE(service.inhibited, 0);
        bus.unregisterService(QStringLiteral("org.freedesktop.ScreenSaver"));
        bus.unregisterObject(QStringLiteral("/org/freedesktop/ScreenSaver"));
    }

    // The three lyric faces run their frames while playing and stop them while their window is
    // minimised; shown again, they go on.
    void minimisedFacesStopTheirFrames_data()
    {
        QTest::addColumn<int>("face");
        QTest::newRow("karaoke window") << 0;
        QTest::newRow("scrolling line") << 1;
        QTest::newRow("stage view") << 2;
    }
    void minimisedFacesStopTheirFrames()
    {
        QFETCH(int, face);
        std::unique_ptr<QWidget> window;
        std::function<bool()> animating;
        std::function<void(double)> play;
        if (face == 0) {
            auto* dlg = new CKaraokeDlg;
            int codePage = 0;
            dlg->LoadFromFile(m_folder->write("a.kra", TestFiles::encode(Song(), 1200, true)), codePage, 30.0);
            dlg->Create();
            window.reset(dlg);
            animating = [dlg] { return dlg->Display()->IsAnimating(); };
            play = [dlg](double seconds) { dlg->SetPosition(seconds, true); };
        } else if (face == 1) {
            window = std::make_unique<QWidget>();
            auto* line = new CScrollStatic(window.get());
            (new QVBoxLayout(window.get()))->addWidget(line);
            QVERIFY(line->LoadLyricsText(Song(), 30.0));
            line->SetKaraokeLine(true);
            window->show();
            animating = [line] { return line->IsAnimating(); };
            play = [line](double seconds) { line->Tick(seconds, true); };
        } else {
            window.reset(&View(Song()));
            m_view.release();
            CStageView* view = static_cast<CStageView*>(window.get());
            animating = [view] { return view->IsAnimating(); };
            play = [view](double seconds) { view->SetPosition(seconds, true); };
        }
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        play(9.0);
        QTRY_VERIFY(animating());
        window->showMinimized();
        play(9.1);
        QTRY_VERIFY(!animating());
        QTest::qWait(100);
        play(9.2);
        QVERIFY(!animating());
        window->showNormal();
        play(9.3);
        QTRY_VERIFY(animating());
    }
};

SONAVEL_TEST_MAIN(StageViewTest)
#include "StageViewTest.moc"
