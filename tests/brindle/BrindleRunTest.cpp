#include "platform/profile/Profile.h"
#include "renamer/BrindleApp.h"
#include "renamer/BrindleStrings.h"
#include "renamer/JournalLine.h"
#include "tests/brindle/BrindleTestSupport.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

using namespace BrindleTestSupport;

// Runs over real folders as the user makes them, each followed by its undo: the folder's files
// and contents are checked afterwards, not only what the run reports.
namespace {

const QString kList = QStringLiteral("list.txt");

// Each file holds its own name, so its content tells where it came from.
void fill(const QString& folder, const QStringList& names)
{
    for (const QString& name : names)
        touch(folder, name, name.toUtf8());
}

// The folder's entries except the list, as "name=content" in name order.
QStringList state(const QString& folder)
{
    QStringList lines;
    for (const QString& name : entries(folder))
        if (name != kList)
            lines << name + '=' + QString::fromUtf8(TestFiles::readBytes(folder + '/' + name));
    return lines;
}

QStringList unchanged(QStringList names)
{
    names.sort();
    for (QString& name : names)
        name += '=' + name;
    return names;
}

void dropList(CBrindleDlg& dialog, const QString& folder, const QStringList& lines)
{
    TestFiles::writeBytes(folder + '/' + kList, utf16List(lines));
    QVERIFY(dropFiles(dialog, {folder + '/' + kList}));
}

int countCaption(const MessageBoxRecorder& prompts, const QString& caption)
{
    return int(std::count_if(prompts.prompts().begin(), prompts.prompts().end(),
                             [&](const MessageBoxPrompt& prompt) { return prompt.caption == caption; }));
}

bool hasTemporaryName(const QString& folder)
{
    return !QDir(folder).entryList({QStringLiteral(".brindle-*")}, QDir::AllEntries | QDir::Hidden).isEmpty();
}

} // namespace

class BrindleRunTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void runAndUndo_data();
    void runAndUndo();
    void randomListsNeverLoseAFile();
    void crashMidRunIsUndoneAtNextStart_data();
    void crashMidRunIsUndoneAtNextStart();
    void recoveryGoesByTheFolder_data();
    void recoveryGoesByTheFolder();
    void declinedRecoveryStaysUndoable();
    void fileVanishesInCycle();
    void folderTurnsReadOnlyMidRun();
    void undoAsksForAFileThatAppeared();
    void listRenamesItself();
    void journalThatCannotBeWrittenAsks();
    void damagedForeignAndSettledJournals();
    void previewWarnings();
    void undoFromKeyboardAndMenu();
    void endSessionDuringRunAnswersNo();
    void terminationSignalClosesAndSaves();
    void hundredThousandRows();

private:
    std::unique_ptr<TempFolder> m_state;
};

void BrindleRunTest::initTestCase()
{
    BrindleStrings::Register();
}

void BrindleRunTest::init()
{
    m_state = std::make_unique<TempFolder>();
    Profile::setPath(m_state->file(QStringLiteral("brindle.ini")));
    CRenameJournal::SetFolder(m_state->file(QStringLiteral("journals")));
}

