#include "common/ui/QtTranslation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QTranslator>

#include <memory>

namespace {

const QString kQtJapanese = QStringLiteral("qtbase_ja");
// lrelease's output, compiled into the programs (translations/CMakeLists.txt).
const QString kEnglishCatalog = QStringLiteral(":/i18n/sonavel_en.qm");

// A translator is a child of the application object named after its catalogue, found again by it.
bool install(const QString& name, const QString& file, const QString& folder = QString())
{
    QCoreApplication* application = QCoreApplication::instance();
    if (application->findChild<QTranslator*>(name, Qt::FindDirectChildrenOnly))
        return true;
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(file, folder))
        return false;
    translator->setObjectName(name);
    translator->setParent(application);
    return QCoreApplication::installTranslator(translator.release());
}

} // namespace

UiLanguage ChooseUiLanguage(const QString& setting, const QStringList& desktopLanguages)
{
    const QString chosen = setting.trimmed().toLower();
    if (chosen == QLatin1String(UiLanguageSetting::Japanese))
        return UiLanguage::Japanese;
    if (chosen == QLatin1String(UiLanguageSetting::English))
        return UiLanguage::English;
    for (const QString& language : desktopLanguages) {
        const QString code = language.section(QRegularExpression(QStringLiteral("[-_.@]")), 0, 0).toLower();
        if (code == QLatin1String("ja"))
            return UiLanguage::Japanese;
        if (code == QLatin1String("en"))
            return UiLanguage::English;
    }
    return UiLanguage::English;
}

UiLanguage ChooseUiLanguage(const QString& setting)
{
    return ChooseUiLanguage(setting, QLocale::system().uiLanguages());
}

bool InstallTranslations(UiLanguage language)
{
    if (language == UiLanguage::Japanese)
        return install(kQtJapanese, kQtJapanese, QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    return install(kEnglishCatalog, kEnglishCatalog);
}

bool InstallQtTranslation()
{
    return InstallTranslations(UiLanguage::Japanese);
}
