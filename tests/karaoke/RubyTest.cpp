// Readings over kanji: the text's notation and the header's "@Ruby" lines read into bases and
// readings per block, files written back byte for byte, the dictionary's readings under the
// written ones, and the ルビ setting.
#include "platform/profile/Profile.h"
#include "platform/text/MecabReadingSource.h"
#include "platform/text/TextFile.h"
#include "player/dialogs/SettingsDlg.h"
#include "player/karaoke/AutoReadings.h"
#include "player/karaoke/KaraokeData.h"
#include "player/karaoke/RubySetting.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QComboBox>
#include <QSignalSpy>

namespace {

// Every reading as "base=reading" in document order; a base over several tokens or blocks
// shows each piece as "base piece:reading share" joined by "|" unless `whole`; relative times as
// "@ms".
QString describe(const CKaraokeData& data, RubyMode mode, bool whole = false)
{
    const CLyricRubies rubies = data.Rubies(mode);
    std::vector<QStringList> pieces(rubies.Spans().size());
    std::vector<size_t> order;
    for (const CKaraokeBlock* block = data.FirstBlock(); block; block = block->Next()) {
        for (const CRubySegment& segment : rubies.SegmentsOf(block)) {
            QStringList& span = pieces[size_t(segment.Span)];
            if (span.isEmpty())
                order.push_back(size_t(segment.Span));
            const QString& text = block->Tokens[size_t(segment.Token)].Text();
            span.append(text.mid(segment.Begin, segment.End - segment.Begin) + u':' + segment.Reading);
        }
    }
    QStringList spans;
    for (const size_t index : order) {
        QString text = pieces[index].join(u'|');
        if (whole || pieces[index].size() == 1) {
            QString base, reading;
            for (const QString& piece : pieces[index]) {
                base += piece.section(u':', 0, 0);
                reading += piece.section(u':', 1);
            }
            text = base + u'=' + reading;
        }
        for (const CRubyReading::Timing& timing : rubies.Spans()[index].Timings)
            text += QStringLiteral("@%1").arg(timing.Offset);
        spans.append(text);
    }
    return spans.join(u' ');
}

QByteArray utf16(const QString& text)
{
    QByteArray bytes("\xFF\xFE", 2);
    bytes.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    return bytes;
}

} // namespace

class RubyTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        m_folder = std::make_unique<TempFolder>();
        Profile::setPath(m_folder->file("test.ini"));
    }

    void readingsFromText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("readings");
        QTest::addColumn<QString>("shown");
        const QString lrc = QStringLiteral("[00:01.00]");
        QTest::newRow("kanji run") << "[00:01:00]春の小川《おがわ》は" << "小川=おがわ" << "春の小川は";
        QTest::newRow("kanji run lrc") << lrc + "春の小川《おがわ》は" << "小川=おがわ" << "春の小川は";
        QTest::newRow("bar") << "[00:01:00]｜さくら色《いろ》の" << "さくら色=いろ" << "さくら色の";
        QTest::newRow("ascii bar lrc") << lrc + "歌う|Sonavel《そなべる》" << "Sonavel=そなべる" << "歌うSonavel";
        QTest::newRow("two words") << "[00:01:00]花《はな》 咲《さ》く" << "花=はな 咲=さ" << "花 咲く";
        QTest::newRow("two in a run") << "[00:01:00]見《み》[00:02:00]渡《わた》す"
                                      << "見=み 渡=わた"
                                      << "見渡す";
        QTest::newRow("tag inside base") << "[00:01:00]東[00:02:00]京都《とうきょうと》へ"
                                         << "東:とう|京都:きょうと" << "東京都へ";
        QTest::newRow("tag inside base lrc") << lrc + "｜東<00:02.00>京都《とうきょうと》へ" << "東:とう|京都:きょうと"
                                             << "東京都へ";
        QTest::newRow("tag in reading") << "[00:01:00]帰《か[00:00:50]え》る" << "帰=かえ@500" << "帰る";
        QTest::newRow("header") << "@Ruby1=帰,かえ\r\n[00:01:00]帰り道\r\n[00:02:00]帰る"
                                << "帰=かえ 帰=かえ" << "帰り道\n帰る";
        QTest::newRow("header from") << "@Ruby1=帰,かえ,[00:01:50]\r\n[00:01:00]帰り\r\n[00:02:00]帰る" << "帰=かえ"
                                     << "帰り\n帰る";
        QTest::newRow("header until lrc") << "[00:01.00]帰り\r\n[00:02.00]帰る\r\n@Ruby1=帰,かえ,,[00:01.50]\r\n"
                                          << "帰=かえ" << "帰り\n帰る";
        QTest::newRow("header range") << "@Ruby1=帰,かえ,[00:01:50],[00:02:50]\r\n[00:01:00]帰[00:02:00]帰[00:03:00]帰"
                                      << "帰=かえ" << "帰帰帰";
        QTest::newRow("header timed reading") << "@Ruby1=帰,か[00:00:50]え\r\n[00:01:00]帰る" << "帰=かえ@500"
                                              << "帰る";
        QTest::newRow("header same as base") << "@Ruby1=今日,今日\r\n@Ruby2=日,ひ\r\n[00:01:00]今日の日" << "日=ひ"
                                             << "今日の日";
        QTest::newRow("text before header") << "@Ruby1=空,そら\r\n[00:01:00]空《くう》と空" << "空=くう 空=そら"
                                            << "空と空";
        QTest::newRow("whole line") << "[00:01:00]青空《あおぞら》\r\n[00:02:00]｜ららら《ラララ》"
                                    << "青空=あおぞら ららら=ラララ" << "青空\nららら";
        QTest::newRow("no closing") << "[00:01:00]漢字《かんじ" << "" << "漢字《かんじ";
        QTest::newRow("empty reading") << "[00:01:00]漢字《》です" << "" << "漢字《》です";
        QTest::newRow("long reading") << "[00:01:00]字《" + QString(51, u'あ') + "》" << ""
                                      << "字《" + QString(51, u'あ') + "》";
        QTest::newRow("nested") << "[00:01:00]｜漢《字《じ》》" << "字=じ" << "｜漢《字》";
        QTest::newRow("no base") << "[00:01:00]かな《かな》" << "" << "かな《かな》";
        QTest::newRow("header without reading") << "[00:01:00]帰る\r\n@Ruby1=帰" << "" << "帰る\n@Ruby1=帰";
        QTest::newRow("header empty reading lrc") << lrc + "帰る\r\n@Ruby1=帰,\r\n" << "" << "帰る\n@Ruby1=帰,";
    }

    void readingsFromText()
    {
        QFETCH(QString, text);
        QFETCH(QString, readings);
        QFETCH(QString, shown);
        CKaraokeData data;
        data.ParseKaraokeText(text);
        QCOMPARE(describe(data, RubyMode::Written), readings);
        QCOMPARE(data.PlainText(), shown);
        QVERIFY(data.Rubies(RubyMode::None).IsEmpty());
        QCOMPARE(data.KaraokeText(), text);
    }

    // Saved as read, byte for byte, and again after a block was split inside a base and merged.
    void roundTrip_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("codePage");
        QTest::newRow("own utf-16") << utf16("@Title=さくら\r\n[00:01:00]｜さくら色《いろ》 東[00:02:00]京《きょう》\r\n"
                                             "@Ruby1=帰,か[00:00:50]え,[00:53:19],[01:24:77]\r\n[00:03:00]帰《》る|")
                                    << 0;
        QTest::newRow("own header first") << utf16("@Ruby1=帰,かえ\r\n@Ruby2=道,みち,,[01:00:00]\r\n[00:01:00]帰り道")
                                          << 0;
        QTest::newRow("lrc") << QStringLiteral("[ti:さくら]\n[00:01.00]桜《さくら》<00:01.50>｜花見《はなみ》\n"
                                               "@Ruby1=帰,かえ,[00:53.19]\n[00:02.00]帰り《\n")
                                    .toUtf8()
                             << 65001;
        QTest::newRow("lrc ruby first") << QStringLiteral("@Ruby1=空,そら\r\n[00:01.00]空[00:01.50]色《いろ》\r\n")
                                               .toUtf8()
                                        << 65001;
    }

    void roundTrip()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, codePage);
        const QString path = m_folder->write("song.kra", bytes);
        CKaraokeData data;
        int readPage = codePage;
        QVERIFY(data.ReadKaraokeFile(path, readPage));
        QVERIFY(data.SaveKaraokeFile(path, readPage));
        QCOMPARE(TextFile::readAll(path).value_or(QByteArray()), bytes);
        const QString before = describe(data, RubyMode::Written, true);
        for (CKaraokeBlock* block = data.FirstBlock(); block; block = block->Next()) {
            CKaraokeBlock* added = data.SplitBlock(block, 0, 1, block->StartTime());
            QCOMPARE(describe(data, RubyMode::Written, true), before);
            QVERIFY(data.MergeIntoPrevious(added) == block);
        }
        QVERIFY(data.SaveKaraokeFile(path, readPage));
        QCOMPARE(TextFile::readAll(path).value_or(QByteArray()), bytes);
        QCOMPARE(describe(data, RubyMode::Written, true), before);
    }

    void automaticReadings_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("dictionary");
        QTest::addColumn<QString>("readings");
        const int automatic = int(RubyMode::Automatic);
        QTest::newRow("sentence") << "[00:01:00]今日は空が青い" << automatic << true << "今日=きょう 空=そら 青=あお";
        QTest::newRow("okurigana") << "[00:01:00]帰り道" << automatic << true << "帰=かえ 道=みち";
        QTest::newRow("text wins") << "[00:01:00]今日は空《から》が青い" << automatic << true
                                   << "今日=きょう 空=から 青=あお";
        QTest::newRow("header wins") << "@Ruby1=今日,こんにち\r\n@Ruby2=青,青\r\n[00:01:00]今日は空が青い" << automatic
                                     << true << "今日=こんにち 空=そら";
        QTest::newRow("over blocks") << "[00:01:00]今[00:02:00]日は" << automatic << true << "今:きょ|日:う";
        QTest::newRow("written only") << "[00:01:00]今日は空《そら》が青い" << int(RubyMode::Written) << true
                                      << "空=そら";
        QTest::newRow("no dictionary") << "[00:01:00]今日は空《そら》が青い" << automatic << false << "空=そら";
    }

    void automaticReadings()
    {
        QFETCH(QString, text);
        QFETCH(int, mode);
        QFETCH(bool, dictionary);
        QFETCH(QString, readings);
        CKaraokeData data;
        data.ParseKaraokeText(text);
        QVERIFY2(CReadingSource::System(), "MeCab with mecab-ipadic-utf8 is not installed");
        // A dictionary that is not there gives no readings and no error.
        const auto missing = CMecabReadingSource::Open(m_folder->file("no-dictionary"));
        QVERIFY(!missing);
        const CReadingSource* source = dictionary ? CReadingSource::System().get() : missing.get();
        data.AdoptAutomaticReadings(CAutoReadings::Compute(data.RubyLines(), source));
        QVERIFY(data.HasAutomaticReadings());
        QCOMPARE(describe(data, RubyMode(mode)), readings);
    }

    void setting()
    {
        CRubySetting& setting = CRubySetting::Instance();
        QCOMPARE(setting.Mode(), RubyMode::Automatic);
        QSignalSpy changed(&setting, &CRubySetting::ModeChanged);
        for (const RubyMode mode : {RubyMode::None, RubyMode::Written, RubyMode::Written, RubyMode::Automatic}) {
            SettingsRecord record;
            record.RubyMode = int(setting.Mode());
            CSettingsDlg dialog(record, {});
            auto* combo = dialog.findChild<QComboBox*>(QStringLiteral("id%1").arg(CSettingsDlg::IdRubyMode));
            QVERIFY(combo);
            QCOMPARE(combo->count(), 3);
            QCOMPARE(combo->currentIndex(), record.RubyMode);
            combo->setCurrentIndex(int(mode));
            dialog.accept();
            setting.SetMode(RubyMode(dialog.Record().RubyMode));
            QCOMPARE(GetProfileInt("CKaraokeStatic", "RubyMode", -1), int(mode));
        }
        QCOMPARE(changed.size(), 3);
        QCOMPARE(changed.last().first().value<RubyMode>(), RubyMode::Automatic);
        WriteProfileInt("CKaraokeStatic", "RubyMode", 7);
        QCOMPARE(setting.Mode(), RubyMode::Automatic);
    }

private:
    std::unique_ptr<TempFolder> m_folder;
};

SONAVEL_TEST_MAIN(RubyTest)
#include "RubyTest.moc"
