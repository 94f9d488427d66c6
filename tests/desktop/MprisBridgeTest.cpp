// The main window as a desktop's media controls see it: real D-Bus calls from another program
// (dbus-send) on a private session bus, the real engine with null output, real files.

#include "platform/engine/Player.h"
#include "platform/profile/Profile.h"
#include "platform/varnkit/VolSlider.h"
#include "player/app/LyricCommands.h"
#include "player/app/SonavelDlg.h"
#include "player/app/SonavelStrings.h"
#include "player/karaoke/KaraokeDlg.h"
#include "tests/support/BusSend.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/Mp3Fixture.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QCheckBox>
#include <QPushButton>
#include <QDBusConnection>
#include <QImage>
#include <QRegularExpression>
#include <QUrl>

namespace {

const QString kDestination = QStringLiteral("org.mpris.MediaPlayer2.sonavel");
const QString kPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kPlayer = QStringLiteral("org.mpris.MediaPlayer2.Player");

QString Call(const QString& method, const QStringList& arguments = {})
{
    return BusSend(kDestination, kPath, QStringList{kPlayer + '.' + method} + arguments);
}

QString Property(const QString& name)
{
    return BusGetProperty(kDestination, kPath, kPlayer, name);
}

QString SetProperty(const QString& name, const QString& value)
{
    return BusSend(kDestination, kPath,
                   {QStringLiteral("org.freedesktop.DBus.Properties.Set"), "string:" + kPlayer, "string:" + name, value});
}

// The text after a metadata key in dbus-send's print of the dictionary, up to the entry's end.
QString Entry(const QString& metadata, const QString& key)
{
    const qsizetype at = metadata.indexOf('"' + key + '"');
    return at < 0 ? QString() : metadata.mid(at, metadata.indexOf(QLatin1String("dict entry("), at) - at);
}

} // namespace

class MprisBridgeTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY2(QDBusConnection::sessionBus().isConnected(), "run under dbus-run-session");
        RegisterSonavelStrings();
        qputenv("HOME", m_temp.path().toUtf8());
        Profile::setPath(m_temp.file("sonavel.ini"));
        m_album = m_temp.file("アルバム");
        QDir().mkpath(m_album);
        QVERIFY(!Mp3Fixture::write(m_album + "/01.mp3", {"春の歌", "歌手A", "四季", "1/2"}, 20.0).isEmpty());
        QVERIFY(!Mp3Fixture::write(m_album + "/02.mp3", {"夏の歌", "歌手A", "四季", "2/2"}, 20.0).isEmpty());
        TestFiles::writeBytes(m_album + "/01.lrc", QStringLiteral("[00:00.00]さくら さくら\n[00:02.00]やよいの空は\n").toUtf8());
        QImage cover(8, 8, QImage::Format_RGB32);
        cover.fill(Qt::red);
        QVERIFY(cover.save(m_album + "/cover.png"));

        m_dialog = new CSonavelDlg;
        m_dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_dialog));
        m_dialog->OpenPath(m_album + "/01.mp3");
        QTRY_COMPARE(m_dialog->GetPlayer()->playState(), 3);
    }

    void metadataOfThePlayingTrack()
    {
        QString metadata;
        QTRY_VERIFY((metadata = Property("Metadata")).contains("春の歌"));
        QVERIFY2(Entry(metadata, "xesam:artist").contains("\"歌手A\""), qPrintable(metadata));
        QVERIFY(Entry(metadata, "xesam:album").contains("\"四季\""));
        QVERIFY(Entry(metadata, "xesam:trackNumber").contains("int32 1"));
        QVERIFY(Entry(metadata, "xesam:url").contains(QUrl::fromLocalFile(m_album + "/01.mp3").toString(QUrl::FullyEncoded)));
        const qint64 length = QRegularExpression("int64 (\\d+)").match(Entry(metadata, "mpris:length")).captured(1).toLongLong();
        QVERIFY2(length > 19'000'000 && length < 21'000'000, qPrintable(metadata));
        QVERIFY(Entry(metadata, "xesam:asText").contains("さくら さくら\nやよいの空は"));
        const QString art = QRegularExpression("string \"(file://[^\"]+)\"").match(Entry(metadata, "mpris:artUrl")).captured(1);
        const QImage shown(QUrl(art).toLocalFile());
        QCOMPARE(shown.size(), QSize(8, 8));
        QCOMPARE(shown.pixelColor(4, 4), QColor(Qt::red));
        const QString firstId = Entry(metadata, "mpris:trackid");

        Call("Next");
        QTRY_VERIFY((metadata = Property("Metadata")).contains("夏の歌"));
        QVERIFY(Entry(metadata, "xesam:trackNumber").contains("int32 2"));
        QVERIFY(!metadata.contains("xesam:asText")); // the second track has no lyrics
        QVERIFY(Entry(metadata, "mpris:trackid") != firstId);
        QVERIFY(!QFileInfo::exists(QUrl(art).toLocalFile())); // the first track's picture is gone
        Call("Previous");
        QTRY_VERIFY(Property("Metadata").contains("春の歌"));
    }

    void transportGoesThroughTheToolBar_data()
    {
        QTest::addColumn<QString>("method");
        QTest::addColumn<int>("state");
        QTest::addColumn<QString>("status");
        QTest::newRow("PlayPause pauses") << "PlayPause" << 2 << "Paused";
        QTest::newRow("Play while paused") << "Play" << 3 << "Playing";
        QTest::newRow("Pause") << "Pause" << 2 << "Paused";
        QTest::newRow("PlayPause resumes") << "PlayPause" << 3 << "Playing";
        QTest::newRow("Stop") << "Stop" << 1 << "Stopped";
        QTest::newRow("Play after stop") << "Play" << 3 << "Playing";
    }
    void transportGoesThroughTheToolBar()
    {
        QFETCH(QString, method);
        QFETCH(int, state);
        QFETCH(QString, status);
        Call(method);
        QTRY_COMPARE(m_dialog->GetPlayer()->playState(), state);
        QVERIFY2(m_dialog->windowTitle().startsWith(CSonavelDlg::PlayStateText(state).left(2)),
                 qPrintable(m_dialog->windowTitle()));
        QTRY_VERIFY(Property("PlaybackStatus").contains('"' + status + '"'));
    }

    void pausedResumesWhereItPaused()
    {
        Call("Pause");
        QTRY_COMPARE(m_dialog->GetPlayer()->playState(), 2);
        Call("SetPosition", {"objpath:" + QRegularExpression("object path \"([^\"]+)\"")
                                              .match(Property("Metadata")).captured(1),
                             "int64:12000000"});
        QTRY_COMPARE(qRound(m_dialog->GetPlayer()->currentPosition()), 12);
        Call("Seek", {"int64:-4000000"});
        QTRY_COMPARE(qRound(m_dialog->GetPlayer()->currentPosition()), 8);
        QVERIFY(Property("Position").contains("int64 8000000"));
        Call("Play");
        QTRY_COMPARE(m_dialog->GetPlayer()->playState(), 3);
        QVERIFY(m_dialog->GetPlayer()->currentPosition() >= 7.9);
    }

    void propertiesDriveTheControls_data()
    {
        QTest::addColumn<QString>("property");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("loop");
        QTest::addColumn<bool>("shuffle");
        QTest::addColumn<int>("volume");
        QTest::newRow("loop off") << "LoopStatus" << "variant:string:None" << false << false << 30;
        QTest::newRow("loop on") << "LoopStatus" << "variant:string:Playlist" << true << false << 30;
        QTest::newRow("shuffle on") << "Shuffle" << "variant:boolean:true" << true << true << 30;
        QTest::newRow("shuffle off") << "Shuffle" << "variant:boolean:false" << true << false << 30;
        QTest::newRow("volume") << "Volume" << "variant:double:0.75" << true << false << 75;
        QTest::newRow("volume above 1") << "Volume" << "variant:double:2.5" << true << false << 100;
        QTest::newRow("volume back") << "Volume" << "variant:double:0.3" << true << false << 30;
    }
    void propertiesDriveTheControls()
    {
        QFETCH(QString, property);
        QFETCH(QString, value);
        QFETCH(bool, loop);
        QFETCH(bool, shuffle);
        QFETCH(int, volume);
        SetProperty(property, value);
        QTRY_COMPARE(m_dialog->VolumeSlider()->GetPos(), volume);
        QTRY_COMPARE(m_dialog->LoopBox()->isChecked(), loop);
        QTRY_COMPARE(m_dialog->ShuffleBox()->isChecked(), shuffle);
        QCOMPARE(m_dialog->GetPlayer()->getMode("loop"), loop);
        QCOMPARE(m_dialog->GetPlayer()->getMode("shuffle"), shuffle);
        QCOMPARE(m_dialog->GetPlayer()->volume(), volume);
        // The user's clicks are shown to the desktop the same way.
        m_dialog->LoopBox()->click();
        QVERIFY(Property("LoopStatus").contains(loop ? "\"None\"" : "\"Playlist\""));
        m_dialog->LoopBox()->click();
    }

    void lyricsAreThePlayingTracksWhileTagsAreEdited()
    {
        m_dialog->OpenPath(m_album + "/01.mp3");
        QTRY_VERIFY(Entry(Property("Metadata"), "xesam:asText").contains("さくら"));
        CKaraokeDlg& window = m_dialog->Lyrics().KaraokeWindow();
        QTRY_VERIFY(window.IsWindowCreated());
        auto* edit = DlgItem<QPushButton>(&window, CKaraokeDlg::IdEdit);
        edit->click();
        Call("Next");
        QTRY_VERIFY(Property("Metadata").contains("夏の歌"));
        // The karaoke window still holds the first track's lyrics; the second has none.
        QVERIFY(!Property("Metadata").contains("xesam:asText"));
        edit->click();
        QCOMPARE(window.GetMode(), 0);
    }

    void quitEndsTheProgramsWay()
    {
        QPointer<CSonavelDlg> dialog = m_dialog;
        BusSend(kDestination, kPath, {"org.mpris.MediaPlayer2.Quit"});
        QTRY_VERIFY(m_dialog->IsDestroyed());
        // Settings were saved on the way out, and the name left the bus.
        QVERIFY(TestFiles::readBytes(m_temp.file("sonavel.ini")).contains("Loop=1"));
        QVERIFY(Property("PlaybackStatus").contains("org.freedesktop.DBus.Error.ServiceUnknown"));
        delete dialog;
    }

private:
    TempFolder m_temp;
    QString m_album;
    CSonavelDlg* m_dialog = nullptr;
};

SONAVEL_TEST_MAIN(MprisBridgeTest)
#include "MprisBridgeTest.moc"
