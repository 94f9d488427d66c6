#include "common/ui/AboutDlg.h"
#include "platform/profile/Profile.h"
#include "platform/shell/FileNameCase.h"
#include "renamer/BrindleApp.h"
#include "renamer/BrindleStrings.h"
#include "tests/brindle/BrindleTestSupport.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QTreeWidget>

#include <optional>

#include <sys/stat.h>
#include <unistd.h>

using namespace BrindleTestSupport;

namespace {

QString folderText(const CBrindleDlg& dialog)
{
    return DlgItem<QLineEdit>(&dialog, CBrindleDlg::IdFolder)->text();
}

QCheckBox* reverseBox(const CBrindleDlg& dialog)
{
    return DlgItem<QCheckBox>(&dialog, CBrindleDlg::IdReverse);
}

// A list file in the folder with the lines, dropped onto the dialog.
void dropList(CBrindleDlg& dialog, const TempFolder& folder, const QStringList& lines)
{
    const QString list = folder.write(QStringLiteral("list.txt"), utf16List(lines));
    QVERIFY(dropFiles(dialog, {list}));
}


} // namespace

class BrindleDlgTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void initialState();
    void dropLoadsTheList();
    void twoFilesChangeNothing();
    void dropOfUnreadableFileKeepsFolderOnly();
    void separatorIsReadAtDrop();
    void reverseTwiceRestores();
    void clearKeepsSeparator();
    void runWithDeclinedOverwrite();
    void equalNamesNeitherRenamedNorReported();
    void letterCase_data();
    void letterCase();
    void runFollowsItsOwnRenames();
    void emptyOrRelativeFolderRenamesNothing();
    void namesCannotLeaveTheFolder();
    void invalidCharacterIsReported();
    void vanishedFileIsReported();
    void refusedMoveIsReported();
    void readOnlyFolderIsReported();
    void noRowsNoMessage();
    void reverseAndRunRestoresOldNames();
    void enterInFolderFieldRuns();
    void escapeAndExitClose();
    void aboutBoxFromF1();
    void placementStoredInWindowPos();
    void profileBesideExecutable();

private:
    TempFolder* m_profileFolder = nullptr;
};

void BrindleDlgTest::initTestCase()
{
    BrindleStrings::Register();
}

void BrindleDlgTest::init()
{
    delete m_profileFolder;
    m_profileFolder = new TempFolder;
    Profile::setPath(m_profileFolder->file(QStringLiteral("brindle.ini")));
    CRenameJournal::SetFolder(m_profileFolder->file(QStringLiteral("state")));
}

void BrindleDlgTest::initialState()
{
    CBrindleDlg dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Brindle"));
    QCOMPARE(dialog.TemplateId(), 102);
    QVERIFY(DlgItem<QRadioButton>(&dialog, CBrindleDlg::IdTabSeparated)->isChecked());
    QVERIFY(!DlgItem<QRadioButton>(&dialog, CBrindleDlg::IdCommaSeparated)->isChecked());
    QVERIFY(!reverseBox(dialog)->isChecked());
    QVERIFY(folderText(dialog).isEmpty());
    auto* list = DlgItem<QTreeWidget>(&dialog, CBrindleDlg::IdList);
    QCOMPARE(list->columnCount(), 2);
    QCOMPARE(list->headerItem()->text(0), QStringLiteral("変更前"));
    QCOMPARE(list->headerItem()->text(1), QStringLiteral("変更後"));
    QCOMPARE(list->header()->sectionSize(0), 150);
    QCOMPARE(list->header()->sectionSize(1), 150);
    QVERIFY(list->header()->defaultAlignment() & Qt::AlignLeft);
    QCOMPARE(list->selectionBehavior(), QAbstractItemView::SelectRows);
    QVERIFY(!list->isSortingEnabled());
    QVERIFY(DlgItem<QPushButton>(&dialog, CBrindleDlg::IdRun)->isDefault());
    QVERIFY(dialog.acceptDrops());
    QCOMPARE(dialog.minimumSize(), dialog.size());
    QCOMPARE(dialog.maximumSize(), dialog.screen()->availableGeometry().size());

    // Growing the window stretches the list and keeps the buttons' size at the corner.
    auto* exit = DlgItem<QPushButton>(&dialog, CBrindleDlg::IdExit);
    const QSize buttonSize = exit->size();
    const int rightGap = dialog.width() - exit->geometry().right();
    const int listWidth = list->width();
    const int editHeight = DlgItem<QLineEdit>(&dialog, CBrindleDlg::IdFolder)->height();
    dialog.show();
    dialog.resize(dialog.size() + QSize(100, 60));
    QTRY_COMPARE(list->width(), listWidth + 100);
    QCOMPARE(exit->size(), buttonSize);
    QCOMPARE(dialog.width() - exit->geometry().right(), rightGap);
    QCOMPARE(DlgItem<QLineEdit>(&dialog, CBrindleDlg::IdFolder)->height(), editHeight);
}

