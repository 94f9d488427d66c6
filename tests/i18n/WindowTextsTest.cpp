// Every window and dialog of both programs, opened in turn after the programs' own start-up on the
// desktop language CTest gives (en_US.UTF-8 or ja_JP.UTF-8): in English no Japanese text of the
// programs' own is left (the test's tracks, tags and lyrics are ASCII there), and in either language
// no text is wider than its control. Screenshots of the main windows go to build/artifacts/.
#include "tests/i18n/WindowTexts.h"
#include "tests/support/Id3Writer.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/Mp3Fixture.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include "common/ui/AboutDlg.h"
#include "common/ui/Ui.h"
#include "platform/profile/Profile.h"
#include "player/app/LyricCommands.h"
#include "player/app/OnlineLyricCommands.h"
#include "player/app/SonavelApp.h"
#include "player/app/SonavelDlg.h"
#include "player/dialogs/ExtensionDlg.h"
#include "player/dialogs/SettingsDlg.h"
#include "player/dialogs/ShortcutDlg.h"
#include "player/karaoke/KaraokeDlg.h"
#include "player/karaoke/LyricPublishDlg.h"
#include "player/karaoke/LyricSearchDlg.h"
#include "player/library/ArtWorkDlg.h"
#include "player/settings/ProfileHelpers.h"
#include "player/widgets/WmpVideoDlg.h"
#include "renamer/BrindleApp.h"
#include "renamer/BrindleDlg.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>

#include <functional>

namespace {

bool IsEnglish()
{
    return Ui::tr("設定") != QStringLiteral("設定");
}

QString Language()
{
    return IsEnglish() ? QStringLiteral("en") : QStringLiteral("ja");
}

QString Artifacts()
{
    const QString folder = qEnvironmentVariable("SONAVEL_BINARY_DIR", QDir::currentPath()) + "/artifacts";
    QDir().mkpath(folder);
    return folder;
}

// Runs `open`, which shows a modal dialog or a pop-up menu, hands what appeared to `look`, then
// closes it; false when nothing appeared.
bool WithModal(const std::function<void()>& open, const std::function<void(QWidget*)>& look)
{
    bool seen = false;
    QTimer::singleShot(0, qApp, [&] {
        QWidget* shown = QApplication::activePopupWidget();
        if (!shown)
            shown = QApplication::activeModalWidget();
        if (!shown)
            return;
        seen = true;
        look(shown);
        shown->close();
    });
    open();
    return seen;
}

// The windows side by side on a light background, as one picture.
QImage SideBySide(const QList<QWidget*>& windows)
{
    QList<QPixmap> shots;
    QSize size(0, 0);
    for (QWidget* window : windows) {
        shots << window->grab();
        size = QSize(size.width() + shots.back().width() + 16, std::max(size.height(), shots.back().height()));
    }
    QImage image(size + QSize(16, 32), QImage::Format_RGB32);
    image.fill(QColor(0xe8, 0xe8, 0xe8));
    QPainter painter(&image);
    int x = 16;
    for (const QPixmap& shot : shots) {
        painter.drawPixmap(x, 16, shot);
        x += shot.width() + 16;
    }
    return image;
}

} // namespace

class WindowTextsTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        m_home = std::make_unique<TempFolder>();
        qputenv("HOME", m_home->path().toUtf8());
        // The programs' single-instance lock of this test alone.
        qputenv("XDG_RUNTIME_DIR", m_home->mkdir("runtime").toUtf8());
        m_boxes = std::make_unique<MessageBoxRecorder>(IDNO);
    }

    void cleanupTestCase()
    {
        QStringList prompts;
        for (const MessageBoxPrompt& prompt : m_boxes->prompts())
            prompts << QStringLiteral("message box '%1'").arg(prompt.text);
        Report(prompts);
        QVERIFY2(m_japanese.isEmpty(), qPrintable(m_japanese.join('\n')));
        QVERIFY2(m_clipped.isEmpty(), qPrintable(m_clipped.join('\n')));
    }

    void sonavelWindows()
    {
        TempFolder folder;
        const QString music = WriteSong(folder);
        Profile::setPath(folder.file("sonavel.ini"));
        WriteProfileHexString("CSonavelDlg", "DefaultFolderPath", music);
        // Searches go to a closed port of this machine: the dialogs show the failure, never the internet.
        WriteProfileString("CSonavelApp", "LyricsServer", QStringLiteral("http://127.0.0.1:9"));
        WriteProfileString("CSonavelApp", "LyricsAutoLookup", QStringLiteral("0"));
        CSonavelApp app(folder.file("sonavel"));
        bool ran = false;
        app.SetMainWindowRunner([&] {
            ran = true;
            QCOMPARE(IsEnglish(), qgetenv("LANG").startsWith("en"));
            CSonavelDlg dialog;
            dialog.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            CKaraokeDlg& karaoke = dialog.Lyrics().KaraokeWindow();
            QTRY_VERIFY_WITH_TIMEOUT(karaoke.IsWindowCreated() && karaoke.isVisible(), 10000);
            QTest::qWait(300);
            Check(&dialog, "SonavelDlg");
            Check(&karaoke, "KaraokeDlg");
            CheckMenu(dialog.WindowMenu(), "SonavelDlg");
            for (int popup = 0; popup < CLyricCommands::PopupCount; ++popup)
                CheckMenu(dialog.Lyrics().Menu(CLyricCommands::Popup(popup)), "LyricMenu");
            QVERIFY(SideBySide({&dialog, &karaoke}).save(Artifacts() + "/mainwindow-karaoke-" + Language() + ".png"));
            QVERIFY(karaoke.grab().save(Artifacts() + "/karaoke-" + Language() + ".png"));
            CheckDialogs(dialog);
        });
        QCOMPARE(app.Run({}), 0);
        QVERIFY(ran);
    }

    void brindleWindows()
    {
        TempFolder folder;
        folder.write("a.txt", "a");
        folder.write("b.txt", "b");
        const QString list = folder.write("list.txt", "a.txt\tc.txt\nb.txt\ta.txt\nmissing.txt\td.txt\nb.txt\te/f.txt\n");
        CBrindleApp brindle(folder.file("brindle"));
        brindle.InitInstance();
        QCOMPARE(IsEnglish(), qgetenv("LANG").startsWith("en"));
        CBrindleDlg dialog;
        dialog.OpenList(list);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        Check(&dialog, "BrindleDlg");
        QVERIFY(dialog.grab().save(Artifacts() + "/brindle-" + Language() + ".png"));
        QVERIFY(WithModal(
            [&] {
                QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(20, 20), dialog.mapToGlobal(QPoint(20, 20)));
                QApplication::sendEvent(&dialog, &event);
            },
            [&](QWidget* menu) { Report(WindowTexts::shownInMenu(qobject_cast<QMenu*>(menu), "BrindleMenu")); }));
        QVERIFY(WithModal([&] { dialog.ShowAboutBox(); }, [&](QWidget* about) { Check(about, "BrindleAbout"); }));
    }

