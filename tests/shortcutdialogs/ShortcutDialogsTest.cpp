#include "common/ui/DialogTemplate.h"
#include "platform/shell/ShortcutFile.h"
#include "player/dialogs/ExtensionDlg.h"
#include "player/dialogs/FileNameCheck.h"
#include "player/dialogs/ShortcutDlg.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <functional>

namespace {

// Runs the dialog modally and lets `act` work on it once it is open.
int runDialog(QDialog& dialog, const std::function<void()>& act)
{
    QTimer::singleShot(0, &dialog, [&] {
        act();
        // Whatever `act` left open is cancelled, so a failing check cannot hang the test.
        if (dialog.isVisible())
            QTimer::singleShot(0, &dialog, [&] { dialog.reject(); });
    });
    return dialog.exec();
}

void typeInto(QWidget* dialog, int id, const QString& text)
{
    auto* edit = DlgItem<QLineEdit>(dialog, id);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    // Key clicks carry ASCII only; other text goes in as an input method would put it.
    edit->insert(text);
}

void click(QWidget* dialog, int id)
{
    QTest::mouseClick(DlgItem<QPushButton>(dialog, id), Qt::LeftButton);
}

} // namespace

class ShortcutDialogsTest : public QObject
{
    Q_OBJECT

private slots:
    void fileNameCheck();
    void shortcutDialogShowsAndReturnsMembers();
    void questionMarkIsRefused();
    void overwriteDeclinedWritesNothing_data();
    void overwriteDeclinedWritesNothing();
    void overwriteAcceptedReplacesShortcut();
    void cancelCreatesNothing();
    void extensionDialogOkFollowsText();
    void extensionDialogCancelKeepsMember();
};

void ShortcutDialogsTest::fileNameCheck()
{
    QVERIFY(IsFileNameCorrectSilent(u"曲 - 01.mp3"));
    QVERIFY(IsFileNameCorrectSilent(u""));
    for (QChar c : QStringView(u"\\/:,;*?\"<>|"))
        QVERIFY2(!IsFileNameCorrectSilent(QString("a") + c + "b"), qPrintable(QString(c)));
}

void ShortcutDialogsTest::shortcutDialogShowsAndReturnsMembers()
{
    TempFolder folder;
    CShortcutDlg dialog;
    QCOMPARE(dialog.windowTitle(), QString("ショートカットの作成"));
    QVERIFY(dialog.LinkSource.isEmpty() && dialog.Location.isEmpty() && dialog.FileName.isEmpty());
    dialog.LinkSource = folder.write("a/song.mp3", "x");
    dialog.Location = folder.path() + '/';
    dialog.FileName = "song";
    MessageBoxRecorder recorder;
    const int result = runDialog(dialog, [&] {
        QCOMPARE(DlgItem<QLineEdit>(&dialog, 1010)->text(), dialog.LinkSource);
        QVERIFY(DlgItem<QLineEdit>(&dialog, 1010)->isReadOnly());
        QCOMPARE(DlgItem<QLineEdit>(&dialog, 1011)->text(), dialog.Location);
        QVERIFY(DlgItem<QLineEdit>(&dialog, 1011)->isReadOnly());
        QCOMPARE(DlgItem<QLineEdit>(&dialog, 1012)->text(), QString("song"));
        QCOMPARE(DlgItem<QPushButton>(&dialog, 1)->text(), QString("ショートカット作成"));
        QVERIFY(DlgItem<QPushButton>(&dialog, 1)->isDefault());
        typeInto(&dialog, 1012, "歌 (live)");
        QTest::keyClick(DlgItem<QLineEdit>(&dialog, 1012), Qt::Key_Return);
    });
    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(dialog.FileName, QString("歌 (live)"));
    QCOMPARE(recorder.count(), 0);
    // What the track list does with the answer.
    CShortcutFile shortcut;
    QVERIFY(shortcut.Create(dialog.LinkSource, dialog.Location + dialog.FileName));
    QVERIFY(QFileInfo(folder.file("歌 (live).lnk")).isSymLink());
}

void ShortcutDialogsTest::questionMarkIsRefused()
{
    TempFolder folder;
    CShortcutDlg dialog;
    dialog.LinkSource = folder.write("song.mp3", "x");
    dialog.Location = folder.path() + '/';
    dialog.FileName = "song";
    MessageBoxRecorder recorder;
    bool stayedOpen = false;
    const int result = runDialog(dialog, [&] {
        typeInto(&dialog, 1012, "what?");
        click(&dialog, 1);
        stayedOpen = dialog.isVisible();
        typeInto(&dialog, 1012, "what");
        click(&dialog, 1);
    });
    QVERIFY(stayedOpen);
    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(recorder.count(), 1);
    const MessageBoxPrompt& prompt = recorder.prompts().first();
    QCOMPARE(prompt.text, QString("ファイル名(what?)に使えない文字 (\\ / : , ; * ? \" < > |)が含まれています"));
    QCOMPARE(prompt.caption, QString("OnOK"));
    QCOMPARE(prompt.flags, unsigned(MB_OK | MB_ICONINFORMATION));
    QCOMPARE(dialog.FileName, QString("what"));
}

