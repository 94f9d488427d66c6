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
#include <fcntl.h>
#include <sys/ptrace.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace BrindleTestSupport;

// Brindles killed with SIGKILL at a random point of a run, of its undo, or of the undo a later
// Brindle takes up; after each kill a new Brindle starts and takes the undo it offers. Every
// file must then hold its content once, under its old or its new name, with nothing left under
// a temporary name and no question asked about a file Brindle moved itself. Where the kills
// landed is chance: it is printed, not asserted. The killed Brindles are forked from the test
// (no start-up of their own) and traced, so that the kill lands at a chosen system call (files
// and journal change nowhere else) however busy the machine; on small files in memory, 500
// kills take seconds.
namespace {

constexpr int kKills = 500;
const QString kList = QStringLiteral("list.txt");

struct Plan {
    QString title;
    QStringList files;
    QStringList lines;
    QString immovable;   // a file the file system refuses to rename, when it can be made so
};

// What a killed Brindle does: run the list (and undo it, as Ctrl+Z does), or take up the undo
// that the last one left, as the next start offers it.
enum class Child { Run, RunAndUndo, Recover };

// The state of a folder: each name with the checksum of its content.
using FolderState = QMap<QString, QByteArray>;

QStringList numbered(const QString& stem, int count)
{
    QStringList names;
    for (int i = 0; i < count; ++i)
        names << QStringLiteral("%1%2").arg(stem).arg(i, 2, 10, QChar('0'));
    return names;
}

std::vector<Plan> plans()
{
    Plan chains{QStringLiteral("chains and swaps"), {}, {}, {}};
    const QStringList chain = numbered("c", 8);
    for (int i = 0; i < chain.size(); ++i)
        chains.lines << chain[i] + '\t' + QStringLiteral("c%1").arg(i + 1, 2, 10, QChar('0'));
    for (const QString& pair : QStringList{"s1", "s2", "s3"})
        chains.lines << pair + "a\t" + pair + "b" << pair + "b\t" + pair + "a";
    for (const QString& name : numbered("p", 6))
        chains.lines << name + '\t' + "q" + name.mid(1);
    chains.lines << QStringLiteral("gone\tnever");   // a failing row: message 104
    chains.files << chain << QStringList{"s1a", "s1b", "s2a", "s2b", "s3a", "s3b"} << numbered("p", 6);

    Plan cycle{QStringLiteral("a 50-file cycle"), numbered("f", 50), {}, {}};
    for (int i = 0; i < 50; ++i)
        cycle.lines << cycle.files[i] + '\t' + cycle.files[(i + 1) % 50];

    Plan mixed{QStringLiteral("mixed"), {"x", "y", "z", "m1", "m2", "m3", "u", "v", "w"}, {}, {}};
    mixed.lines << "m3\tm4" << "x\ty" << "bad?\tw2" << "y\tz" << "m2\tm3" << "z\tx" << "u\tv" << "m1\tm2" << "v\tu"
                << "w\tW";

    // The third file cannot be renamed: the run puts its cycle back.
    Plan blocked{QStringLiteral("a cycle that cannot finish"), {"k1", "k2", "k3", "n1", "n2"}, {}, QStringLiteral("k3")};
    blocked.lines << "k1\tk2" << "k2\tk3" << "k3\tk1" << "n1\tn2" << "n2\tn3";
    return {chains, cycle, mixed, blocked};
}

FolderState stateOf(const QString& folder)
{
    FolderState state;
    for (const QString& name : entries(folder))
        if (name != kList)
            state.insert(name, QCryptographicHash::hash(TestFiles::readBytes(folder + '/' + name),
                                                        QCryptographicHash::Sha1));
    return state;
}

// A phase of a child as it tells it: a letter, and the moment on the clock all processes share.
struct Phase {
    char letter = 0;
    qint64 atNs = 0;
};

// When a child's phases come, counted in its system calls (each stopped at its entry and its
// exit) from the start of its run, or in nanoseconds where it cannot be traced.
struct Timeline {
    qint64 firstMove = 0;
    qint64 lastMove = 0;
    qint64 undo = 0;   // the undo begins (0: none)
    qint64 end = 0;
};

qint64 monotonicNs()
{
    timespec now {};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

// Forks a Brindle that does its part through a window made before the fork (the window's own
// code, without the start-up of a new process), traced when asked. It tells its phases over a
// pipe: 'r' as its run begins, 'm' and 'n' at its first and last move, 'u' as the undo begins.
pid_t startChild(CBrindleDlg& window, Child child, const QString& folder, int moves, bool traced, int& phases)
{
    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0)
        return -1;
    const pid_t pid = ::fork();
    if (pid != 0) {
        ::close(pipeEnds[1]);
        ::fcntl(pipeEnds[0], F_SETFL, O_NONBLOCK);
        phases = pipeEnds[0];
        return pid;
    }
    ::close(pipeEnds[0]);
    if (traced && (::ptrace(PTRACE_TRACEME, 0, nullptr, nullptr) != 0 || ::raise(SIGSTOP) != 0))
        ::_exit(2);
    const int out = pipeEnds[1];
    const auto tell = [out](char letter) {
        const Phase phase{letter, monotonicNs()};
        (void)!::write(out, &phase, sizeof phase);
    };
    SetMessageBoxHandler([](const MessageBoxPrompt& prompt) {
        return (prompt.flags & MB_TYPEMASK) == MB_OK ? int(IDOK) : int(IDYES);
    });
    window.Renamer().SetProgress([tell, moves](int made) {
        if (made == 1 || made == moves)
            tell(made == 1 ? 'm' : 'n');
    });
    if (child == Child::Recover) {
        tell('u');
        window.OfferRecovery();
    } else {
        window.OpenList(folder + '/' + kList);
        tell('r');
        window.RunRenames();
        if (child == Child::RunAndUndo) {
            tell('u');
            window.Undo();
        }
    }
    ::_exit(0);
}

// Follows a child to its end, or kills it at the given point of its timeline (-1: never):
// its timeline so far, and whether SIGKILL ended it.
struct Followed {
    Timeline timeline;
    bool killed = false;
};

Followed followChild(pid_t pid, int phases, bool traced, qint64 killAt)
{
    Followed followed;
    qint64 origin = -1;   // the start of the run: its first phase
    qint64 stops = 0;
    const auto now = [&] { return traced ? stops : monotonicNs(); };
    const auto readPhases = [&] {
        Phase phase;
        while (::read(phases, &phase, sizeof phase) == qint64(sizeof phase)) {
            if (origin < 0)
                origin = traced ? stops : phase.atNs;
            const qint64 at = (traced ? stops : phase.atNs) - origin;
            (phase.letter == 'm' ? followed.timeline.firstMove
             : phase.letter == 'n' ? followed.timeline.lastMove
             : phase.letter == 'u' ? followed.timeline.undo : followed.timeline.end) = at;
        }
    };
    int status = 0;
    if (traced) {
        ::waitpid(pid, &status, 0);
        ::ptrace(PTRACE_SETOPTIONS, pid, nullptr, PTRACE_O_TRACESYSGOOD | PTRACE_O_EXITKILL);
    }
    int signal = 0;
    for (;;) {
        if (traced) {
            ::ptrace(PTRACE_SYSCALL, pid, nullptr, reinterpret_cast<void*>(qintptr(signal)));
            ::waitpid(pid, &status, 0);
        } else if (::waitpid(pid, &status, WNOHANG) == 0) {
            status = -1;
        }
        if (status != -1 && (WIFEXITED(status) || WIFSIGNALED(status)))
            break;
        signal = 0;
        if (traced && WSTOPSIG(status) != (SIGTRAP | 0x80))
            signal = WSTOPSIG(status);
        else
            ++stops;
        readPhases();
        if (killAt >= 0 && origin >= 0 && now() - origin >= killAt) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            break;
        }
        if (!traced)
            ::usleep(20);
    }
    readPhases();
    followed.killed = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    if (origin >= 0 && !followed.killed)
        followed.timeline.end = now() - origin;
    return followed;
}

