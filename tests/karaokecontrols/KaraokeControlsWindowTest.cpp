// The karaoke controls in the player: the karaoke window's strip driving the real engine and
// both lyric displays, the offset saved into the lyric file, values on a new track, the menus,
// edit mode's replay, and MPRIS Rate over a private session bus.

#include "tests/lyrics/LyricBlocks.h"
#include "tests/support/BusSend.h"
#include "tests/support/Mp3Fixture.h"
#include "tests/support/PlayerSandbox.h"
#include "tests/support/TestMain.h"

#include "platform/engine/AudioEffects.h"
#include "platform/engine/Player.h"
#include "player/app/KaraokeControlsBridge.h"
#include "player/app/LyricCommands.h"
#include "player/app/SonavelDlg.h"
#include "player/karaoke/KaraokeDlg.h"
#include "player/karaoke/KaraokeStatic.h"
#include "player/karaoke/KaraokeStrip.h"
#include "player/widgets/ScrollStatic.h"

#include <QAction>
#include <QDBusConnection>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>

using Id = CKaraokeActions::Id;
using State = CKaraokeStatic::BlockState;

namespace {

const QString kDestination = QStringLiteral("org.mpris.MediaPlayer2.sonavel");
const QString kPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kPlayer = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString kLyrics = QStringLiteral("@Title=春\r\n[00:05:00]はる [00:06:00]なつ\r\n[00:10:00]あき");

QString Rate(const QString& property = QStringLiteral("Rate"))
{
    return BusGetProperty(kDestination, kPath, kPlayer, property).section(QStringLiteral("double "), 1).trimmed();
}

} // namespace

class KaraokeControlsWindowTest : public QObject
{
    Q_OBJECT

private:
    PlayerSandbox m_sandbox;
    QString m_folder;
    CSonavelDlg* m_dialog = nullptr;

