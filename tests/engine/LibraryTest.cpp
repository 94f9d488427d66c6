#include "tests/engine/EngineHarness.h"
#include "tests/support/TestMain.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

// Items, playlists and the library: attributes, order, and what is kept on disk.
class LibraryTest : public QObject
{
    Q_OBJECT

private slots:
    void attributesComeFromTags();
    void titleFallsBackToFileName();
    void unreadableFilesGiveNoTagResult();
    void setItemInfoChangesOnlyTheTitle();
    void sameFileTwiceGivesTwoItems();
    void moveItemKeepsTheOthersInOrder();
    void playlistsSurviveARestart();
    void damagedPlaylistFilesAreSkipped();
    void removeDeletesOnlyThePlaylistFile();
    void removedPlaylistIsNoLongerWritten();
    void defaultFolderIsInTheDataLocation();
};

void LibraryTest::attributesComeFromTags()
{
    EngineHarness engine;
    const QString path = engine.mp3("tagged.mp3", 2.0, {"夜明けの歌", "歌手", "アルバム", "7"});
    const MediaPtr item = engine.player().newMedia(path);
    QCOMPARE(item->getItemInfo("MediaType"), std::optional<QString>("audio"));
    QCOMPARE(item->getItemInfo("Title"), std::optional<QString>("夜明けの歌"));
    QCOMPARE(item->getItemInfo("Author"), std::optional<QString>("歌手"));
    QCOMPARE(item->getItemInfo("WM/AlbumTitle"), std::optional<QString>("アルバム"));
    QCOMPARE(item->getItemInfo("WM/TrackNumber"), std::optional<QString>("7"));
    QCOMPARE(item->getItemInfo("sourceURL"), std::optional<QString>(path));
    QCOMPARE(item->sourceURL(), path);
    QVERIFY(!item->getItemInfo("WM/Genre"));
    QVERIFY2(qAbs(item->duration() - 2.0) < 0.1, qPrintable(QString::number(item->duration())));

    // Read once: the cached values stay when the file changes afterwards.
    Mp3Fixture::write(path, {"Other", "", "", ""}, 0.2);
    QCOMPARE(item->getItemInfo("Title"), std::optional<QString>("夜明けの歌"));
    QCOMPARE(engine.player().newMedia(path)->getItemInfo("Title"), std::optional<QString>("Other"));
    QVERIFY(!engine.player().newMedia(QString()));
}

void LibraryTest::titleFallsBackToFileName()
{
    EngineHarness engine;
    const MediaPtr untagged = engine.player().newMedia(engine.mp3("no tags.here.mp3", 0.2));
    QCOMPARE(untagged->getItemInfo("Title"), std::optional<QString>("no tags.here"));
    QCOMPARE(untagged->getItemInfo("Author"), std::optional<QString>(QString()));
    QCOMPARE(untagged->getItemInfo("WM/TrackNumber"), std::optional<QString>(QString()));
    const MediaPtr video = engine.player().newMedia(engine.files().write("movie.MPG", QByteArray(64, 'x')));
    QCOMPARE(video->getItemInfo("MediaType"), std::optional<QString>("video"));
    QCOMPARE(video->getItemInfo("Title"), std::optional<QString>("movie"));
}

void LibraryTest::unreadableFilesGiveNoTagResult()
{
    EngineHarness engine;
    const QStringList paths{engine.files().file("missing.mp3"), engine.files().write("empty.mp3", {}),
                            engine.files().write("noise.mp3", QByteArray(5000, '\xff')),
                            engine.files().mkdir("folder.mp3")};
    for (const QString& path : paths) {
        const MediaPtr item = engine.player().newMedia(path);
        QVERIFY2(item->getItemInfo("Title").has_value(), qPrintable(path));
        QCOMPARE(*item->getItemInfo("Title"), QFileInfo(path).completeBaseName());
        QCOMPARE(item->getItemInfo("MediaType"), std::optional<QString>("audio"));
        QCOMPARE(item->duration() >= 0, true);
    }
    QVERIFY(!engine.player().newMedia(paths[0])->getItemInfo("Author"));
    QVERIFY(!engine.player().newMedia(paths[1])->getItemInfo("WM/AlbumTitle"));
    QVERIFY(!engine.player().newMedia(paths[3])->getItemInfo("Author"));
}

