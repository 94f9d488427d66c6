#include "common/ui/AboutDlg.h"
#include "tests/support/TestMain.h"

#include <QLabel>
#include <QPushButton>

namespace {

QString labelText(const QDialog& dialog, int id)
{
    const auto* label = DlgItem<QLabel>(&dialog, id);
    return label ? label->text() : QStringLiteral("<missing>");
}

const CVersionResource kFull{{"ProductName", "Sonavel"},
                             {"ProductVersion", "1.2.3"},
                             {"LegalCopyright", "Copyright (C) 2026"},
                             {"CompanyName", "Makers"},
                             {"Comments", "Karaoke player"}};

} // namespace

class AboutDlgTest : public QObject
{
    Q_OBJECT

private slots:
    void showsAllValues();
    void productWithoutVersion();
    void missingValueKeepsTemplateText();
    void noResourceKeepsTemplate();
    void mediaPlayerVersion();
    void renamerBoxHasNoMediaPlayerGroup();
    void okCloses();
};

void AboutDlgTest::showsAllValues()
{
    CAboutDlg about(QStringLiteral("Sonavelのﾊﾞｰｼﾞｮﾝ情報"), true, nullptr, kFull);
    QCOMPARE(about.windowTitle(), QStringLiteral("Sonavelのﾊﾞｰｼﾞｮﾝ情報"));
    QCOMPARE(labelText(about, CAboutDlg::IdProductNameVersion), QStringLiteral("Sonavel ver 1.2.3"));
    QCOMPARE(labelText(about, CAboutDlg::IdLegalCopyright), QStringLiteral("Copyright (C) 2026"));
    QCOMPARE(labelText(about, CAboutDlg::IdCompanyName), QStringLiteral("Makers"));
    QCOMPARE(labelText(about, CAboutDlg::IdComments), QStringLiteral("Karaoke player"));
}

void AboutDlgTest::productWithoutVersion()
{
    const CVersionResource resource{{"ProductName", "Brindle"}};
    QCOMPARE(CAboutDlg::ProductNameAndVersion(resource), QStringLiteral("Brindle"));
    const CVersionResource versionOnly{{"ProductVersion", "2.0"}};
    QCOMPARE(CAboutDlg::ProductNameAndVersion(versionOnly), QStringLiteral(" ver 2.0"));
}

void AboutDlgTest::missingValueKeepsTemplateText()
{
    const CVersionResource resource{{"ProductName", "Brindle"}, {"CompanyName", "Makers"}};
    CAboutDlg about(QStringLiteral("Brindleのﾊﾞｰｼﾞｮﾝ情報"), false, nullptr, resource);
    QCOMPARE(labelText(about, CAboutDlg::IdProductNameVersion), QStringLiteral("Brindle"));
    QCOMPARE(labelText(about, CAboutDlg::IdCompanyName), QStringLiteral("Makers"));
    QCOMPARE(labelText(about, CAboutDlg::IdLegalCopyright), QStringLiteral("LegalCopyright"));
    QCOMPARE(labelText(about, CAboutDlg::IdComments), QStringLiteral("Comments"));
}

void AboutDlgTest::noResourceKeepsTemplate()
{
    CAboutDlg about(QStringLiteral("x"), true, nullptr, CVersionResource());
    QCOMPARE(labelText(about, CAboutDlg::IdProductNameVersion), QStringLiteral("ProductName & ProductVersion"));
    QCOMPARE(labelText(about, CAboutDlg::IdComments), QStringLiteral("Comments"));
    // The media player label is filled even without a resource: empty when nothing was given.
    QCOMPARE(labelText(about, CAboutDlg::IdMediaPlayerVersion), QString());
}

void AboutDlgTest::mediaPlayerVersion()
{
    CAboutDlg about(QStringLiteral("Sonavelのﾊﾞｰｼﾞｮﾝ情報"), true, nullptr, kFull);
    QCOMPARE(labelText(about, CAboutDlg::IdMediaPlayerVersion), QString());
    about.SetMediaPlayerVersion(QStringLiteral("mpv 0.35.1"));
    QCOMPARE(labelText(about, CAboutDlg::IdMediaPlayerVersion), QStringLiteral("mpv 0.35.1"));
    QCOMPARE(about.MediaPlayerVersion(), QStringLiteral("mpv 0.35.1"));
}

void AboutDlgTest::renamerBoxHasNoMediaPlayerGroup()
{
    CAboutDlg about(QStringLiteral("Brindleのﾊﾞｰｼﾞｮﾝ情報"), false, nullptr, kFull);
    QVERIFY(!GetDlgItem(&about, CAboutDlg::IdMediaPlayerVersion));
    QCOMPARE(CAboutDlg::Template(QString(), false).id, 100);
    QVERIFY(CAboutDlg::Template(QString(), true).size.height() > CAboutDlg::Template(QString(), false).size.height());
}

void AboutDlgTest::okCloses()
{
    CAboutDlg about(QStringLiteral("x"), false, nullptr, kFull);
    about.show();
    auto* ok = DlgItem<QPushButton>(&about, 1);
    QVERIFY(ok && ok->isDefault());
    ok->click();
    QVERIFY(!about.isVisible());
    QCOMPARE(about.result(), int(QDialog::Accepted));
}

SONAVEL_TEST_MAIN(AboutDlgTest)
#include "AboutDlgTest.moc"
