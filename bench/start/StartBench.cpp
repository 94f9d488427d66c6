// Start of the player against a bare Qt window that starts the media engine the same way, in the
// same run: time from the process's start to its first painted main window, and memory once a
// folder of 10,000 tagged tracks is listed and once every row's texts have been read, the first
// track playing (the bare window: once painted). Each side runs as a process of its own,
// alternately, several rounds; medians are printed with the ratios.
//   xvfb-run -a build/bench/start/bench_start [rounds] [track count]   (defaults 5, 10000)

#include "platform/engine/Player.h"
#include "player/app/SonavelApp.h"
#include "player/app/SonavelDlg.h"
#include "player/library/TrackLibrary.h"
#include "tests/support/Mp3Fixture.h"
#include "tests/support/TestFiles.h"
#include "tests/support/Measures.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

qint64 monotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

long residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

bool GlDriverLoaded()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("_dri.so");
}

void report(const char* what)
{
    std::printf("%s %lld %ld %d\n", what, monotonicNs(), residentKb(), GlDriverLoaded() ? 1 : 0);
    std::fflush(stdout);
}

// Reports the first time a paint of `isMainWindow`'s window has been put on screen.
class FirstPaintProbe : public QObject
{
public:
    explicit FirstPaintProbe(std::function<bool(QWidget*)> isMainWindow) : m_isMainWindow(std::move(isMainWindow)) {}
    bool seen() const { return m_seen; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!m_seen && event->type() == QEvent::Paint && watched->isWidgetType() &&
            m_isMainWindow(static_cast<QWidget*>(watched)->window())) {
            m_seen = true;
            // After this round of painting has been flushed to the window.
            QTimer::singleShot(0, [] { report("painted"); });
        }
        return false;
    }

private:
    std::function<bool(QWidget*)> m_isMainWindow;
    bool m_seen = false;
};

int RunBare(int argc, char** argv)
{
    QApplication app(argc, argv);
    std::unique_ptr<Player> player = Player::create();
    QWidget window;
    window.setWindowTitle(QStringLiteral("bare"));
    window.resize(400, 300);
    FirstPaintProbe probe([&window](QWidget* w) { return w == &window; });
    app.installEventFilter(&probe);
    window.show();
    QTimer::singleShot(2000, &app, &QApplication::quit);
    const int status = app.exec();
    report("listed");
    report("settled");
    return status;
}

// Every listed item's attributes are in memory.
bool AllTextsRead(CSonavelDlg& dialog)
{
    PlaylistPtr playlist;
    dialog.Library()->GetSlotPlaylist(dialog.Library()->ListedSlot(), playlist);
    for (int i = 0; playlist && i < playlist->count(); ++i)
        if (!playlist->item(i)->attributesRead())
            return false;
    return playlist != nullptr;
}

CSonavelDlg* MainWindow()
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* dialog = qobject_cast<CSonavelDlg*>(widget))
            return dialog;
    return nullptr;
}

// The program as main() runs it, with its executable path in a folder of its own (its INI and
// CodePage.txt beside it), on the music folder.
int RunPlayer(int argc, char** argv, const QString& home, const QString& folder, int count)
{
    QApplication app(argc, argv);
    CSonavelApp sonavel(home + QStringLiteral("/sonavel"));
    QApplication::setApplicationName(sonavel.ApplicationName());
    FirstPaintProbe probe([](QWidget* w) { return qobject_cast<CSonavelDlg*>(w) != nullptr; });
    app.installEventFilter(&probe);
    QTimer poll;
    bool listed = false;
    QObject::connect(&poll, &QTimer::timeout, [&poll, &probe, &listed, count] {
        CSonavelDlg* dialog = MainWindow();
        if (!listed && probe.seen() && dialog && dialog->TrackListRowCount() >= count) {
            listed = true;
            report("listed");
        }
        if (listed && AllTextsRead(*dialog)) {
            poll.stop();
            // The reader gives back what it freed once it has read the last item.
            QTimer::singleShot(200, [dialog] {
                report("settled");
                dialog->Close();
            });
        }
    });
    poll.start(20);
    return sonavel.Run({folder});
}