void BrindleDlgTest::dropLoadsTheList()
{
    TempFolder folder;
    CBrindleDlg dialog;
    dropList(dialog, folder, {QStringLiteral("# 曲名の変更"), QStringLiteral("x.mp3\ty"), QStringLiteral("a.wav,b.wav"),
                              QString(), QStringLiteral("古い.MP3\t新しい")});
    QCOMPARE(folderText(dialog), folder.path());
    QCOMPARE(dialog.RowCount(), 2);
    QCOMPARE(dialog.Row(0).oldName, QStringLiteral("x.mp3"));
    QCOMPARE(dialog.Row(0).newName, QStringLiteral("y.mp3"));
    QCOMPARE(dialog.Row(1).newName, QStringLiteral("新しい.mp3"));

    // A second drop replaces everything and unchecks the reverse box.
    reverseBox(dialog)->click();
    QVERIFY(reverseBox(dialog)->isChecked());
    dropList(dialog, folder, {QStringLiteral("c\td")});
    QCOMPARE(dialog.RowCount(), 1);
    QVERIFY(!reverseBox(dialog)->isChecked());
}

void BrindleDlgTest::twoFilesChangeNothing()
{
    TempFolder folder;
    CBrindleDlg dialog;
    dropList(dialog, folder, {QStringLiteral("x.mp3\ty")});
    const QString other = folder.write(QStringLiteral("other.txt"), utf16List({QStringLiteral("p\tq"), QStringLiteral("r\ts")}));
    QVERIFY(!dropFiles(dialog, {folder.file(QStringLiteral("list.txt")), other}));
    QCOMPARE(dialog.RowCount(), 1);
    QCOMPARE(dialog.Row(0).oldName, QStringLiteral("x.mp3"));
    QCOMPARE(folderText(dialog), folder.path());
}

void BrindleDlgTest::dropOfUnreadableFileKeepsFolderOnly()
{
    TempFolder folder;
    CBrindleDlg dialog;
    dropList(dialog, folder, {QStringLiteral("x.mp3\ty")});
    const QString gone = folder.file(QStringLiteral("sub/gone.txt"));
    QVERIFY(dropFiles(dialog, {gone}));
    QCOMPARE(dialog.RowCount(), 0);
    QCOMPARE(folderText(dialog), folder.file(QStringLiteral("sub")));
}

void BrindleDlgTest::separatorIsReadAtDrop()
{
    TempFolder folder;
    CBrindleDlg dialog;
    DlgItem<QRadioButton>(&dialog, CBrindleDlg::IdCommaSeparated)->click();
    dropList(dialog, folder, {QStringLiteral("a.mp3,b,c"), QStringLiteral("d.mp3\te")});
    QCOMPARE(dialog.RowCount(), 1);
    QCOMPARE(dialog.Row(0).newName, QStringLiteral("b,c.mp3"));
    // Changing the choice later does not re-read the list.
    DlgItem<QRadioButton>(&dialog, CBrindleDlg::IdTabSeparated)->click();
    QCOMPARE(dialog.RowCount(), 1);
}