void ShortcutDialogsTest::overwriteDeclinedWritesNothing_data()
{
    QTest::addColumn<QString>("typed");
    QTest::newRow("name") << "song";
    // Create adds no second ".lnk" to this name, so the same file is in the way.
    QTest::newRow("name with .lnk") << "song.lnk";
}

void ShortcutDialogsTest::overwriteDeclinedWritesNothing()
{
    QFETCH(QString, typed);
    TempFolder folder;
    const QString existing = folder.write("song.lnk", "the old shortcut");
    CShortcutDlg dialog;
    dialog.LinkSource = folder.write("song.mp3", "x");
    dialog.Location = folder.path() + '/';
    dialog.FileName = typed;
    MessageBoxRecorder recorder;
    recorder.queueAnswer(IDNO);
    const int result = runDialog(dialog, [&] { click(&dialog, 1); });
    QCOMPARE(result, int(QDialog::Rejected));
    QCOMPARE(recorder.count(), 1);
    QCOMPARE(recorder.prompts().first().text, QString("ショートカットファイル \"%1\" は既に存在します。上書きしますか？").arg(typed));
    QCOMPARE(recorder.prompts().first().caption, QString("OnOK"));
    QCOMPARE(recorder.prompts().first().flags, unsigned(MB_YESNO | MB_ICONINFORMATION));
    QCOMPARE(TestFiles::readBytes(existing), QByteArray("the old shortcut"));
    QVERIFY(!QFileInfo(existing).isSymLink());
}

void ShortcutDialogsTest::overwriteAcceptedReplacesShortcut()
{
    TempFolder folder;
    const QString target = folder.write("song.mp3", "x");
    // A dangling shortcut counts as one that exists.
    QVERIFY(QFile::link(folder.file("gone.mp3"), folder.file("song.lnk")));
    CShortcutDlg dialog;
    dialog.LinkSource = target;
    dialog.Location = folder.path() + '/';
    dialog.FileName = "song";
    MessageBoxRecorder recorder;
    recorder.queueAnswer(IDYES);
    QCOMPARE(runDialog(dialog, [&] { click(&dialog, 1); }), int(QDialog::Accepted));
    QCOMPARE(recorder.count(), 1);
    CShortcutFile shortcut;
    QVERIFY(shortcut.Create(dialog.LinkSource, dialog.Location + dialog.FileName));
    QVERIFY(shortcut.Read(folder.file("song.lnk")));
    QCOMPARE(shortcut.TargetPath(), target);
    QVERIFY(shortcut.TargetExists());
}

void ShortcutDialogsTest::cancelCreatesNothing()
{
    TempFolder folder;
    CShortcutDlg dialog;
    dialog.Location = folder.path() + '/';
    dialog.FileName = "song";
    MessageBoxRecorder recorder;
    QCOMPARE(runDialog(dialog, [&] { click(&dialog, 2); }), int(QDialog::Rejected));
    QCOMPARE(runDialog(dialog, [&] { QTest::keyClick(&dialog, Qt::Key_Escape); }), int(QDialog::Rejected));
    QCOMPARE(recorder.count(), 0);
    QVERIFY(QDir(folder.path()).isEmpty());
}

void ShortcutDialogsTest::extensionDialogOkFollowsText()
{
    CExtensionDlg dialog;
    QCOMPARE(dialog.windowTitle(), QString("拡張子の追加"));
    QCOMPARE(DlgItem<QPushButton>(&dialog, 1)->text(), QString("追加"));
    QCOMPARE(DlgItem<QPushButton>(&dialog, 2)->text(), QString("取消"));
    const int result = runDialog(dialog, [&] {
        auto* ok = DlgItem<QPushButton>(&dialog, 1);
        auto* edit = DlgItem<QLineEdit>(&dialog, 1010);
        QVERIFY(!ok->isEnabled());
        // Enter and a click do nothing while the field is empty.
        QTest::keyClick(edit, Qt::Key_Return);
        click(&dialog, 1);
        QVERIFY(dialog.isVisible());
        QTest::keyClicks(edit, "  ");
        QVERIFY(ok->isEnabled());
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClick(edit, Qt::Key_Backspace);
        QVERIFY(!ok->isEnabled());
        QTest::keyClicks(edit, " .Ogg ");
        click(&dialog, 1);
    });
    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(dialog.Extension, QString(" .Ogg "));
}

void ShortcutDialogsTest::extensionDialogCancelKeepsMember()
{
    CExtensionDlg dialog;
    const int result = runDialog(dialog, [&] {
        QTest::keyClicks(DlgItem<QLineEdit>(&dialog, 1010), "wma");
        click(&dialog, 2);
    });
    QCOMPARE(result, int(QDialog::Rejected));
    QVERIFY(dialog.Extension.isEmpty());
}

SONAVEL_TEST_MAIN(ShortcutDialogsTest)
#include "ShortcutDialogsTest.moc"
