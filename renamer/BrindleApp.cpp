#include "renamer/BrindleApp.h"

#include "common/ui/QtTranslation.h"
#include "common/ui/VersionResource.h"
#include "platform/profile/Profile.h"
#include "platform/shell/TerminationSignals.h"
#include "renamer/BrindleDlg.h"
#include "renamer/BrindleStrings.h"
#include "renamer/BrindleVersion.h"

#include <QApplication>
#include <QFileInfo>
#include <QIcon>
#include <QTimer>

static void initBrindleResources()
{
    Q_INIT_RESOURCE(brindle);
}

CBrindleApp::CBrindleApp(const QString& executablePath) : m_executable(executablePath) {}

QString CBrindleApp::ProfilePath() const
{
    return Profile::locateBesideExecutable(m_executable.Path(), m_executable.Title + QStringLiteral(".ini"));
}

QString CBrindleApp::FallbackProfilePath() const
{
    const QString iniName = m_executable.Title + QStringLiteral(".ini");
    return Profile::userConfigPath(m_executable.Title, iniName);
}

void CBrindleApp::InitInstance()
{
    initBrindleResources();
    BrindleStrings::Register();
    CVersionResource::SetApplication(
        {{QStringLiteral("ProductName"), QStringLiteral(BRINDLE_PRODUCT_NAME)},
         {QStringLiteral("ProductVersion"), QStringLiteral(BRINDLE_PRODUCT_VERSION)},
         {QStringLiteral("LegalCopyright"), QStringLiteral(BRINDLE_COPYRIGHT)},
         {QStringLiteral("CompanyName"), QStringLiteral(BRINDLE_COMPANY)},
         {QStringLiteral("Comments"),
          QString::fromUtf8(QT_TRANSLATE_NOOP("Ui", "リストに従ってファイル名を一括変更します"))}});
    QApplication::setApplicationName(QStringLiteral(BRINDLE_PRODUCT_NAME));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/brindle/brindle.svg")));
    Profile::setPath(ProfilePath(), FallbackProfilePath());
    // The interface's language: the profile's "Language", else the desktop's.
    InstallTranslations(ChooseUiLanguage(
        GetProfileString(QStringLiteral("CBrindleApp"), QString::fromLatin1(UiLanguageSetting::Key), QString())));
}

int CBrindleApp::Run()
{
    return Run(QCoreApplication::arguments().mid(1));
}

int CBrindleApp::Run(const QStringList& arguments)
{
    InitInstance();
    // Caught before the window is made: a signal during its start-up waits for the event loop.
    TerminationSignals termination;
    CBrindleDlg dialog;
    QObject::connect(&termination, &TerminationSignals::terminationRequested, &dialog, &CBrindleDlg::EndSession);
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, &dialog, &CBrindleDlg::EndSession);
    if (arguments.size() == 1)
        dialog.OpenList(QFileInfo(arguments.front()).absoluteFilePath());
    QTimer::singleShot(0, &dialog, &CBrindleDlg::OfferRecovery);
    dialog.exec();
    return 0;
}
