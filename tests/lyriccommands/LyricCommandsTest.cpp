#include "tests/support/Id3Writer.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/Mp3Fixture.h"
#include "tests/support/PlayerSandbox.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include "platform/engine/Player.h"
#include "platform/profile/Profile.h"
#include "player/app/LyricCommands.h"
#include "player/app/SonavelDlg.h"
#include "player/app/SonavelStrings.h"
#include "player/karaoke/KaraokeDlg.h"
#include "player/karaoke/KaraokeStatic.h"
#include "player/library/TrackListCtrl.h"
#include "player/settings/ProfileHelpers.h"
#include "player/widgets/ScrollStatic.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>

#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr char kMain[] = "CSonavelDlg";
const QString kReadCaption = QStringLiteral("CSonavelDlg::ReadKaraokeFile");

// A track of the test folder: its tag's title and lyrics, and a lyric file beside it.
struct Song {
    QString name;             // file name without ".mp3"
    QString title;
    QString tagLyrics;        // empty: no lyrics frame
    QString fileLyrics;       // empty: no lyric file
    QString album = QStringLiteral("アルバム");
};

QString Caption(const QString& title)
{
    return QStringLiteral("再生中 [ %1 ]").arg(title);
}

// The words of a lyric document, blocks joined.
QString Words(const CKaraokeData& data)
{
    QString words;
    for (const CKaraokeBlock* block = data.FirstBlock(); block; block = block->Next())
        for (const CKaraokeToken& token : block->Tokens)
            if (!token.IsLineBreak())
                words += token.Text();
    return words;
}

// The enabled items of a pop-up, by command id.
// The row's commands; the karaoke controls' pop-up at the end acts on the playing track instead.
QList<int> EnabledItems(const QMenu* menu)
{
    QList<int> ids;
    for (const QAction* action : menu->actions())
        if (!action->isSeparator() && !action->menu() && action->isEnabled())
            ids.append(action->data().toInt());
    return ids;
}

} // namespace

