#include "player/app/SonavelApp.h"

#include "common/ui/MessageBox.h"
#include "common/ui/QtTranslation.h"
#include "common/ui/VersionResource.h"
#include "platform/profile/Profile.h"
#include "platform/shell/DesktopRegistration.h"
#include "platform/shell/InstanceChannel.h"
#include "platform/shell/InstanceLock.h"
#include "platform/shell/TerminationSignals.h"
#include "platform/text/RuntimeLocale.h"
#include "player/app/SonavelDlg.h"
#include "player/app/SonavelStrings.h"
#include "player/app/SonavelVersion.h"
#include "player/settings/ProfileHelpers.h"
#include "player/settings/SettingsKeys.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTimer>
#include <QUrl>

#include <malloc.h>

namespace {

CSonavelApp* g_instance = nullptr;
constexpr int kMappedBlockBytes = 256 * 1024;

} // namespace

CSonavelApp::CSonavelApp(const QString& executablePath) : m_executableParts(executablePath)
{
}

CSonavelApp::~CSonavelApp()
{
    if (g_instance == this)
        g_instance = nullptr;
}

CSonavelApp* CSonavelApp::Instance()
{
    return g_instance;
}

int CSonavelApp::Run(const QStringList& arguments)
{
    // Large blocks are mapped and go straight back to the system when freed. Otherwise glibc
    // raises its threshold after the first large block is freed, and the megabytes mpv's
    // threads take to open each track stay in their arenas for good.
    mallopt(M_MMAP_THRESHOLD, kMappedBlockBytes);
    g_instance = this;
    RegisterSonavelStrings();
    RegisterVersionResource();
    const QString path = FindPathArgument(arguments, QDir::currentPath());
    m_instanceLock = std::make_unique<InstanceLock>(QString::fromLatin1(MutexName));
    if (!m_instanceLock->acquire()) {
        // The running instance shows or plays the path; this start ends either way.
        if (!path.isEmpty())
            InstanceChannel::send(QString::fromLatin1(MutexName), path);
        return 0;
    }
    if (HandleRegistration(FindRegistrationSwitch(arguments.join(' '))))
        return 0;
    if (IsEmbeddingStart(arguments))
        return 0;
    FixProfileFile();
    InstallLanguage();
    SetLocale();
    LoadCodePages();
    RunMainWindow(path);
    return 0;
}

CSonavelApp::RegistrationSwitch CSonavelApp::FindRegistrationSwitch(const QString& commandLine)
{
    for (qsizetype i = 0; i < commandLine.size(); ++i) {
        if (commandLine[i] != '-' && commandLine[i] != '/')
            continue;
        const QStringView rest = QStringView(commandLine).mid(i + 1);
        if (rest.compare(QLatin1String("UnregServer"), Qt::CaseInsensitive) == 0)
            return RegistrationSwitch::Unregister;
        if (rest.compare(QLatin1String("RegServer"), Qt::CaseInsensitive) == 0)
            return RegistrationSwitch::Register;
    }
    return RegistrationSwitch::None;
}