void BrindleDlgTest::reverseTwiceRestores()
{
    TempFolder folder;
    CBrindleDlg dialog;
    dropList(dialog, folder, {QStringLiteral("a.mp3\tb"), QStringLiteral("c.mp3\td.mp3")});
    reverseBox(dialog)->click();
    QCOMPARE(dialog.Row(0).oldName, QStringLiteral("b.mp3"));
    QCOMPARE(dialog.Row(0).newName, QStringLiteral("a.mp3"));
    QCOMPARE(dialog.Row(1).oldName, QStringLiteral("d.mp3"));
    reverseBox(dialog)->click();
    QVERIFY(!reverseBox(dialog)->isChecked());
    QCOMPARE(dialog.Row(0).oldName, QStringLiteral("a.mp3"));
    QCOMPARE(dialog.Row(1).newName, QStringLiteral("d.mp3"));
}

void BrindleDlgTest::clearKeepsSeparator()
{
    TempFolder folder;
    CBrindleDlg dialog;
    DlgItem<QRadioButton>(&dialog, CBrindleDlg::IdCommaSeparated)->click();
    dropList(dialog, folder, {QStringLiteral("a,b")});
    reverseBox(dialog)->click();
    DlgItem<QPushButton>(&dialog, CBrindleDlg::IdClear)->click();
    QCOMPARE(dialog.RowCount(), 0);
    QVERIFY(folderText(dialog).isEmpty());
    QVERIFY(!reverseBox(dialog)->isChecked());
    QVERIFY(DlgItem<QRadioButton>(&dialog, CBrindleDlg::IdCommaSeparated)->isChecked());
}

void BrindleDlgTest::runWithDeclinedOverwrite()
{
    TempFolder folder;
    for (const char* name : {"1.mp3", "2.mp3", "3.mp3", "two.mp3"})
        touch(folder.path(), QString::fromLatin1(name), name);
    CBrindleDlg dialog;
    dropList(dialog, folder, {QStringLiteral("1.mp3\tone"), QStringLiteral("2.mp3\ttwo"), QStringLiteral("3.mp3\tthree")});
    MessageBoxRecorder prompts;
    prompts.queueAnswer(IDNO);
    DlgItem<QPushButton>(&dialog, CBrindleDlg::IdRun)->click();
    QCOMPARE(prompts.count(), 2);
    QCOMPARE(prompts.prompts()[0].text, QStringLiteral("ファイル\"two.mp3\"は既に存在します。上書きしますか？"));
    QCOMPARE(prompts.prompts()[0].caption, QStringLiteral("Rename"));
    QCOMPARE(prompts.prompts()[0].flags, unsigned(MB_YESNO | MB_ICONQUESTION));
    QCOMPARE(prompts.prompts()[1].text, QStringLiteral("2個のファイル名を変更しました！"));
    QCOMPARE(prompts.prompts()[1].caption, QStringLiteral("ファイル名の変更"));
    QCOMPARE(prompts.prompts()[1].flags, unsigned(MB_OK | MB_ICONINFORMATION));
    QCOMPARE(entries(folder.path()),
             (QStringList{"2.mp3", "list.txt", "one.mp3", "three.mp3", "two.mp3"}));
    QCOMPARE(TestFiles::readBytes(folder.file("two.mp3")), QByteArray("two.mp3"));
    QCOMPARE(dialog.RowCount(), 3);   // the preview stays as it was

    // Yes replaces the existing file.
    dropList(dialog, folder, {QStringLiteral("2.mp3\ttwo")});
    prompts.clear();
    DlgItem<QPushButton>(&dialog, CBrindleDlg::IdRun)->click();
    QCOMPARE(prompts.count(), 2);
    QCOMPARE(TestFiles::readBytes(folder.file("two.mp3")), QByteArray("2.mp3"));
}

void BrindleDlgTest::equalNamesNeitherRenamedNorReported()
{
    TempFolder folder;
    touch(folder.path(), "same.mp3");
    CBrindleDlg dialog;
    MessageBoxRecorder prompts;
    QCOMPARE(dialog.RenameOne(folder.path(), "same.mp3", "same.mp3"), int(RenameSamePath));
    // Even invalid or missing names give no message when both paths are the same text.
    QCOMPARE(dialog.RenameOne(folder.path(), "gone?.mp3", "gone?.mp3"), int(RenameSamePath));
    dropList(dialog, folder, {QStringLiteral("same.mp3\tsame")});
    dialog.RunRenames();
    QCOMPARE(prompts.count(), 0);
    QVERIFY(QFile::exists(folder.file("same.mp3")));
}

