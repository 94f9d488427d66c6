// File names that are not UTF-8, as archives from Windows bring them: kept byte for byte from the
// scan to playback and the lyric lookup, shown decoded in the tags' code page.
#include "platform/engine/Player.h"
#include "platform/text/CodePage.h"
#include "platform/text/NativeName.h"
#include "player/app/LyricCommands.h"
#include "player/app/SonavelDlg.h"
#include "player/karaoke/KaraokeDlg.h"
#include "player/karaoke/KaraokeStatic.h"
#include "player/library/FolderTree.h"
#include "player/library/TrackItem.h"
#include "player/library/TrackListCtrl.h"
#include "player/settings/ProfileHelpers.h"
#include "tests/support/Mp3Fixture.h"
#include "tests/support/PlayerSandbox.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QFile>
#include <QLineEdit>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Writes bytes under a name given as bytes; the folder's path is plain text.
bool writeNamed(const QString& folder, const QByteArray& name, const QByteArray& bytes)
{
    const QByteArray path = NativeName::toBytes(folder) + '/' + name;
    const int descriptor = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const bool written =
        descriptor >= 0 && ::write(descriptor, bytes.constData(), size_t(bytes.size())) == bytes.size();
    return ::close(descriptor) == 0 && written;
}

QByteArray sjis(const QString& text)
{
    return CodePage::fromUnicode(text, 932);
}

} // namespace

class NativeNamesTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { m_sandbox.SetUpHome(); }
    void init() { m_sandbox.SetUpTest(); }
    void cleanup() { m_sandbox.TearDownTest(); }

    void namesKeepTheirBytes_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("shown");
        QTest::newRow("UTF-8") << QByteArray("歌.mp3") << "歌.mp3";
        QTest::newRow("Shift-JIS") << sjis("曲/表.mp3") << "曲/表.mp3";
        QTest::newRow("Latin-1") << QByteArray("caf\xE9.mp3") << "caf%E9.mp3";
        QTest::newRow("a lone FF") << QByteArray("\xFF") << "%FF";
        QTest::newRow("unmapped byte, then Shift-JIS") << QByteArray("\x80/") + sjis("曲") << "%80/曲";
        QTest::newRow("an encoded surrogate") << QByteArray("\xED\xA0\x80x") << "%ED%A0%80x";
        QTest::newRow("a four-byte character then a raw byte") << QByteArray("\xF0\x9F\x8E\xA4\x80") << "🎤%80";
    }

    void namesKeepTheirBytes()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, shown);
        NativeName::setDisplayCodePage(932);
        const QString text = NativeName::fromBytes(bytes);
        QCOMPARE(NativeName::toBytes(text), bytes);
        QCOMPARE(NativeName::hasRawBytes(text), bytes != QString::fromUtf8(bytes).toUtf8());
        QCOMPARE(NativeName::displayText(text), shown);
    }

    void folderOfOldCodePageNamesPlaysWithItsLyrics()
    {
        const QString parent = m_sandbox.temp->mkdir("music");
        QVERIFY(::mkdir((NativeName::toBytes(parent) + '/' + sjis("古い曲")).constData(), 0755) == 0);
        const QString folder = parent + '/' + NativeName::fromBytes(sjis("古い曲"));
        const QByteArray audio = Mp3Fixture::silentFrames(20.0);
        QVERIFY(writeNamed(folder, sjis("曲.mp3"), audio));
        QVERIFY(writeNamed(folder, sjis("曲.lrc"), "[00:00.10]kashi\r\n"));
        QVERIFY(writeNamed(folder, "caf\xE9.mp3", audio));
        QVERIFY(writeNamed(folder, "\xFF.mp3", audio));
        QVERIFY(writeNamed(folder, "list.m3u", sjis("曲.mp3\r\n")));
        WriteProfileHexString("CSonavelDlg", "DefaultFolderPath", folder);

        CSonavelDlg dialog;
        CTrackListCtrl* list = dialog.TrackList();
        QTRY_COMPARE(list->GetItemCount(), 4);
        QStringList shown;
        for (int row = 0; row < 4; ++row)
            shown << list->GetItem(row)->FileName();
        shown.sort();
        QCOMPARE(shown, (QStringList{"%FF.mp3", "caf%E9.mp3", "曲.mp3", "曲.mp3"}));
        QCOMPARE(dialog.FolderTree()->currentItem()->text(0), QStringLiteral("古い曲"));
        QCOMPARE(dialog.FolderTree()->PathEdit()->text(), parent + QStringLiteral("/古い曲/"));

        // The m3u entry found the file by its own bytes too.
        const QString track = folder + '/' + NativeName::fromBytes(sjis("曲.mp3"));
        QList<int> rows;
        for (int row = 0; row < 4; ++row)
            if (list->GetItem(row)->FullPath() == track)
                rows << row;
        QCOMPARE(rows.size(), 2);
        dialog.Control().PlayRow(rows.first());
        QTRY_COMPARE(dialog.windowTitle(), QStringLiteral("再生中 [ 曲 ]"));
        QTRY_COMPARE(dialog.GetPlayer()->playState(), 3);
        CKaraokeDlg& window = dialog.Lyrics().KaraokeWindow();
        QTRY_VERIFY(window.IsWindowCreated());
        QCOMPARE(window.LyricPath(), folder + '/' + NativeName::fromBytes(sjis("曲.lrc")));
        QCOMPARE(window.Display()->Data().PlainText(), QStringLiteral("kashi"));
        QCOMPARE(m_sandbox.boxes->count(), 0);

        // The text editor is handed the lyric file by its bytes as well.
        const QString log = m_sandbox.temp->file("argument");
        const QString editor = m_sandbox.temp->write(
            "editor.sh", QStringLiteral("#!/bin/sh\nprintf '%s' \"$1\" > \"%1\"\n").arg(log).toUtf8());
        QVERIFY(QFile::setPermissions(editor, QFile::ReadOwner | QFile::ExeOwner));
        QVERIFY(CLyricCommands::StartEditor('"' + editor + '"', window.LyricPath()));
        QTRY_COMPARE(TestFiles::readBytes(log), NativeName::toBytes(window.LyricPath()));
    }

private:
    PlayerSandbox m_sandbox;
};

SONAVEL_TEST_MAIN(NativeNamesTest)
#include "NativeNamesTest.moc"