bool CSonavelApp::IsEmbeddingStart(const QStringList& arguments)
{
    for (const QString& argument : arguments) {
        if (argument.size() < 2 || (argument[0] != '-' && argument[0] != '/'))
            continue;
        const QStringView name = QStringView(argument).mid(1);
        if (name.compare(QLatin1String("Embedding"), Qt::CaseInsensitive) == 0 ||
            name.compare(QLatin1String("Automation"), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

void CSonavelApp::RegisterVersionResource()
{
    CVersionResource::SetApplication(
        {{QStringLiteral("ProductName"), QStringLiteral(SONAVEL_PRODUCT_NAME)},
         {QStringLiteral("ProductVersion"), QStringLiteral(SONAVEL_PRODUCT_VERSION)},
         {QStringLiteral("LegalCopyright"), QStringLiteral(SONAVEL_COPYRIGHT)},
         {QStringLiteral("CompanyName"), QStringLiteral(SONAVEL_COMPANY)},
         {QStringLiteral("Comments"),
          QString::fromUtf8(QT_TRANSLATE_NOOP("Ui", "歌詞が曲に合わせて流れる音楽プレーヤー"))}});
}

QString CSonavelApp::FindPathArgument(const QStringList& arguments, const QString& workingFolder)
{
    for (qsizetype i = arguments.size() - 1; i >= 0; --i) {
        const QString& argument = arguments[i];
        if (argument.isEmpty() || FindRegistrationSwitch(argument) != RegistrationSwitch::None ||
            IsEmbeddingStart({argument}) || argument.startsWith(QLatin1Char('-')))
            continue;
        const QUrl url(argument);
        if (url.isLocalFile())
            return QFileInfo(url.toLocalFile()).absoluteFilePath();
        return QFileInfo(QDir(workingFolder), argument).absoluteFilePath();
    }
    return {};
}

QString CSonavelApp::InstalledDesktopEntry()
{
    QFile entry(QStringLiteral(":/sonavel.desktop"));
    return entry.open(QIODevice::ReadOnly) ? QString::fromUtf8(entry.readAll()) : QString();
}

bool CSonavelApp::HandleRegistration(RegistrationSwitch registration) const
{
    switch (registration) {
    case RegistrationSwitch::Register:
        DesktopRegistration::Install(QStringLiteral("Sonavel"), InstalledDesktopEntry(), m_executableParts.Path(),
                                     QString::fromLatin1(AppId));
        return true;
    case RegistrationSwitch::Unregister:
        DesktopRegistration::Remove(QStringLiteral("Sonavel"));
        return true;
    case RegistrationSwitch::None:
        break;
    }
    return false;
}

QString CSonavelApp::ProfilePath() const
{
    return Profile::path();
}

void CSonavelApp::FixProfileFile()
{
    const QString fileName = m_executableParts.Title + QStringLiteral(".ini");
    Profile::setPath(Profile::locateBesideExecutable(m_executableParts.Path(), fileName),
                     Profile::userConfigPath(m_executableParts.Title, fileName));
}

void CSonavelApp::InstallLanguage()
{
    const QString setting = GetProfileString(QString::fromLatin1(Settings::App::Section),
                                             QString::fromLatin1(UiLanguageSetting::Key), QString());
    InstallTranslations(ChooseUiLanguage(setting));
}

void CSonavelApp::SetLocale()
{
    const QString locale = GetProfileStringInit(Settings::App::Section, Settings::App::Locale,
                                                QString::fromLatin1(Settings::App::DefaultLocale));
    RuntimeLocale::current().set(locale);
}

QString CSonavelApp::CodePageFilePath() const
{
    const QString beside = m_executableParts.Folder + QStringLiteral("/CodePage.txt");
    if (QFileInfo::exists(beside))
        return beside;
    const QString installed = m_executableParts.Folder + QStringLiteral("/../share/sonavel/CodePage.txt");
    return QFileInfo::exists(installed) ? QFileInfo(installed).absoluteFilePath() : beside;
}

int CSonavelApp::LoadCodePageFile(const QString& path)
{
    return m_codePages.Load(path, RuntimeLocale::current().ansiCodePage());
}

void CSonavelApp::LoadCodePages()
{
    if (LoadCodePageFile(CodePageFilePath()) == -1)
        ShowMessageBox(nullptr, QStringLiteral("Read file error (CodePage.txt)"), ApplicationName(), MB_OK);
}

void CSonavelApp::RunMainWindow(const QString& path)
{
    if (m_runMainWindow) {
        m_runMainWindow();
        return;
    }
    // A log-off, SIGTERM or SIGHUP ends the program through the main window's own closing path;
    // caught from before the window is made, a signal during its start-up waits for it.
    TerminationSignals termination;
    CSonavelDlg dialog(nullptr, CSonavelDlg::StartFolder::AfterFirstPaint);
    // Later starts hand their paths over through the channel while this one runs.
    InstanceChannel channel(QString::fromLatin1(MutexName));
    QObject::connect(&channel, &InstanceChannel::messageReceived, &dialog, &CSonavelDlg::OpenPath);
    channel.listen();
    if (!path.isEmpty())
        dialog.SetStartPath(path);
    QObject::connect(&termination, &TerminationSignals::terminationRequested, &dialog, &CSonavelDlg::EndSession);
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, &dialog, &CSonavelDlg::EndSession);
    dialog.exec();
}