void BrindleDlgTest::letterCase_data()
{
    QTest::addColumn<bool>("folds");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("asked");   // the overwrite question, answered No
    QTest::addColumn<QStringList>("after");
    // This machine's own file systems keep letter cases apart; FAT and NTFS do not.
    for (const bool folds : {false, true}) {
        const char* const rule = folds ? "folding" : "exact";
        QTest::addRow("%s: case of its own name", rule) << folds << QStringList{"song"} << QStringList{"song\tSONG"}
                                                         << QString() << QStringList{"SONG"};
        QTest::addRow("%s: other file in another case", rule)
            << folds << QStringList{"song", "Other"} << QStringList{"song\tother"} << QString(folds ? "other" : "")
            << (folds ? QStringList{"Other", "song"} : QStringList{"Other", "other"});
        QTest::addRow("%s: two rows, one name in two cases", rule)
            << folds << QStringList{"a", "b"} << QStringList{"a\tx", "b\tX"} << QString(folds ? "X" : "")
            << (folds ? QStringList{"b", "x"} : QStringList{"X", "x"});
    }
}

void BrindleDlgTest::letterCase()
{
    QFETCH(bool, folds);
    QFETCH(QStringList, files);
    QFETCH(QStringList, lines);
    QFETCH(QString, asked);
    QFETCH(QStringList, after);
    TempFolder folder;
    for (const QString& name : files)
        touch(folder.path(), name, name.toUtf8());
    std::optional<FoldingFolders> folding;
    if (folds)
        folding.emplace();
    QCOMPARE(FileNameCase::FolderFoldsCase(folder.path()), folds);
    CBrindleDlg dialog;
    dropList(dialog, folder, lines);
    MessageBoxRecorder prompts(IDNO);
    dialog.RunRenames();
    const QStringList questions = asked.isEmpty() ? QStringList()
                                                  : QStringList{QStringLiteral("ファイル\"%1\"は既に存在します。上書きしますか？").arg(asked)};
    QStringList shown;
    for (const MessageBoxPrompt& prompt : prompts.prompts())
        if (prompt.caption == QStringLiteral("Rename"))
            shown << prompt.text;
    QCOMPARE(shown, questions);
    QStringList names = entries(folder.path());
    names.removeOne(QStringLiteral("list.txt"));
    QCOMPARE(names, after);
}

void BrindleDlgTest::runFollowsItsOwnRenames()
{
    // The names a run creates or frees count for the later rows' overwrite question, here in a
    // folder that folds letter case.
    const FoldingFolders folding;
    TempFolder folder;
    for (const char* name : {"a.mp3", "c.mp3", "x.mp3", "z.mp3"})
        touch(folder.path(), QString::fromLatin1(name), name);
    CBrindleDlg dialog;
    dropList(dialog, folder, {QStringLiteral("a.mp3\tb"), QStringLiteral("c.mp3\tB.MP3"),
                              QStringLiteral("x.mp3\ty"), QStringLiteral("z.mp3\tX.MP3")});
    MessageBoxRecorder prompts;
    prompts.queueAnswer(IDNO);
    dialog.RunRenames();
    QCOMPARE(prompts.count(), 2);
    QCOMPARE(prompts.prompts()[0].text, QStringLiteral("ファイル\"B.MP3\"は既に存在します。上書きしますか？"));
    QCOMPARE(prompts.prompts()[1].text, QStringLiteral("3個のファイル名を変更しました！"));
    QCOMPARE(entries(folder.path()), (QStringList{"X.MP3", "b.mp3", "c.mp3", "list.txt", "y.mp3"}));
}