struct Sample {
    double paintMs = 0;
    double paintedMb = 0;
    double listedMb = 0;
    double settledMb = 0;
    bool glDriver = false;
};

std::optional<Sample> RunChild(const QStringList& arguments, const QProcessEnvironment& environment)
{
    QProcess child;
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const qint64 started = monotonicNs();
    child.start(QCoreApplication::applicationFilePath(), arguments);
    if (!child.waitForFinished(120000))
        return std::nullopt;
    Sample sample;
    bool painted = false;
    for (const QByteArray& line : child.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() != 4)
            continue;
        if (fields[0] == "painted") {
            painted = true;
            sample.paintMs = double(fields[1].toLongLong() - started) / 1e6;
            sample.paintedMb = fields[2].toDouble() / 1024;
        } else if (fields[0] == "listed") {
            sample.listedMb = fields[2].toDouble() / 1024;
        } else if (fields[0] == "settled") {
            sample.settledMb = fields[2].toDouble() / 1024;
            sample.glDriver = fields[3] == "1";
        }
    }
    return painted && sample.settledMb > 0 ? std::optional(sample) : std::nullopt;
}

int RunBench(int rounds, int count)
{
    TempFolder temp;
    const QString folder = temp.mkdir(QStringLiteral("music"));
    // Tracks long enough that the first one still plays when the memory is taken.
    Mp3Fixture::writeNumberedTracks(folder, count, 1.0);
    const QString home = temp.mkdir(QStringLiteral("home"));
    QFile::copy(QStringLiteral(SONAVEL_CODEPAGE_FILE), home + QStringLiteral("/CodePage.txt"));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home);
    const QString runtime = temp.mkdir(QStringLiteral("runtime"));
    QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    environment.insert(QStringLiteral("XDG_DATA_HOME"), temp.mkdir(QStringLiteral("data")));
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), temp.mkdir(QStringLiteral("cache")));
    std::printf("%d tagged tracks; %d rounds, each side in a process of its own, alternately\n", count, rounds);

    std::vector<Sample> bare;
    std::vector<Sample> player;
    for (int round = 0; round < rounds; ++round) {
        const auto b = RunChild({QStringLiteral("--bare")}, environment);
        const auto p = RunChild({QStringLiteral("--player"), home, folder, QString::number(count)}, environment);
        if (!b || !p) {
            std::printf("round %d: a child did not report\n", round + 1);
            return 1;
        }
        bare.push_back(*b);
        player.push_back(*p);
        std::printf("round %d: bare %.0f ms %.1f MB | player %.0f ms, %.1f MB painted, %.1f MB listed, %.1f MB with "
                    "every text%s\n",
                    round + 1, b->paintMs, b->settledMb, p->paintMs, p->paintedMb, p->listedMb, p->settledMb,
                    p->glDriver ? " (GL driver loaded)" : "");
    }
    const auto median = [](const std::vector<Sample>& samples, double Sample::*field) {
        std::vector<double> values;
        for (const Sample& s : samples)
            values.push_back(s.*field);
        return Median(values);
    };
    const double bareMs = median(bare, &Sample::paintMs);
    const double playerMs = median(player, &Sample::paintMs);
    const double bareMb = median(bare, &Sample::settledMb);
    const double listedMb = median(player, &Sample::listedMb);
    const double playerMb = median(player, &Sample::settledMb);
    std::printf("start to first paint: bare window %.0f ms, player %.0f ms, ratio %.2f (goal <= 1.5)\n", bareMs,
                playerMs, playerMs / bareMs);
    std::printf("memory: bare window %.1f MB; player with %d tracks listed %.1f MB, with every row's texts read "
                "%.1f MB (goal <= 100 MB), ratio %.2f (goal <= 1.3)\n",
                bareMb, count, listedMb, playerMb, playerMb / bareMb);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (mode == QLatin1String("--bare"))
        return RunBare(argc, argv);
    if (mode == QLatin1String("--player") && argc > 4)
        return RunPlayer(argc, argv, QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]),
                         QString::fromLocal8Bit(argv[4]).toInt());
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, mode.toInt()) : 5;
    const int count = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 10000;
    return RunBench(rounds, count);
}
