// The INI file, the framework profile functions and the player's settings helpers.
#include "platform/profile/IniFile.h"
#include "platform/profile/Profile.h"
#include "player/app/CodePageTable.h"
#include "player/settings/ProfileHelpers.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QDir>
#include <QFile>

class ProfileTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void iniLookupRules();
    void writesKeepOtherLines();
    void integersParseLeadingNumber();
    void unwritableFolderFallsBack();
    void entriesCannotAddLines_data();
    void entriesCannotAddLines();
    void initHelpersReplaceMarkers();
    void colours();
    void hexStrings();
    void hexStringOddDigitsAndJunk();
    void fontDefaultsAndWidths();
    void fontRoundTripThroughQFont();
    void codePageTableLines();
    void codePageTableMissingFile();

private:
    QString profileText() const { return QString::fromUtf8(TestFiles::readBytes(m_path)); }

    std::unique_ptr<TempFolder> m_folder;
    QString m_path;
};

void ProfileTest::init()
{
    m_folder = std::make_unique<TempFolder>();
    m_path = m_folder->file("sonavel.ini");
    Profile::setPath(m_path);
}

void ProfileTest::iniLookupRules()
{
    m_folder->write("sonavel.ini", "; comment\n[Main]\nKey = first \nkey=second\n[main]\nKey=third\n"
                                   "garbage line\n[Other]\nA=1\n");
    Profile::setPath(m_path);
    QCOMPARE(GetProfileString("MAIN", "KEY", "x"), QString("first")); // case-insensitive, first match, trimmed
    QCOMPARE(GetProfileString("Other", "B", "fallback"), QString("fallback"));
    QCOMPARE(GetProfileString("Missing", "A", "fallback"), QString("fallback"));
    QVERIFY(ProfileHasKey("other", "a"));
}

void ProfileTest::writesKeepOtherLines()
{
    m_folder->write("sonavel.ini", "; keep me\n[Main]\nA=1\n\n[Other]\nB=2\n");
    Profile::setPath(m_path);
    QVERIFY(WriteProfileInt("main", "a", 5));
    QVERIFY(WriteProfileString("Main", "New", "text"));
    QVERIFY(WriteProfileString("Third", "C", "日本"));
    QCOMPARE(profileText(), QString("; keep me\n[Main]\nA=5\nNew=text\n\n[Other]\nB=2\n\n[Third]\nC=日本\n"));
    Profile::setPath(m_path); // read back from disk
    QCOMPARE(GetProfileString("third", "c", ""), QString("日本"));
}

void ProfileTest::integersParseLeadingNumber()
{
    m_folder->write("sonavel.ini", "[S]\nA=12abc\nB=abc\nC=-1\nD=\n");
    Profile::setPath(m_path);
    QCOMPARE(GetProfileInt("S", "A", 7), 12);
    QCOMPARE(GetProfileInt("S", "B", 7), 0);
    QCOMPARE(GetProfileInt("S", "C", 7), -1);
    QCOMPARE(GetProfileInt("S", "D", 7), 0);
    QCOMPARE(GetProfileInt("S", "E", 7), 7);
}

void ProfileTest::unwritableFolderFallsBack()
{
    // A folder that vanished stands for any folder that cannot be written (root writes read-only ones).
    const QString gone = m_folder->file("gone");
    const QString fallback = m_folder->file("config/sonavel/sonavel.ini");
    m_folder->write("gone/sonavel.ini", "[S]\nOld=7\n");
    Profile::setPath(gone + "/sonavel.ini", fallback);
    QDir(gone).removeRecursively();
    QVERIFY(WriteProfileInt("S", "A", 1));
    QVERIFY(WriteProfileInt("S", "B", 2));
    QCOMPARE(Profile::path(), fallback);
    QCOMPARE(QString::fromUtf8(TestFiles::readBytes(fallback)), QString("[S]\nOld=7\nA=1\nB=2\n"));
}

void ProfileTest::entriesCannotAddLines_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::newRow("value with LF") << "Main" << "Path" << "a\n[Evil]\nKey=1";
    QTest::newRow("value with CR LF") << "Main" << "Path" << "a\r\nB=2";
    QTest::newRow("value with CR") << "Main" << "Path" << "a\rB=2";
    QTest::newRow("value ending in LF") << "Main" << "Path" << "a\n";
    QTest::newRow("key with LF") << "Main" << "K\nB" << "1";
    QTest::newRow("key with =") << "Main" << "K=B" << "1";
    QTest::newRow("key like a section") << "Main" << "[Evil]" << "1";
    QTest::newRow("section with ]") << "Main]\n[Evil" << "K" << "1";
}

