// Figures for Brindle: reading a long list, and a run renaming 10,000 files of a folder by a
// list (plan, journal and renames) against a plain loop of rename(2) over the same names in
// the same process, each on a fresh folder; the median of several rounds.
#include "common/ui/MessageBox.h"
#include "platform/text/CodePage.h"
#include "renamer/BrindleStrings.h"
#include "renamer/FileRenamer.h"
#include "renamer/RenameList.h"
#include "tests/support/TestFiles.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int kFiles = 10000;
constexpr int kRounds = 7;

// Wall and processor time of one timed part.
struct Timing {
    double wallMs = 0;
    double cpuMs = 0;
};

double processorMs()
{
    timespec now {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

class Stopwatch
{
public:
    Stopwatch() : m_cpu(processorMs()) { m_wall.start(); }
    Timing Elapsed() const { return {m_wall.nsecsElapsed() / 1e6, processorMs() - m_cpu}; }

private:
    QElapsedTimer m_wall;
    double m_cpu;
};

QByteArray listOf(int rows)
{
    QString text;
    for (int i = 0; i < rows; ++i)
        text += QStringLiteral("Track%1.MP3\t%1 曲名のサンプル\r\n").arg(i, 5, 10, QChar('0'));
    return TestFiles::encode(text, CodePage::Utf16LE, true);
}

void benchParse(int rows)
{
    const QByteArray bytes = listOf(rows);
    QElapsedTimer timer;
    timer.start();
    const auto pairs = CRenameList::Parse(bytes, ListSeparator::Tab);
    std::printf("read a list of %d rows (%lld bytes): %.1f ms\n", rows, static_cast<long long>(bytes.size()),
                timer.nsecsElapsed() / 1e6);
}

void createFiles(const QString& folder, const std::vector<RenamePair>& pairs)
{
    for (const RenamePair& pair : pairs) {
        const int fd = ::open(QFile::encodeName(folder + '/' + pair.oldName).constData(), O_CREAT | O_WRONLY, 0644);
        if (fd >= 0)
            ::close(fd);
    }
}

Timing plainLoop(const std::vector<RenamePair>& pairs)
{
    TempFolder folder;
    createFiles(folder.path(), pairs);
    std::vector<std::pair<QByteArray, QByteArray>> paths;
    for (const RenamePair& pair : pairs)
        paths.emplace_back(QFile::encodeName(folder.file(pair.oldName)), QFile::encodeName(folder.file(pair.newName)));
    const Stopwatch stopwatch;
    for (const auto& [from, to] : paths)
        std::rename(from.constData(), to.constData());
    return stopwatch.Elapsed();
}

Timing brindleRun(const std::vector<RenamePair>& pairs, int& renamed)
{
    TempFolder folder;
    createFiles(folder.path(), pairs);
    CFileRenamer renamer;
    std::unique_ptr<CRenameJournal> journal;
    const Stopwatch stopwatch;
    const RunResult result = renamer.RunList(folder.path(), pairs, journal);
    const Timing elapsed = stopwatch.Elapsed();
    renamed = result.count;
    if (journal)
        journal->Remove();
    return elapsed;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double least(const std::vector<double>& values)
{
    return *std::min_element(values.begin(), values.end());
}

// Rounds alternate between the two, so a busy moment of the machine falls on both alike.
void benchRun(const char* title, const std::vector<RenamePair>& pairs, double goal)
{
    std::vector<double> plainWall, plainCpu, brindleWall, brindleCpu;
    int renamed = 0;
    for (int round = 0; round < kRounds; ++round) {
        const Timing plain = plainLoop(pairs);
        const Timing brindle = brindleRun(pairs, renamed);
        plainWall.push_back(plain.wallMs);
        plainCpu.push_back(plain.cpuMs);
        brindleWall.push_back(brindle.wallMs);
        brindleCpu.push_back(brindle.cpuMs);
    }
    const double wallRatio = median(brindleWall) / median(plainWall);
    const double cpuRatio = median(brindleCpu) / median(plainCpu);
    std::printf("%s (%d renamed, journal included), median of %d rounds, goal %.1fx a rename(2) loop:\n", title,
                renamed, kRounds, goal);
    std::printf("  wall:      rename(2) loop %.1f ms, Brindle %.1f ms, ratio %.2f %s (best rounds %.1f / %.1f ms, %.2f)\n",
                median(plainWall), median(brindleWall), wallRatio, wallRatio <= goal ? "within the goal" : "OVER THE GOAL",
                least(plainWall), least(brindleWall), least(brindleWall) / least(plainWall));
    std::printf("  processor: rename(2) loop %.1f ms, Brindle %.1f ms, ratio %.2f %s\n", median(plainCpu),
                median(brindleCpu), cpuRatio, cpuRatio <= goal ? "within the goal" : "OVER THE GOAL");
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    BrindleStrings::Register();
    SetMessageBoxHandler([](const MessageBoxPrompt&) { return IDNO; });
    TempFolder journals;
    CRenameJournal::SetFolder(journals.path());
    for (const int rows : {1000, 20000, 200000})
        benchParse(rows);
    const std::vector<RenamePair> pairs = CRenameList::Parse(listOf(kFiles), ListSeparator::Tab);
    benchRun("10,000 files by a list", pairs, 1.3);
    // Each file takes the next one's name: the same rename(2) count plus one temporary move. The
    // loop's renames replace the next file; Brindle's go into names just freed, which costs the
    // file system more.
    std::vector<RenamePair> cycle;
    for (int i = 0; i < kFiles; ++i)
        cycle.push_back({QStringLiteral("f%1").arg(i), QStringLiteral("f%1").arg((i + 1) % kFiles)});
    benchRun("10,000 files in one cycle", cycle, 2.0);
    return 0;
}
