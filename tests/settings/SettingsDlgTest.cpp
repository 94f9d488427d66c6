#include "tests/support/ChooserRecorder.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/TestMain.h"

#include "common/ui/DialogTemplate.h"
#include "player/dialogs/ColorStatic.h"
#include "player/dialogs/ExtensionDlg.h"
#include "player/dialogs/SettingsDlg.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>

namespace {

using D = CSettingsDlg;

const CodePageChoices kCodePages = {
    {932, QStringLiteral("日本語 (シフトJIS)")},
    {20932, QStringLiteral("日本語 (EUC)")},
    {1252, QStringLiteral("西ヨーロッパ言語 (Windows)")},
};

LogFont Font(const QString& face, int height)
{
    LogFont font;
    font.lfFaceName = face;
    font.lfHeight = height;
    font.lfWeight = 400;
    return font;
}

SettingsRecord Record()
{
    SettingsRecord record;
    record.TreeFont = Font(QStringLiteral("Tahoma"), -12);
    record.PathFont = Font(QStringLiteral("Tahoma"), -13);
    record.ListFont = Font(QStringLiteral("Tahoma"), 16);
    record.TitleFont = Font(QStringLiteral("ＭＳ Ｐゴシック"), -12);
    record.DataFont = Font(QStringLiteral("Tahoma"), -16);
    record.KaraokeFont = Font(QStringLiteral("Tahoma"), -24);
    record.TitleColor = RGB(128, 128, 0);
    record.DataColor = RGB(0, 255, 0);
    record.SungColor = RGB(0, 255, 255);
    record.UnsungColor = RGB(255, 255, 255);
    record.TagColor = RGB(255, 128, 0);
    record.BackColor = RGB(0, 0, 0);
    record.ScrollSpeed = 2;
    record.ShowTitle = record.ShowArtist = true;
    record.VideoAlwaysOnTop = true;
    record.ClipOnDesktop = true;
    record.TagCodePage = 20932;
    record.KaraokeCodePage = 932;
    record.Extensions = {QStringLiteral("mp3"), QStringLiteral("wma"), QStringLiteral("ogg")};
    return record;
}

QAbstractButton* Button(const QWidget* dialog, int id) { return DlgItem<QAbstractButton>(dialog, id); }
QComboBox* Combo(const QWidget* dialog, int id) { return DlgItem<QComboBox>(dialog, id); }
QListWidget* Extensions(const QWidget* dialog) { return DlgItem<QListWidget>(dialog, D::IdExtensions); }
CColorStatic* ColorSample(const QWidget* dialog, int id) { return DlgItem<CColorStatic>(dialog, id); }
QString SampleText(const QWidget* dialog, int id) { return DlgItem<QLabel>(dialog, id)->text(); }

// The background inside the sunken frame, at the sample's right end where no text reaches.
QColor SampleBackground(CColorStatic* sample)
{
    const QImage shot = sample->grab().toImage();
    return shot.pixelColor(shot.width() - 4, shot.height() / 2);
}

bool SampleShowsText(CColorStatic* sample, const QColor& color)
{
    const QImage shot = sample->grab().toImage();
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            if (shot.pixelColor(x, y) == color)
                return true;
    return false;
}

QStringList Items(const QComboBox* combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << QStringLiteral("%1=%2").arg(combo->itemText(i)).arg(combo->itemData(i).toInt());
    return items;
}

QStringList Items(const QListWidget* list)
{
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->item(i)->text();
    return items;
}

} // namespace

// The settings dialog on its own: what it shows of the record, what its controls and choosers
// change, and what OK hands back.
class SettingsDlgTest : public QObject
{
    Q_OBJECT
private slots:
    void init() { m_boxes = std::make_unique<MessageBoxRecorder>(); }
    void cleanup()
    {
        QCOMPARE(m_boxes->count(), 0);
        m_boxes.reset();
    }

    void sampleText_data()
    {
        QTest::addColumn<int>("height");
        QTest::addColumn<QString>("text");
        QTest::newRow("-16") << -16 << "Tahoma - 12 pt";
        QTest::newRow("16") << 16 << "Tahoma - 12 pt";
        QTest::newRow("-12") << -12 << "Tahoma - 9 pt";
        QTest::newRow("-13 rounds up") << -13 << "Tahoma - 10 pt";
        QTest::newRow("-11 rounds down") << -11 << "Tahoma - 8 pt";
        QTest::newRow("0") << 0 << "Tahoma - 0 pt";
        QTest::newRow("smallest") << int(INT32_MIN) << "Tahoma - 1610612736 pt";
    }

