// The karaoke faces in the player: time tags are stamped only on the track being edited, a
// resumed pause keeps the lyrics as they stand, and the stage view opens with F11 and follows
// the tracks.

#include "tests/lyrics/LyricBlocks.h"
#include "tests/support/Mp3Fixture.h"
#include "tests/support/PlayerSandbox.h"
#include "tests/support/TestMain.h"

#include "platform/engine/Player.h"
#include "player/app/LyricCommands.h"
#include "player/app/SonavelDlg.h"
#include "player/karaoke/KaraokeDlg.h"
#include "player/karaoke/KaraokeStatic.h"
#include "player/karaoke/stage/StageCommand.h"
#include "player/karaoke/stage/StageView.h"

#include <QAction>
#include <QPushButton>

#include <algorithm>

namespace {

const QString kSpring = QStringLiteral("[00:01:00]はる [00:02:00]の\r\n[00:03:00]うた\r\n[00:04:00]おわり");
const QString kSummer = QStringLiteral("[00:01:00]なつ\r\n[00:02:00]の うた");

} // namespace

class KaraokePlayerTest : public QObject
{
    Q_OBJECT

private:
    PlayerSandbox m_sandbox;
    QString m_folder;
    std::unique_ptr<CSonavelDlg> m_dialog;

    Player& Engine() { return *m_dialog->GetPlayer(); }
    CKaraokeDlg& Window() { return m_dialog->Lyrics().KaraokeWindow(); }
    CKaraokeStatic& Display() { return *Window().Display(); }
    QPushButton* EditButton() { return DlgItem<QPushButton>(&Window(), CKaraokeDlg::IdEdit); }
    void PlayTrack(int command, const QString& title)
    {
        m_dialog->OnCommand(command);
        QTRY_VERIFY(m_dialog->windowTitle().contains(title) && Engine().playState() == 3);
    }
    QStringList Tags() { return LyricBlocks::tokens(Display().Data()); }

private slots:
    void initTestCase()
    {
        m_sandbox.SetUpHome();
        m_folder = m_sandbox.home->file("歌");
        QDir().mkpath(m_folder);
        QVERIFY(!Mp3Fixture::write(m_folder + "/01.mp3", {"春の歌", "歌手", "", ""}, 30.0).isEmpty());
        QVERIFY(!Mp3Fixture::write(m_folder + "/02.mp3", {"夏の歌", "歌手", "", ""}, 30.0).isEmpty());
    }

    void init()
    {
        // Each test starts from the lyrics as written here, whatever the one before saved.
        TestFiles::writeBytes(m_folder + "/01.kra", TestFiles::encode(kSpring, 1200, true));
        TestFiles::writeBytes(m_folder + "/02.kra", TestFiles::encode(kSummer, 1200, true));
        m_sandbox.SetUpTest();
        m_dialog = std::make_unique<CSonavelDlg>();
        m_dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));
        m_dialog->OpenPath(m_folder + "/01.mp3");
        QTRY_COMPARE(Engine().playState(), 3);
        QTRY_VERIFY(Window().IsWindowCreated());
    }

    void cleanup()
    {
        // Nothing edited may be asked about or saved.
        Display().SetMode(CKaraokeStatic::ModeView);
        m_dialog.reset();
        m_sandbox.TearDownTest();
    }

    // F8, F9 and a right click stamp the engine's position while the edited track plays; once
    // the next track plays they stamp nothing, the edit button's tip says why and the edited
    // lyrics' wipe stands still.
    void stampsOnlyOnTheEditedTrack_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("F8") << 0;
        QTest::newRow("F9") << 1;
        QTest::newRow("right click") << 2;
    }
    void stampsOnlyOnTheEditedTrack()
    {
        QFETCH(int, how);
        const auto stamp = [this, how] {
            if (how == 0)
                QTest::keyClick(&Window(), Qt::Key_F8);
            else if (how == 1)
                QTest::keyClick(&Window(), Qt::Key_F9);
            else
                Display().StampAt(Display().ClientRectOf({LyricBlocks::at(Display().Data(), 1), 0}).center());
        };
        EditButton()->click();
        QCOMPARE(Window().GetMode(), int(CKaraokeStatic::ModeEdit));
        const QString tip = EditButton()->toolTip();
        const QStringList before = Tags();
        stamp();
        QVERIFY(Tags() != before);

        PlayTrack(CSonavelDlg::IdNext, "夏の歌");
        QTRY_VERIFY(EditButton()->toolTip() != tip);
        QVERIFY(EditButton()->toolTip().contains(QStringLiteral("この歌詞の曲ではない")));
        const QStringList stamped = Tags();
        const double clock = Display().LyricClockMs();
        stamp();
        QTest::qWait(300);
        QCOMPARE(Tags(), stamped);
        QCOMPARE(Display().LyricClockMs(), clock);
        QVERIFY(!Display().IsAnimating());
    }

    // Played on after a pause, the item keeps its lyrics as they stand; a new item reads its own.
    void resumingKeepsTheLyrics()
    {
        CKaraokeBlock* first = LyricBlocks::at(Display().Data(), 1);
        QVERIFY(CKaraokeData::ReplaceWordText(first, 0, QStringLiteral("変えた ")));
        m_dialog->OnCommand(CSonavelDlg::IdPause);
        QTRY_COMPARE(Engine().playState(), 2);
        m_dialog->OnCommand(CSonavelDlg::IdPlay);
        QTRY_COMPARE(Engine().playState(), 3);
        QTest::qWait(100);
        QCOMPARE(LyricBlocks::at(Display().Data(), 1)->Tokens[0].Text(), QStringLiteral("変えた "));
        PlayTrack(CSonavelDlg::IdNext, "夏の歌");
        QTRY_COMPARE(LyricBlocks::at(Display().Data(), 1)->Tokens[0].Text(), QStringLiteral("なつ"));
    }

    // F11 in the main window opens the stage view on the playing track's lyrics and takes the
    // karaoke window's shortcuts; it follows the next track, and F11 there leaves it.
    void stageViewFromTheMainWindow()
    {
        CStageView& stage = m_dialog->Lyrics().Stage().View();
        QTest::keyClick(m_dialog.get(), Qt::Key_F11);
        QTRY_VERIFY(stage.isVisible());
        QVERIFY(m_dialog->Lyrics().Stage().ToggleAction()->isChecked());
        QCOMPARE(stage.Lines().Lines().size(), size_t(3));
        const QList<QAction*> shared = stage.actions();
        QVERIFY(std::any_of(shared.begin(), shared.end(), [this](QAction* action) {
            return action->shortcut() == QKeySequence(Qt::CTRL | Qt::Key_Down) && Window().actions().contains(action);
        }));
        PlayTrack(CSonavelDlg::IdNext, "夏の歌");
        QTRY_COMPARE(stage.Lines().Lines().size(), size_t(2));
        QTest::keyClick(&stage, Qt::Key_F11);
        QVERIFY(!stage.isVisible());
        QVERIFY(!m_dialog->Lyrics().Stage().ToggleAction()->isChecked());
    }
};

SONAVEL_TEST_MAIN(KaraokePlayerTest)
#include "KaraokePlayerTest.moc"