// The main window's lyric work with the real engine and real files: which lyrics a track gets and
// where they show, the karaoke window's notifications, and the track list's right-click commands.
class LyricCommandsTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        m_sandbox.SetUpHome();
    }

    void init()
    {
        m_sandbox.SetUpTest();
        // An editor that writes down what it was given, one argument a line.
        m_editorLog = m_sandbox.temp->file("editor args.txt");
        const QString script = m_sandbox.temp->write("my editor.sh", QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$@\" > \"%1\"\n")
                                                                 .arg(m_editorLog)
                                                                 .toUtf8());
        QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        WriteProfileString(kMain, "KaraokeEditorPath", QStringLiteral("\"%1\" --line \"two words\"").arg(script));
    }

    void cleanup()
    {
        m_sandbox.TearDownTest();
    }

    void lyricFileWinsOverTagLyrics()
    {
        const QString folder = MakeFolder({{"a", "歌", "タグの歌詞", "[00:00:50]ファイルの歌詞"}});
        CSonavelDlg dialog;
        QTRY_COMPARE(dialog.windowTitle(), Caption("歌"));
        CLyricCommands& lyrics = dialog.Lyrics();
        QTRY_VERIFY(lyrics.KaraokeWindow().IsWindowCreated());
        QCOMPARE(lyrics.CurrentLyricPath(), folder + "/a.kra");
        QCOMPARE(lyrics.KaraokeWindow().LyricPath(), folder + "/a.kra");
        QCOMPARE(Words(lyrics.KaraokeWindow().Display()->Data()), QStringLiteral("ファイルの歌詞"));
        // The line holds them too, shown only once the window is closed.
        QCOMPARE(Words(dialog.ScrollLine()->Data()), QStringLiteral("ファイルの歌詞"));
        QVERIFY(!dialog.ScrollLine()->ShowsKaraokeFace());
        // The now-playing texts reached the line.
        QCOMPARE(dialog.ScrollLine()->Text(CScrollStatic::ItemFileName), QStringLiteral("a.mp3"));
        QCOMPARE(dialog.ScrollLine()->Text(CScrollStatic::ItemTitle), QStringLiteral("歌"));
        QCOMPARE(m_sandbox.boxes->count(), 0);
    }

    void badLyricFileFallsBackToTagLyricsSilently_data()
    {
        QTest::addColumn<bool>("unreadable"); // else its tags run backwards
        QTest::newRow("tags run backwards") << false;
        QTest::newRow("cannot be read") << true;
    }

    void badLyricFileFallsBackToTagLyricsSilently()
    {
        QFETCH(bool, unreadable);
        if (unreadable && geteuid() == 0)
            QSKIP("root reads every file");
        const QString folder = MakeFolder({{"a", "歌", "タグの歌詞", "[00:02:00]後[00:01:00]先"}});
        if (unreadable)
            QFile::setPermissions(folder + "/a.kra", {});
        CSonavelDlg dialog;
        QTRY_COMPARE(dialog.windowTitle(), Caption("歌"));
        CLyricCommands& lyrics = dialog.Lyrics();
        QTRY_VERIFY(lyrics.KaraokeWindow().IsWindowCreated());
        QCOMPARE(Words(lyrics.KaraokeWindow().Display()->Data()), QStringLiteral("タグの歌詞"));
        QVERIFY(lyrics.KaraokeWindow().LyricPath().isEmpty());
        QVERIFY(lyrics.CurrentLyricPath().isEmpty());
        // The line holds the tag's lyrics too, for when the window is closed (and for MPRIS).
        QCOMPARE(Words(dialog.ScrollLine()->Data()), QStringLiteral("タグの歌詞"));
        QCOMPARE(m_sandbox.boxes->count(), 0);
    }

    void badLyricFileWithoutTagLyricsIsReportedOnce()
    {
        const QString folder = MakeFolder({{"a", "歌", {}, "[00:02:00]後[00:01:00]先"}});
        CSonavelDlg dialog;
        QTRY_COMPARE(dialog.windowTitle(), Caption("歌"));
        QTRY_COMPARE(m_sandbox.boxes->count(), 1);
        const MessageBoxPrompt prompt = m_sandbox.boxes->prompts().first();
        QCOMPARE(prompt.text, QStringLiteral("カラオケデータ \"%1/a.kra\" の読み込みに失敗しました").arg(folder));
        QCOMPARE(prompt.caption, kReadCaption);
        QCOMPARE(prompt.flags, unsigned(MB_OK | MB_ICONWARNING));
        QVERIFY(!dialog.Lyrics().KaraokeWindow().IsWindowCreated());
        QVERIFY(!dialog.ScrollLine()->HasLyrics());
        QTest::qWait(200);
        QCOMPARE(m_sandbox.boxes->count(), 1);
    }

    void lyricMarkMenuIsEnabledByTheRowsLyrics_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("windowOpen");
        QTest::addColumn<QList<int>>("enabled");
        const int show = CLyricCommands::IdKaraokeShow;
        const int create = CLyricCommands::IdKaraokeNew;
        const int edit = CLyricCommands::IdKaraokeEdit;
        const int remove = CLyricCommands::IdKaraokeDelete;
        const int search = CLyricCommands::IdLyricsSearch;
        const int publish = CLyricCommands::IdLyricsPublish;
        const int stage = CLyricCommands::IdStageView;
        // Row 0 plays and has a file and tag lyrics; 1 a file; 2 tag lyrics; 3 nothing.
        QTest::newRow("playing, window open") << 0 << true << QList<int>{edit, remove, search, publish, stage};
        QTest::newRow("playing, window closed") << 0 << false << QList<int>{show, edit, remove, search, publish, stage};
        QTest::newRow("not playing, file") << 1 << false << QList<int>{edit, remove, search, publish, stage};
        QTest::newRow("not playing, tag lyrics") << 2 << false << QList<int>{create, search, stage};
        QTest::newRow("no lyrics") << 3 << false << QList<int>{create, search, stage};
    }

    void lyricMarkMenuIsEnabledByTheRowsLyrics()
    {
        QFETCH(int, row);
        QFETCH(bool, windowOpen);
        QFETCH(QList<int>, enabled);
        MakeFolder({{"a", "A", "タグ", "[00:01:00]a"}, {"b", "B", {}, "[00:01:00]b"}, {"c", "C", "タグ", {}},
                    {"d", "D", {}, {}}});
        CSonavelDlg dialog;
        QTRY_COMPARE(dialog.windowTitle(), Caption("A"));
        CKaraokeDlg& window = dialog.Lyrics().KaraokeWindow();
        QTRY_VERIFY(window.IsWindowCreated());
        if (!windowOpen)
            window.reject();
        const std::optional<CLyricCommands::Popup> popup = dialog.Lyrics().PrepareContextMenu(MarkOf(dialog, row));
        QCOMPARE(popup, std::optional(CLyricCommands::PopupLyricMark));
        QCOMPARE(dialog.Lyrics().ContextRow(), row);
        QCOMPARE(EnabledItems(dialog.Lyrics().Menu(CLyricCommands::PopupLyricMark)), enabled);
    }

    void rightClickMenusByColumn()
    {
        MakeFolder({{"a", "A", {}, {}}});
        CSonavelDlg dialog;
        dialog.resize(1000, 500);
        QTRY_COMPARE(dialog.windowTitle(), Caption("A"));
        CTrackListCtrl* list = dialog.TrackList();
        const auto cellCentre = [list](int column) { return list->visualRect(list->model()->index(0, column)).center(); };
        CLyricCommands& lyrics = dialog.Lyrics();
        QCOMPARE(lyrics.PrepareContextMenu(cellCentre(1)), std::optional(CLyricCommands::PopupTitle));
        QCOMPARE(lyrics.PrepareContextMenu(cellCentre(2)), std::optional(CLyricCommands::PopupArtist));
        QCOMPARE(lyrics.PrepareContextMenu(cellCentre(3)), std::optional(CLyricCommands::PopupAlbum));
        QCOMPARE(lyrics.PrepareContextMenu(cellCentre(4)), std::nullopt);
        const QRect fileName = list->visualRect(list->model()->index(0, 0));
        QCOMPARE(lyrics.PrepareContextMenu(QPoint(fileName.right() - 3, fileName.center().y())), std::nullopt);
        QCOMPARE(lyrics.PrepareContextMenu(QPoint(5, list->viewport()->height() - 3)), std::nullopt);

        // A real right click on the lyric mark opens pop-up 0 with the menu's captions; the menu key
        // opens it on the first column of the current row (Qt puts it at the cell's centre).
        const auto popupBy = [list](QContextMenuEvent::Reason reason, QWidget* target, QPoint at) {
            QMenu* shown = nullptr;
            QTimer::singleShot(300, [&shown] {
                if ((shown = qobject_cast<QMenu*>(QApplication::activePopupWidget())))
                    shown->close();
            });
            QContextMenuEvent event(reason, at, list->viewport()->mapToGlobal(at));
            QApplication::sendEvent(target, &event);
            QTest::qWait(400);
            return shown;
        };
        const QMenu* shown = popupBy(QContextMenuEvent::Mouse, list->viewport(), MarkOf(dialog, 0));
        QCOMPARE(shown, lyrics.Menu(CLyricCommands::PopupLyricMark));
        QStringList captions;
        for (const QAction* action : shown->actions())
            captions.append(action->isSeparator() ? QStringLiteral("-") : action->text());
        QCOMPARE(captions, QStringList({"カラオケ表示", "-", "新規作成", "テキストエディタで開く", "-", "削除", "-",
                                            "歌詞を検索…", "公開…", "-", "ステージ表示", "ステージ表示の画面", "-", "カラオケ"}));
        QCOMPARE(lyrics.Menu(CLyricCommands::PopupTitle)->actions().first()->text(), QStringLiteral("コピー (タイトル)"));
        QCOMPARE(lyrics.Menu(CLyricCommands::PopupArtist)->actions().first()->text(), QStringLiteral("コピー(アーティスト)"));
        QCOMPARE(lyrics.Menu(CLyricCommands::PopupAlbum)->actions().first()->text(), QStringLiteral("コピー(アルバム)"));
        for (const int column : {0, 1}) {
            list->setCurrentIndex(list->model()->index(0, column));
            const QPoint cell = list->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
            QCOMPARE(popupBy(QContextMenuEvent::Keyboard, list, cell),
                     lyrics.Menu(column == 0 ? CLyricCommands::PopupLyricMark : CLyricCommands::PopupTitle));
        }
    }

    void newLyricFileStartsWithTagLyricsAndHeaders()
    {
        const QString folder = MakeFolder({{"a", "A", {}, {}}, {"b", "曲名", QStringLiteral("一行目\r\n二行目"), {}}});
        CSonavelDlg dialog;
        QTRY_COMPARE(dialog.windowTitle(), Caption("A"));
        QVERIFY(!dialog.TrackList()->GetCheck(0));
        QVERIFY(dialog.TrackList()->GetCheck(1));
        for (int row : {1, 0}) {
            QVERIFY(dialog.Lyrics().PrepareContextMenu(MarkOf(dialog, row)));
            dialog.OnCommand(CLyricCommands::IdKaraokeNew);
            QVERIFY(dialog.TrackList()->GetCheck(row));
        }
        QCOMPARE(m_sandbox.boxes->count(), 0);
        QCOMPARE(TestFiles::readBytes(folder + "/b.kra"),
                 TestFiles::encode(QStringLiteral("@Title=曲名\r\n@Artist=歌手\r\n一行目\r\n二行目"), 1200, true));
        QCOMPARE(TestFiles::readBytes(folder + "/a.kra"),
                 TestFiles::encode(QStringLiteral("@Title=A\r\n@Artist=歌手\r\n"), 1200, true));
        // The editor got its own arguments, then the new file as one argument.
        QTRY_VERIFY(QFile::exists(m_editorLog));
        QTRY_COMPARE(EditorArguments(), QStringList({"--line", "two words", folder + "/a.kra"}));

        // A row that has a file gets no second one.
        QVERIFY(dialog.Lyrics().PrepareContextMenu(MarkOf(dialog, 0)));
        QVERIFY(!EnabledItems(dialog.Lyrics().Menu(CLyricCommands::PopupLyricMark)).contains(CLyricCommands::IdKaraokeNew));
        dialog.OnCommand(CLyricCommands::IdKaraokeNew);
        QCOMPARE(m_sandbox.boxes->count(), 1);
        QCOMPARE(m_sandbox.boxes->prompts().first().text, QStringLiteral("新規カラオケデータの作成に失敗しました"));
        QCOMPARE(m_sandbox.boxes->prompts().first().caption, QStringLiteral("OnKaraokeNew"));
    }

    void openInTheEditor()
    {
        const QString folder = MakeFolder({{"a", "A", {}, "[00:01:00]a"}});
        CSonavelDlg dialog;
        QTRY_COMPARE(dialog.windowTitle(), Caption("A"));
        QVERIFY(dialog.Lyrics().PrepareContextMenu(MarkOf(dialog, 0)));
        dialog.OnCommand(CLyricCommands::IdKaraokeEdit);
        QTRY_COMPARE(EditorArguments(), QStringList({"--line", "two words", folder + "/a.kra"}));
        // An editor that cannot start is not reported and starts nothing.
        QVERIFY(!CLyricCommands::StartEditor(QStringLiteral("\"%1\" x").arg(m_sandbox.temp->file("no such editor")), folder + "/a.kra"));
        QVERIFY(!CLyricCommands::StartEditor(QString(), folder + "/a.kra"));
        QCOMPARE(m_sandbox.boxes->count(), 0);
    }

    void deleteKeepsTheMarkOfTagLyrics_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("deleted");
        QTest::addColumn<bool>("marked");
        QTest::addColumn<bool>("secondFile"); // an .lrc beside the .kra
        // Row 0 has a file and tag lyrics, row 1 only a file.
        QTest::newRow("tag lyrics keep the mark") << 0 << int(IDYES) << true << true << false;
        QTest::newRow("file only") << 1 << int(IDYES) << true << false << false;
        QTest::newRow("answered no") << 1 << int(IDNO) << false << true << false;
        QTest::newRow("another lyric file keeps the mark") << 1 << int(IDYES) << true << true << true;
    }

    void deleteKeepsTheMarkOfTagLyrics()
    {
        QFETCH(int, row);
        QFETCH(int, answer);
        QFETCH(bool, deleted);
        QFETCH(bool, marked);
        QFETCH(bool, secondFile);
        const QString folder = MakeFolder({{"a", "A", "タグ", "[00:01:00]a"}, {"b", "B", {}, "[00:01:00]b"}});
        if (secondFile)
            QVERIFY(TestFiles::writeBytes(folder + "/b.lrc", QByteArrayLiteral("[00:01.00]b\n")));
        CSonavelDlg dialog;
        QTRY_COMPARE(dialog.windowTitle(), Caption("A"));
        const QString path = folder + (row == 0 ? "/a.kra" : "/b.kra");
        QVERIFY(dialog.Lyrics().PrepareContextMenu(MarkOf(dialog, row)));
        m_sandbox.boxes->queueAnswer(answer);
        dialog.OnCommand(CLyricCommands::IdKaraokeDelete);
        QCOMPARE(m_sandbox.boxes->count(), 1);
        const MessageBoxPrompt prompt = m_sandbox.boxes->prompts().first();
        QCOMPARE(prompt.text, QStringLiteral("カラオケデータ \"%1\" を削除します。よろしいですか？").arg(path));
        QCOMPARE(prompt.caption, QStringLiteral("OnKaraokeDel"));
        QCOMPARE(prompt.flags, unsigned(MB_YESNO | MB_ICONQUESTION));
        QCOMPARE(QFile::exists(path), !deleted);
        QCOMPARE(dialog.TrackList()->GetCheck(row), marked);
    }

    void deleteThatFailsShowsTheReason()
    {
        // The lyric file is a shortcut's target that no one may delete, not even root.
        const QString target = QStringLiteral("/proc/self/status");
        const QString folder = MakeFolder({{"a", "A", {}, {}}});
        QVERIFY(QFile::link(target, folder + "/a.kra.lnk"));
        CSonavelDlg dialog;
        QTRY_COMPARE(dialog.windowTitle(), Caption("A"));
        QVERIFY(dialog.Lyrics().PrepareContextMenu(MarkOf(dialog, 0)));
        dialog.OnCommand(CLyricCommands::IdKaraokeDelete);
        QCOMPARE(m_sandbox.boxes->count(), 2);
        const MessageBoxPrompt failure = m_sandbox.boxes->prompts().at(1);
        const QString start = QStringLiteral("カラオケデータ \"%1\" を削除できませんでした\n(").arg(target);
        QVERIFY2(failure.text.startsWith(start) && failure.text.endsWith(')') && failure.text.size() > start.size() + 1,
                 qPrintable(failure.text));
        QCOMPARE(failure.caption, QStringLiteral("OnKaraokeDel"));
        QCOMPARE(failure.flags, unsigned(MB_OK | MB_ICONWARNING));
        QVERIFY(dialog.TrackList()->GetCheck(0));
    }

    void copyPutsTheCellOnTheClipboard_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("text");
        QTest::newRow("title") << int(CLyricCommands::IdCopyTitle) << QStringLiteral("題名");
        QTest::newRow("artist") << int(CLyricCommands::IdCopyArtist) << QStringLiteral("歌手");
        QTest::newRow("empty album") << int(CLyricCommands::IdCopyAlbum) << QString();
    }

    void copyPutsTheCellOnTheClipboard()
    {
        QFETCH(int, command);
        QFETCH(QString, text);
        MakeFolder({{"a", "題名", {}, {}, QString()}});
        CSonavelDlg dialog;
        dialog.resize(1000, 500);
        QTRY_COMPARE(dialog.windowTitle(), Caption("題名"));
        QGuiApplication::clipboard()->setText(QStringLiteral("前のテキスト"));
        CTrackListCtrl* list = dialog.TrackList();
        const int column = command - CLyricCommands::IdCopyTitle + 1;
        QVERIFY(dialog.Lyrics().PrepareContextMenu(list->visualRect(list->model()->index(0, column)).center()));
        dialog.OnCommand(command);
        QCOMPARE(QGuiApplication::clipboard()->text(), text);
        QVERIFY(QGuiApplication::clipboard()->mimeData()->hasText());
        QCOMPARE(m_sandbox.boxes->count(), 0);
    }

    void closedWindowSendsTheNextLyricsToTheScrollingLine()
    {
        MakeFolder({{"a", "A", {}, "[00:00:10]最初"}, {"b", "B", {}, "[00:00:10]次の歌"}});
        CSonavelDlg dialog;
        QTRY_COMPARE(dialog.windowTitle(), Caption("A"));
        CKaraokeDlg& window = dialog.Lyrics().KaraokeWindow();
        QTRY_VERIFY(window.IsWindowCreated());
        // The user closes the window (1225): the lyrics go on in the line.
        window.reject();
        QVERIFY(!window.IsWindowCreated());
        QVERIFY(dialog.ScrollLine()->IsKaraokeLine());
        QVERIFY(dialog.ScrollLine()->ShowsKaraokeFace());

        dialog.Control().PlayRow(1);
        QTRY_COMPARE(dialog.windowTitle(), Caption("B"));
        QCOMPARE(Words(dialog.ScrollLine()->Data()), QStringLiteral("次の歌"));
        QVERIFY(dialog.ScrollLine()->ShowsKaraokeFace());
        QTest::qWait(300);
        QVERIFY(!window.IsWindowCreated());
        // The window holds them all the same, and the timer keeps it and the line going.
        QCOMPARE(Words(window.Display()->Data()), QStringLiteral("次の歌"));
        QTRY_VERIFY(dialog.ScrollLine()->LyricClockMs() > 0);
        QTRY_VERIFY(window.Display()->WipePosition() > 0);

        // A double click on the playing row's lyric mark brings the window back.
        const QPoint mark = MarkOf(dialog, 1);
        QTest::mouseClick(dialog.TrackList()->viewport(), Qt::LeftButton, {}, mark);
        QTest::mouseDClick(dialog.TrackList()->viewport(), Qt::LeftButton, {}, mark);
        QVERIFY(window.IsWindowCreated());
        QVERIFY(!dialog.ScrollLine()->IsKaraokeLine());
        QCOMPARE(Words(window.Display()->Data()), QStringLiteral("次の歌"));
        QCOMPARE(dialog.windowTitle(), Caption("B")); // not played again
        // Closed again, the show command opens it.
        window.reject();
        QVERIFY(dialog.Lyrics().PrepareContextMenu(MarkOf(dialog, 1)));
        dialog.OnCommand(CLyricCommands::IdKaraokeShow);
        QVERIFY(window.IsWindowCreated());
        QVERIFY(!dialog.ScrollLine()->IsKaraokeLine());
        QCOMPARE(m_sandbox.boxes->count(), 0);
    }

    void leavingEditModeBringsTheWindowToTheNewTrack_data()
    {
        QTest::addColumn<QString>("nextTag");   // the next track's tag lyrics
        QTest::addColumn<QString>("nextFile");  // its lyric file
        QTest::addColumn<QString>("shown");     // what the window shows after editing; empty: closed
        QTest::newRow("lyric file") << QString() << QStringLiteral("[00:00:10]次の歌") << QStringLiteral("次の歌");
        QTest::newRow("tag lyrics") << QStringLiteral("タグの歌") << QString() << QStringLiteral("タグの歌");
        QTest::newRow("no lyrics") << QString() << QString() << QString();
    }

    void leavingEditModeBringsTheWindowToTheNewTrack()
    {
        QFETCH(QString, nextTag);
        QFETCH(QString, nextFile);
        QFETCH(QString, shown);
        const QString folder = MakeFolder({{"a", "A", {}, "[00:00:10]最初"}, {"b", "B", nextTag, nextFile}});
        CSonavelDlg dialog;
        QTRY_COMPARE(dialog.windowTitle(), Caption("A"));
        CKaraokeDlg& window = dialog.Lyrics().KaraokeWindow();
        QTRY_VERIFY(window.IsWindowCreated());
        auto* edit = DlgItem<QPushButton>(&window, CKaraokeDlg::IdEdit);
        edit->click();
        QCOMPARE(window.GetMode(), int(CKaraokeStatic::ModeEdit));

        dialog.Control().PlayRow(1);
        QTRY_COMPARE(dialog.windowTitle(), Caption("B"));
        // The window keeps the lyrics being edited; the line has the new track's, from its file or tags.
        QCOMPARE(window.LyricPath(), folder + "/a.kra");
        QCOMPARE(Words(window.Display()->Data()), QStringLiteral("最初"));
        const QString newPath = nextFile.isEmpty() ? QString() : folder + "/b.kra";
        QCOMPARE(Words(dialog.ScrollLine()->Data()), shown);
        QCOMPARE(dialog.Lyrics().CurrentLyricPath(), newPath);

        edit->click();
        QCOMPARE(window.GetMode(), int(CKaraokeStatic::ModeView));
        QCOMPARE(window.IsWindowCreated(), !shown.isEmpty());
        if (!shown.isEmpty()) {
            QCOMPARE(window.LyricPath(), newPath);
            QCOMPARE(Words(window.Display()->Data()), shown);
        }
        QVERIFY(!edit->isChecked());
        QCOMPARE(m_sandbox.boxes->count(), 0);
    }

    void savedEditsReachTheScrollingLine()
    {
        const QString folder = MakeFolder({{"a", "A", {}, "@Title=元\r\n[00:00:10]歌"}});
        CSonavelDlg dialog;
        QTRY_COMPARE(dialog.windowTitle(), Caption("A"));
        CKaraokeDlg& window = dialog.Lyrics().KaraokeWindow();
        QTRY_VERIFY(window.IsWindowCreated());
        QCOMPARE(dialog.ScrollLine()->Data().Header.Title, QStringLiteral("元"));
        auto* edit = DlgItem<QPushButton>(&window, CKaraokeDlg::IdEdit);
        edit->click();
        DlgItem<QLineEdit>(&window, CKaraokeDlg::IdTitle)->setText(QStringLiteral("新"));
        m_sandbox.boxes->queueAnswer(IDYES);
        edit->click();
        QCOMPARE(m_sandbox.boxes->count(), 1); // the question whether to save
        QCOMPARE(window.GetMode(), int(CKaraokeStatic::ModeView));
        QCOMPARE(dialog.ScrollLine()->Data().Header.Title, QStringLiteral("新"));
        QVERIFY(TestFiles::readBytes(folder + "/a.kra").contains(TestFiles::encode(QStringLiteral("@Title=新"), 1200)));
    }

    void unreadableLyricFileLeavesNothingOfTheTrackBefore_data()
    {
        QTest::addColumn<bool>("fifo"); // else its tags run backwards
        QTest::newRow("tags run backwards") << false;
        QTest::newRow("read error") << true;
    }

    void unreadableLyricFileLeavesNothingOfTheTrackBefore()
    {
        QFETCH(bool, fifo);
        const QString folder = MakeFolder({{"a", "A", {}, "[00:00:10]前の歌"}, {"b", "B", {}, "[00:00:20]後[00:00:10]先"}});
        if (fifo)
            QVERIFY(QFile::remove(folder + "/b.kra") && ::mkfifo(QFile::encodeName(folder + "/b.kra"), 0600) == 0);
        CSonavelDlg dialog;
        QTRY_COMPARE(dialog.windowTitle(), Caption("A"));
        CKaraokeDlg& window = dialog.Lyrics().KaraokeWindow();
        QTRY_VERIFY(window.IsWindowCreated());
        dialog.Control().PlayRow(1);
        QTRY_COMPARE(dialog.windowTitle(), Caption("B"));
        QTRY_COMPARE(m_sandbox.boxes->count(), 1);
        QVERIFY(!window.IsWindowCreated());
        QCOMPARE(Words(window.Display()->Data()), QString());
        QVERIFY(!dialog.ScrollLine()->HasLyrics());
        QVERIFY(dialog.Lyrics().PrepareContextMenu(MarkOf(dialog, 1)));
        QVERIFY(!EnabledItems(dialog.Lyrics().Menu(CLyricCommands::PopupLyricMark)).contains(CLyricCommands::IdKaraokeShow));
    }

    void editedTagLyricsBecomeTheTracksLyricFile()
    {
        const QString folder = MakeFolder({{"a", "A", "[00:00.10]タグの <00:00.50>歌", {}}});
        const QByteArray track = TestFiles::readBytes(folder + "/a.mp3");
        CSonavelDlg dialog;
        QTRY_COMPARE(dialog.windowTitle(), Caption("A"));
        CKaraokeDlg& window = dialog.Lyrics().KaraokeWindow();
        QTRY_VERIFY(window.IsWindowCreated());
        QVERIFY(window.LyricPath().isEmpty());
        auto* edit = DlgItem<QPushButton>(&window, CKaraokeDlg::IdEdit);
        QVERIFY(edit->isEnabled());
        edit->click();
        CKaraokeStatic& display = *window.Display();
        QVERIFY(display.OpenInlineEdit({display.Data().FirstBlock()->Next(), 0}));
        display.InlineEdit()->setText(QStringLiteral("直した "));
        QTest::keyClick(display.InlineEdit(), Qt::Key_Return);
        m_sandbox.boxes->queueAnswer(IDYES);
        edit->click();
        QCOMPARE(window.GetMode(), int(CKaraokeStatic::ModeView));

        const QString lrc = folder + "/a.lrc";
        QCOMPARE(QString::fromUtf8(TestFiles::readBytes(lrc)), QStringLiteral("[ti:A]\r\n[ar:歌手]\r\n[00:00.10]直した <00:00.50>歌"));
        QCOMPARE(TestFiles::readBytes(folder + "/a.mp3"), track);
        QCOMPARE(dialog.Lyrics().CurrentLyricPath(), lrc);
        QCOMPARE(Words(dialog.ScrollLine()->Data()), QStringLiteral("直した 歌"));
        // The next play finds the new file.
        dialog.OnCommand(CSonavelDlg::IdStop);
        QTRY_COMPARE(dialog.windowTitle(), QStringLiteral("停止中"));
        dialog.OnCommand(CSonavelDlg::IdPlay);
        QTRY_VERIFY(window.IsWindowCreated());
        QCOMPARE(window.LyricPath(), lrc);
        QCOMPARE(Words(window.Display()->Data()), QStringLiteral("直した 歌"));
    }

    void stopClosesTheWindowUnlessEditing()
    {
        MakeFolder({{"a", "A", {}, "[00:00:10]歌"}});
        CSonavelDlg dialog;
        QTRY_COMPARE(dialog.windowTitle(), Caption("A"));
        CKaraokeDlg& window = dialog.Lyrics().KaraokeWindow();
        QTRY_VERIFY(window.IsWindowCreated());
        dialog.OnCommand(CSonavelDlg::IdStop);
        QTRY_COMPARE(dialog.windowTitle(), QStringLiteral("停止中"));
        QVERIFY(!window.IsWindowCreated());
        // Stopping is not the user closing the window: the next play opens it again.
        QVERIFY(!dialog.ScrollLine()->IsKaraokeLine());
        dialog.OnCommand(CSonavelDlg::IdPlay);
        QTRY_VERIFY(window.IsWindowCreated());
        DlgItem<QPushButton>(&window, CKaraokeDlg::IdEdit)->click();
        dialog.OnCommand(CSonavelDlg::IdStop);
        QTRY_COMPARE(dialog.windowTitle(), QStringLiteral("停止中"));
        QVERIFY(window.IsWindowCreated());
    }

