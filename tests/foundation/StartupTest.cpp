// Start-up of the player: switches, single instance, profile file, locale and code pages,
// and the end through SIGTERM, both in process and with the real executable.
#include "common/ui/AboutDlg.h"
#include "platform/profile/Profile.h"
#include "platform/shell/DesktopRegistration.h"
#include "platform/shell/TerminationSignals.h"
#include "platform/text/RuntimeLocale.h"
#include "player/app/SonavelApp.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>

#include <cerrno>
#include <csignal>

namespace {

// A copy of the real executable in a fresh folder, run off screen with its own runtime and data folders.
class ProcessFixture
{
public:
    explicit ProcessFixture(const QString& name = "sonavel")
        : m_executable(m_folder.file(name))
    {
        QFile::copy(SONAVEL_EXECUTABLE, m_executable);
        QFile::copy(QFileInfo(SONAVEL_EXECUTABLE).absolutePath() + "/CodePage.txt", m_folder.file("CodePage.txt"));
        m_folder.mkdir("runtime");
        m_folder.mkdir("data");
    }

    void start(QProcess& process, const QStringList& arguments = {}) const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("XDG_RUNTIME_DIR", m_folder.file("runtime"));
        environment.insert("XDG_DATA_HOME", m_folder.file("data"));
        environment.insert("XDG_CONFIG_HOME", m_folder.file("config"));
        process.setProcessEnvironment(environment);
        process.start(m_executable, arguments);
    }

    QString ini() const { return QString::fromUtf8(TestFiles::readBytes(m_folder.file(QFileInfo(m_executable).fileName() + ".ini"))); }
    QString desktopEntry() const { return m_folder.file("data/applications/sonavel.desktop"); }
    QString executable() const { return m_executable; }

private:
    TempFolder m_folder;
    QString m_executable;
};

// Never kill(0, ...): that would signal the whole process group, the test runner included.
void terminate(const QProcess& process)
{
    const qint64 pid = process.processId();
    QVERIFY(pid > 0);
    ::kill(static_cast<pid_t>(pid), SIGTERM);
}

bool waitUntil(const std::function<bool()>& condition, int milliseconds = 10000)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > milliseconds)
            return false;
        QTest::qWait(50);
    }
    return true;
}

} // namespace

class StartupTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void registrationSwitchOnlyLast();
    void embeddingSwitch();
    void firstStartWritesLocaleAndLoadsCodePages();
    void missingCodePageFileIsReportedOnce();
    void unknownLocaleLeavesLocale();
    void secondInstanceExitsAtOnce();
    void terminationSavesSettings();
    void registrationInstallsAndRemovesDesktopEntry();
    void registeredEntryQuotesTheExecutable_data();
    void registeredEntryQuotesTheExecutable();
    void anotherExecutableNameGivesAnotherIni();
    void aboutBoxShowsTheBuildsValues();
    void qtOwnTextsAreJapanese();
    void signalFloodKeepsErrnoAndStillEnds();

private:
    TempFolder m_runtime;
};

void StartupTest::initTestCase()
{
    qputenv("XDG_RUNTIME_DIR", m_runtime.path().toLocal8Bit());
}

void StartupTest::registrationSwitchOnlyLast()
{
    using R = CSonavelApp::RegistrationSwitch;
    QCOMPARE(CSonavelApp::FindRegistrationSwitch("-RegServer"), R::Register);
    QCOMPARE(CSonavelApp::FindRegistrationSwitch("/regserver"), R::Register);
    QCOMPARE(CSonavelApp::FindRegistrationSwitch("-UNREGSERVER"), R::Unregister);
    QCOMPARE(CSonavelApp::FindRegistrationSwitch("x -a /RegServer"), R::Register);
    QCOMPARE(CSonavelApp::FindRegistrationSwitch("-RegServer more"), R::None);
    QCOMPARE(CSonavelApp::FindRegistrationSwitch("-RegServer "), R::None);
    QCOMPARE(CSonavelApp::FindRegistrationSwitch("RegServer"), R::None);
    QCOMPARE(CSonavelApp::FindRegistrationSwitch(""), R::None);
}

void StartupTest::embeddingSwitch()
{
    QVERIFY(CSonavelApp::IsEmbeddingStart({"-Embedding"}));
    QVERIFY(CSonavelApp::IsEmbeddingStart({"x", "/automation"}));
    QVERIFY(!CSonavelApp::IsEmbeddingStart({"Embedding"}));
    QVERIFY(!CSonavelApp::IsEmbeddingStart({}));
}