void LibraryTest::setItemInfoChangesOnlyTheTitle()
{
    EngineHarness engine;
    const MediaPtr item = engine.player().newMedia(engine.mp3("clip.mp3", 0.2, {"Tag title", "A", "", ""}));
    QVERIFY(!item->hasOwnTitle());
    QVERIFY(item->setItemInfo("Title", "表示名"));
    QCOMPARE(item->getItemInfo("Title"), std::optional<QString>("表示名"));
    QCOMPARE(item->getItemInfo("Author"), std::optional<QString>("A"));
    QVERIFY(!item->setItemInfo("Author", "B"));
    QVERIFY(!item->setItemInfo("sourceURL", "/elsewhere"));
    QCOMPARE(item->getItemInfo("Author"), std::optional<QString>("A"));
    QVERIFY(item->sourceURL().endsWith("clip.mp3"));
}

void LibraryTest::sameFileTwiceGivesTwoItems()
{
    EngineHarness engine;
    const QString path = engine.mp3("twice.mp3", 0.2);
    auto list = std::make_shared<Playlist>("twice");
    const MediaPtr first = engine.player().newMedia(path);
    const MediaPtr second = engine.player().newMedia(path);
    QVERIFY(first != second);
    QVERIFY(list->appendItem(first));
    QVERIFY(list->appendItem(second));
    QVERIFY(!list->appendItem(nullptr));
    QCOMPARE(list->count(), 2);
    QCOMPARE(list->item(0), first);
    QCOMPARE(list->item(1), second);
    QVERIFY(!list->item(2));
    QVERIFY(!list->item(-1));
    second->setItemInfo("Title", "second");
    QCOMPARE(first->getItemInfo("Title"), std::optional<QString>("twice"));
    list->clear();
    QCOMPARE(list->count(), 0);
}

void LibraryTest::moveItemKeepsTheOthersInOrder()
{
    auto list = std::make_shared<Playlist>("order");
    QStringList names{"a", "b", "c", "d", "e"};
    for (const QString& name : names)
        list->appendItem(Media::forFile("/music/" + name + ".mp3"));
    const auto titles = [&] {
        QStringList result;
        for (int i = 0; i < list->count(); ++i)
            result << *list->item(i)->getItemInfo("Title");
        return result;
    };
    QVERIFY(list->moveItem(3, 1));
    QCOMPARE(titles(), (QStringList{"a", "d", "b", "c", "e"}));
    QVERIFY(list->moveItem(0, 4));
    QCOMPARE(titles(), (QStringList{"d", "b", "c", "e", "a"}));
    QVERIFY(list->moveItem(2, 2));
    QCOMPARE(titles(), (QStringList{"d", "b", "c", "e", "a"}));
    QVERIFY(!list->moveItem(5, 0));
    QVERIFY(!list->moveItem(0, -1));
    QCOMPARE(titles(), (QStringList{"d", "b", "c", "e", "a"}));
}

void LibraryTest::playlistsSurviveARestart()
{
    EngineHarness engine;
    PlaylistCollection& collection = engine.player().playlistCollection();
    QVERIFY(collection.getByName("SonavelPlayList").empty());
    const PlaylistPtr first = collection.newPlaylist("SonavelPlayList");
    const PlaylistPtr second = collection.newPlaylist("SonavelPlayList");
    const PlaylistPtr other = collection.newPlaylist("Other");
    QVERIFY(first && second && other);
    const QString a = engine.mp3("a.mp3", 0.2);
    const QString b = engine.mp3("b.mp3", 0.2);
    first->appendItem(engine.player().newMedia(a));
    first->appendItem(engine.player().newMedia(b));
    first->item(1)->setItemInfo("Title", "改名");
    first->moveItem(1, 0);
    second->appendItem(engine.player().newMedia(b));
    QCOMPARE(collection.getByName("SonavelPlayList"), (std::vector<PlaylistPtr>{first, second}));

    engine.restart();
    PlaylistCollection& reloaded = engine.player().playlistCollection();
    const auto found = reloaded.getByName("SonavelPlayList");
    QCOMPARE(found.size(), size_t(2));
    QCOMPARE(found[0]->count(), 2);
    QCOMPARE(found[0]->item(0)->sourceURL(), b);
    QCOMPARE(found[0]->item(0)->getItemInfo("Title"), std::optional<QString>("改名"));
    QCOMPARE(found[0]->item(1)->sourceURL(), a);
    QCOMPARE(found[0]->item(1)->getItemInfo("Title"), std::optional<QString>("a"));
    QCOMPARE(found[1]->count(), 1);
    QCOMPARE(reloaded.getByName("Other").size(), size_t(1));

    // Changes after the restart are kept too, and a cleared list stays empty.
    found[0]->clear();
    engine.restart();
    QCOMPARE(engine.player().playlistCollection().getByName("SonavelPlayList")[0]->count(), 0);
    QCOMPARE(engine.player().playlistCollection().getByName("SonavelPlayList")[1]->count(), 1);
}