// A random point of a child's life: mostly while it moves files (a run's moves, or the undo
// after it), else anywhere from its start to a little after its usual end.
qint64 killPoint(const Timeline& timeline, Child child)
{
    QRandomGenerator* random = QRandomGenerator::global();
    const auto between = [random](qint64 from, qint64 to) { return from + qint64(random->bounded(double(to - from + 1))); };
    const int pick = int(random->bounded(4));
    if (pick == 0 || child == Child::Recover)
        return between(0, timeline.end * 9 / 8);
    if (child == Child::RunAndUndo && pick >= 2)
        return between(timeline.undo, timeline.end);
    const qint64 margin = std::max<qint64>(4, (timeline.lastMove - timeline.firstMove) / 8);
    return between(std::max<qint64>(0, timeline.firstMove - margin), timeline.lastMove + margin);
}

// Where one kill landed: in the run or the undo, and how far the folder had got.
struct Landing {
    char phase = 0;
    bool killed = false;
    bool atOldNames = false;
    bool atNewNames = false;
    bool temporary = false;
};

struct Figures {
    int kills = 0;
    int finishedFirst = 0;
    QMap<QString, int> landings;

    void Count(const Landing& landing)
    {
        if (!landing.killed) {
            ++finishedFirst;
            return;
        }
        ++kills;
        const QString where = landing.phase == 'u' ? QStringLiteral("undo") : QStringLiteral("run");
        const QString how = landing.atOldNames   ? QStringLiteral("old names")
                            : landing.atNewNames ? QStringLiteral("new names")
                            : landing.temporary  ? QStringLiteral("between, a file under a temporary name")
                                                 : QStringLiteral("between");
        ++landings[where + QStringLiteral(": ") + how];
    }
};