    Player& Engine() { return *m_dialog->GetPlayer(); }
    CKaraokeDlg& Window() { return m_dialog->Lyrics().KaraokeWindow(); }
    CKaraokeStrip& Strip() { return *Window().Strip(); }
    void Click(Id id, int times = 1)
    {
        for (int i = 0; i < times; ++i)
            Strip().Button(id)->click();
    }
    void PlayTrack(int command, const QString& title)
    {
        m_dialog->OnCommand(command);
        QTRY_VERIFY(m_dialog->windowTitle().contains(title) && Engine().playState() == 3);
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(QDBusConnection::sessionBus().isConnected(), "run under dbus-run-session");
        m_sandbox.SetUpHome();
        m_sandbox.SetUpTest();
        m_folder = m_sandbox.home->file("歌");
        QDir().mkpath(m_folder);
        QVERIFY(!Mp3Fixture::write(m_folder + "/01.mp3", {"春の歌", "歌手", "", ""}, 30.0).isEmpty());
        QVERIFY(!Mp3Fixture::write(m_folder + "/02.mp3", {"夏の歌", "歌手", "", ""}, 30.0).isEmpty());
        TestFiles::writeBytes(m_folder + "/01.kra", TestFiles::encode(kLyrics, 1200, true));
        m_dialog = new CSonavelDlg;
        m_dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_dialog));
        m_dialog->OpenPath(m_folder + "/01.mp3");
        QTRY_COMPARE(Engine().playState(), 3);
        QTRY_VERIFY(Window().IsWindowCreated());
    }

    void cleanupTestCase()
    {
        delete m_dialog;
        m_sandbox.TearDownTest();
    }

    // The strip's buttons and the window's keys reach the engine; Rate is the tempo both ways; a
    // double click sets a value back; the nudge moves the current block of both lyric displays
    // at once and is saved into the file on request.
    void stripDrivesTheEngineAndTheLyrics()
    {
        Click(Id::KeyUp);
        QTest::keyClick(&Window(), Qt::Key_Up, Qt::ControlModifier);
        Click(Id::TempoDown, 4);
        QTest::keyClick(&Window(), Qt::Key_R, Qt::ControlModifier);
        const AudioEffects& effects = Engine().audioEffects();
        QCOMPARE(effects.pitch(), 2);
        QCOMPARE(effects.tempo(), 0.8);
        QVERIFY(effects.vocalReduction());
        QCOMPARE(Rate(), QStringLiteral("0.8"));
        QCOMPARE(Rate("MinimumRate"), QStringLiteral("0.5"));
        QCOMPARE(Rate("MaximumRate"), QStringLiteral("1.5"));
        BusSend(kDestination, kPath, {"org.freedesktop.DBus.Properties.Set", "string:" + kPlayer, "string:Rate",
                                      "variant:double:1.23"});
        QTRY_COMPARE(Strip().TempoValue()->text(), QStringLiteral("125%"));
        QCOMPARE(effects.tempo(), 1.25);
        QTest::mouseDClick(Strip().KeyValue(), Qt::LeftButton);
        QCOMPARE(effects.pitch(), 0);

        // Paused at 5.9 s the block at 5 s is sung; 150 ms earlier lyrics sing the one at 6 s.
        m_dialog->OnCommand(CSonavelDlg::IdPause);
        QVERIFY(m_dialog->Control().SeekTo(5.9));
        QTRY_VERIFY(std::abs(Window().Display()->LyricClockMs() - 5900) < 1);
        const CKaraokeStatic& display = *Window().Display();
        CKaraokeBlock* spring = LyricBlocks::at(display.Data(), 1);
        QCOMPARE(display.StateAt(spring, display.LyricClockMs()), State::Current);
        Click(Id::OffsetEarlier, 3);
        QCOMPARE(Strip().OffsetValue()->text(), QStringLiteral("+150 ms"));
        QCOMPARE(display.StateAt(spring->Next(), display.LyricClockMs()), State::Current);
        QCOMPARE(m_dialog->ScrollLine()->LyricClockMs(), 6050.0);

        QVERIFY(Strip().Button(Id::SaveOffset)->isEnabled());
        Click(Id::SaveOffset);
        QCOMPARE(TestFiles::readBytes(m_folder + "/01.kra"), TestFiles::encode("@Offset=150\r\n" + kLyrics, 1200, true));
        QCOMPARE(Strip().OffsetValue()->text(), QStringLiteral("+150 ms"));
        QVERIFY(!Strip().Button(Id::SaveOffset)->isEnabled());
        QCOMPARE(display.LyricClockMs(), 6050.0);
        QCOMPARE(m_sandbox.boxes->count(), 0);
        m_dialog->OnCommand(CSonavelDlg::IdPause);
    }

    // A new track starts neutral; with "曲ごとに記憶" on it gets what was kept for it. Pausing
    // and playing on keeps the values; vocal reduction stays for the session.
    void newTrackNeutralOrRemembered()
    {
        CKaraokeActions& actions = m_dialog->KaraokeControls().Actions();
        PlayTrack(CSonavelDlg::IdNext, "夏の歌");
        QCOMPARE(Strip().KeyValue()->text(), QStringLiteral("±0"));
        QCOMPARE(Engine().audioEffects().pitch(), 0);
        QCOMPARE(Engine().audioEffects().tempo(), 1.0);
        QVERIFY(Engine().audioEffects().vocalReduction());
        QTRY_COMPARE(Rate(), QStringLiteral("1"));

        actions.Action(Id::RememberPerTrack)->trigger();
        Click(Id::KeyDown);
        m_dialog->OnCommand(CSonavelDlg::IdPause);
        m_dialog->OnCommand(CSonavelDlg::IdPause);
        QTRY_COMPARE(Engine().playState(), 3);
        QCOMPARE(Engine().audioEffects().pitch(), -1);
        PlayTrack(CSonavelDlg::IdPrevious, "春の歌");
        QCOMPARE(Engine().audioEffects().pitch(), 0);
        PlayTrack(CSonavelDlg::IdNext, "夏の歌");
        QCOMPARE(Engine().audioEffects().pitch(), -1);
        QCOMPARE(Strip().KeyValue()->text(), QStringLiteral("-1"));
        actions.Action(Id::RememberPerTrack)->trigger();
    }

    // The "カラオケ" pop-up ends the lyric mark's menu; what the engine cannot do is greyed with
    // the reason; in edit mode F6 plays again from 2 s before the tag the tap cursor stands in.
    void menusAndReplay()
    {
        CKaraokeControls& controls = m_dialog->KaraokeControls().Controls();
        controls.SetAvailable(CKaraokeControls::Control::Key, false);
        QVERIFY(!Strip().Button(Id::KeyUp)->isEnabled() && Strip().Button(Id::KeyUp)->toolTip().contains("rubberband"));
        controls.SetAvailable(CKaraokeControls::Control::Key, true);
        const QAction* popup = m_dialog->Lyrics().Menu(CLyricCommands::PopupLyricMark)->actions().last();
        QVERIFY(popup->menu() && popup->text() == QStringLiteral("カラオケ"));
        QVERIFY(popup->menu()->actions().contains(m_dialog->KaraokeControls().Actions().Action(Id::KeyUp)));
        PlayTrack(CSonavelDlg::IdPrevious, "春の歌");
        DlgItem<QPushButton>(&Window(), CKaraokeDlg::IdEdit)->click();
        QTest::keyClick(&Window(), Qt::Key_F6);
        QTRY_VERIFY(std::abs(Engine().currentPosition() - 3.0) < 0.3);
        DlgItem<QPushButton>(&Window(), CKaraokeDlg::IdEdit)->click();
        QCOMPARE(Window().GetMode(), 0);
    }
};

SONAVEL_TEST_MAIN(KaraokeControlsWindowTest)
#include "KaraokeControlsWindowTest.moc"
