#include "tests/support/ChooserRecorder.h"
#include "tests/support/Id3Writer.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/Mp3Fixture.h"
#include "tests/support/PlayerSandbox.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include "common/ui/DialogTemplate.h"
#include "platform/profile/Profile.h"
#include "platform/text/CodePage.h"
#include "platform/varnkit/FolderPathEdit.h"
#include "player/app/LyricCommands.h"
#include "player/app/PlayerControl.h"
#include "player/app/SonavelApp.h"
#include "player/app/SonavelDlg.h"
#include "player/app/SonavelStrings.h"
#include "player/dialogs/SettingsDlg.h"
#include "player/karaoke/KaraokeDlg.h"
#include "player/karaoke/KaraokeStatic.h"
#include "player/library/FolderTree.h"
#include "player/library/TrackListCtrl.h"
#include "player/settings/ProfileHelpers.h"
#include "player/widgets/ScrollStatic.h"
#include "player/widgets/WmpVideoDlg.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QWindow>

#include <functional>

namespace {

using D = CSettingsDlg;
constexpr char kMain[] = "CSonavelDlg";

QAbstractButton* Button(const QWidget* dialog, int id) { return DlgItem<QAbstractButton>(dialog, id); }

// Presses "設 定" and lets `act` work on the settings dialog once it is open; `act` ends it with
// OK or Cancel. Returns whether the dialog opened.
bool RunSettings(CSonavelDlg& main, const std::function<void(CSettingsDlg&)>& act)
{
    bool opened = false;
    QTimer::singleShot(0, &main, [&] {
        auto* settings = qobject_cast<CSettingsDlg*>(QApplication::activeModalWidget());
        if (!settings)
            return;
        opened = true;
        act(*settings);
        // Whatever `act` left open is cancelled, so a failing check cannot hang the test.
        if (settings->isVisible())
            settings->reject();
    });
    Button(&main, CSonavelDlg::IdSettingsButton)->click();
    return opened;
}

// The background where nothing is drawn over it: near the right edge, inside the frame.
QColor BackgroundOf(QWidget* display)
{
    const QImage shot = display->grab().toImage();
    return shot.pixelColor(shot.width() - 6, shot.height() - 6);
}

// What the two displays show of the settings, to compare before and after.
struct DisplayState {
    LogFont titleFont, dataFont, lineKaraokeFont, karaokeFont;
    COLORREF title = 0, data = 0, lineSung = 0, lineUnsung = 0, sung = 0, unsung = 0, tag = 0;
    COLORREF lineBack = 0, karaokeBack = 0;
    int speed = 0;

    explicit DisplayState(CSonavelDlg& main)
    {
        CScrollStatic* line = main.ScrollLine();
        line->GetTitleFont(titleFont, title);
        line->GetDataFont(dataFont, data);
        line->GetKaraokeFont(lineKaraokeFont, lineSung, lineUnsung);
        lineBack = line->GetBackColor();
        speed = line->GetScrollSpeed();
        CKaraokeStatic* display = main.Lyrics().KaraokeWindow().Display();
        display->GetFontAndColors(karaokeFont, sung, unsung, tag);
        karaokeBack = display->GetBackColor();
    }
    static QString Describe(const LogFont& font) { return CSettingsDlg::SampleText(font); }
    QString Text() const
    {
        return QStringList{Describe(titleFont), Describe(dataFont), Describe(lineKaraokeFont), Describe(karaokeFont),
                           QString::number(title), QString::number(data), QString::number(lineSung),
                           QString::number(lineUnsung), QString::number(sung), QString::number(unsung),
                           QString::number(tag), QString::number(lineBack), QString::number(karaokeBack),
                           QString::number(speed)}
            .join(',');
    }
};

QFont PixelFont(const QString& family, int pixels)
{
    QFont font(family);
    font.setPixelSize(pixels);
    return font;
}

} // namespace