void BrindleRunTest::runAndUndo_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("questions");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<QStringList>("afterUndo");
    const QStringList abc{"a", "b", "c"};
    QTest::newRow("swap") << QStringList{"a.txt", "b.txt"} << QStringList{"a.txt\tb.txt", "b.txt\ta.txt"} << int(IDYES) << 0
                          << QStringList{"a.txt=b.txt", "b.txt=a.txt"} << unchanged({"a.txt", "b.txt"});
    QTest::newRow("chain of 5") << QStringList{"f1", "f2", "f3", "f4", "f5"}
                                << QStringList{"f1\tf2", "f2\tf3", "f3\tf4", "f4\tf5", "f5\tf6"} << int(IDYES) << 0
                                << QStringList{"f2=f1", "f3=f2", "f4=f3", "f5=f4", "f6=f5"}
                                << unchanged({"f1", "f2", "f3", "f4", "f5"});
    QTest::newRow("cycle of 3") << abc << QStringList{"a\tb", "b\tc", "c\ta"} << int(IDYES) << 0
                                << QStringList{"a=c", "b=a", "c=b"} << unchanged(abc);
    const QStringList mixed{"a", "b", "p", "q", "x", "y", "z"};
    QTest::newRow("two cycles and a chain")
        << mixed << QStringList{"a\tb", "b\ta", "x\ty", "y\tz", "z\tx", "p\tq", "q\tr"} << int(IDYES) << 0
        << QStringList{"a=b", "b=a", "q=p", "r=q", "x=z", "y=x", "z=y"} << unchanged(mixed);
    QTest::newRow("same new name, second declined") << QStringList{"a", "b"} << QStringList{"a\tx", "b\tx"} << int(IDNO) << 1
                                                     << QStringList{"b=b", "x=a"} << unchanged({"a", "b"});
    // Yes replaces the first file's content: the undo can give back only the second.
    QTest::newRow("same new name, second accepted") << QStringList{"a", "b"} << QStringList{"a\tx", "b\tx"} << int(IDYES)
                                                     << 1 << QStringList{"x=b"} << QStringList{"b=b"};
    QTest::newRow("real overwrite declined") << QStringList{"a", "t"} << QStringList{"a\tt"} << int(IDNO) << 1
                                             << unchanged({"a", "t"}) << unchanged({"a", "t"});
    QTest::newRow("real overwrite accepted") << QStringList{"a", "t"} << QStringList{"a\tt"} << int(IDYES) << 1
                                             << QStringList{"t=a"} << QStringList{"a=a"};
    // Only the end of the chain is a real overwrite; declining it keeps the chain from running.
    QTest::newRow("chain ending in an overwrite") << QStringList{"a", "b", "t"} << QStringList{"a\tb", "b\tt"} << int(IDNO)
                                                  << 1 << unchanged({"a", "b", "t"}) << unchanged({"a", "b", "t"});
}

void BrindleRunTest::runAndUndo()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, lines);
    QFETCH(int, answer);
    QFETCH(int, questions);
    QFETCH(QStringList, after);
    QFETCH(QStringList, afterUndo);
    TempFolder folder;
    fill(folder.path(), files);
    CBrindleDlg dialog;
    dropList(dialog, folder.path(), lines);
    MessageBoxRecorder prompts(answer);
    dialog.RunRenames();
    QCOMPARE(state(folder.path()), after);
    QCOMPARE(countCaption(prompts, QStringLiteral("Rename")), questions);
    QVERIFY(!hasTemporaryName(folder.path()));
    QVERIFY(dialog.CanUndo());

    prompts.clear();
    dialog.Undo();
    QCOMPARE(state(folder.path()), afterUndo);
    QCOMPARE(prompts.prompts().last().caption, QStringLiteral("元に戻す"));
    QVERIFY(!dialog.CanUndo());
    QVERIFY(QDir(CRenameJournal::Folder()).entryList(QDir::Files).isEmpty());
}

void BrindleRunTest::randomListsNeverLoseAFile()
{
    // Names that meet in chains, cycles, duplicates and letter-case variants.
    const QStringList pool{"a", "b", "c", "d", "e", "A", "B"};
    for (quint32 seed = 1; seed <= 60; ++seed) {
        QRandomGenerator random(seed);
        TempFolder folder;
        QStringList files;
        for (const QString& name : pool)
            if (random.bounded(10) < 6)
                files << name;
        fill(folder.path(), files);
        QStringList lines;
        for (int row = 0, rows = 1 + random.bounded(7); row < rows; ++row)
            lines << pool[random.bounded(pool.size())] + '\t' + pool[random.bounded(pool.size())];
        const QStringList before = state(folder.path());
        const bool acceptAll = seed % 3 == 0;
        CBrindleDlg dialog;
        dropList(dialog, folder.path(), lines);
        MessageBoxRecorder prompts(acceptAll ? IDYES : IDNO);
        dialog.RunRenames();
        const QString context = QStringLiteral("seed %1: %2").arg(seed).arg(lines.join(" | "));
        QVERIFY2(!hasTemporaryName(folder.path()), qPrintable(context));
        if (!acceptAll) {
            // Nothing replaced, so every content is still somewhere.
            QStringList contentsBefore, contentsAfter;
            for (const QString& line : before)
                contentsBefore << line.section('=', 1);
            for (const QString& line : state(folder.path()))
                contentsAfter << line.section('=', 1);
            contentsBefore.sort();
            contentsAfter.sort();
            QVERIFY2(contentsAfter == contentsBefore, qPrintable(context));
        }
        dialog.Undo();
        QVERIFY2(!hasTemporaryName(folder.path()), qPrintable(context));
        if (!acceptAll)
            QVERIFY2(state(folder.path()) == before, qPrintable(context + " / " + state(folder.path()).join(' ')));
    }
}