// A name or value that would break its line is refused; the file and the other keys stay as they were.
void ProfileTest::entriesCannotAddLines()
{
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    const QString fallback = m_folder->file("fallback/sonavel.ini");
    m_folder->write("sonavel.ini", "[Main]\nPath=old\n");
    Profile::setPath(m_path, fallback);
    QVERIFY(!WriteProfileString(section, key, value));
    QCOMPARE(profileText(), QString("[Main]\nPath=old\n"));
    QCOMPARE(Profile::path(), m_path);
    QVERIFY(!QFile::exists(fallback));
    IniFile file(m_path);
    QVERIFY(!file.setValue(section, key, value));
    QCOMPARE(file.string("Main", "Path", "none"), QString("old"));
    QVERIFY(!file.value("Evil", "Key"));
    QVERIFY(!file.value("Main", "B"));
    // A plain value still goes in.
    QVERIFY(WriteProfileString("Main", "Path", "new value"));
    QCOMPARE(GetProfileString("Main", "Path", ""), QString("new value"));
}

void ProfileTest::initHelpersReplaceMarkers()
{
    m_folder->write("sonavel.ini", "[WMPSetting]\nLoop=-1\nShuffle=0\n[CSonavelDlg]\nKaraokeEditorPath=None\n");
    Profile::setPath(m_path);
    QCOMPARE(GetProfileIntInit("WMPSetting", "Loop", 1), 1);
    QCOMPARE(GetProfileIntInit("WMPSetting", "Shuffle", 1), 0);
    QCOMPARE(GetProfileIntInit("WMPSetting", "AutoStart", 1), 1);
    QCOMPARE(GetProfileStringInit("CSonavelDlg", "KaraokeEditorPath", "\"/usr/bin/gedit\""), QString("\"/usr/bin/gedit\""));
    QCOMPARE(GetProfileStringInit("CSonavelDlg", "Other", "x"), QString("x"));
    const QString text = profileText();
    QVERIFY(text.contains("Loop=1\n"));
    QVERIFY(text.contains("AutoStart=1\n"));
    QVERIFY(text.contains("KaraokeEditorPath=\"/usr/bin/gedit\"\n"));
    QVERIFY(!text.contains("None"));
}

void ProfileTest::colours()
{
    m_folder->write("sonavel.ini", "[C]\nRed=255\nTwo=10,20\nWide=256,300,-1\nFull=1,2,3,4\n");
    Profile::setPath(m_path);
    QCOMPARE(GetProfileColor("C", "Red", RGB(9, 9, 9)), RGB(255, 0, 0));
    QCOMPARE(GetProfileColor("C", "Two", RGB(9, 9, 9)), RGB(10, 20, 0));
    QCOMPARE(GetProfileColor("C", "Wide", 0), RGB(0, 44, 255)); // each keeps its low 8 bits
    QCOMPARE(GetProfileColor("C", "Full", 0), RGB(1, 2, 3));
    QCOMPARE(GetProfileColor("C", "Absent", RGB(128, 128, 0)), RGB(128, 128, 0));
    QVERIFY(profileText().contains("Absent=128,128,0\n")); // written back like any Init read
    WriteProfileColor("C", "Out", RGB(0, 255, 255));
    QVERIFY(profileText().contains("Out=0,255,255\n"));
}

void ProfileTest::hexStrings()
{
    QCOMPARE(EncodeHexString("C:\\"), QString("43003a005c00"));
    const QString path = "/home/ユーザー/音楽/";
    WriteProfileHexString("CSonavelDlg", "DefaultFolderPath", path);
    Profile::setPath(m_path);
    QCOMPARE(GetProfileHexString("CSonavelDlg", "DefaultFolderPath", "default"), path);
    QCOMPARE(GetProfileHexString("CSonavelDlg", "Absent", "4100"), QString("4100")); // not decoded
    QVERIFY(!profileText().contains("Absent"));
}