// The main window with its settings dialog: the record reflects what the windows show now, OK
// applies it in its order, Cancel changes nothing, and the exit stores what was applied.
class MainWindowSettingsTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        m_sandbox.SetUpHome();
        qputenv("XDG_RUNTIME_DIR", m_sandbox.home->mkdir("runtime").toUtf8());
    }

    void init()
    {
        m_sandbox.SetUpTest();
        WriteProfileHexString(kMain, "DefaultFolderPath", m_sandbox.temp->mkdir("empty"));
    }

    void cleanup()
    {
        QCOMPARE(m_sandbox.boxes->count(), 0);
        m_sandbox.TearDownTest();
    }

    void opensOnTheLiveState()
    {
        WriteProfileInt("DirTreeFont", "lfHeight", -16);
        WriteProfileInt(kMain, "ClipOnDesktop", 0);
        WriteProfileInt(kMain, "UseID3Edit", 1);
        WriteProfileInt(kMain, "RdExtNum", 2);
        WriteProfileString(kMain, "RdExt00", "mp3");
        WriteProfileString(kMain, "RdExt01", "ogg");
        WriteProfileInt(kMain, "DelPlaylistOnExit", 1);
        WriteProfileInt("WMPSetting", "DetectCdromMediaChange", 0);
        CSonavelDlg main;
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        // The always-on-top states are read from the windows, not from what the profile said.
        QVERIFY(main.VideoDlg()->IsTopmost());
        main.VideoDlg()->SetTopmost(false);
        const bool opened = RunSettings(main, [](CSettingsDlg& settings) {
            QCOMPARE(settings.windowTitle(), QStringLiteral("設定"));
            QCOMPARE(settings.findChildren<QGroupBox*>().size(), 7);
            QCOMPARE(DlgItem<QLabel>(&settings, D::IdTreeSample)->text(), QStringLiteral("Tahoma - 12 pt"));
            QCOMPARE(DlgItem<QLabel>(&settings, D::IdListSample)->text(), QStringLiteral("Tahoma - 9 pt"));
            QVERIFY(!Button(&settings, D::IdClipOnDesktop)->isChecked());
            QVERIFY(!Button(&settings, D::IdMainOnTop)->isChecked());
            QVERIFY(!Button(&settings, D::IdVideoOnTop)->isChecked());
            QVERIFY(!Button(&settings, D::IdDetectCdrom)->isChecked());
            QVERIFY(Button(&settings, D::IdDelPlaylist)->isChecked());
            QVERIFY(Button(&settings, D::IdOwnTags)->isChecked());
            QCOMPARE(DlgItem<QListWidget>(&settings, D::IdExtensions)->count(), 2);
            const QString artifacts = qEnvironmentVariable("SONAVEL_BINARY_DIR") + QStringLiteral("/artifacts");
            QVERIFY(QDir().mkpath(artifacts));
            QVERIFY(settings.grab().save(artifacts + QStringLiteral("/settings-dialog.png")));
            settings.reject();
        });
        QVERIFY(opened);
        main.close();
    }

    void cancelAfterChangingFontsLeavesEveryWindow()
    {
        ChooserRecorder choosers;
        CSonavelDlg main;
        const QFont tree = main.FolderTree()->font();
        const QFont path = main.PathEdit()->font();
        const QFont list = main.TrackList()->font();
        const QString displays = DisplayState(main).Text();
        for (int i = 0; i < 6; ++i)
            choosers.queueFont(PixelFont(QStringLiteral("DejaVu Serif"), 30), QColor(255, 0, 0));
        choosers.queueColor(QColor(0, 0, 255));
        choosers.queueColor(QColor(0, 0, 255));
        choosers.queueColor(QColor(0, 0, 255));
        QVERIFY(RunSettings(main, [](CSettingsDlg& settings) {
            for (int id : {D::IdTreeFont, D::IdPathFont, D::IdListFont, D::IdTitleFont, D::IdDataFont,
                           D::IdKaraokeFont, D::IdSungColor, D::IdTagColor, D::IdBackColor})
                Button(&settings, id)->click();
            DlgItem<QLineEdit>(&settings, D::IdScrollSpeed)->setText(QStringLiteral("5"));
            QCOMPARE(DlgItem<QLabel>(&settings, D::IdListSample)->text(), QStringLiteral("DejaVu Serif - 23 pt"));
            Button(&settings, D::IdCancel)->click();
        }));
        QCOMPARE(choosers.count(), 9);
        QCOMPARE(DisplayState(main).Text(), displays);
        QCOMPARE(main.FolderTree()->font(), tree);
        QCOMPARE(main.PathEdit()->font(), path);
        QCOMPARE(main.TrackList()->font(), list);
        main.close();
        for (const char* section : {"DirTreeFont", "DirEditFont", "FileListFont"})
            QCOMPARE(GetProfileInt(section, "lfHeight", 0), -12);
    }

    void okAppliesTheChangedFontsOnly()
    {
        ChooserRecorder choosers;
        CSonavelDlg main;
        const QFont list = main.TrackList()->font();
        choosers.queueFont(PixelFont(QStringLiteral("DejaVu Serif"), 20));
        QVERIFY(RunSettings(main, [](CSettingsDlg& settings) {
            Button(&settings, D::IdTreeFont)->click();
            Button(&settings, D::IdOk)->click();
        }));
        QCOMPARE(main.FolderTree()->font().pixelSize(), 20);
        QCOMPARE(main.FolderTree()->font().families().value(0), QStringLiteral("DejaVu Serif"));
        QCOMPARE(main.TrackList()->font(), list);
        main.close();
        QCOMPARE(GetProfileInt("DirTreeFont", "lfHeight", 0), -20);
        QCOMPARE(GetProfileString("DirTreeFont", "lfFaceName", QString()), QStringLiteral("DejaVu Serif"));
        QCOMPARE(GetProfileString("FileListFont", "lfFaceName", QString()), QStringLiteral("Tahoma"));
    }

    void backgroundAloneRecoloursBothDisplays()
    {
        ChooserRecorder choosers;
        // The displays store their settings when they are destroyed, with the main window.
        auto window = std::make_unique<CSonavelDlg>();
        CSonavelDlg& main = *window;
        main.Lyrics().KaraokeWindow().Create();
        CKaraokeStatic* display = main.Lyrics().KaraokeWindow().Display();
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        const QColor back(30, 60, 200);
        QVERIFY(BackgroundOf(main.ScrollLine()) != back && BackgroundOf(display) != back);
        DisplayState before(main);
        choosers.queueColor(back);
        QVERIFY(RunSettings(main, [](CSettingsDlg& settings) {
            Button(&settings, D::IdBackColor)->click();
            Button(&settings, D::IdOk)->click();
        }));
        QCOMPARE(BackgroundOf(main.ScrollLine()), back);
        QCOMPARE(BackgroundOf(display), back);
        // Nothing else changed: no font or colour was chosen.
        before.lineBack = before.karaokeBack = FromQColor(back);
        QCOMPARE(DisplayState(main).Text(), before.Text());
        window.reset();
        QCOMPARE(GetProfileColor("CScrollStatic", "BackColor", 0), FromQColor(back));
        QCOMPARE(GetProfileColor("CKaraokeStatic", "BackColor", 0), FromQColor(back));
    }

    void karaokeFontGoesToBothDisplaysAndTheWindow()
    {
        ChooserRecorder choosers;
        // The displays store their settings when they are destroyed, with the main window.
        auto window = std::make_unique<CSonavelDlg>();
        CSonavelDlg& main = *window;
        CKaraokeDlg& karaoke = main.Lyrics().KaraokeWindow();
        karaoke.Create();
        choosers.queueFont(PixelFont(QStringLiteral("DejaVu Serif"), 28), QColor(250, 250, 0));
        choosers.queueColor(QColor(0, 200, 0));
        choosers.queueColor(QColor(200, 0, 200));
        choosers.queueFont(PixelFont(QStringLiteral("DejaVu Sans"), 14), QColor(10, 20, 30));
        QVERIFY(RunSettings(main, [](CSettingsDlg& settings) {
            for (int id : {D::IdKaraokeFont, D::IdSungColor, D::IdTagColor, D::IdDataFont})
                Button(&settings, id)->click();
            Button(&settings, D::IdOk)->click();
        }));
        const DisplayState after(main);
        QCOMPARE(after.karaokeFont.lfHeight, -28);
        QCOMPARE(after.karaokeFont.lfFaceName, QStringLiteral("DejaVu Serif"));
        QCOMPARE(after.lineKaraokeFont.lfFaceName, QStringLiteral("DejaVu Serif"));
        QCOMPARE(after.unsung, RGB(250, 250, 0));
        QCOMPARE(after.lineUnsung, RGB(250, 250, 0));
        QCOMPARE(after.sung, RGB(0, 200, 0));
        QCOMPARE(after.lineSung, RGB(0, 200, 0));
        QCOMPARE(after.tag, RGB(200, 0, 200));
        QCOMPARE(after.dataFont.lfHeight, -14);
        QCOMPARE(after.data, RGB(10, 20, 30));
        QCOMPARE(after.titleFont.lfFaceName, QStringLiteral("ＭＳ Ｐゴシック"));
        // The open karaoke window's title box follows the lyric font.
        QCOMPARE(DlgItem<QLineEdit>(&karaoke, CKaraokeDlg::IdTitle)->font().pixelSize(), 28);
        window.reset();
        QCOMPARE(GetProfileInt("CKaraokeStatic_KaraokeFont", "lfHeight", 0), -28);
        QCOMPARE(GetProfileInt("CScrollStatic_KaraokeFont", "lfHeight", 0), -28);
        QCOMPARE(GetProfileColor("CKaraokeStatic", "KaraokeTextColor2", 0), RGB(200, 0, 200));
    }

    void scrollSpeedAndShowFlags_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("speed");
        QTest::newRow("4") << "4" << 4;
        QTest::newRow("5") << "5" << 5;
        QTest::newRow("0 ignored") << "0" << 1;
        QTest::newRow("6 ignored") << "6" << 1;
        QTest::newRow("-2 ignored") << "-2" << 1;
    }

    void scrollSpeedAndShowFlags()
    {
        QFETCH(QString, typed);
        QFETCH(int, speed);
        // The displays store their settings when they are destroyed, with the main window.
        auto window = std::make_unique<CSonavelDlg>();
        CSonavelDlg& main = *window;
        QCOMPARE(main.ScrollLine()->GetScrollSpeed(), 1);
        QVERIFY(RunSettings(main, [&typed](CSettingsDlg& settings) {
            QCOMPARE(DlgItem<QLineEdit>(&settings, D::IdScrollSpeed)->text(), QStringLiteral("1"));
            DlgItem<QLineEdit>(&settings, D::IdScrollSpeed)->setText(typed);
            for (int id : {D::IdShowFileName, D::IdShowTitle, D::IdShowTrack})
                Button(&settings, id)->click();
            Button(&settings, D::IdOk)->click();
        }));
        QCOMPARE(main.ScrollLine()->GetScrollSpeed(), speed);
        const CScrollStatic::ShowFlags expected{true, false, true, true, true};
        QCOMPARE(main.ScrollLine()->GetShowFlags(), expected);
        window.reset();
        QCOMPARE(GetProfileInt("CScrollStatic", "ScrollSpeed", 0), speed);
        QCOMPARE(GetProfileInt("CScrollStatic", "ShowTitle", -1), 0);
    }

    void tagCodePageChangeRefillsTheList()
    {
        // The code pages come from the application's table, as at a real start.
        TempFolder program;
        QVERIFY(QFile::copy(qEnvironmentVariable("SONAVEL_SOURCE_DIR") + "/player/resources/CodePage.txt",
                            program.file("CodePage.txt")));
        const QString folder = program.mkdir("tracks");
        const QString title = QStringLiteral("夜明けの歌");
        const QByteArray tag = Id3Writer::tag({{"TIT2", Id3Writer::textData(Id3Writer::Latin1, title, 932)}});
        QVERIFY(TestFiles::writeBytes(folder + "/01.mp3", tag + Mp3Fixture::silentFrames(2)));
        program.write("sonavel.ini", QStringLiteral("[CSonavelDlg]\nUseID3Edit=1\nID3Edit_CodePage=932\n"
                                                    "DefaultFolderPath=%1\n[WMPSetting]\nAutoStart=0\n")
                                         .arg(EncodeHexString(folder))
                                         .toUtf8());
        CSonavelApp application(program.file("sonavel"));
        QString before;
        QString western;
        QString after;
        application.SetMainWindowRunner([&] {
            CSonavelDlg main;
            const auto titleCell = [&main] { return main.TrackList()->model()->index(0, 1).data().toString(); };
            before = titleCell();
            const auto choose = [&main](int codePage) {
                return RunSettings(main, [codePage](CSettingsDlg& settings) {
                    QComboBox* combo = DlgItem<QComboBox>(&settings, D::IdTagCodePage);
                    QVERIFY(combo->isEnabled());
                    QCOMPARE(combo->itemText(0), QStringLiteral("日本語 (シフトJIS)"));
                    combo->setCurrentIndex(combo->findData(codePage));
                    Button(&settings, D::IdOk)->click();
                });
            };
            QVERIFY(choose(1252));
            western = titleCell();
            QVERIFY(choose(932));
            after = titleCell();
            main.close();
        });
        QCOMPARE(application.Run({}), 0);
        QCOMPARE(before, title);
        QCOMPARE(western, CodePage::toUnicode(TestFiles::encode(title, 932), 1252));
        QCOMPARE(after, title);
        QCOMPARE(GetProfileInt(kMain, "ID3Edit_CodePage", 0), 932);
    }

    void endingTheProgramClosesTheDialogUnapplied()
    {
        ChooserRecorder choosers;
        choosers.queueFont(PixelFont(QStringLiteral("DejaVu Serif"), 30));
        CSonavelDlg main;
        const QFont tree = main.FolderTree()->font();
        bool closedWithTheProgram = false;
        QVERIFY(RunSettings(main, [&](CSettingsDlg& settings) {
            Button(&settings, D::IdTreeFont)->click();
            // A log-off or SIGTERM while the dialog is open.
            main.EndSession();
            closedWithTheProgram = !settings.isVisible();
            // Even an OK that slips in afterwards applies nothing to the destroyed window.
            settings.accept();
        }));
        QVERIFY(closedWithTheProgram);
        QVERIFY(main.IsDestroyed());
        QCOMPARE(main.FolderTree()->font(), tree);
        QCOMPARE(GetProfileInt("DirTreeFont", "lfHeight", 0), -12);
    }

    void alwaysOnTopKeepsTheProgramRunning()
    {
        // The main window runs modally for the whole program: hiding it on the way to always on
        // top would end that run before the user closes it.
        CSonavelDlg main;
        bool stillRunning = false;
        QTimer::singleShot(0, &main, [&] {
            QVERIFY(RunSettings(main, [](CSettingsDlg& settings) {
                Button(&settings, D::IdMainOnTop)->click();
                Button(&settings, D::IdOk)->click();
            }));
            QTimer::singleShot(50, &main, [&] {
                stillRunning = main.isVisible();
                main.Close();
            });
        });
        main.exec();
        QVERIFY(stillRunning);
        QVERIFY(main.IsTopmost());
        QCOMPARE(GetProfileInt(kMain, "MainAlwaysOnTop", -1), 1);
    }

    void topmostOrder_data()
    {
        QTest::addColumn<bool>("mainBefore");
        QTest::addColumn<bool>("videoBefore");
        QTest::addColumn<bool>("mainChecked");
        QTest::addColumn<bool>("videoChecked");
        QTest::addColumn<bool>("mainAfter");
        QTest::addColumn<bool>("videoAfter");
        QTest::newRow("video on") << false << false << false << true << false << true;
        // Unchecking the video box never lowers the video window.
        QTest::newRow("video off stays") << false << true << false << false << false << true;
        // With the main window on top, the video window is left as it was.
        QTest::newRow("main on") << false << false << true << true << true << false;
        QTest::newRow("main off") << true << false << false << true << false << true;
    }

    void topmostOrder()
    {
        QFETCH(bool, mainBefore);
        QFETCH(bool, videoBefore);
        QFETCH(bool, mainChecked);
        QFETCH(bool, videoChecked);
        QFETCH(bool, mainAfter);
        QFETCH(bool, videoAfter);
        CSonavelDlg main;
        main.SetTopmost(mainBefore);
        main.VideoDlg()->SetTopmost(videoBefore);
        QVERIFY(RunSettings(main, [&](CSettingsDlg& settings) {
            if (Button(&settings, D::IdMainOnTop)->isChecked() != mainChecked)
                Button(&settings, D::IdMainOnTop)->click();
            if (Button(&settings, D::IdVideoOnTop)->isChecked() != videoChecked)
                Button(&settings, D::IdVideoOnTop)->click();
            Button(&settings, D::IdOk)->click();
        }));
        QCOMPARE(main.IsTopmost(), mainAfter);
        QCOMPARE(main.VideoDlg()->IsTopmost(), videoAfter);
        main.close();
    }

    void optionsAreAppliedAndStored()
    {
        CSonavelDlg main;
        QVERIFY(main.IsClipOnDesktop());
        QVERIFY(RunSettings(main, [](CSettingsDlg& settings) {
            for (int id : {D::IdClipOnDesktop, D::IdDetectCdrom, D::IdShowFilePath, D::IdDelPlaylist, D::IdReadM3u})
                Button(&settings, id)->click();
            QListWidget* list = DlgItem<QListWidget>(&settings, D::IdExtensions);
            while (list->count() > 0) {
                list->setCurrentRow(0);
                Button(&settings, D::IdDeleteExtension)->click();
            }
            Button(&settings, D::IdOk)->click();
        }));
        QVERIFY(!main.IsClipOnDesktop());
        QVERIFY(!main.VideoDlg()->IsClipOnDesktop());
        QVERIFY(!main.Control().DetectCdromMediaChange());
        QVERIFY(main.Options().Scan.ExtensionList.isEmpty());
        QVERIFY(!main.Options().Scan.ReadM3u);
        main.close();
        QCOMPARE(GetProfileInt(kMain, "ClipOnDesktop", -1), 0);
        QCOMPARE(GetProfileInt(kMain, "RdExtNum", -1), 0);
        QCOMPARE(GetProfileInt(kMain, "RdFile_m3u", -1), 0);
        QCOMPARE(GetProfileInt(kMain, "ShowFilePathOnTitleBar", -1), 1);
        QCOMPARE(GetProfileInt(kMain, "DelPlaylistOnExit", -1), 1);
        QCOMPARE(GetProfileInt("WMPSetting", "DetectCdromMediaChange", -1), 0);
    }

private:
    PlayerSandbox m_sandbox;
};

SONAVEL_TEST_MAIN(MainWindowSettingsTest)
#include "MainWindowSettingsTest.moc"