void LibraryTest::damagedPlaylistFilesAreSkipped()
{
    EngineHarness engine;
    const PlaylistPtr kept = engine.player().playlistCollection().newPlaylist("Kept");
    kept->appendItem(engine.player().newMedia("/music/x.mp3"));
    QVERIFY(engine.player().playlistCollection().flush());
    const QString folder = engine.playlistFolder();
    TestFiles::writeBytes(folder + "/playlist-0050.m3u8", QByteArray("\xff\xfe\x00garbage", 10));
    TestFiles::writeBytes(folder + "/playlist-0051.m3u8", QByteArray("not a list\n/music/y.mp3\n"));
    TestFiles::writeBytes(folder + "/playlist-0052.m3u8", QByteArray());
    QDir().mkpath(folder + "/playlist-0053.m3u8");
    engine.restart();
    PlaylistCollection& collection = engine.player().playlistCollection();
    QCOMPARE(collection.all().size(), size_t(1));
    QCOMPARE(collection.getByName("Kept")[0]->item(0)->sourceURL(), QString("/music/x.mp3"));
    // New playlists never overwrite a file that is there already, damaged or not.
    const PlaylistPtr fresh = collection.newPlaylist("Fresh");
    QVERIFY(fresh);
    QVERIFY(collection.filePath(fresh).endsWith("playlist-0054.m3u8"));
    QCOMPARE(TestFiles::readBytes(folder + "/playlist-0051.m3u8"), QByteArray("not a list\n/music/y.mp3\n"));
}

void LibraryTest::removeDeletesOnlyThePlaylistFile()
{
    EngineHarness engine;
    const QString song = engine.mp3("keep me.mp3", 0.2);
    const PlaylistPtr list = engine.player().playlistCollection().newPlaylist("SonavelPlayList");
    list->appendItem(engine.player().newMedia(song));
    engine.player().playlistCollection().newPlaylist("Other");
    MediaCollection& library = engine.player().mediaCollection();

    const PlaylistPtr all = library.getAll();
    QCOMPARE(all->count(), 2);
    MediaPtr entry;
    for (int i = 0; i < all->count(); ++i) {
        QCOMPARE(all->item(i)->getItemInfo("MediaType"), std::optional<QString>("playlist"));
        if (all->item(i)->getItemInfo("Title") == std::optional<QString>("SonavelPlayList"))
            entry = all->item(i);
    }
    QVERIFY(entry);
    const QString file = *entry->getItemInfo("sourceURL");
    QVERIFY(QFile::exists(file));

    QVERIFY(!library.remove(engine.player().newMedia(song), true));
    QVERIFY(!library.remove(nullptr, true));
    QVERIFY(library.remove(entry, true));
    QVERIFY(!QFile::exists(file));
    QVERIFY(QFile::exists(song));
    QVERIFY(!library.remove(entry, true));
    QCOMPARE(library.getAll()->count(), 1);
    QVERIFY(engine.player().playlistCollection().getByName("SonavelPlayList").empty());
    engine.restart();
    QCOMPARE(engine.player().mediaCollection().getAll()->count(), 1);
    QVERIFY(QFile::exists(song));
}

void LibraryTest::removedPlaylistIsNoLongerWritten()
{
    EngineHarness engine;
    const PlaylistPtr list = engine.player().playlistCollection().newPlaylist("Gone");
    const QString file = engine.player().playlistCollection().filePath(list);
    QVERIFY(engine.player().playlistCollection().remove(list, true));
    list->appendItem(engine.player().newMedia("/music/z.mp3"));
    QTest::qWait(20);
    engine.player().playlistCollection().flush();
    QVERIFY(!QFile::exists(file));
    QCOMPARE(list->count(), 1);

    // Without file deletion the entry leaves the collection but its file stays.
    const PlaylistPtr kept = engine.player().playlistCollection().newPlaylist("Kept");
    const QString keptFile = engine.player().playlistCollection().filePath(kept);
    QVERIFY(engine.player().playlistCollection().remove(kept, false));
    QVERIFY(QFile::exists(keptFile));
    QVERIFY(engine.player().playlistCollection().getByName("Kept").empty());
}

void LibraryTest::defaultFolderIsInTheDataLocation()
{
    const QString folder = PlaylistCollection::defaultFolder();
    QVERIFY(folder.endsWith("/sonavel/playlists"));
    QVERIFY(folder.startsWith(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)));
}

SONAVEL_TEST_MAIN(LibraryTest)
#include "LibraryTest.moc"