void BrindleRunTest::crashMidRunIsUndoneAtNextStart_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("killAfter");
    QTest::newRow("cycle of 3, file under the temporary name") << QStringList{"a", "b", "c"}
                                                                << QStringList{"a\tb", "b\tc", "c\ta"} << 1;
    QTest::newRow("cycle of 3, two moves in") << QStringList{"a", "b", "c"} << QStringList{"a\tb", "b\tc", "c\ta"} << 2;
    QTest::newRow("chain of 5, two moves in") << QStringList{"f1", "f2", "f3", "f4", "f5"}
                                              << QStringList{"f1\tf2", "f2\tf3", "f3\tf4", "f4\tf5", "f5\tf6"} << 2;
    QTest::newRow("swap, last move missing") << QStringList{"a", "b"} << QStringList{"a\tb", "b\ta"} << 2;
}

void BrindleRunTest::crashMidRunIsUndoneAtNextStart()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, lines);
    QFETCH(int, killAfter);
    TempFolder folder;
    fill(folder.path(), files);
    const QStringList before = state(folder.path());
    TestFiles::writeBytes(folder.file(kList), utf16List(lines));
    QProcess helper;
    helper.start(QStringLiteral(BRINDLE_CRASH_HELPER),
                 {folder.file(kList), CRenameJournal::Folder(), QString::number(killAfter)});
    QVERIFY(helper.waitForFinished(30000));
    QCOMPARE(helper.exitStatus(), QProcess::CrashExit);
    QVERIFY(state(folder.path()) != before);
    QCOMPARE(QDir(CRenameJournal::Folder()).entryList(QDir::Files).size(), 1);

    CBrindleDlg dialog;
    MessageBoxRecorder prompts(IDYES);
    dialog.OfferRecovery();
    QCOMPARE(prompts.count(), 2);
    QCOMPARE(prompts.prompts()[0].text, QStringLiteral("前回のファイル名の変更が途中で終わっています。\nフォルダー: ") +
                                            folder.path() + QStringLiteral("\n元に戻しますか？"));
    QCOMPARE(prompts.prompts()[0].flags, unsigned(MB_YESNO | MB_ICONQUESTION));
    // Every move made before the kill is put back (here each one gives a file its old name).
    QCOMPARE(prompts.prompts()[1].text, QStringLiteral("%1個のファイル名を元に戻しました").arg(killAfter));
    QCOMPARE(state(folder.path()), before);
    QVERIFY(QDir(CRenameJournal::Folder()).entryList(QDir::Files).isEmpty());
    QVERIFY(!dialog.CanUndo());
}