void BrindleDlgTest::emptyOrRelativeFolderRenamesNothing()
{
    TempFolder folder;
    touch(folder.path(), "a.mp3");
    CBrindleDlg dialog;
    dropList(dialog, folder, {QStringLiteral("a.mp3\tb"), QStringLiteral("list.txt\tc")});
    MessageBoxRecorder prompts;
    const QString current = QDir::currentPath();
    QDir::setCurrent(folder.path());
    for (const QString& folderField : {QString(), QStringLiteral("."), QStringLiteral("relative")}) {
        prompts.clear();
        DlgItem<QLineEdit>(&dialog, CBrindleDlg::IdFolder)->setText(folderField);
        dialog.RunRenames();
        QCOMPARE(prompts.count(), 2);
        QCOMPARE(prompts.prompts()[0].text, QStringLiteral("ファイル\"a.mp3\"が存在しません"));
        QCOMPARE(prompts.prompts()[0].flags, unsigned(MB_OK | MB_ICONERROR));
        QCOMPARE(prompts.prompts()[1].text, QStringLiteral("ファイル\"list.txt\"が存在しません"));
    }
    QDir::setCurrent(current);
    QCOMPARE(entries(folder.path()), (QStringList{"a.mp3", "list.txt"}));
}

void BrindleDlgTest::namesCannotLeaveTheFolder()
{
    TempFolder folder;
    const QString inner = folder.mkdir("inner");
    touch(inner, "a.mp3");
    touch(folder.path(), "outside.mp3");
    CBrindleDlg dialog;
    MessageBoxRecorder prompts;
    QCOMPARE(dialog.RenameOne(inner, "a.mp3", ".."), int(RenameInvalid));
    QCOMPARE(dialog.RenameOne(inner, "a.mp3", "."), int(RenameInvalid));
    QCOMPARE(dialog.RenameOne(inner, "..", "x"), int(RenameInvalid));
    QCOMPARE(dialog.RenameOne(inner, "a.mp3", "../b.mp3"), int(RenameInvalid));
    QCOMPARE(dialog.RenameOne(inner, "", "x"), int(RenameInvalid));
    QCOMPARE(prompts.count(), 5);
    for (const auto& prompt : prompts.prompts())
        QCOMPARE(prompt.caption, QStringLiteral("IsFileNameCorrect"));
    QCOMPARE(entries(inner), QStringList{"a.mp3"});
    QCOMPARE(entries(folder.path()), (QStringList{"inner", "outside.mp3"}));
}

void BrindleDlgTest::invalidCharacterIsReported()
{
    TempFolder folder;
    touch(folder.path(), "a.mp3");
    CBrindleDlg dialog;
    MessageBoxRecorder prompts;
    QVERIFY(dialog.IsFileNameCorrect(QStringLiteral("名前 (1)\t.mp3")));
    QCOMPARE(prompts.count(), 0);
    for (const QChar c : QStringLiteral("\\/:,;*?\"<>|")) {
        const QString name = QStringLiteral("a") + c + QStringLiteral(".mp3");
        QVERIFY2(!dialog.IsFileNameCorrect(name), qPrintable(name));
    }
    QCOMPARE(prompts.count(), 11);
    QCOMPARE(prompts.prompts()[6].text,
             QStringLiteral("ファイル名(a?.mp3)に使えない文字 (\\ / : , ; * ? \" < > |)が含まれています"));
    QCOMPARE(prompts.prompts()[6].flags, unsigned(MB_OK | MB_ICONINFORMATION));

    // The old name is checked first; a bad old name does not check the new one.
    prompts.clear();
    QCOMPARE(dialog.RenameOne(folder.path(), "a?.mp3", "b|.mp3"), int(RenameInvalid));
    QCOMPARE(prompts.count(), 1);
    QVERIFY(prompts.prompts()[0].text.contains("a?.mp3"));
    QCOMPARE(dialog.RenameOne(folder.path(), "a.mp3", "b|.mp3"), int(RenameInvalid));
    QVERIFY(QFile::exists(folder.file("a.mp3")));
}

