// Creating, appending and reading the attributes of many items, as a large folder scan does.
// Usage: bench_engine [item count, default 5000]

#include "platform/engine/Player.h"
#include "tests/support/Mp3Fixture.h"
#include "tests/support/TestFiles.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStandardPaths>

#include <cstdio>

namespace {

void report(const char* step, qint64 nanoseconds, int count)
{
    std::printf("%-34s %9.1f ms  %8.2f us/item\n", step, nanoseconds / 1e6, nanoseconds / 1e3 / count);
}

} // namespace

int main(int argc, char** argv)
{
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5000;

    TempFolder media;
    TempFolder playlists;
    QStringList paths;
    const QByteArray frames = Mp3Fixture::silentFrames(0.1);
    for (int i = 0; i < count; ++i) {
        const Mp3Fixture::Tags tags{QStringLiteral("曲 %1").arg(i), QStringLiteral("歌手 %1").arg(i % 50),
                                    QStringLiteral("アルバム %1").arg(i % 300), QString::number(i % 20 + 1)};
        paths << media.write(QStringLiteral("%1.mp3").arg(i, 5, 10, QLatin1Char('0')),
                             Mp3Fixture::id3v23Tag(tags) + frames);
    }

    Player::Options options;
    options.nullAudio = options.nullVideo = true;
    options.playlistFolder = playlists.path();
    auto player = Player::create(options);
    if (!player) {
        std::fprintf(stderr, "libmpv could not be started\n");
        return 1;
    }
    std::printf("%d tagged mp3 items\n", count);

    QElapsedTimer timer;
    timer.start();
    std::vector<MediaPtr> items;
    items.reserve(size_t(count));
    for (const QString& path : paths)
        items.push_back(player->newMedia(path));
    report("newMedia", timer.nsecsElapsed(), count);

    timer.restart();
    const PlaylistPtr list = player->playlistCollection().newPlaylist(QStringLiteral("SonavelPlayList"));
    for (const MediaPtr& item : items)
        list->appendItem(item);
    player->playlistCollection().flush();
    report("appendItem (and save the list)", timer.nsecsElapsed(), count);

    timer.restart();
    qsizetype characters = 0;
    for (int i = 0; i < list->count(); ++i) {
        const MediaPtr item = list->item(i);
        for (const char* attribute : {"Title", "Author", "WM/AlbumTitle", "WM/TrackNumber"})
            characters += item->getItemInfo(QString::fromLatin1(attribute)).value_or(QString()).size();
    }
    report("getItemInfo x4, first read (tags)", timer.nsecsElapsed(), count);

    timer.restart();
    for (int i = 0; i < list->count(); ++i)
        characters += list->item(i)->getItemInfo(QStringLiteral("Title")).value_or(QString()).size();
    report("getItemInfo Title, cached", timer.nsecsElapsed(), count);

    timer.restart();
    player.reset();
    player = Player::create(options);
    const auto reloaded = player->playlistCollection().getByName(QStringLiteral("SonavelPlayList"));
    report("restart and load the saved list", timer.nsecsElapsed(), count);
    std::printf("(%lld characters read, %d items reloaded)\n", static_cast<long long>(characters),
                reloaded.empty() ? 0 : reloaded.front()->count());
    return 0;
}