// Journals and folders as Brindles killed (or older ones, or a system crash) leave them: the undo
// goes by the folder, never asks about a file the run put there itself, and a Yes would destroy.
void BrindleRunTest::recoveryGoesByTheFolder_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<QStringList>("moves");
    QTest::addColumn<QStringList>("records");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("shown");   // after the offer, answered Yes; then every answer is No
    QTest::addColumn<QStringList>("after");
    const QStringList chain{"M b c", "M a b"};
    const QStringList swap{"T a .t", "M b a", "F .t b"};
    const QString none = QStringLiteral("0個のファイル名を元に戻しました");
    const QString heldB = QStringLiteral("元の名前\"b\"には、元に戻せなかった別のファイルがあります");
    QTest::newRow("undo of a chain cut off") << 2 << chain << QStringList{"done 0-1", "undo", "revert 1", "revert 0"}
                                             << QStringList{"a=a", "b=b"} << none << QStringList{"a=a", "b=b"};
    QTest::newRow("the same, older Brindle") << 1 << chain << QStringList{"done 0", "done 1", "ended", "undo"}
                                             << QStringList{"a=a", "b=b"} << none << QStringList{"a=a", "b=b"};
    QTest::newRow("undo of a swap cut off, older Brindle") << 1 << swap << QStringList{"done 0-2", "ended", "undo"}
                                                           << QStringList{"a=a", "b=b"} << none << QStringList{"a=a", "b=b"};
    // A system crash lost the record of the swap's last move: it stays made.
    QTest::newRow("swap made, its last record lost")
        << 2 << swap << QStringList{"done 0-1"} << QStringList{"a=b", "b=a"}
        << none + QStringLiteral("\n1個のファイル名を元に戻せませんでした:\na → b: ") + heldB << QStringList{"a=b", "b=a"};
    QTest::newRow("a file appeared under an old name")
        << 2 << chain << QStringList{"done 0-1"} << QStringList{"a=new", "b=a", "c=b"}
        << QStringLiteral("ファイル\"a\"は既に存在します。上書きしますか？|") + none +
               QStringLiteral("\n2個のファイル名を元に戻せませんでした:\nb → a: 上書きしませんでした\nc → b: ") + heldB
        << QStringList{"a=new", "b=a", "c=b"};
}

void BrindleRunTest::recoveryGoesByTheFolder()
{
    QFETCH(int, version);
    QFETCH(QStringList, moves);
    QFETCH(QStringList, records);
    QFETCH(QStringList, files);
    QFETCH(QString, shown);
    QFETCH(QStringList, after);
    TempFolder folder;
    for (const QString& file : files)
        touch(folder.path(), file.section('=', 0, 0), file.section('=', 1).toUtf8());
    QStringList lines{QStringLiteral("brindle-journal %1").arg(version), "folder " + folder.path()};
    for (const QString& move : moves)
        lines << "move " + move;
    lines << QStringLiteral("plan %1").arg(moves.size()) << records;
    QByteArray journal;
    for (const QString& line : lines)
        journal += JournalLine::Make(line.toUtf8());
    QVERIFY(QDir().mkpath(CRenameJournal::Folder()));
    QVERIFY(TestFiles::writeBytes(CRenameJournal::Folder() + QStringLiteral("/run-killed.journal"), journal));

    CBrindleDlg dialog;
    MessageBoxRecorder prompts(IDNO);
    prompts.queueAnswer(IDYES);
    dialog.OfferRecovery();
    QStringList texts;
    for (const MessageBoxPrompt& prompt : prompts.prompts())
        texts << prompt.text;
    QVERIFY(!texts.isEmpty() && texts.takeFirst().startsWith(QStringLiteral("前回のファイル名の変更が途中で終わっています。")));
    QCOMPARE(texts.join('|'), shown);
    QCOMPARE(state(folder.path()), after);
}

void BrindleRunTest::declinedRecoveryStaysUndoable()
{
    TempFolder folder;
    fill(folder.path(), {"a", "b", "c"});
    TestFiles::writeBytes(folder.file(kList), utf16List({"a\tb", "b\tc", "c\ta"}));
    QProcess helper;
    helper.start(QStringLiteral(BRINDLE_CRASH_HELPER), {folder.file(kList), CRenameJournal::Folder(), "1"});
    QVERIFY(helper.waitForFinished(30000));
    QVERIFY(hasTemporaryName(folder.path()));
    {
        CBrindleDlg dialog;
        MessageBoxRecorder prompts(IDNO);
        dialog.OfferRecovery();
        QCOMPARE(prompts.count(), 1);
        QVERIFY(dialog.CanUndo());
    }
    // Closing keeps it for the next start; Ctrl+Z of that start puts it back too.
    QCOMPARE(QDir(CRenameJournal::Folder()).entryList(QDir::Files).size(), 1);
    CBrindleDlg dialog;
    MessageBoxRecorder prompts(IDNO);
    dialog.OfferRecovery();
    dialog.Undo();
    QCOMPARE(state(folder.path()), unchanged({"a", "b", "c"}));
    QCOMPARE(prompts.prompts().last().text, QStringLiteral("1個のファイル名を元に戻しました"));
}

