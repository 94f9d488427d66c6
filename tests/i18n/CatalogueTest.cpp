// The English catalogue against the code: lupdate finds no text the catalogue lacks or keeps no
// text the code dropped, every entry is finished and keeps its placeholders, every string-table
// text of both programs is translated, and the language follows the setting and the desktop.
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

#include <QFile>
#include <QLibraryInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <algorithm>

namespace {

struct Entry {
    QString source;
    QString translation;
    QString type; // "unfinished", "vanished", "obsolete" or empty
};

QList<Entry> ReadCatalogue(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    QList<Entry> entries;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("message")) {
            entries.append(Entry());
        } else if (xml.name() == QLatin1String("source")) {
            entries.back().source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            entries.back().type = xml.attributes().value(QLatin1String("type")).toString();
            entries.back().translation = xml.readElementText();
        }
    }
    if (xml.hasError())
        qFatal("%s: %s", qPrintable(path), qPrintable(xml.errorString()));
    return entries;
}

QStringList Sources(const QList<Entry>& entries)
{
    QStringList sources;
    for (const Entry& entry : entries)
        sources << entry.source;
    sources.sort();
    return sources;
}

// The printf and QString placeholders of a text, sorted: a translation keeps every one.
QStringList Placeholders(const QString& text)
{
    static const QRegularExpression placeholder(QStringLiteral("%[sd1-9]"));
    QStringList found;
    for (const QRegularExpressionMatch& match : placeholder.globalMatch(text))
        found << match.captured();
    found.sort();
    return found;
}

bool HasJapanese(const QString& text)
{
    static const QRegularExpression japanese(
        QStringLiteral("[\\x{3040}-\\x{30ff}\\x{3400}-\\x{9fff}\\x{ff00}-\\x{ffef}]"));
    return text.contains(japanese);
}

QString CataloguePath()
{
    return qEnvironmentVariable("SONAVEL_SOURCE_DIR") + QStringLiteral("/translations/sonavel_en.ts");
}

} // namespace

class CatalogueTest : public QObject
{
    Q_OBJECT
private slots:
    void everyEntryFinishedWithItsPlaceholders()
    {
        const QList<Entry> entries = ReadCatalogue(CataloguePath());
        QVERIFY(entries.size() > 200);
        QStringList faults;
        for (const Entry& entry : entries) {
            if (!entry.type.isEmpty() || entry.translation.trimmed().isEmpty())
                faults << QStringLiteral("not finished: ") + entry.source;
            else if (Placeholders(entry.source) != Placeholders(entry.translation))
                faults << QStringLiteral("placeholders differ: ") + entry.source + " / " + entry.translation;
            else if (HasJapanese(entry.translation))
                faults << QStringLiteral("Japanese left: ") + entry.translation;
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
    }

    // lupdate over the sources, as the update_translations target runs it, on a copy.
    void catalogueHoldsExactlyTheCodesTexts()
    {
        TempFolder folder;
        const QString copy = folder.file("sonavel_en.ts");
        QVERIFY(QFile::copy(CataloguePath(), copy));
        QProcess lupdate;
        lupdate.setWorkingDirectory(qEnvironmentVariable("SONAVEL_SOURCE_DIR"));
        lupdate.start(QLibraryInfo::path(QLibraryInfo::BinariesPath) + QStringLiteral("/lupdate"),
                      {"-silent", "-locations", "none", "-no-obsolete", "-extensions", "cpp,h", "-I", ".", "common",
                       "platform", "player", "renamer", "-ts", copy});
        QVERIFY(lupdate.waitForFinished(120000));
        QCOMPARE(lupdate.exitCode(), 0);
        const QList<Entry> updated = ReadCatalogue(copy);
        QStringList untranslated;
        for (const Entry& entry : updated)
            if (entry.type == QLatin1String("unfinished"))
                untranslated << entry.source;
        QVERIFY2(untranslated.isEmpty(), qPrintable("not in the catalogue:\n" + untranslated.join('\n')));
        QCOMPARE(Sources(updated), Sources(ReadCatalogue(CataloguePath())));
    }

    // The tables as the programs register them, looked up through the compiled catalogue.
    void everyStringTableTextTranslated()
    {
        QVERIFY(InstallTranslations(UiLanguage::English));
        QStringList sources;
        // Both programs number their tables alike: each is read before the next may replace ids.
        BrindleStrings::Register();
        sources << StringTable::sources();
        RegisterSonavelStrings();
        RegisterDialogStrings();
        RegisterLibraryStrings();
        RegisterOnlineLyricsStrings();
        RegisterKaraokeControlStrings();
        sources << StringTable::sources();
        QVERIFY(sources.size() > 150);
        QStringList untranslated;
        for (const QString& source : sources)
            if (HasJapanese(source) && HasJapanese(Ui::tr(source.toUtf8().constData())))
                untranslated << source;
        QVERIFY2(untranslated.isEmpty(), qPrintable(untranslated.join('\n')));
    }

    void languageFollowsSettingThenDesktop_data()
    {
        QTest::addColumn<QString>("setting");
        QTest::addColumn<QStringList>("desktop");
        QTest::addColumn<bool>("japanese");
        QTest::newRow("ja desktop") << "" << QStringList{"ja-JP", "ja"} << true;
        QTest::newRow("auto, en desktop") << "auto" << QStringList{"en-US", "en"} << false;
        QTest::newRow("C locale") << "auto" << QStringList{"C"} << false;
        QTest::newRow("German desktop") << "" << QStringList{"de-DE", "de"} << false;
        QTest::newRow("LANGUAGE=fr:ja") << "" << QStringList{"fr", "ja"} << true;
        QTest::newRow("LANGUAGE=en:ja") << "" << QStringList{"en", "ja"} << false;
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