void StartupTest::firstStartWritesLocaleAndLoadsCodePages()
{
    TempFolder folder;
    folder.write("CodePage.txt", TestFiles::encode("# list\r\n932,日本語\r\n1252,西欧\r\n", 932));
    MessageBoxRecorder boxes;
    CSonavelApp app(folder.file("player"));
    bool ran = false;
    app.SetMainWindowRunner([&] { ran = CSonavelApp::Instance() == &app; });
    QCOMPARE(app.Run({}), 0);
    QVERIFY(ran);
    QCOMPARE(boxes.count(), 0);
    QCOMPARE(Profile::path(), folder.file("player.ini"));
    QVERIFY(QString::fromUtf8(TestFiles::readBytes(folder.file("player.ini"))).contains("[CSonavelApp]\nLocale=jpn\n"));
    QCOMPARE(RuntimeLocale::current().ansiCodePage(), 932);
    QCOMPARE(app.CodePages().Count(), 2);
    QCOMPARE(app.CodePages().Entry(1).Name, QString("西欧"));
}

void StartupTest::missingCodePageFileIsReportedOnce()
{
    TempFolder folder;
    MessageBoxRecorder boxes;
    CSonavelApp app(folder.file("player"));
    bool ran = false;
    app.SetMainWindowRunner([&] { ran = true; });
    QCOMPARE(app.Run({}), 0);
    QVERIFY(ran); // the player goes on with an empty table
    QCOMPARE(boxes.count(), 1);
    QCOMPARE(boxes.prompts()[0].text, QString("Read file error (CodePage.txt)"));
    QCOMPARE(boxes.prompts()[0].caption, QString("player"));
    QCOMPARE(boxes.prompts()[0].flags, unsigned(MB_OK));
    QCOMPARE(app.CodePages().Count(), 0);
}

void StartupTest::unknownLocaleLeavesLocale()
{
    TempFolder folder;
    folder.write("player.ini", "[CSonavelApp]\nLocale=klingon\n");
    folder.write("CodePage.txt", "1252,x\n");
    RuntimeLocale::current().set("chs");
    CSonavelApp app(folder.file("player"));
    app.SetMainWindowRunner([] {});
    app.Run({});
    QCOMPARE(RuntimeLocale::current().ansiCodePage(), 936);
    QVERIFY(QString::fromUtf8(TestFiles::readBytes(folder.file("player.ini"))).contains("Locale=klingon"));
}

void StartupTest::secondInstanceExitsAtOnce()
{
    ProcessFixture fixture;
    QProcess first;
    fixture.start(first);
    QVERIFY(first.waitForStarted());
    QVERIFY(waitUntil([&] { return fixture.ini().contains("Locale=jpn"); }));
    QProcess second;
    fixture.start(second);
    QVERIFY(second.waitForFinished(5000));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    QCOMPARE(first.state(), QProcess::Running);
    first.kill();
    first.waitForFinished();
}

void StartupTest::terminationSavesSettings()
{
    ProcessFixture fixture;
    QProcess player;
    fixture.start(player);
    QVERIFY(player.waitForStarted());
    QVERIFY(waitUntil([&] { return fixture.ini().contains("UpdateTimerInterval"); }));
    terminate(player);
    QVERIFY(player.waitForFinished(10000));
    QCOMPARE(player.exitStatus(), QProcess::NormalExit);
    QCOMPARE(player.exitCode(), 0);
    const QString ini = fixture.ini();
    for (const char* expected : {"Locale=jpn", "KaraokeEditorPath=", "UpdateTimerInterval=50", "Loop=1", "AutoStart=1"})
        QVERIFY2(ini.contains(expected), expected);
}

void StartupTest::registrationInstallsAndRemovesDesktopEntry()
{
    ProcessFixture fixture;
    QProcess process;
    fixture.start(process, {"-RegServer"});
    QVERIFY(process.waitForFinished(5000));
    QCOMPARE(process.exitCode(), 0);
    const QString entry = QString::fromUtf8(TestFiles::readBytes(fixture.desktopEntry()));
    QVERIFY(entry.contains("X-Sonavel-AppID={6C597AD9-09E6-4C51-BB29-5D13DCF549C1}"));
    // The installed entry line for line, with this executable in Exec.
    QStringList expected = CSonavelApp::InstalledDesktopEntry().trimmed().split('\n');
    QVERIFY(expected.contains("Exec=sonavel %f"));
    expected.replace(expected.indexOf("Exec=sonavel %f"), "Exec=\"" + fixture.executable() + "\" %f");
    expected.append("X-Sonavel-AppID={6C597AD9-09E6-4C51-BB29-5D13DCF549C1}");
    QCOMPARE(entry.trimmed().split('\n'), expected);
    QProcess validate;
    validate.start("desktop-file-validate", {fixture.desktopEntry()});
    QVERIFY(validate.waitForFinished(10000));
    QVERIFY2(validate.exitCode() == 0, validate.readAllStandardOutput().constData());
    QVERIFY(fixture.ini().isEmpty()); // registration ends before the profile is touched
    fixture.start(process, {"/unregserver"});
    QVERIFY(process.waitForFinished(5000));
    QVERIFY(!QFile::exists(fixture.desktopEntry()));
}

