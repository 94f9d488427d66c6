// Opening from anywhere: path arguments, the hand-over from a second start to the running one,
// and folders and files dropped from the file manager onto the tree or the list.

#include "platform/engine/Player.h"
#include "platform/profile/Profile.h"
#include "player/app/SonavelApp.h"
#include "player/app/SonavelDlg.h"
#include "player/app/SonavelStrings.h"
#include "player/library/FolderTree.h"
#include "player/library/TrackListCtrl.h"
#include "player/settings/ProfileHelpers.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/Mp3Fixture.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QMimeData>
#include <QProcess>
#include <QUrl>

#include <csignal>

namespace {

void Drop(QWidget* view, const QString& path)
{
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    const QPoint at = view->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view, &drop);
    QVERIFY(drop.isAccepted());
}

QString PlayingPath(CSonavelDlg& dialog)
{
    const MediaPtr media = dialog.GetPlayer()->currentMedia();
    return media && dialog.GetPlayer()->playState() == 3 ? media->sourceURL() : QString();
}

} // namespace

class OpenPathTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        RegisterSonavelStrings();
        qputenv("HOME", m_temp.path().toUtf8());
        Profile::setPath(m_temp.file("sonavel.ini"));
        m_albumA = m_temp.file("アルバムA");
        m_albumB = m_temp.file("album B");
        QDir().mkpath(m_albumA);
        QDir().mkpath(m_albumB);
        for (const QString& folder : {m_albumA, m_albumB})
            for (const char* name : {"01.mp3", "02.mp3"})
                QVERIFY(!Mp3Fixture::write(folder + '/' + name, {QString::fromLatin1(name), {}, {}, {}}, 5.0).isEmpty());
    }

    void pathArgument_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("path");
        QTest::newRow("none") << QStringList{} << QString();
        QTest::newRow("absolute") << QStringList{"/music/a.mp3"} << "/music/a.mp3";
        QTest::newRow("relative") << QStringList{"songs/../a.mp3"} << "/work/a.mp3";
        QTest::newRow("file url") << QStringList{"file:///music/%E6%9B%B2.mp3"} << "/music/曲.mp3";
        QTest::newRow("switches are not paths") << QStringList{"/music", "-RegServer"} << "/music";
        QTest::newRow("only switches") << QStringList{"-Embedding", "--verbose"} << QString();
        QTest::newRow("the last path") << QStringList{"/a", "/b"} << "/b";
    }
    void pathArgument()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, path);
        QCOMPARE(CSonavelApp::FindPathArgument(arguments, "/work"), path);
    }

    void openingShowsFoldersAndPlaysFiles()
    {
        MessageBoxRecorder boxes;
        CSonavelDlg dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));

        dialog.OpenPath(m_albumA);
        QCOMPARE(dialog.SelectedTreeFolder(), m_albumA + '/');
        QCOMPARE(dialog.TrackListRowCount(), 2);

        dialog.OpenPath(m_albumB + "/02.mp3");
        QCOMPARE(dialog.SelectedTreeFolder(), m_albumB + '/');
        QTRY_COMPARE(PlayingPath(dialog), m_albumB + "/02.mp3");
        QVERIFY(dialog.windowTitle().contains(QStringLiteral("再生中")));

        dialog.OpenPath(m_temp.file("どこにもない.mp3"));
        QCOMPARE(boxes.count(), 1);
        QVERIFY(boxes.prompts().last().text.contains(QStringLiteral("どこにもない.mp3")));
        QCOMPARE(PlayingPath(dialog), m_albumB + "/02.mp3"); // nothing else changed
        dialog.Close();
    }

    void dropsFromTheFileManager()
    {
        MessageBoxRecorder boxes;
        CSonavelDlg dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));

        Drop(dialog.TrackList()->viewport(), m_albumA);
        QCOMPARE(dialog.SelectedTreeFolder(), m_albumA + '/');
        Drop(dialog.FolderTree()->viewport(), m_albumB + "/01.mp3");
        QTRY_COMPARE(PlayingPath(dialog), m_albumB + "/01.mp3");
        QCOMPARE(boxes.count(), 0);
        dialog.Close();
    }

    // The program's own start shows its window before it lists anything; closed before that,
    // the stored folder stays the one to open.
    void startPathWaitsForTheFirstPaint()
    {
        MessageBoxRecorder boxes;
        WriteProfileHexString("CSonavelDlg", "DefaultFolderPath", m_albumA + '/');
        {
            CSonavelDlg dialog(nullptr, CSonavelDlg::StartFolder::AfterFirstPaint);
            dialog.SetStartPath(m_albumB + "/02.mp3");
            QCOMPARE(dialog.TrackListRowCount(), 0);
            dialog.show();
            QTRY_COMPARE(PlayingPath(dialog), m_albumB + "/02.mp3");
            dialog.Close();
        }
        {
            CSonavelDlg closedAtOnce(nullptr, CSonavelDlg::StartFolder::AfterFirstPaint);
            closedAtOnce.Close();
        }
        QCOMPARE(GetProfileHexString("CSonavelDlg", "DefaultFolderPath", {}), m_albumB + '/');
        CSonavelDlg dialog(nullptr, CSonavelDlg::StartFolder::AfterFirstPaint);
        dialog.show();
        QTRY_COMPARE(dialog.SelectedTreeFolder(), m_albumB + '/');
        QCOMPARE(dialog.TrackListRowCount(), 2);
        dialog.Close();
        QCOMPARE(boxes.count(), 0);
    }

    // The real executable, twice: the second start hands its file to the first and ends.
    void secondStartHandsItsPathOver()
    {
        TempFolder folder;
        const QString executable = folder.file("sonavel");
        QVERIFY(QFile::copy(SONAVEL_EXECUTABLE, executable));
        QVERIFY(QFile::copy(QFileInfo(SONAVEL_EXECUTABLE).absolutePath() + "/CodePage.txt", folder.file("CodePage.txt")));
        folder.mkdir("runtime");
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "xcb");
        environment.insert("XDG_RUNTIME_DIR", folder.file("runtime"));
        environment.insert("XDG_DATA_HOME", folder.file("data"));
        environment.insert("HOME", m_temp.path());

        QProcess first;
        first.setProcessEnvironment(environment);
        first.start(executable, {m_albumA});
        QVERIFY(first.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(folder.file("runtime/SONAVEL_PROGRAM_ALREADY_RUNNING.socket")), 15000);

        QProcess second;
        second.setProcessEnvironment(environment);
        second.start(executable, {m_albumB + "/02.mp3"});
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(first.state(), QProcess::Running);

        // The first one now shows the second's folder, and keeps it as the folder to open next.
        QTest::qWait(1000);
        ::kill(static_cast<pid_t>(first.processId()), SIGTERM);
        QVERIFY(first.waitForFinished(15000));
        const QString ini = QString::fromUtf8(TestFiles::readBytes(folder.file("sonavel.ini")));
        QVERIFY2(ini.contains("DefaultFolderPath=" + EncodeHexString(m_albumB + '/')), qPrintable(ini));
    }

private:
    TempFolder m_temp;
    QString m_albumA;
    QString m_albumB;
};

SONAVEL_TEST_MAIN(OpenPathTest)
#include "OpenPathTest.moc"