void ProfileTest::hexStringOddDigitsAndJunk()
{
    QCOMPARE(DecodeHexString("410042000"), QString("AB")); // the odd last digit is dropped
    QCOMPARE(DecodeHexString("4100420"), QString("A"));    // three bytes give one character
    QCOMPARE(DecodeHexString("41004"), QString("A"));
    QCOMPARE(DecodeHexString("4z00"), QString(QChar(4)));       // a non-digit is ignored within its pair
    QCOMPARE(DecodeHexString("4A004b00"), QString("JK"));        // either case
    QCOMPARE(DecodeHexString(""), QString());
}

void ProfileTest::fontDefaultsAndWidths()
{
    LogFont font;
    GetProfileFont("DirTreeFont", font, 0, 9, false);
    QCOMPARE(font.lfHeight, -12);
    QCOMPARE(font.lfWeight, 400);
    QCOMPARE(int(font.lfCharSet), 222);
    QCOMPARE(int(font.lfPitchAndFamily), 34);
    QCOMPARE(font.lfFaceName, QString("Tahoma"));
    GetProfileFont("TitleFont", font, 1, 12, true);
    QCOMPARE(font.lfHeight, -16);
    QCOMPARE(font.lfWeight, 700);
    QCOMPARE(int(font.lfCharSet), 128);
    QCOMPARE(int(font.lfPitchAndFamily), 50);
    QCOMPARE(font.lfFaceName, QString("ＭＳ Ｐゴシック"));
    QVERIFY(profileText().contains("[DirTreeFont]\nlfHeight=-12\nlfWidth=0\n"));

    m_folder->write("sonavel.ini", "[F]\nlfItalic=300\nlfFaceName=" + QByteArray(40, 'x') + "\n");
    Profile::setPath(m_path);
    GetProfileFont("F", font, 0, 9, false);
    QCOMPARE(int(font.lfItalic), 44); // truncated to 8 bits
    QCOMPARE(font.lfFaceName.size(), LogFont::FaceNameLength);
}

void ProfileTest::fontRoundTripThroughQFont()
{
    LogFont font = DefaultProfileFont(0, 12, true);
    font.lfItalic = 1;
    const QFont qfont = font.toQFont();
    QCOMPARE(qfont.pixelSize(), 16);
    QCOMPARE(qfont.weight(), QFont::Bold);
    QVERIFY(qfont.italic());
    const LogFont back = LogFont::fromQFont(qfont);
    QCOMPARE(back.lfHeight, -16);
    QCOMPARE(back.lfWeight, 700);
    QCOMPARE(back.lfFaceName, QString("Tahoma"));
    WriteProfileFont("Saved", back);
    LogFont read;
    GetProfileFont("Saved", read, 1, 9, false);
    QCOMPARE(read.lfHeight, -16);
    QCOMPARE(read.lfFaceName, QString("Tahoma"));
}

void ProfileTest::codePageTableLines()
{
    CCodePageTable table;
    table.Parse({"# comment", "", "932,日本語 (シフトJIS)", " 1252, Western ,ignored", ",NoNumber,x", "abc,Text",
                 "65001", "932,日本語 (シフトJIS)"});
    QCOMPARE(table.Count(), 6);
    QCOMPARE(table.Entry(0).Number, 932);
    QCOMPARE(table.Entry(0).Name, QString("日本語 (シフトJIS)"));
    QCOMPARE(table.Entry(1).Number, 1252);
    QCOMPARE(table.Entry(1).Name, QString(" Western ")); // spaces kept, third field ignored
    QCOMPARE(table.Entry(2).Number, 0);
    QCOMPARE(table.Entry(2).Name, QString("NoNumber"));
    QCOMPARE(table.Entry(3).Number, 0);
    QCOMPARE(table.Entry(4).Number, 65001);
    QCOMPARE(table.Entry(4).Name, QString()); // a line without a comma gets an empty name
    QCOMPARE(table.Entry(5).Number, 932);      // duplicates stay
}

void ProfileTest::codePageTableMissingFile()
{
    CCodePageTable table;
    QCOMPARE(table.Load(m_folder->file("CodePage.txt"), 932), -1);
    QCOMPARE(table.Count(), 0);
    const QString path = m_folder->write("CodePage.txt", TestFiles::encode("#x\r\n932,日本語\r\n\r\n", 932));
    QCOMPARE(table.Load(path, 932), 0);
    QCOMPARE(table.Count(), 1);
    QCOMPARE(table.Entry(0).Name, QString("日本語"));
}

SONAVEL_TEST_MAIN(ProfileTest)
#include "ProfileTest.moc"
