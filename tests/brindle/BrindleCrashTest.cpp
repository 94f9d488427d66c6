#include "platform/profile/Profile.h"
#include "renamer/BrindleStrings.h"
#include "tests/brindle/BrindleTestSupport.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QCryptographicHash>
#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <csignal>
#include <sys/ptrace.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace BrindleTestSupport;

// Brindles killed with SIGKILL in a run, in its undo, or in the undo the next start takes up,
// each kill followed by a new Brindle taking the undo it offers: then every file must be back
// under its old name (or all under their new names, when the run had ended), with no question
// asked. The killed Brindles are forked from the test with the list already in their window,
// and traced: each is killed at a random one of its system calls (where files and journal
// change), however busy the machine. Where the kills landed is printed, not asserted.
namespace {

constexpr int kKills = 500;
using FolderState = QMap<QString, QByteArray>;   // name -> checksum of the content

enum Child { Run, RunAndUndo, Recovery };
const char* const kChildNames[] = {"run", "run and undo", "next start's undo"};

struct Plan {
    QString title;
    QStringList files;
    QStringList lines;
    QString immovable;   // a file made immutable, where the file system allows: its cycle is put back
};

std::vector<Plan> plans()
{
    Plan chains{"chains and swaps", {"s1a", "s1b", "s2a", "s2b"}, {"s1a\ts1b", "s1b\ts1a", "s2a\ts2b", "s2b\ts2a"}, {}};
    for (int i = 0; i < 8; ++i) {
        chains.files << QStringLiteral("c%1").arg(i) << QStringLiteral("p%1").arg(i);
        chains.lines << QStringLiteral("c%1\tc%2").arg(i).arg(i + 1) << QStringLiteral("p%1\tq%1").arg(i);
    }
    chains.lines << "gone\tnever";   // message 104
    Plan cycle{"a 50-file cycle", {}, {}, {}};
    for (int i = 0; i < 50; ++i) {
        cycle.files << QStringLiteral("f%1").arg(i);
        cycle.lines << QStringLiteral("f%1\tf%2").arg(i).arg((i + 1) % 50);
    }
    const Plan mixed{"mixed", {"x", "y", "z", "m1", "m2", "u", "v"},
                     {"m2\tm3", "x\ty", "bad?\tw", "y\tz", "m1\tm2", "z\tx", "u\tv", "v\tu"}, {}};
    const Plan blocked{"a cycle that cannot finish", {"k1", "k2", "k3", "n1"}, {"k1\tk2", "k2\tk3", "k3\tk1", "n1\tn2"}, "k3"};
    return {chains, cycle, mixed, blocked};
}

FolderState stateOf(const QString& folder)
{
    FolderState state;
    for (const QString& name : entries(folder))
        if (name != QStringLiteral("list.txt"))
            state.insert(name, QCryptographicHash::hash(TestFiles::readBytes(folder + '/' + name), QCryptographicHash::Sha1));
    return state;
}

// A Brindle forked with the window as it is, stopped until it is traced.
pid_t startChild(CBrindleDlg& window, Child child)
{
    const pid_t pid = ::fork();
    if (pid != 0)
        return pid;
    if (::ptrace(PTRACE_TRACEME, 0, nullptr, nullptr) != 0 || ::raise(SIGSTOP) != 0)
        ::_exit(2);
    SetMessageBoxHandler([](const MessageBoxPrompt& prompt) { return (prompt.flags & MB_TYPEMASK) ? IDYES : IDOK; });
    if (child == Recovery) {
        window.OfferRecovery();
    } else {
        window.RunRenames();
        if (child == RunAndUndo)
            window.Undo();
    }
    ::_exit(0);
}

// Lets the child run from system call to system call (each stopped at its entry and its exit)
// and kills it at the stop asked for; 0 lets it end. Returns the stops passed, -1 once killed.
qint64 follow(pid_t pid, qint64 killAt)
{
    int status = 0;
    ::waitpid(pid, &status, 0);
    ::ptrace(PTRACE_SETOPTIONS, pid, nullptr, PTRACE_O_TRACESYSGOOD | PTRACE_O_EXITKILL);
    qint64 stops = 0;
    long signal = 0;
    for (;;) {
        ::ptrace(PTRACE_SYSCALL, pid, nullptr, reinterpret_cast<void*>(signal));
        ::waitpid(pid, &status, 0);
        if (WIFEXITED(status) || WIFSIGNALED(status))
            return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? stops : 0;
        signal = WSTOPSIG(status) == (SIGTRAP | 0x80) ? 0 : WSTOPSIG(status);
        if (signal == 0 && ++stops == killAt) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            return -1;
        }
    }
}

} // namespace

class BrindleCrashTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void killedRunsAndUndosLoseNothing();
    void cleanupTestCase() { releaseFiles(); }

private:
    void releaseFiles();
    void prepare(const Plan& plan, bool immovable);
    qint64 killChild(Child child, qint64 within, const FolderState& before, const FolderState& after);
    QString recover(const FolderState& before, const FolderState& after);

    QTemporaryDir m_root{QStringLiteral("/dev/shm/brindle-crash-XXXXXX")};
    QString m_folder;
    std::unique_ptr<CBrindleDlg> m_window;   // the killed Brindles' window
    QMap<QString, int> m_landings;
};