void BrindleDlgTest::vanishedFileIsReported()
{
    TempFolder folder;
    touch(folder.path(), "a.mp3");
    touch(folder.path(), "b.mp3");
    CBrindleDlg dialog;
    dropList(dialog, folder, {QStringLiteral("a.mp3\tx"), QStringLiteral("b.mp3\ty")});
    QFile::remove(folder.file("a.mp3"));
    MessageBoxRecorder prompts;
    dialog.RunRenames();
    QCOMPARE(prompts.count(), 2);
    QCOMPARE(prompts.prompts()[0].text, QStringLiteral("ファイル\"a.mp3\"が存在しません"));
    QCOMPARE(prompts.prompts()[1].text, QStringLiteral("1個のファイル名を変更しました！"));
    QVERIFY(QFile::exists(folder.file("y.mp3")));
}

void BrindleDlgTest::refusedMoveIsReported()
{
    // A file cannot replace a folder that holds files: the move fails, nothing is lost.
    TempFolder folder;
    touch(folder.path(), "a", "keep");
    const QString target = folder.mkdir("target");
    touch(target, "inside");
    CBrindleDlg dialog;
    MessageBoxRecorder prompts(IDYES);
    QCOMPARE(dialog.RenameOne(folder.path(), "a", "target"), int(RenameFailed));
    QCOMPARE(prompts.count(), 1);   // only the overwrite question
    QCOMPARE(TestFiles::readBytes(folder.file("a")), QByteArray("keep"));
    QCOMPARE(entries(target), QStringList{"inside"});

    // The run names the failure in its summary instead of passing over it.
    dropList(dialog, folder, {QStringLiteral("a\ttarget")});
    prompts.clear();
    dialog.RunRenames();
    QCOMPARE(prompts.count(), 2);
    QVERIFY(prompts.prompts()[0].text.contains("target"));
    QCOMPARE(prompts.prompts()[1].text,
             QStringLiteral("1個のファイル名を変更できませんでした:\na → target: 変更後の名前のフォルダーがあります"));
    QCOMPARE(prompts.prompts()[1].flags, unsigned(MB_OK | MB_ICONWARNING));
    QCOMPARE(TestFiles::readBytes(folder.file("a")), QByteArray("keep"));
    QCOMPARE(entries(target), QStringList{"inside"});
}

void BrindleDlgTest::readOnlyFolderIsReported()
{
    TempFolder folder;
    touch(folder.path(), "a.mp3", "data");
    touch(folder.path(), "c.mp3", "other");
    CBrindleDlg dialog;
    dropList(dialog, folder, {QStringLiteral("a.mp3\tb"), QStringLiteral("c.mp3\td")});
    FolderLock lock(folder.path());
    if (!lock.IsLocked())
        QSKIP("this file system cannot make a folder read-only here");
    MessageBoxRecorder prompts;
    dialog.RunRenames();
    lock.Release();
    QCOMPARE(prompts.count(), 1);
    QVERIFY2(prompts.prompts()[0].text.startsWith(QStringLiteral("2個のファイル名を変更できませんでした:\na.mp3 → b.mp3: ")),
             qPrintable(prompts.prompts()[0].text));
    QCOMPARE(entries(folder.path()), (QStringList{"a.mp3", "c.mp3", "list.txt"}));
    QCOMPARE(TestFiles::readBytes(folder.file("a.mp3")), QByteArray("data"));
}

void BrindleDlgTest::noRowsNoMessage()
{
    CBrindleDlg dialog;
    MessageBoxRecorder prompts;
    DlgItem<QLineEdit>(&dialog, CBrindleDlg::IdFolder)->setText("/tmp");
    dialog.RunRenames();
    QCOMPARE(prompts.count(), 0);
}

void BrindleDlgTest::reverseAndRunRestoresOldNames()
{
    TempFolder folder;
    touch(folder.path(), "Track01.MP3", "1");
    touch(folder.path(), "Track02.mp3", "2");
    CBrindleDlg dialog;
    dropList(dialog, folder, {QStringLiteral("Track01.MP3\t春"), QStringLiteral("Track02.mp3\t夏")});
    MessageBoxRecorder prompts;
    dialog.RunRenames();
    QCOMPARE(entries(folder.path()), (QStringList{"list.txt", "夏.mp3", "春.mp3"}));
    reverseBox(dialog)->click();
    dialog.RunRenames();
    QCOMPARE(prompts.count(), 2);
    QCOMPARE(prompts.prompts()[1].text, QStringLiteral("2個のファイル名を変更しました！"));
    // The appended lower-case extension is undone with the rest of the new name.
    QCOMPARE(entries(folder.path()), (QStringList{"Track01.MP3", "Track02.mp3", "list.txt"}));
    QCOMPARE(TestFiles::readBytes(folder.file("Track01.MP3")), QByteArray("1"));
}

