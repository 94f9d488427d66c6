#include "platform/engine/LinuxDiscDrives.h"
#include "tests/engine/EngineHarness.h"
#include "tests/support/TestMain.h"

#include <QSignalSpy>

#include <map>

namespace {

// Drives whose discs the test puts in and takes out.
class FakeDrives : public DiscDriveProvider
{
public:
    QStringList drives() const override { return m_devices; }
    std::optional<Disc> readDisc(const QString& device) const override
    {
        const auto found = m_discs.find(device);
        if (found == m_discs.end())
            return std::nullopt;
        return found->second;
    }

    QStringList m_devices{"/dev/sr0", "/dev/sr1"};
    std::map<QString, Disc> m_discs;
};

} // namespace

class DiscTest : public QObject
{
    Q_OBJECT

private slots:
    void drivesAreListedAndFound();
    void insertedAndRemovedDiscIsReported();
    void discTracksAreItems();
    void trackOfAMissingDriveFailsQuietly();
    void noDrivesMeansNoPolling();
    void systemDrivesCanBeAskedSafely();
};

void DiscTest::drivesAreListedAndFound()
{
    auto fake = std::make_shared<FakeDrives>();
    CdromCollection discs(fake);
    QCOMPARE(discs.count(), 2);
    QCOMPARE(discs.item(0)->driveSpecifier(), QString("/dev/sr0"));
    QCOMPARE(discs.item(1)->driveSpecifier(), QString("/dev/sr1"));
    QVERIFY(!discs.item(2));
    QVERIFY(!discs.item(-1));
    QCOMPARE(discs.getByDriveSpecifier("/dev/sr1"), discs.item(1));
    QCOMPARE(discs.getByDriveSpecifier("/dev/sr1/"), discs.item(1));
    QVERIFY(!discs.getByDriveSpecifier("/dev/sr2"));
    QVERIFY(!discs.getByDriveSpecifier("/"));
    QVERIFY(!discs.getByDriveSpecifier(QString()));
    // A drive without a disc still has its (empty) list.
    QVERIFY(discs.item(0)->playlist());
    QCOMPARE(discs.item(0)->playlist()->count(), 0);
    QVERIFY(discs.findChild<QTimer*>()->isActive());
    QCOMPARE(discs.findChild<QTimer*>()->interval(), 2000);
    QVERIFY(!discs.item(0)->hasDisc());
}

void DiscTest::insertedAndRemovedDiscIsReported()
{
    auto fake = std::make_shared<FakeDrives>();
    Player::Options options = Player::Options::fromEnvironment();
    options.nullAudio = options.nullVideo = true;
    TempFolder playlists;
    options.playlistFolder = playlists.path();
    options.discDrives = fake;
    const auto player = Player::create(options);
    QVERIFY(player);
    QSignalSpy changes(player.get(), &Player::CdromMediaChange);
    CdromCollection& discs = player->cdromCollection();

    discs.poll();
    QCOMPARE(changes.size(), 0);
    fake->m_discs["/dev/sr1"] = {{1, 180.5}, {2, 200}};
    discs.poll();
    QCOMPARE(changes.size(), 1);
    QCOMPARE(changes.takeFirst().first().toInt(), 1);
    QCOMPARE(discs.item(1)->playlist()->count(), 2);
    discs.poll();
    QCOMPARE(changes.size(), 0);

    fake->m_discs["/dev/sr1"] = {{1, 30}};
    discs.poll();
    QCOMPARE(changes.size(), 1);
    QCOMPARE(discs.item(1)->playlist()->count(), 1);

    fake->m_discs.erase("/dev/sr1");
    discs.poll();
    QCOMPARE(changes.size(), 2);
    QCOMPARE(changes.last().first().toInt(), 1);
    QCOMPARE(discs.item(1)->playlist()->count(), 0);

    // The timer finds a change by itself.
    fake->m_discs["/dev/sr0"] = {{1, 60}};
    QVERIFY(changes.wait(5000));
    QCOMPARE(changes.last().first().toInt(), 0);
}

void DiscTest::discTracksAreItems()
{
    auto fake = std::make_shared<FakeDrives>();
    fake->m_discs["/dev/sr0"] = {{1, 61.25}, {3, 200}};
    CdromCollection discs(fake);
    const PlaylistPtr tracks = discs.getByDriveSpecifier("/dev/sr0/")->playlist();
    QCOMPARE(tracks->count(), 2);
    const MediaPtr first = tracks->item(0);
    QCOMPARE(first->sourceURL(), QString("/dev/sr0/Track01.cda"));
    QCOMPARE(first->duration(), 61.25);
    QCOMPARE(first->getItemInfo("MediaType"), std::optional<QString>("audio"));
    QCOMPARE(first->getItemInfo("WM/TrackNumber"), std::optional<QString>("1"));
    QCOMPARE(first->getItemInfo("Title"), std::optional<QString>("トラック 1"));
    QCOMPARE(tracks->item(1)->sourceURL(), QString("/dev/sr0/Track03.cda"));
    QCOMPARE(first->playbackUrl(), QString("cdda://"));
    const Media::PlaybackOptions options{{"cdrom-device", "/dev/sr0"}, {"cdda-span-a", "3"}, {"cdda-span-b", "3"}};
    QVERIFY(tracks->item(1)->playbackOptions() == options);
}

// The fake drive does not exist for mpv: each track is tried (open state "opening") and fails,
// and the engine ends stopped instead of hanging.
void DiscTest::trackOfAMissingDriveFailsQuietly()
{
    auto fake = std::make_shared<FakeDrives>();
    fake->m_devices = {"/nonexistent/sr7"};
    fake->m_discs["/nonexistent/sr7"] = {{1, 10}, {2, 10}};
    Player::Options options = Player::Options::fromEnvironment();
    options.nullAudio = options.nullVideo = true;
    TempFolder playlists;
    options.playlistFolder = playlists.path();
    options.discDrives = fake;
    const auto player = Player::create(options);
    QSignalSpy states(player.get(), &Player::PlayStateChange);
    QSignalSpy openStates(player.get(), &Player::OpenStateChange);
    QVERIFY(player->setCurrentPlaylist(player->cdromCollection().item(0)->playlist()));
    QTRY_COMPARE_WITH_TIMEOUT(player->playState(), 1, 10000);
    QVERIFY(std::any_of(openStates.begin(), openStates.end(),
                        [](const QList<QVariant>& arguments) { return arguments.first().toInt() == 12; }));
    QTRY_VERIFY(!states.isEmpty() && states.last().first().toInt() == 1);
}

void DiscTest::noDrivesMeansNoPolling()
{
    auto fake = std::make_shared<FakeDrives>();
    fake->m_devices.clear();
    CdromCollection discs(fake);
    QSignalSpy changes(&discs, &CdromCollection::mediaChanged);
    QCOMPARE(discs.count(), 0);
    QVERIFY(!discs.item(0));
    QVERIFY(discs.findChild<QTimer*>());
    QVERIFY(!discs.findChild<QTimer*>()->isActive());
    discs.poll();
    QCOMPARE(changes.size(), 0);
}

void DiscTest::systemDrivesCanBeAskedSafely()
{
    LinuxDiscDrives system;
    for (const QString& device : system.drives())
        QVERIFY(device.startsWith("/dev/sr"));
    QVERIFY(!system.readDisc("/nonexistent/sr9"));
    QVERIFY(!system.readDisc("/dev/null"));
}

SONAVEL_TEST_MAIN(DiscTest)
#include "DiscTest.moc"