void StartupTest::registeredEntryQuotesTheExecutable_data()
{
    QTest::addColumn<QString>("executable");
    QTest::addColumn<QString>("exec");
    QTest::newRow("plain") << "/opt/sonavel/bin/sonavel" << R"(Exec="/opt/sonavel/bin/sonavel" %f)";
    QTest::newRow("space") << "/home/a b/sonavel" << R"(Exec="/home/a b/sonavel" %f)";
    QTest::newRow("percent") << "/x/100%/sonavel" << R"(Exec="/x/100%%/sonavel" %f)";
    QTest::newRow("reserved") << R"(/x/$a`b"c\d/sonavel)" << R"(Exec="/x/\\$a\\`b\\"c\\\\d/sonavel" %f)";
}

void StartupTest::registeredEntryQuotesTheExecutable()
{
    QFETCH(QString, executable);
    QFETCH(QString, exec);
    const QString entry = DesktopRegistration::RegisteredEntry("Sonavel", "[Desktop Entry]\nName=S\nExec=sonavel %f\n",
                                                               executable, "{id}");
    QCOMPARE(entry, "[Desktop Entry]\nName=S\n" + exec + "\nX-Sonavel-AppID={id}\n");
}

void StartupTest::anotherExecutableNameGivesAnotherIni()
{
    ProcessFixture fixture("karaoke-player");
    QProcess player;
    fixture.start(player, {"-RegServer", "-extra"}); // not last: the player starts normally
    QVERIFY(player.waitForStarted());
    QVERIFY(waitUntil([&] { return fixture.ini().contains("Locale=jpn"); }));
    QVERIFY(!QFile::exists(fixture.desktopEntry()));
    terminate(player);
    QVERIFY(player.waitForFinished(10000));
}

void StartupTest::aboutBoxShowsTheBuildsValues()
{
    TempFolder folder;
    MessageBoxRecorder boxes; // no CodePage.txt here
    CSonavelApp app(folder.file("sonavel"));
    QStringList labels;
    app.SetMainWindowRunner([&] {
        CAboutDlg about(QStringLiteral("Sonavelのﾊﾞｰｼﾞｮﾝ情報"), true);
        for (int id : {CAboutDlg::IdProductNameVersion, CAboutDlg::IdLegalCopyright, CAboutDlg::IdCompanyName,
                       CAboutDlg::IdComments})
            labels << DlgItem<QLabel>(&about, id)->text();
    });
    QCOMPARE(app.Run({}), 0);
    QCOMPARE(labels.size(), 4);
    QCOMPARE(labels[0], QStringLiteral("Sonavel ver " SONAVEL_EXPECTED_VERSION));
    QCOMPARE(labels[1], QStringLiteral(SONAVEL_EXPECTED_COPYRIGHT));
    QCOMPARE(labels[2], QStringLiteral(SONAVEL_EXPECTED_COMPANY));
    QVERIFY(!labels[3].isEmpty() && labels[3] != QStringLiteral("Comments"));
}

// Message-box buttons (and Qt's choosers) speak the program's language.
void StartupTest::qtOwnTextsAreJapanese()
{
    TempFolder folder;
    MessageBoxRecorder boxes;
    CSonavelApp app(folder.file("sonavel"));
    QStringList texts;
    app.SetMainWindowRunner([&] {
        QMessageBox box;
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel | QMessageBox::Ok);
        for (QMessageBox::StandardButton button : {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel, QMessageBox::Ok}) {
            // Without the mnemonic: "はい(&Y)" reads はい.
            static const QRegularExpression mnemonic(QStringLiteral("\\(&.\\)|&"));
            texts << box.button(button)->text().remove(mnemonic);
        }
    });
    QCOMPARE(app.Run({}), 0);
    QCOMPARE(texts, (QStringList{"はい", "いいえ", "キャンセル", "OK"}));
}

// However many signals come before the program reads them, the code they interrupt keeps its
// errno, the handler never blocks, and the end is still asked for.
void StartupTest::signalFloodKeepsErrnoAndStillEnds()
{
    TerminationSignals termination;
    QSignalSpy requests(&termination, &TerminationSignals::terminationRequested);
    for (int i = 0; i < 20000; ++i) {
        errno = EDOM;
        ::raise(SIGHUP);
        if (errno != EDOM)
            QFAIL(qPrintable(QStringLiteral("errno %1 after signal %2").arg(errno).arg(i)));
    }
    QTRY_VERIFY(!requests.isEmpty());
    QCOMPARE(requests.first().first().toInt(), int(SIGHUP));
}

SONAVEL_TEST_MAIN(StartupTest)
#include "StartupTest.moc"
