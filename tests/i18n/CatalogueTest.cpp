// The English catalogue against the code: lupdate finds no text the catalogue lacks and keeps none
// the code dropped, every entry is finished, English and keeps its placeholders, every string-table
// text of both programs is translated, and the language follows the setting, then the desktop.
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include "common/ui/QtTranslation.h"
#include "common/ui/StringTable.h"
#include "common/ui/Ui.h"
#include "player/app/SonavelStrings.h"
#include "player/dialogs/DialogStrings.h"
#include "player/karaoke/KaraokeControlStrings.h"
#include "player/karaoke/OnlineLyricsStrings.h"
#include "player/library/LibraryStrings.h"
#include "renamer/BrindleStrings.h"

#include <QLibraryInfo>
#include <QProcess>
#include <QRegularExpression>

namespace {

const QRegularExpression kJapanese(QStringLiteral("[\\x{3040}-\\x{30ff}\\x{3400}-\\x{9fff}\\x{ff00}-\\x{ffef}]"));

// Each message of a .ts file: source, translation, its type attribute ("unfinished"...) and the
// comment telling apart two uses of one source.
QList<QStringList> Messages(const QString& path)
{
    static const QRegularExpression message(
        QStringLiteral("<source>(.*?)</source>\\s*(?:<comment>(.*?)</comment>\\s*)?"
                       "<translation(?: type=\"(\\w+)\")?>(.*?)</translation>"),
        QRegularExpression::DotMatchesEverythingOption);
    QList<QStringList> messages;
    for (const QRegularExpressionMatch& match : message.globalMatch(QString::fromUtf8(TestFiles::readBytes(path))))
        messages.append({match.captured(1), match.captured(4), match.captured(3), match.captured(2)});
    return messages;
}

QStringList Placeholders(const QString& text)
{
    static const QRegularExpression placeholder(QStringLiteral("%[sd1-9]"));
    QStringList found;
    for (const QRegularExpressionMatch& match : placeholder.globalMatch(text))
        found << match.captured();
    found.sort();
    return found;
}

const QString kCatalogue = qEnvironmentVariable("SONAVEL_SOURCE_DIR") + QStringLiteral("/translations/sonavel_en.ts");

} // namespace

class CatalogueTest : public QObject
{
    Q_OBJECT
private slots:
    void catalogueHoldsExactlyTheCodesTextsFinished()
    {
        // lupdate over the sources, as the update_translations target runs it, on a copy.
        TempFolder folder;
        const QString copy = folder.write("sonavel_en.ts", TestFiles::readBytes(kCatalogue));
        QProcess lupdate;
        lupdate.setWorkingDirectory(qEnvironmentVariable("SONAVEL_SOURCE_DIR"));
        lupdate.start(QLibraryInfo::path(QLibraryInfo::BinariesPath) + "/lupdate",
                      {"-silent", "-locations", "none", "-no-obsolete", "-extensions", "cpp,h", "-I", ".", "common",
                       "platform", "player", "renamer", "-ts", copy});
        QVERIFY(lupdate.waitForFinished(120000) && lupdate.exitCode() == 0);
        const QList<QStringList> kept = Messages(kCatalogue);
        QVERIFY(kept.size() > 200);
        QCOMPARE(Messages(copy), kept);
        QStringList faults;
        for (const QStringList& entry : kept)
            if (!entry[2].isEmpty() || entry[1].trimmed().isEmpty() || entry[1].contains(kJapanese) ||
                Placeholders(entry[0]) != Placeholders(entry[1]))
                faults << entry.join(" | ");
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
    }

    // The tables as the programs register them, looked up through the compiled catalogue.
    void everyStringTableTextTranslated()
    {
        QVERIFY(InstallTranslations(UiLanguage::English));
        // Both programs number their tables alike: Brindle's are read before Sonavel's replace ids.
        BrindleStrings::Register();
        QStringList sources = StringTable::sources();
        RegisterSonavelStrings();
        RegisterDialogStrings();
        RegisterLibraryStrings();
        RegisterOnlineLyricsStrings();
        RegisterKaraokeControlStrings();
        sources << StringTable::sources();
        QVERIFY(sources.size() > 150);
        QStringList untranslated;
        for (const QString& source : sources)
            if (Ui::tr(source.toUtf8().constData()).contains(kJapanese))
                untranslated << source;
        QVERIFY2(untranslated.isEmpty(), qPrintable(untranslated.join('\n')));
    }

    void languageFollowsSettingThenDesktop_data()
    {
        QTest::addColumn<QString>("setting");
        QTest::addColumn<QStringList>("desktop");
        QTest::addColumn<bool>("japanese");
        QTest::newRow("ja desktop") << "" << QStringList{"ja-JP", "ja"} << true;
        QTest::newRow("C locale") << "auto" << QStringList{"C"} << false;
        QTest::newRow("German desktop") << "" << QStringList{"de-DE", "de"} << false;
        QTest::newRow("LANGUAGE=fr:ja") << "" << QStringList{"fr", "ja"} << true;
        QTest::newRow("en set, ja desktop") << "en" << QStringList{"ja-JP"} << false;
        QTest::newRow("JA set, en desktop") << " JA " << QStringList{"en-US"} << true;
        QTest::newRow("unknown setting") << "fr" << QStringList{"ja_JP.UTF-8"} << true;
    }

    void languageFollowsSettingThenDesktop()
    {
        QFETCH(QString, setting);
        QFETCH(QStringList, desktop);
        QFETCH(bool, japanese);
        QCOMPARE(ChooseUiLanguage(setting, desktop) == UiLanguage::Japanese, japanese);
    }
};

SONAVEL_TEST_MAIN(CatalogueTest)
#include "CatalogueTest.moc"
