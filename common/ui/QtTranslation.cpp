#include "common/ui/QtTranslation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <memory>

namespace {

const QString kCatalog = QStringLiteral("qtbase_ja");

} // namespace

bool InstallQtTranslation()
{
    QCoreApplication* application = QCoreApplication::instance();
    // The translator is a child of the application object, found again by its name.
    if (application->findChild<QTranslator*>(kCatalog, Qt::FindDirectChildrenOnly))
        return true;
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(kCatalog, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    translator->setObjectName(kCatalog);
    translator->setParent(application);
    return QCoreApplication::installTranslator(translator.release());
}
