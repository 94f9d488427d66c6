// Who may include whom: the folders form layers, and a lower one never reaches up.
#include "tests/support/TestMain.h"

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>

class IncludeRulesTest : public QObject
{
    Q_OBJECT
private slots:
    void lowerFoldersNeverIncludeHigherOnes_data();
    void lowerFoldersNeverIncludeHigherOnes();
};

void IncludeRulesTest::lowerFoldersNeverIncludeHigherOnes_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QStringList>("forbidden");
    QTest::newRow("platform") << "platform" << QStringList{"common/", "player/", "renamer/"};
    QTest::newRow("common") << "common" << QStringList{"player/", "renamer/"};
    QTest::newRow("renamer") << "renamer" << QStringList{"player/"};
    // The player's settings vocabulary sits below every player folder; the main window on top.
    QTest::newRow("player settings") << "player/settings" << QStringList{"player/app/", "player/widgets/"};
    for (const char* area : {"player/karaoke", "player/library", "player/widgets", "player/dialogs"})
        QTest::newRow(area) << area << QStringList{"player/app/"};
}

void IncludeRulesTest::lowerFoldersNeverIncludeHigherOnes()
{
    QFETCH(QString, folder);
    QFETCH(QStringList, forbidden);
    const QString root = qEnvironmentVariable("SONAVEL_SOURCE_DIR");
    if (root.isEmpty())
        QSKIP("SONAVEL_SOURCE_DIR is not set (run through CTest)");
    static const QRegularExpression include(QStringLiteral("^\\s*#\\s*include\\s*\"([^\"]+)\""),
                                            QRegularExpression::MultilineOption);
    int files = 0;
    QDirIterator it(root + '/' + folder, {"*.h", "*.cpp"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        QVERIFY(file.open(QIODevice::ReadOnly));
        ++files;
        auto matches = include.globalMatch(QString::fromUtf8(file.readAll()));
        while (matches.hasNext()) {
            const QString included = matches.next().captured(1);
            for (const QString& prefix : forbidden)
                QVERIFY2(!included.startsWith(prefix), qPrintable(it.filePath() + " includes " + included));
        }
    }
    QVERIFY(files > 0);
}

SONAVEL_TEST_MAIN(IncludeRulesTest)
#include "IncludeRulesTest.moc"
