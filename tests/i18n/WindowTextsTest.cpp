// Every window and dialog of both programs, opened in turn after the programs' own start-up on the
// desktop language CTest gives (en_US.UTF-8 or ja_JP.UTF-8): in English no Japanese text of the
// programs' own is left (the tracks, tags and lyrics are ASCII there) and no label cuts its letters
// above or below; in either language no text is wider than its control and none lies on a group's
// frame. Screenshots go to build/artifacts/.
#include "tests/support/Id3Writer.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/Mp3Fixture.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include "common/ui/Ui.h"
#include "platform/profile/Profile.h"
#include "player/app/LyricCommands.h"
#include "player/app/OnlineLyricCommands.h"
#include "player/app/SonavelApp.h"
#include "player/app/SonavelDlg.h"
#include "player/dialogs/ExtensionDlg.h"
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
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStyleOptionButton>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

namespace {

const bool kEnglishDesktop = qgetenv("LANG").startsWith("en");

QString Shot(const QString& name)
{
    const QString folder = qEnvironmentVariable("SONAVEL_BINARY_DIR") + "/artifacts";
    QDir().mkpath(folder);
    return folder + '/' + name + (kEnglishDesktop ? "-en.png" : "-ja.png");
}

// The room a label or a button leaves its text; -1 for other widgets.
int TextRoom(const QWidget* widget)
{
    if (const auto* label = qobject_cast<const QLabel*>(widget))
        return label->wordWrap() ? -1 : label->contentsRect().width() - std::max(label->indent(), 0);
    // Tool buttons show their icons; their texts are tool tips.
    const auto* button = qobject_cast<const QAbstractButton*>(widget);
    if (!button || qobject_cast<const QToolButton*>(button))
        return -1;
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    const auto contents = qobject_cast<const QCheckBox*>(button)      ? QStyle::SE_CheckBoxContents
                          : qobject_cast<const QRadioButton*>(button) ? QStyle::SE_RadioButtonContents
                                                                      : QStyle::SE_PushButtonContents;
    const int icon = button->icon().isNull() ? 0 : button->iconSize().width() + 4;
    return button->style()->subElementRect(contents, &option, button).width() - icon;
}

// Pixel rows of a one-line label's letters that lie outside it (descenders the Japanese heights cut).
int InkCut(const QLabel* label, const QString& text)
{
    const QFontMetrics metrics = label->fontMetrics();
    const int room = label->contentsRect().height(), baseline = (room - metrics.height()) / 2 + metrics.ascent();
    const QRect ink = metrics.tightBoundingRect(text).translated(0, baseline);
    return text.contains('\n') || label->wordWrap() ? 0 : std::max({0, -ink.top(), ink.bottom() - room + 1});
}

// What the windows show of their own texts, and what does not fit.
struct Findings {
    QStringList texts, faults;

    void Menu(const QMenu* menu, const QString& where)
    {
        texts << where + " menu '" + menu->title() + "'";
        for (const QAction* action : menu->actions()) {
            texts << where + " menu item '" + action->text() + "' tip '" + action->toolTip() + "'";
            if (action->menu() && action->menu() != menu)
                Menu(action->menu(), where);
        }
    }

    // Caption, labels, buttons, group titles, tool tips, placeholders, headers, the rows' tool tips
    // (the rows hold the user's names) and every menu of the window.
    void Window(const QWidget* window, const QString& name)
    {
        QList<QWidget*> widgets = window->findChildren<QWidget*>();
        widgets << const_cast<QWidget*>(window);
        for (const QWidget* widget : std::as_const(widgets)) {
            if (const auto* menu = qobject_cast<const QMenu*>(widget)) {
                Menu(menu, name);
                continue;
            }
            const QString where = name + ": " + widget->metaObject()->className() + ' ' + widget->objectName();
            QString text;
            QStringList own{widget->isWindow() ? widget->windowTitle() : QString(), widget->toolTip()};
            if (const auto* label = qobject_cast<const QLabel*>(widget))
                text = label->text();
            else if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
                text = button->text();
            else if (const auto* group = qobject_cast<const QGroupBox*>(widget))
                own << group->title();
            else if (const auto* edit = qobject_cast<const QLineEdit*>(widget))
                own << edit->placeholderText();
            else if (const auto* combo = qobject_cast<const QComboBox*>(widget))
                for (int item = 0; item < combo->count(); ++item)
                    own << combo->itemText(item);
            else if (const auto* header = qobject_cast<const QHeaderView*>(widget); header && header->model())
                for (int section = 0; section < header->count(); ++section)
                    own << header->model()->headerData(section, header->orientation()).toString();
            if (const auto* tree = qobject_cast<const QTreeWidget*>(widget))
                for (int row = 0; row < tree->topLevelItemCount(); ++row)
                    own << tree->topLevelItem(row)->toolTip(0) << tree->topLevelItem(row)->toolTip(1);
            for (const QAction* action : widget->actions()) {
                own << action->text() << action->toolTip();
                if (action->menu())
                    Menu(action->menu(), where);
            }
            for (const QString& shown : own << text)
                if (!shown.trimmed().isEmpty())
                    texts << where + " '" + shown + "'";
            if (widget->isVisibleTo(window))
                Fits(widget, where + " '" + text + "'", text);
        }
    }

