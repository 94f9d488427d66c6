#include "tests/engine/EngineHarness.h"
#include "tests/karaoke/KaraokeTestSupport.h"
#include "tests/lyrics/LyricBlocks.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include "platform/profile/Profile.h"
#include "platform/text/CodePage.h"
#include "player/karaoke/KaraokeDlg.h"
#include "player/karaoke/KaraokeInlineEdit.h"
#include "player/karaoke/KaraokeStatic.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include <memory>

using namespace KaraokeTest;
using Hit = CKaraokeStatic::Hit;

namespace {

QByteArray Utf16(const QString& text)
{
    return TestFiles::encode(text, CodePage::Utf16LE, true);
}

QString Utf16Text(const QByteArray& bytes)
{
    return CodePage::toUnicode(bytes.mid(2), CodePage::Utf16LE);
}

// What the owner heard, in order: "1224 <path> <flag>" and "1225".
struct OwnerLog {
    QStringList calls;
    int editEndedResult = 1;
    std::function<void()> onEditEnded;
};

void SendWheel(QWidget* target, int delta)
{
    const QPointF at(target->width() / 2.0, target->height() / 2.0);
    QWheelEvent event(at, target->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &event);
}

void KeyClick(QWidget* target, Qt::Key key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
}

QString ArtifactsFolder()
{
    const QString folder = qEnvironmentVariable("SONAVEL_BINARY_DIR", QDir::currentPath()) + "/artifacts";
    QDir().mkpath(folder);
    return folder;
}

} // namespace

class KaraokeDlgTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TempFolder> m_folder;
    std::unique_ptr<CKaraokeDlg> m_dlg;
    OwnerLog m_owner;

    CKaraokeDlg& Window()
    {
        m_dlg = std::make_unique<CKaraokeDlg>();
        m_dlg->SetEditEndedHandler([this](const QString& path, bool changed) {
            m_owner.calls << QStringLiteral("1224 %1 %2").arg(QFileInfo(path).fileName()).arg(int(changed));
            if (m_owner.onEditEnded)
                m_owner.onEditEnded();
            return m_owner.editEndedResult;
        });
        m_dlg->SetClosingHandler([this] { m_owner.calls << QStringLiteral("1225"); });
        return *m_dlg;
    }

    // A window showing a UTF-16 lyric file, created.
    CKaraokeDlg& WindowOn(const QString& lyrics, double duration = 10.0)
    {
        CKaraokeDlg& dlg = Window();
        int codePage = 932;
        dlg.LoadFromFile(m_folder->write("song.kra", Utf16(lyrics)), codePage, duration);
        dlg.Create();
        return dlg;
    }

    QPushButton* Button(int id) { return DlgItem<QPushButton>(m_dlg.get(), id); }
    QLineEdit* Edit(int id) { return DlgItem<QLineEdit>(m_dlg.get(), id); }
    CKaraokeStatic& Display() { return *m_dlg->Display(); }

    void ChangeFirstWord(const QString& text)
    {
        CKaraokeStatic& display = Display();
        QVERIFY(display.OpenInlineEdit(Hit{LyricBlocks::at(display.Data(), 1), 0}));
        display.InlineEdit()->setText(text);
        QTest::keyClick(display.InlineEdit(), Qt::Key_Return);
        QVERIFY(display.IsModified());
    }

