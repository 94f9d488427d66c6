#include "common/ui/AboutDlg.h"
#include "platform/profile/Profile.h"
#include "renamer/BrindleApp.h"
#include "tests/brindle/BrindleTestSupport.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QDir>
#include <QLabel>
#include <QTimer>
#include <QFontInfo>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

using namespace BrindleTestSupport;

// Brindle as the user meets it on a real X server: the program's own start-up, a drop of a
// UTF-16 list from a file manager, a run, and the window as drawn.
class BrindleXvfbTest : public QObject
{
    Q_OBJECT

private slots:
    void dropPreviewAndRun();
};

void BrindleXvfbTest::dropPreviewAndRun()
{
    TempFolder folder;
    const QString bin = folder.mkdir(QStringLiteral("bin"));
    CBrindleApp app(bin + QStringLiteral("/brindle"));
    app.InitInstance();
    QCOMPARE(Profile::path(), bin + QStringLiteral("/brindle.ini"));

    const QString music = folder.mkdir(QStringLiteral("music"));
    touch(music, QStringLiteral("Track01.MP3"), "first");
    touch(music, QStringLiteral("Track02.mp3"), "second");
    touch(music, QStringLiteral("Track03.mp3"), "third");
    touch(music, QStringLiteral("既存.mp3"), "existing");
    const QString list = folder.write(QStringLiteral("music/リスト.txt"),
                                      utf16List({QStringLiteral("# 2026 年のアルバム"),
                                                 QStringLiteral("Track01.MP3\t01 春の歌"),
                                                 QStringLiteral("Track02.mp3\t既存"),
                                                 QStringLiteral("Track03.mp3\t03 冬の歌.mp3"),
                                                 QStringLiteral("Track04.mp3\t04 消えた曲")}));

    MessageBoxRecorder prompts;
    {
        CBrindleDlg dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QVERIFY(dropFiles(dialog, {list}));
        QCOMPARE(DlgItem<QLineEdit>(&dialog, CBrindleDlg::IdFolder)->text(), music);
        QCOMPARE(dialog.RowCount(), 4);
        QCOMPARE(dialog.Row(0).newName, QStringLiteral("01 春の歌.mp3"));

        // The window as drawn: Japanese text in a CJK font, rows visible.
        const QFontInfo font(DlgItem<QTreeWidget>(&dialog, CBrindleDlg::IdList)->font());
        QVERIFY2(font.family().contains(QStringLiteral("CJK")), qPrintable(font.family()));
        dialog.activateWindow();
        QTest::qWait(100);
        const QImage shot = dialog.grab().toImage();
        QCOMPARE(shot.size(), dialog.size() * dialog.devicePixelRatio());
        const QString artifacts = qEnvironmentVariable("SONAVEL_BINARY_DIR") + QStringLiteral("/artifacts");
        QDir().mkpath(artifacts);
        QVERIFY(shot.save(artifacts + QStringLiteral("/brindle.png")));

        // The About box from F1, with the values the build placed and the program icon.
        QImage aboutShot;
        QString product;
        QTimer::singleShot(200, [&] {
            if (auto* about = qobject_cast<CAboutDlg*>(QApplication::activeModalWidget())) {
                product = DlgItem<QLabel>(about, CAboutDlg::IdProductNameVersion)->text();
                aboutShot = about->grab().toImage();
                about->accept();
            }
        });
        QTest::keyClick(&dialog, Qt::Key_F1);
        QCOMPARE(product, QStringLiteral("Brindle ver ") + QStringLiteral(SONAVEL_EXPECTED_VERSION));
        QVERIFY(aboutShot.save(artifacts + QStringLiteral("/brindle-about.png")));

        prompts.queueAnswer(IDNO);   // keep 既存.mp3
        DlgItem<QPushButton>(&dialog, CBrindleDlg::IdRun)->click();
        dialog.reject();
    }

    QCOMPARE(prompts.count(), 3);
    QCOMPARE(prompts.prompts()[0].text, QStringLiteral("ファイル\"既存.mp3\"は既に存在します。上書きしますか？"));
    QCOMPARE(prompts.prompts()[1].text, QStringLiteral("ファイル\"Track04.mp3\"が存在しません"));
    QCOMPARE(prompts.prompts()[2].text, QStringLiteral("2個のファイル名を変更しました！"));
    QCOMPARE(entries(music), (QStringList{QStringLiteral("01 春の歌.mp3"), QStringLiteral("03 冬の歌.mp3"),
                                          QStringLiteral("Track02.mp3"), QStringLiteral("リスト.txt"),
                                          QStringLiteral("既存.mp3")}));
    QCOMPARE(TestFiles::readBytes(music + QStringLiteral("/01 春の歌.mp3")), QByteArray("first"));
    QCOMPARE(TestFiles::readBytes(music + QStringLiteral("/既存.mp3")), QByteArray("existing"));
    // The window's rectangle went to the profile beside the executable.
    QVERIFY(GetProfileInt(QStringLiteral("WindowPos"), QStringLiteral("Right"), -1) > 0);
    QVERIFY(TestFiles::readBytes(bin + QStringLiteral("/brindle.ini")).contains("[WindowPos]"));
}

SONAVEL_TEST_MAIN(BrindleXvfbTest)
#include "BrindleXvfbTest.moc"