    void Fits(const QWidget* widget, const QString& where, QString text)
    {
        static const QRegularExpression mnemonic(QStringLiteral("&(?!&)"));
        int widest = 0;
        for (const QString& line : text.remove(mnemonic).split('\n'))
            widest = std::max(widest, widget->fontMetrics().horizontalAdvance(line));
        if (const int room = TextRoom(widget); room >= 0 && widest > room)
            faults << where + QStringLiteral(" needs %1 px, has %2").arg(widest).arg(room);
        if (const auto* label = qobject_cast<const QLabel*>(widget); kEnglishDesktop && label && !text.isEmpty())
            if (const int cut = InkCut(label, text); cut > 0)
                faults << where + QStringLiteral(" loses %1 px of its letters above or below").arg(cut);
        if (!widget->parentWidget() || qobject_cast<const QGroupBox*>(widget))
            return;
        for (const QGroupBox* group : widget->parentWidget()->findChildren<QGroupBox*>(Qt::FindDirectChildrenOnly))
            if (group->geometry().intersects(widget->geometry()) &&
                !group->contentsRect().translated(group->pos()).contains(widget->geometry()))
                faults << where + " lies on the frame of '" + group->title() + "'";
    }
};

// Runs `open`, which shows a modal dialog or a pop-up menu, and hands what appeared to `look`
// before closing it; false when nothing appeared.
bool WithModal(const std::function<void()>& open, const std::function<void(QWidget*)>& look)
{
    bool seen = false;
    QTimer::singleShot(0, qApp, [&] {
        QWidget* shown = QApplication::activePopupWidget();
        if (!shown)
            shown = QApplication::activeModalWidget();
        if (shown) {
            seen = true;
            look(shown);
            shown->close();
        }
    });
    open();
    return seen;
}

// An ASCII track with its lyric file, or a Japanese one on a Japanese desktop for the screenshot.
QString WriteSong(TempFolder& folder)
{
    const QString music = folder.mkdir("music");
    const QString title = kEnglishDesktop ? "Twinkle, Twinkle, Little Star" : "さくらさくら";
    const QString artist = kEnglishDesktop ? "Traditional" : "日本古謡";
    const QString lines = kEnglishDesktop ? "[00:00.50]Twinkle, [00:01.50]twinkle, [00:02.50]little star,\n"
                                            "[00:04.00]How I [00:05.00]wonder [00:06.00]what you are\n"
                                          : "[00:00.50]さくら [00:01.50]さくら\n[00:03.00]やよいの [00:04.50]そらは\n";
    TestFiles::writeBytes(music + "/song.mp3",
                          Id3Writer::tag({{"TIT2", Id3Writer::textData(Id3Writer::Utf16, title)},
                                          {"TPE1", Id3Writer::textData(Id3Writer::Utf16, artist)}}) +
                              Mp3Fixture::silentFrames(60.0));
    TestFiles::writeBytes(music + "/song.lrc", ("[ti:" + title + "]\n[ar:" + artist + "]\n" + lines).toUtf8());
    return music;
}

} // namespace

class WindowTextsTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        qputenv("HOME", m_home.path().toUtf8());
        // The programs' single-instance lock of this test alone.
        qputenv("XDG_RUNTIME_DIR", m_home.mkdir("runtime").toUtf8());
    }

    void cleanupTestCase()
    {
        for (const MessageBoxPrompt& prompt : m_boxes.prompts())
            m_found.texts << "message box '" + prompt.text + "'";
        static const QRegularExpression japanese(
            QStringLiteral("[\\x{3040}-\\x{30ff}\\x{3400}-\\x{9fff}\\x{ff00}-\\x{ffef}]"));
        // The settings' samples show the chosen fonts' names: data, as the tracks' tags are.
        static const QRegularExpression data(QStringLiteral("CColorStatic|QLabel id(1014|1019|1013) "));
        QStringList left = kEnglishDesktop ? m_found.texts.filter(japanese) : QStringList();
        left.removeIf([](const QString& text) { return text.contains(data); });
        QVERIFY2(left.isEmpty(), qPrintable(left.join('\n')));
        QVERIFY2(m_found.faults.isEmpty(), qPrintable(m_found.faults.join('\n')));
        QVERIFY(m_found.texts.size() > 200);
    }

    void sonavelWindows()
    {
        TempFolder folder;
        Profile::setPath(folder.file("sonavel.ini"));
        WriteProfileHexString("CSonavelDlg", "DefaultFolderPath", WriteSong(folder));
        // The code pages the program is shipped with, beside the program as installed.
        TestFiles::writeBytes(folder.file("CodePage.txt"),
                              TestFiles::readBytes(qEnvironmentVariable("SONAVEL_SOURCE_DIR") +
                                                   "/player/resources/CodePage.txt"));
        // Searches go to a closed port of this machine: the dialog shows the failure, never the internet.
        WriteProfileString("CSonavelApp", "LyricsServer", QStringLiteral("http://127.0.0.1:9"));
        WriteProfileString("CSonavelApp", "LyricsAutoLookup", QStringLiteral("0"));
        CSonavelApp app(folder.file("sonavel"));
        bool ran = false;
        app.SetMainWindowRunner([&] {
            ran = true;
            QCOMPARE(Ui::tr("設定") != QStringLiteral("設定"), kEnglishDesktop);
            CSonavelDlg dialog;
            dialog.show();
            CKaraokeDlg& karaoke = dialog.Lyrics().KaraokeWindow();
            QTRY_VERIFY_WITH_TIMEOUT(karaoke.IsWindowCreated() && karaoke.isVisible(), 10000);
            QTest::qWait(300);
            m_found.Window(&dialog, "SonavelDlg");
            m_found.Window(&karaoke, "KaraokeDlg");
            m_found.Menu(dialog.WindowMenu(), "SonavelDlg");
            for (int popup = 0; popup < CLyricCommands::PopupCount; ++popup)
                m_found.Menu(dialog.Lyrics().Menu(CLyricCommands::Popup(popup)), "LyricMenu");
            SaveSideBySide(dialog, karaoke);
            QVERIFY(karaoke.grab().save(Shot("karaoke")));
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
        CBrindleApp brindle(folder.file("brindle"));
        brindle.InitInstance();
        CBrindleDlg dialog;
        dialog.OpenList(folder.write("list.txt", "a.txt\tc.txt\nb.txt\ta.txt\nmissing.txt\td.txt\nb.txt\te/f.txt\n"));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        m_found.Window(&dialog, "BrindleDlg");
        QVERIFY(dialog.grab().save(Shot("brindle")));
        QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(20, 20), dialog.mapToGlobal(QPoint(20, 20)));
        QVERIFY(WithModal([&] { QApplication::sendEvent(&dialog, &click); },
                          [&](QWidget* menu) { m_found.Menu(qobject_cast<QMenu*>(menu), "BrindleMenu"); }));
        QVERIFY(
            WithModal([&] { dialog.ShowAboutBox(); }, [&](QWidget* about) { m_found.Window(about, "BrindleAbout"); }));
    }

private:
    // The dialogs the main window opens, each as the user gets it.
    void CheckDialogs(CSonavelDlg& dialog)
    {
        for (auto [open, name] :
             {std::pair<std::function<void()>, QString>{[&] { dialog.OnSettingsButton(); }, "settings"},
              {[&] { dialog.OnAbout(); }, "about"}})
            QVERIFY(WithModal(open, [&](QWidget* shown) {
                m_found.Window(shown, name);
                QVERIFY(shown->grab().save(Shot(name)));
            }));
        // The search runs at once and fails on the closed port: its message is read too.
        dialog.Lyrics().Online().SearchForPlaying();
        dialog.Lyrics().Online().PublishShown();
        QTest::qWait(1000);
        CExtensionDlg extension(&dialog);
        CShortcutDlg shortcut(&dialog);
        CArtWorkDlg artwork(&dialog);
        for (QWidget* window : {static_cast<QWidget*>(dialog.findChild<CLyricSearchDlg*>()),
                                static_cast<QWidget*>(dialog.findChild<CLyricPublishDlg*>()),
                                static_cast<QWidget*>(&extension), static_cast<QWidget*>(&shortcut),
                                static_cast<QWidget*>(&artwork), static_cast<QWidget*>(dialog.VideoDlg())}) {
            QVERIFY(window);
            window->show();
            m_found.Window(window, window->metaObject()->className());
            window->close();
        }
    }

    // The main window with the karaoke window beside it, as one picture for the README.
    void SaveSideBySide(QWidget& main, QWidget& karaoke)
    {
        const QPixmap left = main.grab(), right = karaoke.grab();
        QImage image(left.width() + right.width() + 48, std::max(left.height(), right.height()) + 32,
                     QImage::Format_RGB32);
        image.fill(QColor(0xe8, 0xe8, 0xe8));
        QPainter painter(&image);
        painter.drawPixmap(16, 16, left);
        painter.drawPixmap(left.width() + 32, 16, right);
        QVERIFY(image.save(Shot("mainwindow-karaoke")));
    }

    TempFolder m_home;
    MessageBoxRecorder m_boxes{IDNO};
    Findings m_found;
};

SONAVEL_TEST_MAIN(WindowTextsTest)
#include "WindowTextsTest.moc"