private slots:
    void init()
    {
        m_folder = std::make_unique<TempFolder>();
        Profile::setPath(m_folder->file("test.ini"));
        m_owner = OwnerLog();
    }

    void cleanup()
    {
        m_dlg.reset();
    }

    void templateAndOpening()
    {
        CKaraokeDlg& dlg = WindowOn(QStringLiteral("@Title=春の歌\r\n@Artist=歌手\r\n[00:01:00]はる の[00:02:00]うた"));
        QCOMPARE(dlg.windowTitle(), QStringLiteral("カラオケ表示"));
        QVERIFY(dlg.IsWindowCreated());
        QVERIFY(dlg.isVisible());
        QCOMPARE(Edit(CKaraokeDlg::IdTitle)->text(), QStringLiteral("春の歌"));
        QCOMPARE(Edit(CKaraokeDlg::IdArtist)->text(), QStringLiteral("歌手"));
        QVERIFY(Edit(CKaraokeDlg::IdTitle)->isReadOnly());
        QCOMPARE(Edit(CKaraokeDlg::IdTitle)->font().pixelSize(), Display().LyricFont().pixelSize());
        QVERIFY(Button(CKaraokeDlg::IdEdit)->isEnabled());
        QVERIFY(Button(CKaraokeDlg::IdEdit)->isCheckable());
        QVERIFY(!Button(CKaraokeDlg::IdEdit)->toolTip().isEmpty());
        // "AlwaysOnTop" defaults to 1.
        QVERIFY(dlg.IsTopmost());
        QVERIFY(DlgItem<QCheckBox>(&dlg, CKaraokeDlg::IdAlwaysOnTop)->isChecked());
        QCOMPARE(dlg.focusWidget(), Button(CKaraokeDlg::IdClose));
        QCOMPARE(dlg.GetMode(), 0);
        // The display follows the window's size; the close button keeps its corner distance.
        const QSize before = Display().size();
        const QPoint closeGap = QPoint(dlg.width(), dlg.height()) - Button(CKaraokeDlg::IdClose)->geometry().bottomRight();
        dlg.resize(dlg.size() + QSize(40, 30));
        QCOMPARE(Display().size(), before + QSize(40, 30));
        QCOMPARE(QPoint(dlg.width(), dlg.height()) - Button(CKaraokeDlg::IdClose)->geometry().bottomRight(), closeGap);
    }

    void destroyingKeepsTheDocumentAndSavesSettings()
    {
        CKaraokeDlg& dlg = WindowOn(QStringLiteral("[00:01:00]a [00:02:00]b"));
        DlgItem<QCheckBox>(&dlg, CKaraokeDlg::IdAlwaysOnTop)->click();
        QVERIFY(!dlg.IsTopmost());
        dlg.move(dlg.pos() + QPoint(13, 17));
        const QRect placed = dlg.geometry();
        dlg.DestroyWindow();
        QVERIFY(!dlg.IsWindowCreated());
        QVERIFY(!dlg.isVisible());
        QCOMPARE(GetProfileInt("CKaraokeDlg", "AlwaysOnTop", -1), 0);
        QCOMPARE(GetProfileInt("CKaraokeDlg", "Left", -1), placed.left());
        QCOMPARE(GetProfileInt("CKaraokeDlg", "Bottom", -1), placed.bottom() + 1);
        // Positions still reach the display while the window is closed.
        dlg.SetPosition(1.5);
        QCOMPARE(Display().LyricClockMs(), 1500.0);
        dlg.Create();
        QVERIFY(!dlg.IsTopmost());
        QVERIFY(!DlgItem<QCheckBox>(&dlg, CKaraokeDlg::IdAlwaysOnTop)->isChecked());
        QCOMPARE(dlg.geometry(), placed);
        QCOMPARE(LyricBlocks::tokens(Display().Data()), (QStringList{"0:", "1000:\"a \"", "2000:\"b\""}));
    }

    // Opened for the first time, the window goes below the main window, or to its right when
    // there is no room below, so that it does not cover the list.
    void firstOpeningBesideItsOwner_data()
    {
        QTest::addColumn<int>("ownerTopFromBottom");
        QTest::addColumn<bool>("below");
        QTest::newRow("room below") << 700 << true;
        QTest::newRow("no room below") << 450 << false;
    }
    void firstOpeningBesideItsOwner()
    {
        QFETCH(int, ownerTopFromBottom);
        QFETCH(bool, below);
        QWidget owner;
        const QRect screen = owner.screen()->availableGeometry();
        owner.setGeometry(screen.left() + 100, screen.bottom() - ownerTopFromBottom, 500, 200);
        owner.show();
        QVERIFY(QTest::qWaitForWindowExposed(&owner));
        CKaraokeDlg dlg(&owner);
        dlg.Create();
        const QRect frame = owner.frameGeometry();
        QCOMPARE(dlg.pos(), below ? QPoint(frame.left(), frame.bottom() + 1) : QPoint(frame.right() + 1, frame.top()));
        dlg.DestroyWindow();
    }

    void tagLyricsAndBackwardTagsCannotBeEdited()
    {
        CKaraokeDlg& dlg = WindowOn(QStringLiteral("[00:01:00]a"));
        QVERIFY(dlg.LoadFromTagText(QStringLiteral("@Artist=ignored\r\n[00:01:00]x"), 5.0, "Artist", "Title"));
        QCOMPARE(Edit(CKaraokeDlg::IdArtist)->text(), QStringLiteral("Artist"));
        QCOMPARE(Edit(CKaraokeDlg::IdTitle)->text(), QStringLiteral("Title"));
        QVERIFY(!Button(CKaraokeDlg::IdEdit)->isEnabled());
        QVERIFY(dlg.LyricPath().isEmpty());
        QCOMPARE(dlg.LyricCodePage(), 0);

        int codePage = 932;
        const QString path = m_folder->write("back.kra", Utf16(QStringLiteral("[00:05:00]a[00:01:00]b")));
        QVERIFY(!dlg.LoadFromFile(path, codePage, 5.0));
        QCOMPARE(codePage, 0);
        QCOMPARE(dlg.LyricPath(), path);
        QVERIFY(!Button(CKaraokeDlg::IdEdit)->isEnabled());
        QVERIFY(dlg.LoadFromFile(m_folder->write("good.kra", Utf16("[00:01:00]a")), codePage, 5.0));
        QVERIFY(Button(CKaraokeDlg::IdEdit)->isEnabled());

        // The same when the window opens on lyrics loaded while it was closed.
        dlg.DestroyWindow();
        QVERIFY(!dlg.LoadFromFile(path, codePage, 5.0));
        dlg.Create();
        QVERIFY(!Button(CKaraokeDlg::IdEdit)->isEnabled());
        dlg.DestroyWindow();
        QVERIFY(dlg.LoadFromFile(m_folder->file("good.kra"), codePage, 5.0));
        dlg.Create();
        QVERIFY(Button(CKaraokeDlg::IdEdit)->isEnabled());
    }

    void editedTagLyricsGoToANewFileBesideTheTrack_data()
    {
        QTest::addColumn<QString>("tagText");
        QTest::addColumn<QString>("blocker"); // a name taken beforehand: "dir:" a folder, "file:" a lyric file
        QTest::addColumn<QString>("saved");   // the new file's name and UTF-16 text; empty: nothing saved
        QTest::newRow("own text: name.kra") << QStringLiteral("[00:01:00]a [00:02:00]b") << QString()
                                            << QStringLiteral("song.kra @Title=T\r\n@Artist=A\r\n[00:01:00]new [00:02:00]b");
        QTest::newRow("folder cannot take it") << QStringLiteral("[00:01.00]a [00:02.00]b") << QStringLiteral("dir:song.lrc")
                                               << QString();
        QTest::newRow("a lyric file is there") << QStringLiteral("[00:01:00]a [00:02:00]b") << QStringLiteral("file:song.txt")
                                               << QString();
    }

    void editedTagLyricsGoToANewFileBesideTheTrack()
    {
        QFETCH(QString, tagText);
        QFETCH(QString, blocker);
        QFETCH(QString, saved);
        const QByteArray audio("not really audio");
        const QString track = m_folder->write("song.flac", audio);
        if (blocker.startsWith("dir:"))
            QVERIFY(QDir().mkdir(m_folder->file(blocker.mid(4))));
        else if (!blocker.isEmpty())
            m_folder->write(blocker.mid(5), "[00:02:00]a[00:01:00]b");
        MessageBoxRecorder boxes;
        CKaraokeDlg& dlg = Window();
        QVERIFY(dlg.LoadFromTagText(tagText, 5.0, "A", "T", track));
        dlg.Create();
        QVERIFY(Button(CKaraokeDlg::IdEdit)->isEnabled());
        Button(CKaraokeDlg::IdEdit)->click();
        ChangeFirstWord(QStringLiteral("new "));
        boxes.queueAnswer(IDYES);
        Button(CKaraokeDlg::IdEdit)->click();
        QCOMPARE(TestFiles::readBytes(track), audio);
        if (saved.isEmpty()) {
            // Nothing lost: still editing, the changes kept, the way out offered again.
            QCOMPARE(boxes.count(), 2);
            QVERIFY2(boxes.prompts()[1].text.contains(blocker.startsWith("dir:") ? "保存に失敗" : "既にあるため"),
                     qPrintable(boxes.prompts()[1].text));
            QCOMPARE(dlg.GetMode(), 1);
            QVERIFY(Display().IsModified());
            QVERIFY(m_owner.calls.isEmpty());
            return;
        }
        const QString name = saved.section(' ', 0, 0);
        const QString text = saved.section(' ', 1, -1);
        QCOMPARE(Utf16Text(TestFiles::readBytes(m_folder->file(name))), text);
        QCOMPARE(boxes.prompts()[0].text, QStringLiteral("カラオケデータ \"%1\" の内容は変更されています。保存しますか？")
                                              .arg(m_folder->file(name)));
        QCOMPARE(m_owner.calls, QStringList{"1224 " + name + " 1"});
        QCOMPARE(dlg.LyricPath(), m_folder->file(name));
        QCOMPARE(dlg.GetMode(), 0);
    }

    void fileWithUnreadableBytesIsSavedAsAUtf8Copy_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("answer");
        QTest::newRow("EUC-JP, copy") << TestFiles::encode(QStringLiteral("[00:01:00]a [00:02:00]日本語の歌"), 20932) << int(IDYES);
        QTest::newRow("Latin-1, copy") << TestFiles::encode(QStringLiteral("[00:01:00]a [00:02:00]café au lait"), 28591)
                                       << int(IDYES);
        QTest::newRow("Latin-1, no editing") << TestFiles::encode(QStringLiteral("[00:01:00]a [00:02:00]déjà vu"), 28591)
                                             << int(IDNO);
    }

    void fileWithUnreadableBytesIsSavedAsAUtf8Copy()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, answer);
        const QString path = m_folder->write("song.kra", bytes);
        CKaraokeDlg& dlg = Window();
        int codePage = 932;
        QVERIFY(dlg.LoadFromFile(path, codePage, 10.0));
        QCOMPARE(codePage, 932);
        QVERIFY(Display().Data().Format.LossyDecode);
        QVERIFY(!Display().Data().SaveKaraokeFile(path, 932));
        dlg.Create();
        MessageBoxRecorder boxes(answer);
        Button(CKaraokeDlg::IdEdit)->click();
        QCOMPARE(boxes.count(), 1);
        const QString copy = m_folder->file("song (UTF-8).kra");
        QCOMPARE(boxes.prompts()[0].text,
                 QStringLiteral("カラオケデータ \"%1\" には文字コード 932 で読めないバイトがあります。\n"
                                "このファイルに保存すると元の文字が失われるため、上書きはしません。\n"
                                "編集した内容を UTF-8 のコピー \"%2\" に保存しますか？").arg(path, copy));
        QCOMPARE(dlg.GetMode(), answer == IDYES ? 1 : 0);
        QCOMPARE(Button(CKaraokeDlg::IdEdit)->isChecked(), answer == IDYES);
        if (answer != IDYES)
            return;
        ChangeFirstWord(QStringLiteral("new "));
        boxes.clear();
        boxes.queueAnswer(IDYES);
        Button(CKaraokeDlg::IdEdit)->click();
        QCOMPARE(boxes.prompts()[0].text, QStringLiteral("カラオケデータ \"%1\" の内容は変更されています。保存しますか？").arg(copy));
        QCOMPARE(TestFiles::readBytes(path), bytes);
        QVERIFY(QString::fromUtf8(TestFiles::readBytes(copy)).contains("[00:01:00]new [00:02:00]"));
        QCOMPARE(dlg.LyricPath(), copy);
        QCOMPARE(dlg.GetMode(), 0);
    }

    void closingIsRefusedWhileEditing()
    {
        MessageBoxRecorder boxes;
        CKaraokeDlg& dlg = WindowOn(QStringLiteral("[00:01:00]a"));
        Button(CKaraokeDlg::IdEdit)->click();
        QCOMPARE(dlg.GetMode(), 1);
        QVERIFY(!Button(CKaraokeDlg::IdClose)->isEnabled());
        QVERIFY(!Edit(CKaraokeDlg::IdTitle)->isReadOnly());
        dlg.close();
        KeyClick(&dlg, Qt::Key_Escape);
        dlg.reject();
        QVERIFY(dlg.isVisible());
        QVERIFY(dlg.IsWindowCreated());
        QVERIFY(m_owner.calls.isEmpty());

        // Escape with an inline box open only closes the box; the focus goes back to where it
        // was (not on to the title box, where the next key typed would replace the title).
        dlg.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dlg));
        Button(CKaraokeDlg::IdEdit)->setFocus();
        QVERIFY(Display().OpenInlineEdit(Hit{LyricBlocks::at(Display().Data(), 1), 0}));
        QCOMPARE(QApplication::focusWidget(), Display().InlineEdit());
        QTest::keyClick(Display().InlineEdit(), Qt::Key_Escape);
        QCOMPARE(dlg.GetMode(), 1);
        QVERIFY(dlg.isVisible());
        QCOMPARE(QApplication::focusWidget(), Button(CKaraokeDlg::IdEdit));

        // Leaving edit mode without a change asks nothing and tells the owner nothing changed.
        Button(CKaraokeDlg::IdEdit)->click();
        QCOMPARE(boxes.count(), 0);
        QCOMPARE(m_owner.calls, QStringList{"1224 song.kra 0"});
        QCOMPARE(dlg.GetMode(), 0);
        QVERIFY(Button(CKaraokeDlg::IdClose)->isEnabled());
        QVERIFY(Edit(CKaraokeDlg::IdTitle)->isReadOnly());

        dlg.close();
        QVERIFY(!dlg.isVisible());
        QVERIFY(!dlg.IsWindowCreated());
        QCOMPARE(m_owner.calls, (QStringList{"1224 song.kra 0", "1225"}));
        QCOMPARE(boxes.count(), 0);
    }

    void leavingEditModeSavesOrReloads_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("fileAfter");   // the lyrics in the file afterwards
        QTest::addColumn<QString>("shownAfter");  // the first word shown afterwards
        QTest::newRow("yes saves") << int(IDYES) << QStringLiteral("@Title=T2\r\n[00:01:00]new [00:02:00]b")
                                   << QStringLiteral("new ");
        QTest::newRow("no reloads") << int(IDNO) << QStringLiteral("[00:01:00]a [00:02:00]b") << QStringLiteral("a ");
    }

    void leavingEditModeSavesOrReloads()
    {
        QFETCH(int, answer);
        QFETCH(QString, fileAfter);
        QFETCH(QString, shownAfter);
        MessageBoxRecorder boxes(answer);
        CKaraokeDlg& dlg = WindowOn(QStringLiteral("[00:01:00]a [00:02:00]b"));
        Button(CKaraokeDlg::IdEdit)->click();
        ChangeFirstWord(QStringLiteral("new "));
        Edit(CKaraokeDlg::IdTitle)->setText(QStringLiteral("T2"));
        Button(CKaraokeDlg::IdEdit)->click();
        QCOMPARE(boxes.count(), 1);
        QCOMPARE(boxes.prompts()[0].text,
                 QStringLiteral("カラオケデータ \"%1\" の内容は変更されています。保存しますか？").arg(dlg.LyricPath()));
        QCOMPARE(boxes.prompts()[0].caption, QStringLiteral("OnEditChk"));
        QCOMPARE(boxes.prompts()[0].flags, unsigned(MB_YESNOCANCEL | MB_ICONQUESTION));
        QCOMPARE(Utf16Text(TestFiles::readBytes(dlg.LyricPath())), fileAfter);
        QCOMPARE(m_owner.calls, QStringList{"1224 song.kra 1"});
        QCOMPARE(dlg.GetMode(), 0);
        QVERIFY(!Button(CKaraokeDlg::IdEdit)->isChecked());
        QVERIFY(Button(CKaraokeDlg::IdClose)->isEnabled());
        QVERIFY(!Display().IsModified());
        QCOMPARE(LyricBlocks::at(Display().Data(), 1)->Tokens[0].Text(), shownAfter);
    }

    void cancelAndFailuresKeepEditMode()
    {
        MessageBoxRecorder boxes;
        CKaraokeDlg& dlg = WindowOn(QStringLiteral("[00:01:00]a [00:02:00]b"));
        Button(CKaraokeDlg::IdEdit)->click();
        ChangeFirstWord(QStringLiteral("new "));

        boxes.queueAnswer(IDCANCEL);
        Button(CKaraokeDlg::IdEdit)->click();
        QVERIFY(Button(CKaraokeDlg::IdEdit)->isChecked());
        QCOMPARE(dlg.GetMode(), 1);

        // The file's place is taken by a folder: the save fails, edit mode and the changes stay.
        QFile::remove(dlg.LyricPath());
        QVERIFY(QDir().mkdir(dlg.LyricPath()));
        boxes.clear();
        boxes.queueAnswer(IDYES);
        boxes.queueAnswer(IDOK);
        Button(CKaraokeDlg::IdEdit)->click();
        QCOMPARE(boxes.count(), 2);
        QCOMPARE(boxes.prompts()[1].text, QStringLiteral("カラオケデータ \"%1\" の保存に失敗しました").arg(dlg.LyricPath()));
        QCOMPARE(boxes.prompts()[1].caption, QStringLiteral("SaveKaraokeFile"));
        QCOMPARE(boxes.prompts()[1].flags, unsigned(MB_OK | MB_ICONWARNING));
        QVERIFY(Button(CKaraokeDlg::IdEdit)->isChecked());
        QVERIFY(!Button(CKaraokeDlg::IdClose)->isEnabled());
        QCOMPARE(dlg.GetMode(), 1);
        QVERIFY(Display().IsModified());
        QVERIFY(m_owner.calls.isEmpty());

        // Discarding the changes reads the file again; it cannot be read: message 1212, still editing.
        boxes.clear();
        boxes.queueAnswer(IDNO);
        boxes.queueAnswer(IDOK);
        Button(CKaraokeDlg::IdEdit)->click();
        QCOMPARE(boxes.count(), 2);
        QCOMPARE(boxes.prompts()[1].text, QStringLiteral("カラオケデータ \"%1\" の読み込みに失敗しました").arg(dlg.LyricPath()));
        QCOMPARE(boxes.prompts()[1].caption, QStringLiteral("ReadKaraokeFile"));
        QCOMPARE(dlg.GetMode(), 1);
        QVERIFY(Button(CKaraokeDlg::IdEdit)->isChecked());
        QVERIFY(Button(CKaraokeDlg::IdEdit)->isEnabled());
        QVERIFY(m_owner.calls.isEmpty());
    }

    void ownerDestroyingTheWindowOnEditEnd()
    {
        MessageBoxRecorder boxes(IDNO);
        CKaraokeDlg& dlg = WindowOn(QStringLiteral("[00:01:00]a"));
        m_owner.editEndedResult = 0;
        m_owner.onEditEnded = [&dlg] { dlg.DestroyWindow(); };
        Button(CKaraokeDlg::IdEdit)->click();
        Button(CKaraokeDlg::IdEdit)->click();
        QCOMPARE(m_owner.calls, QStringList{"1224 song.kra 0"});
        QCOMPARE(dlg.GetMode(), 0);
        QVERIFY(!dlg.IsWindowCreated());
        // Created again, it starts out of edit mode.
        dlg.Create();
        QVERIFY(!Button(CKaraokeDlg::IdEdit)->isChecked());
        QVERIFY(Button(CKaraokeDlg::IdClose)->isEnabled());
    }

    void destroyingAsksWhenChanged()
    {
        MessageBoxRecorder boxes(IDYES);
        CKaraokeDlg& dlg = WindowOn(QStringLiteral("[00:01:00]a"));
        Button(CKaraokeDlg::IdEdit)->click();
        Edit(CKaraokeDlg::IdArtist)->setText(QStringLiteral("誰か"));
        dlg.DestroyWindow();
        QCOMPARE(boxes.count(), 1);
        QCOMPARE(boxes.prompts()[0].caption, QStringLiteral("OnDestroy"));
        QCOMPARE(boxes.prompts()[0].flags, unsigned(MB_YESNO | MB_ICONQUESTION));
        QCOMPARE(Utf16Text(TestFiles::readBytes(dlg.LyricPath())), QStringLiteral("@Artist=誰か\r\n[00:01:00]a"));
        QCOMPARE(dlg.GetMode(), 0);
        QVERIFY(!dlg.IsWindowCreated());
    }

    void scrollBarsAndWheel()
    {
        QString lines;
        for (int i = 0; i < 40; ++i)
            lines += QStringLiteral("[00:%1:00]とても長い行の歌詞がここに続いていきます、まだまだ長く続いていきます、どこまでも長く、もっと長く続いていきます %2\r\n").arg(i + 1, 2, 10, QChar('0')).arg(i);
        CKaraokeDlg& dlg = WindowOn(lines, 60.0);
        QScrollBar* vertical = DlgItem<QScrollBar>(&dlg, CKaraokeDlg::IdVScroll);
        QScrollBar* horizontal = DlgItem<QScrollBar>(&dlg, CKaraokeDlg::IdHScroll);
        const QSize content = Display().ContentSize();
        const QSize client = Display().ClientSize();
        QVERIFY(content.height() > client.height());
        QVERIFY(content.width() > client.width());
        QVERIFY(vertical->isEnabled());
        QCOMPARE(vertical->maximum(), content.height() - client.height());
        QCOMPARE(vertical->pageStep(), client.height());
        QCOMPARE(horizontal->maximum(), content.width() - client.width());

        vertical->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(Display().GetScrollOffset().y(), 10);
        vertical->triggerAction(QAbstractSlider::SliderPageStepAdd);
        QCOMPARE(Display().GetScrollOffset().y(), 10 + 4 * client.height() / 5);
        vertical->triggerAction(QAbstractSlider::SliderToMaximum);
        QCOMPARE(Display().GetScrollOffset().y(), content.height() - client.height());
        vertical->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(Display().GetScrollOffset().y(), content.height() - client.height());
        vertical->triggerAction(QAbstractSlider::SliderToMinimum);
        QCOMPARE(Display().GetScrollOffset().y(), 0);
        horizontal->triggerAction(QAbstractSlider::SliderPageStepAdd);
        QCOMPARE(Display().GetScrollOffset().x(), 4 * client.width() / 5);
        QCOMPARE(horizontal->value(), 4 * client.width() / 5);

        // Three notches down move the lyrics by 45 pixels, one up by 15; the bar follows.
        SendWheel(&Display(), -360);
        QCOMPARE(Display().GetScrollOffset().y(), 45);
        QCOMPARE(vertical->value(), 45);
        SendWheel(&dlg, 120);
        QCOMPARE(Display().GetScrollOffset().y(), 30);
        SendWheel(&Display(), 1000);
        QCOMPARE(Display().GetScrollOffset().y(), 0);

        // Growing the window past the content disables the bars and scrolls back.
        vertical->triggerAction(QAbstractSlider::SliderToMaximum);
        dlg.resize(dlg.size() + content - client + QSize(20, 20));
        QVERIFY(!vertical->isEnabled());
        QVERIFY(!horizontal->isEnabled());
        QCOMPARE(Display().GetScrollOffset(), QPoint(0, 0));
        SendWheel(&Display(), -360);
        QCOMPARE(Display().GetScrollOffset(), QPoint(0, 0));
    }

    void fitFrame_data()
    {
        QTest::addColumn<QRect>("frame");
        QTest::addColumn<QSize>("growth");
        QTest::addColumn<bool>("clip");
        QTest::addColumn<QRect>("expected");
        QTest::newRow("no clipping grows right and down")
            << QRect(1500, 1100, 300, 200) << QSize(100, 50) << false << QRect(1500, 1100, 400, 250);
        QTest::newRow("inside: right and bottom edges move")
            << QRect(100, 100, 300, 200) << QSize(100, 50) << true << QRect(100, 100, 400, 250);
        QTest::newRow("docked right: the left edge moves")
            << QRect(1300, 100, 300, 200) << QSize(100, 0) << true << QRect(1200, 100, 400, 200);
        QTest::newRow("would leave: shifted back")
            << QRect(1250, 900, 300, 200) << QSize(100, 200) << true << QRect(1200, 800, 400, 400);
        QTest::newRow("wider than the desktop: left edge kept inside")
            << QRect(100, 100, 300, 200) << QSize(2000, 0) << true << QRect(0, 100, 1600, 200);
        QTest::newRow("shrinking stops at the minimum")
            << QRect(100, 100, 300, 200) << QSize(-250, -190) << true << QRect(100, 100, 200, 150);
    }

    void fitFrame()
    {
        QFETCH(QRect, frame);
        QFETCH(QSize, growth);
        QFETCH(bool, clip);
        QFETCH(QRect, expected);
        QCOMPARE(CKaraokeDlg::FitFrame(frame, growth, QRect(0, 0, 1600, 1200), clip, QSize(200, 150)), expected);
    }

    void maximiseFitsTheWindowToTheLyrics()
    {
        CKaraokeDlg& dlg = WindowOn(QStringLiteral("[00:01:00]短い歌詞\r\n[00:02:00]とても長い二行目の歌詞がここにあります\r\n"
                                                   "[00:03:00]三\r\n[00:04:00]四\r\n[00:05:00]五\r\n[00:06:00]六"));
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        dlg.showMaximized();
        QTRY_VERIFY(!dlg.isMaximized());
        QTRY_COMPARE(Display().ClientSize(), Display().ContentSize());
    }

    void rightClickStampsTheEnginePosition()
    {
        MessageBoxRecorder boxes(IDNO);
        EngineHarness engine(false);
        QVERIFY(engine.isValid());
        engine.player().setCurrentPlaylist(engine.listOf({engine.mp3("song.mp3", 20.0)}));
        QVERIFY(engine.waitForState(3));
        QVERIFY(engine.player().pause());
        QVERIFY(engine.player().setCurrentPosition(12.34));

        CKaraokeDlg& dlg = WindowOn(QStringLiteral("[00:01:00]ab cd\r\n[00:05:00]ef"), 20.0);
        dlg.SetPositionSource([&engine] { return engine.player().currentPosition(); });
        Button(CKaraokeDlg::IdEdit)->click();
        CKaraokeStatic& display = Display();
        const auto rightClick = [&display](const QPoint& client) {
            QTest::mouseClick(&display, Qt::RightButton, Qt::NoModifier, client + display.contentsRect().topLeft());
        };
        const auto rectOf = [&display](int block, int token) {
            return display.ClientRectOf(Hit{LyricBlocks::at(display.Data(), block), token});
        };

        const auto stamp = [&engine] { return QString::number(LyricTime(engine.player().currentPosition() * 1000)); };
        const QString first = stamp();
        rightClick(rectOf(2, -1).center());
        QCOMPARE(QString::number(LyricBlocks::at(display.Data(), 2)->StartTime()), first);
        QVERIFY(display.IsModified());

        // On the first character: the whole word goes to the new block.
        rightClick(QPoint(rectOf(1, 1).left() + 1, rectOf(1, 1).center().y()));
        QCOMPARE(LyricBlocks::tokens(display.Data()),
                 (QStringList{"0:", "1000:\"ab \"", first + ":\"cd\"/", first + ":\"ef\""}));

        // In the margin after the last character of a line: a block whose first word is empty.
        QVERIFY(engine.player().setCurrentPosition(3.5));
        const QString second = stamp();
        rightClick(QPoint(rectOf(2, 0).right() + 2, rectOf(2, 0).center().y()));
        QCOMPARE(LyricBlocks::tokens(display.Data()), (QStringList{"0:", "1000:\"ab \"", first + ":\"cd\"", second + ":\"\"/",
                                                      first + ":\"ef\""}));

        // In the middle of a word: split at the nearest character boundary.
        const QRect ab = rectOf(1, 0);
        const int a = QFontMetrics(display.LyricFont()).horizontalAdvance("a");
        rightClick(QPoint(ab.left() + a + 1, ab.center().y()));
        QCOMPARE(LyricBlocks::tokens(display.Data()).mid(1, 2), (QStringList{"1000:\"a\"", second + ":\"b \""}));

        // Outside edit mode a right click does nothing.
        Button(CKaraokeDlg::IdEdit)->setChecked(false);
        display.SetMode(CKaraokeStatic::ModeView);
        const int count = BlockCount(display.Data());
        rightClick(rectOf(1, 0).center());
        QCOMPARE(BlockCount(display.Data()), count);
    }

    void tapToTimeAPlainText()
    {
        EngineHarness engine(false);
        QVERIFY(engine.isValid());
        engine.player().setCurrentPlaylist(engine.listOf({engine.mp3("song.mp3", 20.0)}));
        QVERIFY(engine.waitForState(3));

        MessageBoxRecorder boxes(IDYES);
        CKaraokeDlg& dlg = WindowOn(QStringLiteral("一行目 の歌\r\n二行目\r\n三行目 の終わり"), 20.0);
        dlg.SetPositionSource([&engine] { return engine.player().currentPosition(); });
        Button(CKaraokeDlg::IdEdit)->click();
        QCOMPARE(Display().TapCursor(), 0);

        QList<LyricTime> lowest;
        QList<LyricTime> highest;
        const auto tap = [&](Qt::Key key) {
            lowest << LyricTime(engine.player().currentPosition() * 1000);
            KeyClick(&dlg, key);
            highest << LyricTime(engine.player().currentPosition() * 1000 + 1);
            QTest::qWait(150);
        };
        tap(Qt::Key_F8);
        tap(Qt::Key_F8);
        tap(Qt::Key_F8);
        const QStringList blocks = LyricBlocks::tokens(Display().Data());
        QCOMPARE(blocks.size(), 3);
        for (int line = 0; line < 3; ++line) {
            const LyricTime start = LyricBlocks::at(Display().Data(), line)->StartTime();
            QVERIFY2(start >= lowest[line] && start <= highest[line], qPrintable(blocks[line]));
        }
        QVERIFY(blocks[0].endsWith(":\"一行目 \"\"の歌\"/"));
        QVERIFY(blocks[1].endsWith(":\"二行目\"/"));
        QVERIFY(blocks[2].endsWith(":\"三行目 \"\"の終わり\""));
        QVERIFY(!Display().TapCursorWord());

        // Back to the last line: tapped again, then its second word.
        KeyClick(&dlg, Qt::Key_F7);
        QCOMPARE(Display().TapCursorWord(), (Hit{LyricBlocks::at(Display().Data(), 2), 0}));
        tap(Qt::Key_F9);
        QCOMPARE(Display().TapCursorWord(), (Hit{LyricBlocks::at(Display().Data(), 2), 1}));
        tap(Qt::Key_F9);
        QCOMPARE(BlockCount(Display().Data()), 4);
        QVERIFY(LyricBlocks::at(Display().Data(), 2)->StartTime() >= lowest[3]);
        QVERIFY(LyricBlocks::at(Display().Data(), 3)->StartTime() >= lowest[4]);
        QVERIFY(LyricBlocks::tokens(Display().Data())[3].endsWith(":\"の終わり\""));

        // The usual save flow applies.
        Button(CKaraokeDlg::IdEdit)->click();
        QCOMPARE(boxes.count(), 1);
        const QString saved = Utf16Text(TestFiles::readBytes(dlg.LyricPath()));
        const QString tag = QStringLiteral("\\[\\d\\d:\\d\\d:\\d\\d\\]");
        QVERIFY2(QRegularExpression("^" + tag + "一行目 の歌\r\n" + tag + "二行目\r\n" + tag + "三行目 " + tag + "の終わり$")
                     .match(saved)
                     .hasMatch(),
                 qPrintable(saved));
    }

    void screenshots()
    {
        EngineHarness engine(false);
        QVERIFY(engine.isValid());
        engine.player().setCurrentPlaylist(engine.listOf({engine.mp3("song.mp3", 30.0)}));
        QVERIFY(engine.waitForState(3));
        QVERIFY(engine.player().pause());
        QVERIFY(engine.player().setCurrentPosition(3.2));

        CKaraokeDlg& dlg = WindowOn(QStringLiteral("@Title=さくら\r\n@Artist=日本古謡\r\n"
                                                   "[00:01:00]さくら [00:02:00]さくら\r\n"
                                                   "[00:03:00]やよいの [00:04:50]そらは\r\n"
                                                   "[00:06:00]みわたす [00:07:50]かぎり\r\n"
                                                   "[00:09:00]かすみか [00:10:50]くもか\r\n"
                                                   "[00:12:00]においぞ [00:13:50]いずる"),
                                    30.0);
        dlg.SetPositionSource([&engine] { return engine.player().currentPosition(); });
        dlg.resize(dlg.size() + QSize(60, 40));
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        dlg.SetPosition(engine.player().currentPosition(), false);
        QCoreApplication::processEvents();
        const QImage view = Grab(dlg);
        QVERIFY(view.save(ArtifactsFolder() + "/karaoke_view_wipe.png"));
        // Mid-wipe: the block at 3 s shows both colours.
        const QRect current = WidgetRectOf(Display(), Hit{LyricBlocks::at(Display().Data(), 3), 0});
        const Colours wiped = ColoursIn(Grab(Display()), current);
        QVERIFY(wiped.sung && wiped.unsung);

        Button(CKaraokeDlg::IdEdit)->click();
        QVERIFY(Display().OpenInlineEdit(Hit{LyricBlocks::at(Display().Data(), 4), -1}));
        QCoreApplication::processEvents();
        QVERIFY(Grab(dlg).save(ArtifactsFolder() + "/karaoke_edit_inline.png"));
        QVERIFY(ColoursIn(Grab(Display()), Display().contentsRect()).tag);
    }
};

SONAVEL_TEST_MAIN(KaraokeDlgTest)
#include "KaraokeDlgTest.moc"
