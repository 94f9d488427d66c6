#include "platform/profile/Profile.h"
#include "player/app/MainWindowSettings.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

class ExtensionDefaultsTest : public QObject
{
    Q_OBJECT
private slots:
    void extensionLists_data();
    void extensionLists();
};

void ExtensionDefaultsTest::extensionLists_data()
{
    QTest::addColumn<QByteArray>("profile");
    QTest::addColumn<QStringList>("extensions");
    const QStringList classic{"mp3", "wma", "dat", "mpg", "mpeg"};
    QTest::newRow("no count stored") << QByteArray() << classic + QStringList{"flac", "ogg", "opus", "m4a", "wav"};
    QTest::newRow("stored count of five") << QByteArray("[CSonavelDlg]\nRdExtNum=5\n") << classic;
    QTest::newRow("stored count beyond its keys") << QByteArray("[CSonavelDlg]\nRdExtNum=7\n")
                                                  << classic + QStringList{"", ""};
    QTest::newRow("stored list") << QByteArray("[CSonavelDlg]\nRdExtNum=2\nRdExt00=OGG\nRdExt01=mp3\n")
                                 << QStringList{"OGG", "mp3"};
    QTest::newRow("stored empty list") << QByteArray("[CSonavelDlg]\nRdExtNum=0\n") << QStringList{};
}

void ExtensionDefaultsTest::extensionLists()
{
    QFETCH(QByteArray, profile);
    QFETCH(QStringList, extensions);
    TempFolder folder;
    Profile::setPath(folder.write("sonavel.ini", profile));
    MainWindowSettings settings;
    settings.ReadUpToEditorPath();
    QCOMPARE(settings.Scan.ExtensionList, extensions);
}

SONAVEL_TEST_MAIN(ExtensionDefaultsTest)
#include "ExtensionDefaultsTest.moc"