bool hasTemporaryName(const FolderState& state)
{
    return std::any_of(state.keyBegin(), state.keyEnd(), [](const QString& name) { return name.startsWith(".brindle-"); });
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
    Timeline timeline(Child child, const Plan& plan, bool immovable, int moves);
    Landing killChild(Child child, const Timeline& timeline, int moves);
    void recover(const Plan& plan, const FolderState& oldState, const FolderState& newState, const QString& round);

    std::unique_ptr<QTemporaryDir> m_root;
    QString m_folder;
    std::unique_ptr<CBrindleDlg> m_window;   // the killed Brindles' window, made once
    bool m_traced = false;                   // children are killed at a system call, not by time
};

void BrindleCrashTest::initTestCase()
{
    BrindleStrings::Register();
    // The children are forked without exec: a lock held by another thread at that moment would
    // stay locked in them. Besides the test's own, the only thread is QtTest's idle watchdog.
    for (const QString& task : QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        QVERIFY(task.toInt() == ::getpid() ||
                TestFiles::readBytes("/proc/self/task/" + task + "/comm").startsWith("QtTest Watchdog"));
    m_root = std::make_unique<QTemporaryDir>(QStringLiteral("/dev/shm/brindle-crash-XXXXXX"));
    if (!m_root->isValid())
        m_root = std::make_unique<QTemporaryDir>();
    QVERIFY(m_root->isValid());
    m_folder = m_root->filePath(QStringLiteral("music"));
    Profile::setPath(m_root->filePath(QStringLiteral("brindle.ini")));
    CRenameJournal::SetFolder(m_root->filePath(QStringLiteral("journals")));
    m_window = std::make_unique<CBrindleDlg>();
    // Killed by time, a child on a busy machine is mostly found where it was starved; a traced
    // child is killed at a chosen system call, where its files and journal change.
    const pid_t probe = ::fork();
    if (probe == 0) {
        if (::ptrace(PTRACE_TRACEME, 0, nullptr, nullptr) == 0)
            ::raise(SIGSTOP);
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(probe, &status, 0);
    m_traced = WIFSTOPPED(status);
    ::kill(probe, SIGKILL);
    ::waitpid(probe, &status, 0);
    if (!m_traced)
        qInfo("children cannot be traced here: killed by time");
}

void BrindleCrashTest::releaseFiles()
{
    for (const QString& name : entries(m_folder))
        setImmutable(m_folder + '/' + name, false);
}

// A fresh folder with the plan's files (each holding its own name) and its list.
void BrindleCrashTest::prepare(const Plan& plan, bool immovable)
{
    releaseFiles();
    QDir(m_folder).removeRecursively();
    QDir().mkpath(m_folder);
    for (const QString& name : plan.files)
        touch(m_folder, name, name.toUtf8());
    TestFiles::writeBytes(m_folder + '/' + kList, utf16List(plan.lines));
    if (immovable)
        setImmutable(m_folder + '/' + plan.immovable, true);
}

// When the child's phases come, unkilled: the median of a few runs.
Timeline BrindleCrashTest::timeline(Child child, const Plan& plan, bool immovable, int moves)
{
    std::vector<Timeline> samples;
    for (int sample = 0; sample < 5; ++sample) {
        prepare(plan, immovable);
        int pipe = -1;
        const pid_t pid = startChild(*m_window, child, m_folder, moves, m_traced, pipe);
        if (pid < 0)
            return {};
        samples.push_back(followChild(pid, pipe, m_traced, -1).timeline);
        ::close(pipe);
        QDir(CRenameJournal::Folder()).removeRecursively();
    }
    std::sort(samples.begin(), samples.end(), [](const Timeline& a, const Timeline& b) { return a.end < b.end; });
    return samples[samples.size() / 2];
}

// Starts the child and kills it at a random point of its life.
Landing BrindleCrashTest::killChild(Child child, const Timeline& timeline, int moves)
{
    Landing landing;
    int pipe = -1;
    const pid_t pid = startChild(*m_window, child, m_folder, moves, m_traced, pipe);
    if (pid < 0)
        return landing;
    const Followed followed = followChild(pid, pipe, m_traced, killPoint(timeline, child));
    ::close(pipe);
    landing.killed = followed.killed;
    landing.phase = followed.timeline.undo > 0 || child == Child::Recover ? 'u' : 'r';
    return landing;
}

// A new Brindle starts and takes the undo it offers; then every file must be where it belongs.
void BrindleCrashTest::recover(const Plan& plan, const FolderState& oldState, const FolderState& newState,
                               const QString& round)
{
    QString journals;
    for (const QString& name : entries(CRenameJournal::Folder()))
        journals += QString::fromUtf8(TestFiles::readBytes(CRenameJournal::Folder() + '/' + name));
    QStringList shown;
    {
        CBrindleDlg dialog;
        MessageBoxRecorder prompts(IDYES);
        dialog.OfferRecovery();
        for (const MessageBoxPrompt& prompt : prompts.prompts()) {
            shown << prompt.text;
            QVERIFY2(prompt.caption != QStringLiteral("Rename"), qPrintable(round + ": asked " + prompt.text));
        }
    }
    const FolderState now = stateOf(m_folder);
    if (now != oldState && now != newState)
        qInfo("%s: recovery said\n%s\nof the journal\n%s", qPrintable(round), qPrintable(shown.join("\n")),
              qPrintable(journals));
    QVERIFY2(!hasTemporaryName(now), qPrintable(round + ": " + QStringList(now.keys()).join(' ')));
    // Each file's content once, under its old or its new name.
    for (const QString& name : plan.files) {
        const QByteArray content = oldState.value(name);
        const QStringList holders = now.keys(content);
        const QString newName = newState.key(content);
        QVERIFY2(holders.size() == 1 && (holders.front() == name || holders.front() == newName),
                 qPrintable(QStringLiteral("%1: %2 is under %3").arg(round, name, holders.join(','))));
    }
    // The undo taken puts every file back; a run that had ended is left as it is.
    QVERIFY2(now == oldState || now == newState, qPrintable(round + ": " + QStringList(now.keys()).join(' ')));
    QVERIFY2(QDir(CRenameJournal::Folder()).entryList(QDir::Files).isEmpty(), qPrintable(round + ": journal left"));
}

void BrindleCrashTest::killedRunsAndUndosLoseNothing()
{
    const std::vector<Plan> allPlans = plans();
    struct Prepared {
        Plan plan;
        bool immovable = false;
        int moves = 0;
        FolderState oldState, newState;
        Timeline run, runAndUndo;
        Figures figures;
    };
    std::vector<Prepared> prepared;
    for (const Plan& plan : allPlans) {
        Prepared entry;
        entry.plan = plan;
        prepare(plan, false);
        entry.immovable = !plan.immovable.isEmpty() && setImmutable(m_folder + '/' + plan.immovable, true);
        prepare(plan, entry.immovable);
        entry.oldState = stateOf(m_folder);
        // The moves an unkilled run makes, for its last to be told.
        {
            CFileRenamer renamer;
            renamer.SetProgress([&entry](int made) { entry.moves = made; });
            std::unique_ptr<CRenameJournal> journal;
            MessageBoxRecorder prompts(IDYES);
            renamer.RunList(m_folder, *CRenameList::ReadFile(m_folder + '/' + kList, ListSeparator::Tab), journal);
            journal->Remove();
            prepare(plan, entry.immovable);
        }
        entry.run = timeline(Child::Run, plan, entry.immovable, entry.moves);
        entry.newState = stateOf(m_folder);
        entry.runAndUndo = timeline(Child::RunAndUndo, plan, entry.immovable, entry.moves);
        QCOMPARE(stateOf(m_folder), entry.oldState);
        QVERIFY(entry.run.lastMove > 0 && entry.runAndUndo.undo > 0);
        QVERIFY(entry.newState != entry.oldState);
        prepared.push_back(entry);
    }

    int kills = 0;
    for (int round = 0; kills < kKills; ++round) {
        Prepared& entry = prepared[size_t(round) % prepared.size()];
        const Child child = round / int(prepared.size()) % 3 == 1 ? Child::RunAndUndo : Child::Run;
        prepare(entry.plan, entry.immovable);
        const QString context = QStringLiteral("round %1 (%2)").arg(round).arg(entry.plan.title);
        Landing landing = killChild(child, child == Child::Run ? entry.run : entry.runAndUndo, entry.moves);
        FolderState after = stateOf(m_folder);
        landing.atOldNames = after == entry.oldState;
        landing.atNewNames = after == entry.newState;
        landing.temporary = hasTemporaryName(after);
        entry.figures.Count(landing);
        kills += landing.killed;
        // Every third round of a run killed midway, the undo that the next start offers is
        // killed as well.
        if (landing.killed && round / int(prepared.size()) % 3 == 2 && kills < kKills) {
            Timeline undo = entry.runAndUndo;
            undo.end -= undo.undo;
            Landing again = killChild(Child::Recover, undo, entry.moves);
            after = stateOf(m_folder);
            again.atOldNames = after == entry.oldState;
            again.atNewNames = after == entry.newState;
            again.temporary = hasTemporaryName(after);
            entry.figures.Count(again);
            kills += again.killed;
        }
        recover(entry.plan, entry.oldState, entry.newState, context);
        if (QTest::currentTestFailed())
            return;
    }
    for (const Prepared& entry : prepared) {
        QStringList where;
        for (auto it = entry.figures.landings.cbegin(); it != entry.figures.landings.cend(); ++it)
            where << QStringLiteral("%1 %2").arg(it.key()).arg(it.value());
        qInfo("%s%s: %d kills (%d children ended first); moves from %lld to %lld of %lld, undo from %lld to %lld %s"
              "\n    %s",
              qPrintable(entry.plan.title), entry.plan.immovable.isEmpty() || entry.immovable ? "" : " (no immovable file here)",
              entry.figures.kills, entry.figures.finishedFirst, entry.run.firstMove, entry.run.lastMove, entry.run.end,
              entry.runAndUndo.undo, entry.runAndUndo.end, m_traced ? "system call stops" : "ns",
              qPrintable(where.join(QStringLiteral("\n    "))));
    }
}

SONAVEL_TEST_MAIN(BrindleCrashTest)
#include "BrindleCrashTest.moc"
