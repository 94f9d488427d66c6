// Figures for the main window's work at timer rate: one update tick with a track playing, and
// one repaint of the time read-out (drawn off screen, copied once). The timer fires every 50 ms.
#include "platform/engine/Player.h"
#include "platform/profile/Profile.h"
#include "player/app/SonavelDlg.h"
#include "player/app/SonavelStrings.h"
#include "player/settings/ProfileHelpers.h"
#include "player/widgets/TimeDisplay.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/Mp3Fixture.h"
#include "tests/support/TestFiles.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPixmap>
#include <QStandardPaths>

#include <cstdio>

namespace {

void benchTimeDisplay(int repaints)
{
    CTimeDisplay display;
    display.resize(52, 23);
    display.Attach();
    display.SetCellCount(5);
    QPixmap target(display.size());
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < repaints; ++i) {
        display.SetText(QString::asprintf("%02d:%02d", i / 60 % 60, i % 60));
        display.render(&target);
    }
    std::printf("time read-out: %d repaints in %.1f ms, %.1f us each\n", repaints, timer.nsecsElapsed() / 1e6,
                timer.nsecsElapsed() / 1e3 / repaints);
}

void benchUpdateTick(int ticks)
{
    TempFolder folder;
    Profile::setPath(folder.file("bench.ini"));
    const QString song = Mp3Fixture::write(folder.file("song.mp3"), {QStringLiteral("Bench"), {}, {}, {}}, 30.0);
    // The stored folder is listed at start and, being the first, played at once.
    WriteProfileHexString(QStringLiteral("CSonavelDlg"), QStringLiteral("DefaultFolderPath"), folder.path());
    MessageBoxRecorder boxes;
    CSonavelDlg dialog;
    Player* player = dialog.GetPlayer();
    if (!player) {
        std::printf("update tick: no engine\n");
        return;
    }
    QElapsedTimer wait;
    wait.start();
    while (player->playState() != 3 && wait.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < ticks; ++i)
        dialog.Control().UpdateTick();
    std::printf("update tick while playing: %d ticks in %.1f ms, %.1f us each (period 50 ms)\n", ticks,
                timer.nsecsElapsed() / 1e6, timer.nsecsElapsed() / 1e3 / ticks);
    dialog.close();
}

} // namespace

int main(int argc, char** argv)
{
    QStandardPaths::setTestModeEnabled(true);
    QApplication application(argc, argv);
    RegisterSonavelStrings();
    benchTimeDisplay(5000);
    benchUpdateTick(5000);
    return 0;
}