void BrindleRunTest::fileVanishesInCycle()
{
    TempFolder folder;
    fill(folder.path(), {"a", "b", "c"});
    CBrindleDlg dialog;
    dropList(dialog, folder.path(), {"a\tb", "b\tc", "c\ta"});
    // Planned: a to the temporary name, c to a, b to c, the temporary name to b.
    dialog.Renamer().SetProgress([&](int made) {
        if (made == 2)
            QFile::remove(folder.file("b"));
    });
    MessageBoxRecorder prompts;
    dialog.RunRenames();
    QCOMPARE(prompts.count(), 1);
    QCOMPARE(prompts.prompts()[0].text,
             QStringLiteral("3個のファイル名を変更できませんでした:\n"
                            "a → b: 入れ替えを終えられなかったため元に戻しました\n"
                            "b → c: ファイルが見つかりません\n"
                            "c → a: 入れ替えを終えられなかったため元に戻しました"));
    QCOMPARE(state(folder.path()), (QStringList{"a=a", "c=c"}));
    QVERIFY(!hasTemporaryName(folder.path()));
}

void BrindleRunTest::folderTurnsReadOnlyMidRun()
{
    TempFolder folder;
    fill(folder.path(), {"a", "b", "c", "p"});
    CBrindleDlg dialog;
    dropList(dialog, folder.path(), {"a\tb", "b\tc", "c\ta", "p\tq"});
    std::unique_ptr<FolderLock> lock;
    // Planned: p to q, a to the temporary name, then the cycle; the folder locks in between.
    dialog.Renamer().SetProgress([&](int made) {
        if (made == 2)
            lock = std::make_unique<FolderLock>(folder.path());
    });
    MessageBoxRecorder prompts;
    dialog.RunRenames();
    if (!lock || !lock->IsLocked())
        QSKIP("this file system cannot make a folder read-only here");
    lock.reset();
    const QString temporary = QStringLiteral(".%1-1").arg(CFileRenamer::TemporaryTag());
    QCOMPARE(prompts.count(), 1);
    const QString summary = prompts.prompts()[0].text;
    QVERIFY2(summary.startsWith(QStringLiteral("1個のファイル名を変更しました！\n3個のファイル名を変更できませんでした:\n"
                                               "a → b: 一時的な名前\"%1\"のままです（元に戻すで戻せます）\n")
                                    .arg(temporary)),
             qPrintable(summary));
    QCOMPARE(state(folder.path()), (QStringList{temporary + "=a", "b=b", "c=c", "q=p"}));

    prompts.clear();
    dialog.Undo();
    QCOMPARE(state(folder.path()), unchanged({"a", "b", "c", "p"}));
    QCOMPARE(prompts.prompts()[0].text, QStringLiteral("2個のファイル名を元に戻しました"));
}

void BrindleRunTest::undoAsksForAFileThatAppeared()
{
    TempFolder folder;
    fill(folder.path(), {"a"});
    CBrindleDlg dialog;
    dropList(dialog, folder.path(), {"a\tb"});
    MessageBoxRecorder prompts(IDNO);
    dialog.RunRenames();
    touch(folder.path(), "a", "new");
    prompts.clear();
    dialog.Undo();
    QCOMPARE(prompts.count(), 2);
    QCOMPARE(prompts.prompts()[0].text, QStringLiteral("ファイル\"a\"は既に存在します。上書きしますか？"));
    QCOMPARE(prompts.prompts()[1].text,
             QStringLiteral("0個のファイル名を元に戻しました\n1個のファイル名を元に戻せませんでした:\nb → a: 上書きしませんでした"));
    QCOMPARE(state(folder.path()), (QStringList{"a=new", "b=a"}));
    // The run stays undoable until it is put back.
    QVERIFY(dialog.CanUndo());
    QFile::remove(folder.file("a"));
    dialog.Undo();
    QCOMPARE(state(folder.path()), (QStringList{"a=a"}));
    QVERIFY(!dialog.CanUndo());
}

