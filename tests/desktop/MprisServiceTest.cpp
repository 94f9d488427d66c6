// The MPRIS service on a private session bus, driven from outside by dbus-send as a desktop's
// media controls would drive it.

#include "platform/shell/MprisService.h"
#include "tests/support/BusSend.h"
#include "tests/support/TestMain.h"

#include <QDBusObjectPath>
#include <QSignalSpy>

namespace {

const QString kDestination = QStringLiteral("org.mpris.MediaPlayer2.sonaveltest");

QString BusSend(const QStringList& arguments)
{
    return ::BusSend(kDestination, QStringLiteral("/org/mpris/MediaPlayer2"), arguments);
}

QString GetProperty(const QString& interface, const QString& property)
{
    return BusGetProperty(kDestination, QStringLiteral("/org/mpris/MediaPlayer2"), interface, property);
}

} // namespace

class MprisServiceTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY2(QDBusConnection::sessionBus().isConnected(), "run under dbus-run-session");
        QVERIFY(m_service.registerOn(QDBusConnection::sessionBus(), QStringLiteral("sonaveltest")));
        m_service.setPositionSource([] { return qint64(42'000'000); });
    }

    void methodsBecomeRequests_data()
    {
        QTest::addColumn<QString>("method");
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QByteArray>("signal");
        const QString player = QStringLiteral("org.mpris.MediaPlayer2.Player.");
        QTest::newRow("Play") << player + "Play" << QString() << QByteArray(SIGNAL(playRequested()));
        QTest::newRow("Pause") << player + "Pause" << QString() << QByteArray(SIGNAL(pauseRequested()));
        QTest::newRow("PlayPause") << player + "PlayPause" << QString() << QByteArray(SIGNAL(playPauseRequested()));
        QTest::newRow("Stop") << player + "Stop" << QString() << QByteArray(SIGNAL(stopRequested()));
        QTest::newRow("Next") << player + "Next" << QString() << QByteArray(SIGNAL(nextRequested()));
        QTest::newRow("Previous") << player + "Previous" << QString() << QByteArray(SIGNAL(previousRequested()));
        QTest::newRow("Seek") << player + "Seek" << "int64:-5000000" << QByteArray(SIGNAL(seekRequested(qint64)));
        QTest::newRow("OpenUri") << player + "OpenUri" << "string:file:///music/a.mp3"
                                 << QByteArray(SIGNAL(openUriRequested(QString)));
        QTest::newRow("Raise") << "org.mpris.MediaPlayer2.Raise" << QString() << QByteArray(SIGNAL(raiseRequested()));
        QTest::newRow("Quit") << "org.mpris.MediaPlayer2.Quit" << QString() << QByteArray(SIGNAL(quitRequested()));
    }
    void methodsBecomeRequests()
    {
        QFETCH(QString, method);
        QFETCH(QString, argument);
        QFETCH(QByteArray, signal);
        QSignalSpy requested(&m_service, signal.constData());
        BusSend(argument.isEmpty() ? QStringList{method} : QStringList{method, argument});
        QTRY_COMPARE(requested.count(), 1);
        if (method.endsWith(QLatin1String("Seek")))
            QCOMPARE(requested[0][0].toLongLong(), -5000000);
        if (method.endsWith(QLatin1String("OpenUri")))
            QCOMPARE(requested[0][0].toString(), QStringLiteral("file:///music/a.mp3"));
    }

    void propertyWritesBecomeRequests_data()
    {
        QTest::addColumn<QString>("property");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("signal");
        QTest::addColumn<QVariant>("requested");
        QTest::newRow("loop off") << "LoopStatus" << "variant:string:None"
                                  << QByteArray(SIGNAL(loopChangeRequested(bool))) << QVariant(false);
        QTest::newRow("loop track") << "LoopStatus" << "variant:string:Track"
                                    << QByteArray(SIGNAL(loopChangeRequested(bool))) << QVariant(true);
        QTest::newRow("shuffle") << "Shuffle" << "variant:boolean:true"
                                 << QByteArray(SIGNAL(shuffleChangeRequested(bool))) << QVariant(true);
        QTest::newRow("volume") << "Volume" << "variant:double:0.25"
                                << QByteArray(SIGNAL(volumeChangeRequested(double))) << QVariant(0.25);
        QTest::newRow("volume above 1") << "Volume" << "variant:double:3.0"
                                        << QByteArray(SIGNAL(volumeChangeRequested(double))) << QVariant(1.0);
    }
    void propertyWritesBecomeRequests()
    {
        QFETCH(QString, property);
        QFETCH(QString, value);
        QFETCH(QByteArray, signal);
        QFETCH(QVariant, requested);
        QSignalSpy spy(&m_service, signal.constData());
        BusSend({QStringLiteral("org.freedesktop.DBus.Properties.Set"),
                 QStringLiteral("string:org.mpris.MediaPlayer2.Player"), QStringLiteral("string:") + property, value});
        QTRY_COMPARE(spy.count(), 1);
        QCOMPARE(spy[0][0], requested);
    }

    void propertiesShowTheProgramsState()
    {
        m_service.setPlaybackStatus(MprisService::PlaybackStatus::Paused);
        m_service.setLoop(true);
        m_service.setMetadata({{QStringLiteral("mpris:trackid"), QVariant::fromValue(QDBusObjectPath("/org/sonavel/track/7"))},
                               {QStringLiteral("xesam:title"), QStringLiteral("さくらさくら")},
                               {QStringLiteral("mpris:length"), qint64(50'000'000)}});
        QVERIFY(GetProperty("org.mpris.MediaPlayer2", "Identity").contains("\"Sonavel\""));
        QVERIFY(GetProperty("org.mpris.MediaPlayer2", "DesktopEntry").contains("\"sonavel\""));
        QVERIFY(GetProperty("org.mpris.MediaPlayer2.Player", "PlaybackStatus").contains("\"Paused\""));
        QVERIFY(GetProperty("org.mpris.MediaPlayer2.Player", "LoopStatus").contains("\"Playlist\""));
        QVERIFY(GetProperty("org.mpris.MediaPlayer2.Player", "Position").contains("int64 42000000"));
        const QString metadata = GetProperty("org.mpris.MediaPlayer2.Player", "Metadata");
        QVERIFY2(metadata.contains("object path \"/org/sonavel/track/7\""), qPrintable(metadata));
        QVERIFY(metadata.contains("さくらさくら"));
    }

    void setPositionOnlyForTheCurrentTrackAndInside()
    {
        QSignalSpy requested(&m_service, &MprisService::setPositionRequested);
        const QString method = QStringLiteral("org.mpris.MediaPlayer2.Player.SetPosition");
        BusSend({method, QStringLiteral("objpath:/org/sonavel/track/6"), QStringLiteral("int64:1000000")});
        BusSend({method, QStringLiteral("objpath:/org/sonavel/track/7"), QStringLiteral("int64:60000000")});
        BusSend({method, QStringLiteral("objpath:/org/sonavel/track/7"), QStringLiteral("int64:3000000")});
        QTRY_COMPARE(requested.count(), 1);
        QCOMPARE(requested[0][0].toLongLong(), 3000000);
    }

    void changesAreAnnounced()
    {
        QDBusConnection listener = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "listener");
        QVERIFY(listener.connect(kDestination, "/org/mpris/MediaPlayer2", "org.freedesktop.DBus.Properties",
                                 "PropertiesChanged", this, SLOT(onPropertiesChanged(QString, QVariantMap, QStringList))));
        m_service.setPlaybackStatus(MprisService::PlaybackStatus::Playing);
        m_service.setPlaybackStatus(MprisService::PlaybackStatus::Playing); // unchanged: no second signal
        m_service.setShuffle(true);
        QTRY_COMPARE(m_changes.size(), 2);
        QCOMPARE(m_changes[0].value("PlaybackStatus").toString(), QStringLiteral("Playing"));
        QCOMPARE(m_changes[1].value("Shuffle").toBool(), true);
        QDBusConnection::disconnectFromBus("listener");
    }

public slots:
    void onPropertiesChanged(const QString& interface, const QVariantMap& changed, const QStringList&)
    {
        if (interface == QLatin1String(MprisService::PlayerInterface))
            m_changes.append(changed);
    }

private:
    MprisService m_service{QStringLiteral("Sonavel"), QStringLiteral("sonavel")};
    QList<QVariantMap> m_changes;
};

SONAVEL_TEST_MAIN(MprisServiceTest)
#include "MprisServiceTest.moc"
