#include "platform/engine/MpvCommand.h"
#include "tests/support/TestMain.h"

#include <mpv/client.h>

#include <clocale>

// Commands reach libmpv as named arguments: what each argument holds arrives whole.
class MpvCommandTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void perFileOptionsArriveWhole_data();
    void perFileOptionsArriveWhole();
    void loadfileReportsItsEntry();
    void unknownCommandOrArgumentFails();

private:
    // Reads mpv's events until the one asked for; false after the timeout.
    bool waitFor(mpv_event_id id, int timeoutMs = 10000);
    QString property(const char* name) const;

    mpv_handle* m_mpv = nullptr;
};

void MpvCommandTest::init()
{
    std::setlocale(LC_NUMERIC, "C");
    m_mpv = mpv_create();
    QVERIFY(m_mpv);
    for (const auto& [name, value] : {std::pair{"config", "no"}, {"vo", "null"}, {"ao", "null"}, {"idle", "yes"}})
        mpv_set_option_string(m_mpv, name, value);
    QCOMPARE(mpv_initialize(m_mpv), 0);
}

void MpvCommandTest::cleanup()
{
    mpv_terminate_destroy(m_mpv);
    m_mpv = nullptr;
}

bool MpvCommandTest::waitFor(mpv_event_id id, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs) {
        if (mpv_wait_event(m_mpv, 0.1)->event_id == id)
            return true;
    }
    return false;
}

QString MpvCommandTest::property(const char* name) const
{
    char* value = mpv_get_property_string(m_mpv, name);
    const QString text = QString::fromUtf8(value);
    mpv_free(value);
    return text;
}

void MpvCommandTest::perFileOptionsArriveWhole_data()
{
    QTest::addColumn<QString>("title");
    QTest::newRow("plain") << "Track 1";
    QTest::newRow("list separators") << "a,b=c,d";
    QTest::newRow("quotes and brackets") << "\"x\" [y] %z%";
    QTest::newRow("path") << "/dev/disc,1/sr0";
}

void MpvCommandTest::perFileOptionsArriveWhole()
{
    QFETCH(QString, title);
    MpvCommand load("loadfile");
    load.arg("url", QStringLiteral("av://lavfi:sine=duration=5")).arg("flags", QStringLiteral("replace"));
    load.arg("options", MpvCommand::KeyValueList{{"force-media-title", title}, {"pause", "yes"}});
    QVERIFY(load.run(m_mpv) >= 0);
    QVERIFY(waitFor(MPV_EVENT_FILE_LOADED));
    QCOMPARE(property("media-title"), title);
    QCOMPARE(property("pause"), QStringLiteral("yes"));
}

void MpvCommandTest::loadfileReportsItsEntry()
{
    mpv_node result{};
    MpvCommand load("loadfile");
    QVERIFY(load.arg("url", QStringLiteral("av://lavfi:sine=duration=5")).run(m_mpv, &result) >= 0);
    QCOMPARE(result.format, MPV_FORMAT_NODE_MAP);
    bool hasEntry = false;
    for (int i = 0; i < result.u.list->num; ++i)
        hasEntry = hasEntry || qstrcmp(result.u.list->keys[i], "playlist_entry_id") == 0;
    mpv_free_node_contents(&result);
    QVERIFY(hasEntry);
    QVERIFY(waitFor(MPV_EVENT_FILE_LOADED));
    // The start of playback restarts it once; the seek's own restart is the next one.
    QVERIFY(waitFor(MPV_EVENT_PLAYBACK_RESTART));
    MpvCommand seek("seek");
    QVERIFY(seek.arg("target", QStringLiteral("2.5")).arg("flags", QStringLiteral("absolute+exact")).run(m_mpv) >= 0);
    QVERIFY(waitFor(MPV_EVENT_PLAYBACK_RESTART));
    QVERIFY2(qAbs(property("time-pos").toDouble() - 2.5) < 0.05, qPrintable(property("time-pos")));
    QVERIFY(MpvCommand("stop").run(m_mpv) >= 0);
    QVERIFY(waitFor(MPV_EVENT_IDLE));
}

void MpvCommandTest::unknownCommandOrArgumentFails()
{
    QVERIFY(MpvCommand("no-such-command").run(m_mpv) < 0);
    QVERIFY(MpvCommand("stop").arg("no-such-argument", QStringLiteral("1")).run(m_mpv) < 0);
    QVERIFY(MpvCommand("seek").arg("target", QStringLiteral("not a time")).run(m_mpv) < 0);
}

SONAVEL_TEST_MAIN(MpvCommandTest)
#include "MpvCommandTest.moc"