void BrindleRunTest::listRenamesItself()
{
    TempFolder folder;
    fill(folder.path(), {"a"});
    CBrindleDlg dialog;
    dropList(dialog, folder.path(), {"list.txt\tdone.txt", "a\tb"});
    const QByteArray list = TestFiles::readBytes(folder.file(kList));
    MessageBoxRecorder prompts;
    dialog.RunRenames();
    QCOMPARE(entries(folder.path()), (QStringList{"b", "done.txt"}));
    QCOMPARE(TestFiles::readBytes(folder.file("done.txt")), list);
    dialog.Undo();
    QCOMPARE(entries(folder.path()), (QStringList{"a", kList}));
    QCOMPARE(TestFiles::readBytes(folder.file(kList)), list);
}

void BrindleRunTest::journalThatCannotBeWrittenAsks()
{
    TempFolder folder;
    fill(folder.path(), {"a", "b"});
    CRenameJournal::SetFolder(QStringLiteral("/dev/null/brindle"));
    CBrindleDlg dialog;
    dropList(dialog, folder.path(), {"a\tb", "b\ta"});
    MessageBoxRecorder prompts(IDNO);
    dialog.RunRenames();
    QCOMPARE(prompts.count(), 1);
    QCOMPARE(prompts.prompts()[0].text, QStringLiteral("実行の記録(/dev/null/brindle)を書けないため、元に戻すことは"
                                                       "できません。このまま実行しますか？"));
    QCOMPARE(state(folder.path()), unchanged({"a", "b"}));

    // Yes runs all the same, with nothing to undo afterwards.
    prompts.queueAnswer(IDYES);
    dialog.RunRenames();
    QCOMPARE(state(folder.path()), (QStringList{"a=b", "b=a"}));
    QVERIFY(!dialog.CanUndo());
}

void BrindleRunTest::damagedForeignAndSettledJournals()
{
    TempFolder folder;
    fill(folder.path(), {"a", "b"});
    QDir().mkpath(CRenameJournal::Folder());
    const QString damaged = CRenameJournal::Folder() + QStringLiteral("/run-damaged.journal");
    TestFiles::writeBytes(damaged, "0badc0de brindle-journal 1\nnot a journal\n");
    // A run of a folder that cannot be opened (a drive not plugged in), and a settled run of a
    // Brindle that was killed later.
    CRenameJournal::Create(QStringLiteral("/nonexistent-folder"), {{JournalMove::Plain, "a", "b"}});
    {
        auto settled = CRenameJournal::Create(folder.path(), {{JournalMove::Plain, "x", "y"}});
        settled->Record(CRenameJournal::Event::Done, 0);
        settled->RecordRunEnded();
    }
    CBrindleDlg dialog;
    MessageBoxRecorder prompts(IDYES);
    dialog.OfferRecovery();
    QCOMPARE(prompts.count(), 3);
    const QStringList texts{prompts.prompts()[0].text, prompts.prompts()[1].text, prompts.prompts()[2].text};
    QVERIFY(texts.contains(QStringLiteral("実行の記録(%1)が壊れているため、元に戻せません").arg(damaged)));
    QVERIFY(texts.contains(QStringLiteral("前回のファイル名の変更が途中で終わっています。\n"
                                          "フォルダー: /nonexistent-folder\n元に戻しますか？")));
    QVERIFY(texts.contains(QStringLiteral("フォルダー\"/nonexistent-folder\"を開けないため、元に戻せませんでした。\n"
                                          "フォルダーを使えるようにしてから、もう一度元に戻してください。")));
    // The run of the missing folder waits for it; the settled one is gone.
    QStringList left = QDir(CRenameJournal::Folder()).entryList(QDir::Files);
    QCOMPARE(left.size(), 2);
    QVERIFY(left.removeAll(QStringLiteral("run-damaged.journal.damaged")) == 1);
    QVERIFY(CJournalContents::ReadFile(CRenameJournal::Folder() + '/' + left.front())->Folder() ==
            QStringLiteral("/nonexistent-folder"));
    QCOMPARE(state(folder.path()), unchanged({"a", "b"}));
}