private:
    QString MakeFolder(const QList<Song>& songs)
    {
        const QString folder = m_sandbox.temp->mkdir(QStringLiteral("曲 集"));
        for (const Song& song : songs) {
            QList<Id3Writer::Frame> frames{{"TIT2", Id3Writer::textData(Id3Writer::Utf16, song.title)},
                                           {"TPE1", Id3Writer::textData(Id3Writer::Utf16, QStringLiteral("歌手"))}};
            if (!song.album.isEmpty())
                frames.append({"TALB", Id3Writer::textData(Id3Writer::Utf16, song.album)});
            if (!song.tagLyrics.isEmpty())
                frames.append({"USLT", Id3Writer::lyricsData(Id3Writer::Utf16, "jpn", {}, song.tagLyrics)});
            const QByteArray bytes = Id3Writer::tag(frames) + Mp3Fixture::silentFrames(30.0);
            if (!TestFiles::writeBytes(folder + '/' + song.name + ".mp3", bytes))
                qFatal("cannot write %s", qPrintable(song.name));
            if (!song.fileLyrics.isEmpty())
                TestFiles::writeBytes(folder + '/' + song.name + ".kra", TestFiles::encode(song.fileLyrics, 1200, true));
        }
        WriteProfileHexString(kMain, "DefaultFolderPath", folder);
        return folder;
    }

    static QPoint MarkOf(CSonavelDlg& dialog, int row)
    {
        return dialog.TrackList()->CheckMarkRect(row).center();
    }

    QStringList EditorArguments() const
    {
        return QString::fromUtf8(TestFiles::readBytes(m_editorLog)).split('\n', Qt::SkipEmptyParts);
    }

    PlayerSandbox m_sandbox;
    QString m_editorLog;
};

SONAVEL_TEST_MAIN(LyricCommandsTest)
#include "LyricCommandsTest.moc"