void BrindleCrashTest::initTestCase()
{
    BrindleStrings::Register();
    QVERIFY(m_root.isValid());
    // Forked without exec: besides the test's thread there must be none but QtTest's idle watchdog.
    for (const QString& task : QDir("/proc/self/task").entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        QVERIFY(task.toInt() == ::getpid() || TestFiles::readBytes("/proc/self/task/" + task + "/comm").startsWith("QtTest"));
    m_folder = m_root.filePath("music");
    Profile::setPath(m_root.filePath("brindle.ini"));
    CRenameJournal::SetFolder(m_root.filePath("journals"));
    m_window = std::make_unique<CBrindleDlg>();
}

void BrindleCrashTest::releaseFiles()
{
    for (const QString& name : entries(m_folder))
        setImmutable(m_folder + '/' + name, false);
}

// A fresh folder with the plan's files, each holding its own name, and its list in the window.
void BrindleCrashTest::prepare(const Plan& plan, bool immovable)
{
    releaseFiles();
    QDir(m_folder).removeRecursively();
    QDir().mkpath(m_folder);
    for (const QString& name : plan.files)
        touch(m_folder, name, name.toUtf8());
    TestFiles::writeBytes(m_folder + "/list.txt", utf16List(plan.lines));
    if (immovable)
        setImmutable(m_folder + '/' + plan.immovable, true);
    m_window->OpenList(m_folder + "/list.txt");
}

// Kills the child at a random system call within the given number; counts where it landed.
qint64 BrindleCrashTest::killChild(Child child, qint64 within, const FolderState& before, const FolderState& after)
{
    const qint64 stops = follow(startChild(*m_window, child), 1 + QRandomGenerator::global()->bounded(within));
    const FolderState now = stateOf(m_folder);
    const bool temporary = std::any_of(now.keyBegin(), now.keyEnd(), [](const QString& n) { return n.startsWith(".brindle-"); });
    const QString where = now == before ? "old names" : now == after ? "new names" : temporary ? "a file under a temporary name" : "between";
    ++m_landings[QStringLiteral("%1: %2").arg(kChildNames[child], stops < 0 ? where : QStringLiteral("ended first"))];
    return stops;
}

// A new Brindle starts and takes the undo it offers; what went wrong, if anything.
QString BrindleCrashTest::recover(const FolderState& before, const FolderState& after)
{
    {
        CBrindleDlg dialog;
        MessageBoxRecorder prompts(IDYES);
        dialog.OfferRecovery();
        for (const MessageBoxPrompt& prompt : prompts.prompts())
            if (prompt.caption == "Rename")
                return "asked " + prompt.text;
    }
    const FolderState now = stateOf(m_folder);
    if (now != before && now != after)
        return "left " + QStringList(now.keys()).join(' ');
    return QDir(CRenameJournal::Folder()).entryList(QDir::Files).isEmpty() ? QString() : QStringLiteral("journal left");
}

void BrindleCrashTest::killedRunsAndUndosLoseNothing()
{
    struct Prepared {
        Plan plan;
        bool immovable;
        FolderState before, after;
        qint64 stops[2];   // of an unkilled run, and of a run and its undo
    };
    std::vector<Prepared> prepared;
    for (const Plan& plan : plans()) {
        prepare(plan, false);
        Prepared entry{plan, !plan.immovable.isEmpty() && setImmutable(m_folder + '/' + plan.immovable, true), {}, {}, {}};
        for (const Child child : {Run, RunAndUndo}) {
            prepare(plan, entry.immovable);
            entry.before = stateOf(m_folder);
            entry.stops[child] = follow(startChild(*m_window, child), 0);
            QVERIFY2(entry.stops[child] > 0, "a child that cannot be traced here");
            if (child == Run)
                entry.after = stateOf(m_folder);
            QDir(CRenameJournal::Folder()).removeRecursively();
        }
        QVERIFY(entry.after != entry.before && stateOf(m_folder) == entry.before);
        prepared.push_back(entry);
    }
    int kills = 0;
    for (int round = 0; kills < kKills; ++round) {
        const Prepared& entry = prepared[size_t(round) % prepared.size()];
        const Child child = Child(round / int(prepared.size()) % 3);
        prepare(entry.plan, entry.immovable);
        // The third kind: a run killed, then the undo that the next start offers killed too.
        const qint64 stops = entry.stops[child == RunAndUndo];
        kills += killChild(child == Recovery ? Run : child, stops * 9 / 8, entry.before, entry.after) < 0;
        if (child == Recovery)
            kills += killChild(Recovery, std::max<qint64>(1, entry.stops[1] - entry.stops[0]), entry.before, entry.after) < 0;
        const QString problem = recover(entry.before, entry.after);
        QVERIFY2(problem.isEmpty(), qPrintable(QStringLiteral("round %1 (%2): %3").arg(round).arg(entry.plan.title, problem)));
    }
    QStringList figures;
    for (auto it = m_landings.cbegin(); it != m_landings.cend(); ++it)
        figures << QStringLiteral("%1 %2").arg(it.key()).arg(it.value());
    qInfo("%d kills over %d plans%s:\n  %s", kills, int(prepared.size()),
          prepared.back().immovable ? "" : " (no immutable file here: the last cycle finishes)",
          qPrintable(figures.join("\n  ")));
}

SONAVEL_TEST_MAIN(BrindleCrashTest)
#include "BrindleCrashTest.moc"