void BrindleDlgTest::enterInFolderFieldRuns()
{
    TempFolder folder;
    touch(folder.path(), "a.mp3");
    CBrindleDlg dialog;
    dropList(dialog, folder, {QStringLiteral("a.mp3\tb")});
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto* edit = DlgItem<QLineEdit>(&dialog, CBrindleDlg::IdFolder);
    edit->setFocus();
    MessageBoxRecorder prompts;
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(prompts.count(), 1);
    QCOMPARE(prompts.prompts()[0].text, QStringLiteral("1個のファイル名を変更しました！"));
    QVERIFY(QFile::exists(folder.file("b.mp3")));
    QVERIFY(dialog.isVisible());   // a run does not close the window
}

void BrindleDlgTest::escapeAndExitClose()
{
    CBrindleDlg dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));

    CBrindleDlg second;
    second.show();
    QVERIFY(QTest::qWaitForWindowExposed(&second));
    DlgItem<QPushButton>(&second, CBrindleDlg::IdExit)->click();
    QVERIFY(!second.isVisible());
}

void BrindleDlgTest::aboutBoxFromF1()
{
    CVersionResource::SetApplication({{"ProductName", "Brindle"}, {"ProductVersion", "1.0.0"}});
    CBrindleDlg dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QString caption;
    QString product;
    QTimer::singleShot(0, [&] {
        if (auto* about = qobject_cast<CAboutDlg*>(QApplication::activeModalWidget())) {
            caption = about->windowTitle();
            product = DlgItem<QLabel>(about, CAboutDlg::IdProductNameVersion)->text();
            about->accept();
        }
    });
    QTest::keyClick(&dialog, Qt::Key_F1);
    QCOMPARE(caption, QStringLiteral("Brindleのﾊﾞｰｼﾞｮﾝ情報"));
    QCOMPARE(product, QStringLiteral("Brindle ver 1.0.0"));

    // The context menu carries the entry of string 101.
    QString entry;
    QTimer::singleShot(0, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            entry = menu->actions().value(0) ? menu->actions().value(0)->text() : QString();
            menu->close();
        }
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), dialog.mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(&dialog, &event);
    QCOMPARE(entry, QStringLiteral("Brindle のﾊﾞｰｼﾞｮﾝ情報(&A)..."));
}

void BrindleDlgTest::placementStoredInWindowPos()
{
    {
        CBrindleDlg dialog;
        dialog.setGeometry(30, 40, 600, 500);
    }
    QCOMPARE(GetProfileInt("WindowPos", "Left", -1), 30);
    QCOMPARE(GetProfileInt("WindowPos", "Bottom", -1), 540);
    CBrindleDlg restored;
    QCOMPARE(restored.geometry(), QRect(30, 40, 600, 500));
    // Only the rectangle is kept.
    const QByteArray ini = TestFiles::readBytes(Profile::path());
    QVERIFY(!ini.contains("Maximized"));
    QCOMPARE(ini.count('='), 4);
}

void BrindleDlgTest::profileBesideExecutable()
{
    TempFolder folder;
    const QString executable = folder.file("bin/brindle");
    folder.mkdir("bin");
    const CBrindleApp app(executable);
    QCOMPARE(app.ExecutableParts().Title, QStringLiteral("brindle"));
    QCOMPARE(app.ProfilePath(), folder.file("bin/brindle.ini"));
    QVERIFY(app.FallbackProfilePath().endsWith("/brindle/brindle.ini"));
    // An executable folder that cannot be written sends the profile to the user's folder.
    const CBrindleApp installed(QStringLiteral("/nonexistent-folder/brindle"));
    QCOMPARE(installed.ProfilePath(), installed.FallbackProfilePath());
}

SONAVEL_TEST_MAIN(BrindleDlgTest)
#include "BrindleDlgTest.moc"