    void sampleText()
    {
        QFETCH(int, height);
        QFETCH(QString, text);
        QCOMPARE(D::SampleText(Font(QStringLiteral("Tahoma"), height)), text);
        // A face name with a place marker stays as it is.
        QCOMPARE(D::SampleText(Font(QStringLiteral("A%1B"), 16)), QStringLiteral("A%1B - 12 pt"));
    }

    void everyControlWithItsCaption_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("caption");
        const std::pair<int, const char*> controls[] = {
            {D::IdTreeFont, "変更"}, {D::IdPathFont, "変更"}, {D::IdListFont, "変更"},
            {D::IdWmpTags, "WindowsMediaPlayerの機能を使用"}, {D::IdOwnTags, "独自ライブラリで読込む"},
            {D::IdTitleFont, "変更"}, {D::IdDataFont, "変更"}, {D::IdBackColor, "背景色の変更"},
            {D::IdShowFileName, "ファイル名"}, {D::IdShowTitle, "タイトル"}, {D::IdShowArtist, "アーティスト"},
            {D::IdShowAlbum, "アルバム"}, {D::IdShowTrack, "トラック"}, {D::IdKaraokeFont, "変更"},
            {D::IdSungColor, "変更"}, {D::IdTagColor, "変更"},
            {D::IdClipOnDesktop, "ウィンドウの移動をデスクトップ内に制限"},
            {D::IdMainOnTop, "メイン画面を常に前面に表示"}, {D::IdVideoOnTop, "ビデオ画面を常に前面に表示"},
            {D::IdDetectCdrom, "CD-ROMのメディア交換を検出"},
            {D::IdShowFilePath, "タイトルバーにファイルのパスを表示"},
            {D::IdDelPlaylist, "終了時にプレイリストを削除"}, {D::IdAddExtension, "追加"},
            {D::IdDeleteExtension, "削除"}, {D::IdReadShortcuts, "ショートカットファイル"},
            {D::IdReadM3u, "m3uファイル"}, {D::IdOk, "設定"}, {D::IdCancel, "取消"},
        };
        for (const auto& [id, caption] : controls)
            QTest::addRow("%d", id) << id << QString::fromUtf8(caption);
    }

    void everyControlWithItsCaption()
    {
        QFETCH(int, id);
        QFETCH(QString, caption);
        CSettingsDlg dialog(Record(), kCodePages);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("設定"));
        QCOMPARE(Button(&dialog, id)->text(), caption);
    }

    void groupsAndTabOrder()
    {
        CSettingsDlg dialog(Record(), kCodePages);
        QStringList groups;
        for (const QGroupBox* group : dialog.findChildren<QGroupBox*>())
            groups << group->title();
        QCOMPARE(groups, QStringList({"フォント", "曲情報の読込み (mp3のみ有効)", "スクロールテキスト", "表示項目",
                                      "カラオケ歌詞表示", "その他の設定", "読込むファイル"}));
        QStringList labels;
        for (const QLabel* label : dialog.findChildren<QLabel*>())
            if (DlgCtrlId(label) == -1)
                labels << label->text();
        QCOMPARE(labels, QStringList({"ツリー", "パス", "リスト", "文字コード", "(*)Unicodeの時は文字コードは無視",
                                      "フォント(タイトル)", "フォント(データ)", "スクロール速度(1～5)", "フォント",
                                      "歌い終わった歌詞の色", "タイムタグの色", "歌詞の文字コード", "ルビ",
                                      "(*) 次曲の再生時から有効"}));
        // The focus chain runs through the controls in template order (the code page is disabled).
        const QList<int> order = {D::IdTreeFont, D::IdPathFont, D::IdListFont, D::IdWmpTags, D::IdOwnTags,
                                  D::IdTitleFont, D::IdDataFont, D::IdScrollSpeed, D::IdBackColor, D::IdShowFileName};
        dialog.show();
        QWidget* focus = Button(&dialog, D::IdTreeFont);
        focus->setFocus();
        for (int i = 1; i < order.size(); ++i) {
            QWidget* next = focus->nextInFocusChain();
            while (next->focusPolicy() == Qt::NoFocus || !next->isEnabled() || DlgCtrlId(next) == -1)
                next = next->nextInFocusChain();
            QCOMPARE(DlgCtrlId(next), order[i]);
            focus = next;
        }
    }

    void openingShowsTheRecord()
    {
        SettingsRecord record = Record();
        record.Changed.TreeFont = true; // flags are cleared when the dialog opens
        CSettingsDlg dialog(record, kCodePages);
        QVERIFY(!dialog.Record().Changed.TreeFont);
        QCOMPARE(SampleText(&dialog, D::IdTreeSample), QStringLiteral("Tahoma - 9 pt"));
        QCOMPARE(SampleText(&dialog, D::IdPathSample), QStringLiteral("Tahoma - 10 pt"));
        QCOMPARE(SampleText(&dialog, D::IdListSample), QStringLiteral("Tahoma - 12 pt"));
        QCOMPARE(SampleText(&dialog, D::IdTitleSample), QStringLiteral("ＭＳ Ｐゴシック - 9 pt"));
        QCOMPARE(SampleText(&dialog, D::IdDataSample), QStringLiteral("Tahoma - 12 pt"));
        for (int id : {D::IdKaraokeSample, D::IdSungSample, D::IdTagSample})
            QCOMPARE(SampleText(&dialog, id), QStringLiteral("Tahoma - 18 pt"));
        // Only the five colour samples are coloured labels.
        for (int id : {D::IdTreeSample, D::IdPathSample, D::IdListSample})
            QVERIFY(!ColorSample(&dialog, id));
        const std::pair<int, QColor> colours[] = {{D::IdTitleSample, QColor(128, 128, 0)},
                                                  {D::IdDataSample, QColor(0, 255, 0)},
                                                  {D::IdKaraokeSample, QColor(255, 255, 255)},
                                                  {D::IdSungSample, QColor(0, 255, 255)},
                                                  {D::IdTagSample, QColor(255, 128, 0)}};
        for (const auto& [id, colour] : colours) {
            QCOMPARE(SampleBackground(ColorSample(&dialog, id)), QColor(0, 0, 0));
            QVERIFY2(SampleShowsText(ColorSample(&dialog, id), colour), qPrintable(QString::number(id)));
        }
        QCOMPARE(DlgItem<QLineEdit>(&dialog, D::IdScrollSpeed)->text(), QStringLiteral("2"));
        const std::pair<int, bool> checks[] = {{D::IdShowFileName, false}, {D::IdShowTitle, true},
                                               {D::IdShowArtist, true}, {D::IdShowAlbum, false},
                                               {D::IdClipOnDesktop, true}, {D::IdMainOnTop, false},
                                               {D::IdVideoOnTop, true}, {D::IdReadM3u, false}};
        for (const auto& [id, checked] : checks)
            QCOMPARE(Button(&dialog, id)->isChecked(), checked);
        QVERIFY(Button(&dialog, D::IdVideoOnTop)->isEnabled());
        QCOMPARE(Items(Extensions(&dialog)), record.Extensions);
        QVERIFY(!Button(&dialog, D::IdDeleteExtension)->isEnabled());
    }

    void codePageLists_data()
    {
        QTest::addColumn<int>("tagCodePage");
        QTest::addColumn<int>("karaokeCodePage");
        QTest::addColumn<int>("tagIndex");
        QTest::addColumn<int>("karaokeIndex");
        QTest::newRow("found") << 1252 << 20932 << 2 << 2;
        QTest::newRow("unicode lyrics") << 932 << 0 << 0 << 0;
        QTest::newRow("not in the table") << 437 << 437 << 0 << 0;
    }

    void codePageLists()
    {
        QFETCH(int, tagCodePage);
        QFETCH(int, karaokeCodePage);
        QFETCH(int, tagIndex);
        QFETCH(int, karaokeIndex);
        SettingsRecord record = Record();
        record.TagCodePage = tagCodePage;
        record.KaraokeCodePage = karaokeCodePage;
        CSettingsDlg dialog(record, kCodePages);
        const QStringList table = {"日本語 (シフトJIS)=932", "日本語 (EUC)=20932", "西ヨーロッパ言語 (Windows)=1252"};
        QCOMPARE(Items(Combo(&dialog, D::IdTagCodePage)), table);
        QCOMPARE(Items(Combo(&dialog, D::IdKaraokeCodePage)), QStringList("Unicode=0") + table);
        QCOMPARE(Combo(&dialog, D::IdTagCodePage)->currentIndex(), tagIndex);
        QCOMPARE(Combo(&dialog, D::IdKaraokeCodePage)->currentIndex(), karaokeIndex);
        // OK stores what is selected, so a number not in the table becomes the first entry's.
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.Record().TagCodePage, tagIndex == 0 ? 932 : tagCodePage);
        QCOMPARE(dialog.Record().KaraokeCodePage, karaokeIndex == 0 ? 0 : karaokeCodePage);
    }

    void emptyCodePageTableKeepsTheTagCodePage()
    {
        CSettingsDlg dialog(Record(), {});
        QCOMPARE(Items(Combo(&dialog, D::IdKaraokeCodePage)), QStringList("Unicode=0"));
        dialog.accept();
        QCOMPARE(dialog.Record().TagCodePage, 20932);
        QCOMPARE(dialog.Record().KaraokeCodePage, 0);
    }

    void tagRadioButtonsEnableTheCodePage()
    {
        SettingsRecord record = Record();
        CSettingsDlg dialog(record, kCodePages);
        QComboBox* codePage = Combo(&dialog, D::IdTagCodePage);
        QVERIFY(Button(&dialog, D::IdWmpTags)->isChecked());
        QVERIFY(!codePage->isEnabled());
        Button(&dialog, D::IdOwnTags)->click();
        QVERIFY(codePage->isEnabled());
        dialog.accept();
        QVERIFY(dialog.Record().UseID3Edit);
        Button(&dialog, D::IdWmpTags)->click();
        QVERIFY(!codePage->isEnabled());

        record.UseID3Edit = true;
        CSettingsDlg own(record, kCodePages);
        QVERIFY(Button(&own, D::IdOwnTags)->isChecked());
        QVERIFY(Combo(&own, D::IdTagCodePage)->isEnabled());
    }

    void mainOnTopForcesVideoOnTop()
    {
        SettingsRecord record = Record();
        record.VideoAlwaysOnTop = false;
        CSettingsDlg dialog(record, kCodePages);
        QAbstractButton* main = Button(&dialog, D::IdMainOnTop);
        QAbstractButton* video = Button(&dialog, D::IdVideoOnTop);
        QVERIFY(!video->isChecked() && video->isEnabled());
        main->click();
        QVERIFY(video->isChecked());
        QVERIFY(!video->isEnabled());
        main->click();
        QVERIFY(video->isChecked());
        QVERIFY(video->isEnabled());
        video->click();
        dialog.accept();
        QVERIFY(!dialog.Record().MainAlwaysOnTop);
        QVERIFY(!dialog.Record().VideoAlwaysOnTop);

        record.MainAlwaysOnTop = true;
        CSettingsDlg onTop(record, kCodePages);
        QVERIFY(Button(&onTop, D::IdVideoOnTop)->isChecked());
        QVERIFY(!Button(&onTop, D::IdVideoOnTop)->isEnabled());
    }

    void deletingEveryExtension()
    {
        CSettingsDlg dialog(Record(), kCodePages);
        QListWidget* list = Extensions(&dialog);
        QAbstractButton* remove = Button(&dialog, D::IdDeleteExtension);
        list->setCurrentRow(1);
        QVERIFY(remove->isEnabled());
        remove->click();
        QCOMPARE(Items(list), QStringList({"mp3", "ogg"}));
        while (list->count() > 0) {
            list->setCurrentRow(0);
            remove->click();
        }
        QVERIFY(!remove->isEnabled());
        dialog.accept();
        QCOMPARE(dialog.Record().Extensions.size(), 0);
    }

    void addingAnExtensionAsTyped()
    {
        SettingsRecord record = Record();
        record.Extensions += {QStringLiteral("flac"), QStringLiteral("opus"), QStringLiteral("m4a")};
        CSettingsDlg dialog(record, kCodePages);
        dialog.show();
        QListWidget* list = Extensions(&dialog);
        // The list shows whole rows, fewer than it holds.
        const int row = list->visualItemRect(list->item(0)).height();
        QCOMPARE(list->viewport()->height() % row, 0);
        QVERIFY(!list->viewport()->rect().contains(list->visualItemRect(list->item(5))));
        for (const QString& typed : {QStringLiteral(".FLAC "), QStringLiteral("mp3")}) {
            QTimer::singleShot(0, &dialog, [typed] {
                auto* extension = qobject_cast<CExtensionDlg*>(QApplication::activeModalWidget());
                QVERIFY(extension);
                DlgItem<QLineEdit>(extension, CExtensionDlg::IDC_EXTENSION)->setText(typed);
                extension->accept();
            });
            Button(&dialog, D::IdAddExtension)->click();
            // The added entry is scrolled into sight.
            QVERIFY(list->viewport()->rect().contains(list->visualItemRect(list->item(list->count() - 1))));
        }
        // Cancel adds nothing.
        QTimer::singleShot(0, &dialog, [] { QApplication::activeModalWidget()->close(); });
        Button(&dialog, D::IdAddExtension)->click();
        dialog.accept();
        QCOMPARE(dialog.Record().Extensions, record.Extensions + QStringList({".FLAC ", "mp3"}));
    }

    void plainFontChooser()
    {
        ChooserRecorder choosers;
        CSettingsDlg dialog(Record(), kCodePages);
        choosers.queueCancel();
        Button(&dialog, D::IdPathFont)->click();
        QCOMPARE(choosers.count(), 1);
        const ChooserRequest request = choosers.requests()[0];
        QCOMPARE(request.kind, ChooserRequest::Kind::Font);
        QVERIFY(!request.effects);
        QCOMPARE(request.font.pixelSize(), 13);
        QCOMPARE(SampleText(&dialog, D::IdPathSample), QStringLiteral("Tahoma - 10 pt"));
        QVERIFY(!dialog.Record().Changed.PathFont);

        QFont chosen(QStringLiteral("DejaVu Serif"));
        chosen.setPixelSize(20);
        choosers.queueFont(chosen);
        Button(&dialog, D::IdPathFont)->click();
        QCOMPARE(SampleText(&dialog, D::IdPathSample), QStringLiteral("DejaVu Serif - 15 pt"));
        QCOMPARE(dialog.Record().PathFont.lfHeight, -20);
        QVERIFY(dialog.Record().Changed.PathFont);
        QVERIFY(!dialog.Record().Changed.TreeFont && !dialog.Record().Changed.ListFont);
    }

    void effectsFontChooser_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<QList<int>>("samples");
        QTest::addColumn<QColor>("start");
        QTest::newRow("title") << int(D::IdTitleFont) << QList<int>{D::IdTitleSample} << QColor(128, 128, 0);
        QTest::newRow("data") << int(D::IdDataFont) << QList<int>{D::IdDataSample} << QColor(0, 255, 0);
        QTest::newRow("karaoke") << int(D::IdKaraokeFont)
                                 << QList<int>{D::IdKaraokeSample, D::IdSungSample, D::IdTagSample}
                                 << QColor(255, 255, 255);
    }

    void effectsFontChooser()
    {
        QFETCH(int, button);
        QFETCH(QList<int>, samples);
        QFETCH(QColor, start);
        ChooserRecorder choosers;
        CSettingsDlg dialog(Record(), kCodePages);
        QFont chosen(QStringLiteral("DejaVu Sans"));
        chosen.setPixelSize(32);
        const QColor red(255, 0, 0);
        choosers.queueFont(chosen, red);
        Button(&dialog, button)->click();
        QCOMPARE(choosers.count(), 1);
        QVERIFY(choosers.requests()[0].effects);
        QCOMPARE(choosers.requests()[0].color, start);
        for (int id : samples)
            QCOMPARE(SampleText(&dialog, id), QStringLiteral("DejaVu Sans - 24 pt"));
        // The chosen colour shows in the first sample only: the sung and tag samples keep theirs.
        QVERIFY(SampleShowsText(ColorSample(&dialog, samples[0]), red));
        if (samples.size() > 1)
            QVERIFY(SampleShowsText(ColorSample(&dialog, D::IdSungSample), QColor(0, 255, 255)));
        const SettingsRecord& record = dialog.Record();
        switch (button) {
        case D::IdTitleFont:
            QVERIFY(record.Changed.TitleFont && record.TitleColor == RGB(255, 0, 0));
            QCOMPARE(record.TitleFont.lfHeight, -32);
            break;
        case D::IdDataFont:
            QVERIFY(record.Changed.DataFont && record.DataColor == RGB(255, 0, 0));
            break;
        default:
            QVERIFY(record.Changed.Karaoke && record.UnsungColor == RGB(255, 0, 0));
            QCOMPARE(record.SungColor, RGB(0, 255, 255));
            QCOMPARE(record.KaraokeFont.lfFaceName, QStringLiteral("DejaVu Sans"));
        }
    }

    void colourChoosers_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("sample");
        QTest::newRow("sung") << int(D::IdSungColor) << int(D::IdSungSample);
        QTest::newRow("tag") << int(D::IdTagColor) << int(D::IdTagSample);
    }

    void colourChoosers()
    {
        QFETCH(int, button);
        QFETCH(int, sample);
        ChooserRecorder choosers;
        CSettingsDlg dialog(Record(), kCodePages);
        choosers.queueCancel();
        Button(&dialog, button)->click();
        QVERIFY(!dialog.Record().Changed.Karaoke);
        const QColor blue(0, 0, 255);
        choosers.queueColor(blue);
        Button(&dialog, button)->click();
        QCOMPARE(choosers.requests()[1].kind, ChooserRequest::Kind::Color);
        QCOMPARE(choosers.requests()[1].color, button == D::IdSungColor ? QColor(0, 255, 255) : QColor(255, 128, 0));
        QVERIFY(SampleShowsText(ColorSample(&dialog, sample), blue));
        QVERIFY(dialog.Record().Changed.Karaoke);
        QCOMPARE(button == D::IdSungColor ? dialog.Record().SungColor : dialog.Record().TagColor, RGB(0, 0, 255));
    }

    void backgroundColourOfEverySample()
    {
        ChooserRecorder choosers;
        CSettingsDlg dialog(Record(), kCodePages);
        choosers.queueColor(QColor(20, 40, 160));
        Button(&dialog, D::IdBackColor)->click();
        QCOMPARE(choosers.requests()[0].color, QColor(0, 0, 0));
        for (int id : {D::IdTitleSample, D::IdDataSample, D::IdKaraokeSample, D::IdSungSample, D::IdTagSample})
            QCOMPARE(SampleBackground(ColorSample(&dialog, id)), QColor(20, 40, 160));
        QCOMPARE(dialog.Record().BackColor, RGB(20, 40, 160));
        const SettingsRecord::ChangedFlags& changed = dialog.Record().Changed;
        QVERIFY(!changed.TitleFont && !changed.DataFont && !changed.Karaoke);
    }

    void scrollSpeedMustBeAnInteger_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<int>("speed");
        QTest::newRow("3") << "3" << true << 3;
        QTest::newRow("spaces") << " 4\t" << true << 4;
        QTest::newRow("outside 1-5 is taken here") << "9" << true << 9;
        QTest::newRow("negative") << "-1" << true << -1;
        QTest::newRow("letters") << "fast" << false << 2;
        QTest::newRow("decimal") << "2.5" << false << 2;
        QTest::newRow("number then text") << "3x" << false << 2;
        QTest::newRow("empty") << "" << false << 2;
    }

    void scrollSpeedMustBeAnInteger()
    {
        QFETCH(QString, typed);
        QFETCH(bool, accepted);
        QFETCH(int, speed);
        CSettingsDlg dialog(Record(), kCodePages);
        dialog.show();
        auto* edit = DlgItem<QLineEdit>(&dialog, D::IdScrollSpeed);
        edit->setText(typed);
        Button(&dialog, D::IdShowAlbum)->click();
        Button(&dialog, D::IdOk)->click();
        QCOMPARE(dialog.isVisible(), !accepted);
        QCOMPARE(dialog.Record().ScrollSpeed, speed);
        if (accepted) {
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
            QVERIFY(dialog.Record().ShowAlbum);
            return;
        }
        QCOMPARE(m_boxes->count(), 1);
        QCOMPARE(m_boxes->prompts()[0].text, QStringLiteral("整数を入力してください。"));
        m_boxes->clear();
        // Correcting the text lets OK through.
        edit->setText(QStringLiteral("5"));
        Button(&dialog, D::IdOk)->click();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.Record().ScrollSpeed, 5);
    }

    void cancelHandsNothingBack()
    {
        CSettingsDlg dialog(Record(), kCodePages);
        dialog.show();
        Button(&dialog, D::IdShowAlbum)->click();
        Extensions(&dialog)->setCurrentRow(0);
        Button(&dialog, D::IdDeleteExtension)->click();
        Button(&dialog, D::IdCancel)->click();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(!dialog.Record().ShowAlbum);
        QCOMPARE(dialog.Record().Extensions, Record().Extensions);
    }

private:
    std::unique_ptr<MessageBoxRecorder> m_boxes;
};

SONAVEL_TEST_MAIN(SettingsDlgTest)
#include "SettingsDlgTest.moc"
