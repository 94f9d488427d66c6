#include "platform/text/CodePage.h"
#include "player/library/M3uList.h"
#include "tests/support/TestMain.h"

class M3uListTest : public QObject
{
    Q_OBJECT
private slots:
    void entryPaths_data();
    void entryPaths();
    void encodings_data();
    void encodings();
    void commentsAndBlankLinesSkipped();
};

void M3uListTest::entryPaths_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("path");
    QTest::newRow("relative") << "sub/a.mp3" << "/music/list/sub/a.mp3";
    QTest::newRow("parent folder") << "../other/b.mp3" << "/music/other/b.mp3";
    QTest::newRow("dot folder") << "./c.mp3" << "/music/list/c.mp3";
    QTest::newRow("absolute") << "/data/x y.mp3" << "/data/x y.mp3";
    QTest::newRow("absolute kept as written") << "/data/../x.mp3" << "/data/../x.mp3";
    QTest::newRow("file URL") << "file:///data/x%20y%E6%AD%8C.mp3" << "/data/x y歌.mp3";
    QTest::newRow("file URL of localhost") << "FILE://localhost/data/x.mp3" << "/data/x.mp3";
    QTest::newRow("file URL of another host") << "file://server/data/x.mp3" << "";
    QTest::newRow("stream URL") << "https://radio.example/stream.ogg" << "https://radio.example/stream.ogg";
    QTest::newRow("drive letter is no URL") << "C:\\Music\\a.mp3" << "/music/list/C:\\Music\\a.mp3";
}

void M3uListTest::entryPaths()
{
    QFETCH(QString, line);
    QFETCH(QString, path);
    QCOMPARE(CM3uList::EntryPath(line, "/music/list/"), path);
    QCOMPARE(CM3uList::EntryPath(line, "/music/list"), path);
}

void M3uListTest::encodings_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("isM3u8");
    QTest::addColumn<QString>("entry");
    const QString name = QStringLiteral("歌.mp3");
    QTest::newRow("UTF-8 without mark") << CodePage::fromUnicode(name, 65001) << false << name;
    QTest::newRow("UTF-8 with mark") << "\xEF\xBB\xBF" + CodePage::fromUnicode(name, 65001) << false << name;
    QTest::newRow("m3u8") << CodePage::fromUnicode(name, 65001) << true << name;
    QTest::newRow("m3u8 with mark") << "\xEF\xBB\xBF" + CodePage::fromUnicode(name, 65001) << true << name;
    QTest::newRow("8-bit in the locale's page") << CodePage::fromUnicode(name, 932) << false << name;
    QTest::newRow("ASCII") << QByteArray("a.mp3") << false << "a.mp3";
}

void M3uListTest::encodings()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, isM3u8);
    QFETCH(QString, entry);
    QCOMPARE(CM3uList::Entries(bytes + "\r\n", "/m/", isM3u8, 932), QStringList{"/m/" + entry});
}

void M3uListTest::commentsAndBlankLinesSkipped()
{
    const QByteArray list("#EXTM3U\n#EXTINF:123,Artist - Title\na.mp3\n\n   \r\nb.mp3\r\n/abs/c.mp3\r");
    QCOMPARE(CM3uList::Entries(list, "/m", false, 932),
             QStringList({"/m/a.mp3", "/m/b.mp3", "/abs/c.mp3"}));
}

SONAVEL_TEST_MAIN(M3uListTest)
#include "M3uListTest.moc"