void BrindleRunTest::previewWarnings()
{
    TempFolder folder;
    fill(folder.path(), {"a", "b", "e", "t"});
    CBrindleDlg dialog;
    dropList(dialog, folder.path(),
             {"gone\tx", "a\tsub/x", "b\t..", "e\t", "t\tt", "a\tt", "b\tt", "a\ty", "e\tf\ng", "x?\ty", "e\tz"});
    const QStringList expected{
        "ファイル\"gone\"が存在しません",
        "ファイル名(sub/x)に使えない文字 (\\ / : , ; * ? \" < > |)が含まれています",
        "\"..\"はファイル名として使えません",
        "変更後の名前が空です",
        QString(),
        "ファイル\"t\"は既に存在します（上書きを確認します）",
        "6行目と同じ名前に変更します（上書きを確認します）",
        "6行目と同じファイルです",
        "変更後の名前に改行やタブなどの制御文字が含まれています",
        "ファイル名(x?)に使えない文字 (\\ / : , ; * ? \" < > |)が含まれています",
        QString(),
    };
    auto* list = DlgItem<QTreeWidget>(&dialog, CBrindleDlg::IdList);
    for (int row = 0; row < expected.size(); ++row) {
        QCOMPARE(dialog.RowWarningText(row), expected[row]);
        QTreeWidgetItem* item = list->topLevelItem(row);
        QCOMPARE(item->toolTip(1), expected[row]);
        QCOMPARE(item->icon(0).isNull(), expected[row].isEmpty());
        const bool fails = !expected[row].isEmpty() && !expected[row].contains("上書きを確認します");
        QCOMPARE(item->foreground(0).color() == QColor(0xC0, 0, 0), fails);
    }

    // Editing the folder field marks the rows for the folder typed.
    dialog.show();
    auto* edit = DlgItem<QLineEdit>(&dialog, CBrindleDlg::IdFolder);
    QTest::keyClicks(edit, QStringLiteral("-elsewhere"));
    QTRY_COMPARE(dialog.RowWarningText(10), QStringLiteral("ファイル\"e\"が存在しません"));
    edit->setText(folder.path());
    dialog.MarkRows();

    // The run reports each row as marked and renames only what it may; then no marks.
    MessageBoxRecorder prompts(IDNO);
    dialog.RunRenames();
    QCOMPARE(state(folder.path()), (QStringList{"a=a", "b=b", "t=t", "z=e"}));
    QCOMPARE(countCaption(prompts, QStringLiteral("IsFileNameCorrect")), 5);
    QCOMPARE(countCaption(prompts, QStringLiteral("Rename")), 3);   // 104 once, 105 twice
    QCOMPARE(prompts.prompts().last().text,
             QStringLiteral("1個のファイル名を変更しました！\n1個のファイル名を変更できませんでした:\na → y: 6行目と同じファイルです"));
    QVERIFY(dialog.RowWarningText(5).isEmpty());
}

void BrindleRunTest::undoFromKeyboardAndMenu()
{
    TempFolder folder;
    fill(folder.path(), {"a", "b"});
    CBrindleDlg dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    dropList(dialog, folder.path(), {"a\tb", "b\ta"});
    MessageBoxRecorder prompts;
    dialog.RunRenames();
    QCOMPARE(state(folder.path()), (QStringList{"a=b", "b=a"}));

    // Ctrl+Z in the folder field, which has no typing of its own to undo.
    auto* edit = DlgItem<QLineEdit>(&dialog, CBrindleDlg::IdFolder);
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(state(folder.path()), unchanged({"a", "b"}));

    // Typing in the field: Ctrl+Z undoes the typing, not the files.
    dialog.RunRenames();
    QTest::keyClicks(edit, QStringLiteral("x"));
    QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(edit->text(), folder.path());
    QCOMPARE(state(folder.path()), (QStringList{"a=b", "b=a"}));

    // The context menu's entry, enabled while there is a run to undo.
    bool enabled = false;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        for (QAction* action : menu->actions())
            if (action->text() == QStringLiteral("元に戻す")) {
                enabled = action->isEnabled();
                menu->close();
                action->trigger();
            }
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), dialog.mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(&dialog, &event);
    QVERIFY(enabled);
    QCOMPARE(state(folder.path()), unchanged({"a", "b"}));
    QVERIFY(!dialog.CanUndo());
}

