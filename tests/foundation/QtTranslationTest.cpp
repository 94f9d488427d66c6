// Qt's own texts in the renamer: English until its start-up installs Qt's Japanese translation.
#include "common/ui/QtTranslation.h"
#include "renamer/BrindleApp.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QMessageBox>
#include <QPushButton>
#include <QTranslator>

namespace {

QString yesText()
{
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Yes);
    return box.button(QMessageBox::Yes)->text();
}

} // namespace

class QtTranslationTest : public QObject
{
    Q_OBJECT
private slots:
    void renamerStartUpInstallsItOnce()
    {
        QCOMPARE(yesText(), QStringLiteral("&Yes"));
        TempFolder folder;
        CBrindleApp brindle(folder.file("brindle"));
        brindle.InitInstance();
        QCOMPARE(yesText(), QStringLiteral("はい(&Y)"));
        QVERIFY(InstallQtTranslation());
        QCOMPARE(qApp->findChildren<QTranslator*>(QString(), Qt::FindDirectChildrenOnly).size(), 1);
    }
};

SONAVEL_TEST_MAIN(QtTranslationTest)
#include "QtTranslationTest.moc"
