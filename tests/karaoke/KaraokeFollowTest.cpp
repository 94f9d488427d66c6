#include "tests/karaoke/KaraokeTestSupport.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include "platform/profile/Profile.h"
#include "platform/text/CodePage.h"
#include "player/karaoke/KaraokeDlg.h"
#include "player/karaoke/KaraokeFollower.h"
#include "player/karaoke/KaraokeStatic.h"

#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include <memory>

using namespace KaraokeTest;

namespace {

constexpr double kLineSeconds = 2.0;
constexpr int kLines = 14;

// A song of kLines lines of solid squares, one every kLineSeconds from 2 s; `wideLine` gets a
// line far wider than any window.
QString Song(int wideLine)
{
    QString text;
    for (int line = 0; line < kLines; ++line) {
        const int seconds = int((line + 1) * kLineSeconds);
        const QString words = line == wideLine ? QString(QStringLiteral("■■■■ ")).repeated(24)
                                               : QStringLiteral("■■■■ ■■■■ ■■■■");
        text += QStringLiteral("[%1:%2:00]%3\r\n").arg(seconds / 60, 2, 10, QChar('0')).arg(seconds % 60, 2, 10, QChar('0')).arg(words);
    }
    return text;
}

double LineStart(int line)
{
    return (line + 1) * kLineSeconds;
}

// The wipe's column in the display's picture: the current line's rectangle around the wipe.
QRect WipeColumn(const CKaraokeStatic& display)
{
    const auto spot = display.CurrentSpot();
    if (!spot)
        return {};
    const QPoint shift = display.Margins() - display.GetScrollOffset() + display.contentsRect().topLeft();
    return QRect(spot->x - 16, spot->line.top(), 32, spot->line.height()).translated(shift);
}

// The line being sung is on screen, the wipe in it: sung and unsung pixels around the wipe,
// wholly inside the frame.
bool SungLineShown(CKaraokeStatic& display)
{
    const QRect column = WipeColumn(display);
    if (column.isEmpty() || !display.contentsRect().contains(column))
        return false;
    const Colours seen = ColoursIn(Grab(display), column);
    return seen.sung && seen.unsung;
}

void Wheel(QWidget& target, int delta)
{
    const QPointF at(target.width() / 2.0, target.height() / 2.0);
    QWheelEvent event(at, target.mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(&target, &event);
}

} // namespace

class KaraokeFollowTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TempFolder> m_folder;
    std::unique_ptr<CKaraokeDlg> m_dlg;
    qint64 m_now = 0;

    CKaraokeDlg& Window(int wideLine = -1)
    {
        m_dlg = std::make_unique<CKaraokeDlg>();
        int codePage = 0;
        const QString path = m_folder->write("song.kra", TestFiles::encode(Song(wideLine), CodePage::Utf16LE, true));
        m_dlg->LoadFromFile(path, codePage, LineStart(kLines));
        m_dlg->Create();
        m_dlg->Follower().SetMillisecondSource([this] { return m_now; });
        return *m_dlg;
    }

    // Plays from a position and lets the view settle.
    void PlayAt(double seconds)
    {
        m_dlg->SetPosition(seconds, true);
        QTest::qWait(CKaraokeFollower::GlideMs + 150);
        QTRY_VERIFY(!m_dlg->Follower().IsGliding());
    }

private slots:
    void init()
    {
        m_folder = std::make_unique<TempFolder>();
        Profile::setPath(m_folder->file("test.ini"));
        m_now = 0;
    }

    void cleanup()
    {
        m_dlg.reset();
    }

    // Opened without a stored placement: some six lines of the lyric font, at least 480 pixels
    // wide, inside the desktop.
    void firstSize()
    {
        CKaraokeDlg& dlg = Window();
        const int lineHeight = QFontMetrics(dlg.Display()->LyricFont()).height();
        const int shown = dlg.Display()->ClientSize().height() / lineHeight;
        QVERIFY2(shown >= CKaraokeDlg::FirstSizeLines - 1 && shown <= CKaraokeDlg::FirstSizeLines,
                 qPrintable(QString::number(shown)));
        QVERIFY(dlg.width() >= CKaraokeDlg::FirstSizeWidth);
        QVERIFY(dlg.screen()->availableGeometry().contains(dlg.frameGeometry()));
    }

    // After the fifth line starts the sung line is in view, whatever the size of the view, and
    // the scroll bar shows where the view went; a wide line keeps its wipe in view.
    void sungLineStaysInView_data()
    {
        QTest::addColumn<int>("linesLess");
        QTest::addColumn<int>("wideLine");
        QTest::addColumn<int>("line");
        QTest::newRow("first size, 5th line") << 0 << -1 << 4;
        QTest::newRow("first size, 11th line") << 0 << -1 << 10;
        QTest::newRow("smallest, 5th line") << 4 << -1 << 4;
        QTest::newRow("smallest, 8th line") << 4 << -1 << 7;
        QTest::newRow("wide 6th line, far along it") << 0 << 5 << 5;
    }
    void sungLineStaysInView()
    {
        QFETCH(int, linesLess);
        QFETCH(int, wideLine);
        QFETCH(int, line);
        CKaraokeDlg& dlg = Window(wideLine);
        CKaraokeStatic& display = *dlg.Display();
        const int lineHeight = QFontMetrics(display.LyricFont()).height();
        dlg.resize(dlg.width(), dlg.height() - linesLess * lineHeight);
        PlayAt(0.5);
        QVERIFY(!SungLineShown(display));
        // Far along a wide line, barely into the others.
        m_dlg->SetPosition(LineStart(line) + (line == wideLine ? 0.6 * kLineSeconds : 0.2), true);
        QTRY_VERIFY_WITH_TIMEOUT(SungLineShown(display), 1000);
        QCOMPARE(DlgItem<QScrollBar>(&dlg, CKaraokeDlg::IdVScroll)->value(), display.GetScrollOffset().y());
        QCOMPARE(DlgItem<QScrollBar>(&dlg, CKaraokeDlg::IdHScroll)->value(), display.GetScrollOffset().x());
        QCOMPARE(display.GetScrollOffset().x() > 0, line == wideLine);
    }

    // A scroll by the wheel or the bar leaves the view to the user for 5 s after the last move.
    void manualScrollPausesFollowing_data()
    {
        QTest::addColumn<bool>("byWheel");
        QTest::newRow("wheel") << true;
        QTest::newRow("scroll bar") << false;
    }
    void manualScrollPausesFollowing()
    {
        QFETCH(bool, byWheel);
        CKaraokeDlg& dlg = Window();
        CKaraokeStatic& display = *dlg.Display();
        PlayAt(LineStart(4) + 0.2);
        QVERIFY(SungLineShown(display));
        if (byWheel)
            Wheel(*display.parentWidget(), 3 * 120);
        else
            DlgItem<QScrollBar>(&dlg, CKaraokeDlg::IdVScroll)->triggerAction(QAbstractSlider::SliderToMinimum);
        const QPoint left = display.GetScrollOffset();
        m_now += CKaraokeFollower::ManualPauseMs - 100;
        PlayAt(LineStart(10) + 0.2);
        QCOMPARE(display.GetScrollOffset(), left);
        QVERIFY(!SungLineShown(display));
        m_now += 200;
        PlayAt(LineStart(10) + 0.3);
        QVERIFY(SungLineShown(display));
    }
};

SONAVEL_TEST_MAIN(KaraokeFollowTest)
#include "KaraokeFollowTest.moc"