void BrindleRunTest::endSessionDuringRunAnswersNo()
{
    TempFolder folder;
    fill(folder.path(), {"x1", "x2", "t1", "t2"});
    CBrindleDlg dialog;
    dialog.show();
    dropList(dialog, folder.path(), {"x1\tt1", "x2\tt2"});
    QStringList shown;
    const MessageBoxHandler previous = SetMessageBoxHandler([&](const MessageBoxPrompt& prompt) {
        shown << prompt.text;
        dialog.EndSession();   // SIGTERM while the first question is on screen
        return IDYES;
    });
    dialog.RunRenames();
    SetMessageBoxHandler(previous);
    QCOMPARE(shown, QStringList{"ファイル\"t1\"は既に存在します。上書きしますか？"});
    QCOMPARE(state(folder.path()), (QStringList{"t1=x1", "t2=t2", "x2=x2"}));
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
}

void BrindleRunTest::terminationSignalClosesAndSaves()
{
    TempFolder folder;
    const QString bin = folder.mkdir(QStringLiteral("bin"));
    const QString music = folder.mkdir(QStringLiteral("music"));
    fill(music, {"a"});
    TestFiles::writeBytes(music + '/' + kList, utf16List({"a\tb"}));
    CBrindleApp app(bin + QStringLiteral("/brindle"));
    int rows = -1;
    QString shownFolder;
    QTimer::singleShot(300, [&] {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* dialog = qobject_cast<CBrindleDlg*>(widget); dialog && dialog->isVisible()) {
                rows = dialog->RowCount();
                shownFolder = DlgItem<QLineEdit>(dialog, CBrindleDlg::IdFolder)->text();
            }
        ::raise(SIGTERM);
    });
    // The list as a relative path on the command line.
    const QString current = QDir::currentPath();
    QDir::setCurrent(folder.path());
    QCOMPARE(app.Run({QStringLiteral("music/list.txt")}), 0);
    QDir::setCurrent(current);
    QCOMPARE(rows, 1);
    QCOMPARE(shownFolder, music);
    QVERIFY(TestFiles::readBytes(bin + QStringLiteral("/brindle.ini")).contains("[WindowPos]"));
    QCOMPARE(state(music), QStringList{"a=a"});
}

void BrindleRunTest::hundredThousandRows()
{
    // Every file takes the next one's name: one cycle of 100,000 rows, then its undo. In memory
    // when the machine has a tmpfs: creating and deleting the files is the slow part otherwise.
    const int count = 100000;
    QTemporaryDir memory(QStringLiteral("/dev/shm/brindle-test-XXXXXX"));
    TempFolder disk;
    const QString folder = memory.isValid() ? memory.path() : disk.path();
    QStringList lines;
    for (int i = 0; i < count; ++i) {
        const QByteArray name = QStringLiteral("f%1").arg(i, 6, 10, QChar('0')).toLatin1();
        const int fd = ::open((QFile::encodeName(folder) + '/' + name).constData(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
        QVERIFY(fd >= 0 && ::write(fd, name.constData(), size_t(name.size())) == name.size());
        ::close(fd);
        lines << QString::fromLatin1(name) + '\t' + QStringLiteral("f%1").arg((i + 1) % count, 6, 10, QChar('0'));
    }
    CBrindleDlg dialog;
    dropList(dialog, folder, lines);
    QCOMPARE(dialog.RowCount(), count);
    MessageBoxRecorder prompts;
    dialog.RunRenames();
    QCOMPARE(prompts.count(), 1);
    QCOMPARE(prompts.prompts()[0].text, QStringLiteral("100000個のファイル名を変更しました！"));
    QCOMPARE(TestFiles::readBytes(folder + "/f000001"), QByteArray("f000000"));
    QCOMPARE(TestFiles::readBytes(folder + "/f000000"), QByteArray("f099999"));
    QVERIFY(!hasTemporaryName(folder));
    dialog.Undo();
    QCOMPARE(prompts.prompts().last().text, QStringLiteral("100000個のファイル名を元に戻しました"));
    const QStringList names = entries(folder);
    QCOMPARE(names.size(), count + 1);
    for (int i = 0; i < count; i += 997)
        QCOMPARE(TestFiles::readBytes(folder + '/' + names[i]), names[i].toUtf8());
}

SONAVEL_TEST_MAIN(BrindleRunTest)
#include "BrindleRunTest.moc"