private:
    // An ASCII track with its lyric file, or a Japanese one on a Japanese desktop (for the screenshot).
    static QString WriteSong(TempFolder& folder)
    {
        const bool english = qgetenv("LANG").startsWith("en");
        const QString music = folder.mkdir("music");
        const QString title =
            english ? QStringLiteral("Twinkle, Twinkle, Little Star") : QStringLiteral("さくらさくら");
        const QString artist = english ? QStringLiteral("Traditional") : QStringLiteral("日本古謡");
        const QByteArray tag =
            Id3Writer::tag({{"TIT2", Id3Writer::textData(Id3Writer::Utf16, title)},
                            {"TPE1", Id3Writer::textData(Id3Writer::Utf16, artist)},
                            {"TALB", Id3Writer::textData(Id3Writer::Utf16, QStringLiteral("Demo"))}});
        TestFiles::writeBytes(music + "/song.mp3", tag + Mp3Fixture::silentFrames(60.0));
        const QString lyrics = english ? QStringLiteral("[ti:Twinkle, Twinkle, Little Star]\n[ar:Traditional]\n"
                                                        "[00:00.50]Twinkle, [00:01.50]twinkle, [00:02.50]little star,\n"
                                                        "[00:04.00]How I [00:05.00]wonder [00:06.00]what you are\n")
                                       : QStringLiteral("[ti:さくらさくら]\n[ar:日本古謡]\n"
                                                        "[00:00.50]さくら [00:01.50]さくら\n"
                                                        "[00:03.00]やよいの [00:04.50]そらは\n");
        TestFiles::writeBytes(music + "/song.lrc", lyrics.toUtf8());
        return music;
    }

    void Report(const QStringList& texts)
    {
        if (IsEnglish())
            m_japanese << WindowTexts::japanese(texts);
    }

    void Check(QWidget* window, const char* name)
    {
        QStringList texts = WindowTexts::shown(window, QString::fromLatin1(name));
        // The settings' samples show the chosen fonts' names: data, as the tracks' tags are.
        static const QRegularExpression samples(QStringLiteral("CColorStatic|QLabel id(1014|1019|1013) "));
        texts.removeIf([](const QString& text) { return text.contains(samples); });
        Report(texts);
        m_clipped << WindowTexts::clipped(window, QString::fromLatin1(name));
    }

    void CheckMenu(const QMenu* menu, const char* name)
    {
        QVERIFY(menu);
        Report(WindowTexts::shownInMenu(menu, QString::fromLatin1(name)));
    }

    // The dialogs the main window opens, each as the user gets it.
    void CheckDialogs(CSonavelDlg& dialog)
    {
        QVERIFY(WithModal([&] { dialog.OnSettingsButton(); },
                          [&](QWidget* settings) {
                              Check(settings, "SettingsDlg");
                              QVERIFY(settings->grab().save(Artifacts() + "/settings-" + Language() + ".png"));
                          }));
        QVERIFY(WithModal([&] { dialog.OnAbout(); },
                          [&](QWidget* about) {
                              Check(about, "SonavelAbout");
                              QVERIFY(about->grab().save(Artifacts() + "/about-" + Language() + ".png"));
                          }));
        // The search runs at once and fails on the closed port: its message is shown too.
        dialog.Lyrics().Online().SearchForPlaying();
        CLyricSearchDlg* search = dialog.findChild<CLyricSearchDlg*>();
        QVERIFY(search);
        QTest::qWait(1000);
        Check(search, "LyricSearchDlg");
        search->close();
        dialog.Lyrics().Online().PublishShown();
        CLyricPublishDlg* publish = dialog.findChild<CLyricPublishDlg*>();
        QVERIFY(publish);
        Check(publish, "LyricPublishDlg");
        publish->close();
        CExtensionDlg extension(&dialog);
        extension.show();
        Check(&extension, "ExtensionDlg");
        CShortcutDlg shortcut(&dialog);
        shortcut.show();
        Check(&shortcut, "ShortcutDlg");
        CArtWorkDlg artwork(&dialog);
        artwork.show();
        Check(&artwork, "ArtWorkDlg");
        Check(dialog.VideoDlg(), "WmpVideoDlg");
    }

    std::unique_ptr<TempFolder> m_home;
    std::unique_ptr<MessageBoxRecorder> m_boxes;
    QStringList m_japanese;
    QStringList m_clipped;
};

SONAVEL_TEST_MAIN(WindowTextsTest)
#include "WindowTextsTest.moc"
