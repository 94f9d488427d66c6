#include "player/dialogs/SettingsDlg.h"

#include "common/ui/Chooser.h"
#include "common/ui/DialogTemplate.h"
#include "common/ui/MessageBox.h"
#include "common/ui/StringTable.h"
#include "common/ui/Ui.h"
#include "player/dialogs/ColorStatic.h"
#include "player/dialogs/DialogStrings.h"
#include "player/dialogs/ExtensionDlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdlib>
#include <iterator>

namespace {

constexpr int kExtensionRows = 5;

// The check boxes and the record members the framework's data exchange moves between them.
struct CheckBinding {
    int id;
    bool SettingsRecord::*member;
};
constexpr CheckBinding kChecks[] = {
    {CSettingsDlg::IdShowFileName, &SettingsRecord::ShowFileName},
    {CSettingsDlg::IdShowTitle, &SettingsRecord::ShowTitle},
    {CSettingsDlg::IdShowArtist, &SettingsRecord::ShowArtist},
    {CSettingsDlg::IdShowAlbum, &SettingsRecord::ShowAlbum},
    {CSettingsDlg::IdShowTrack, &SettingsRecord::ShowTrack},
    {CSettingsDlg::IdClipOnDesktop, &SettingsRecord::ClipOnDesktop},
    {CSettingsDlg::IdMainOnTop, &SettingsRecord::MainAlwaysOnTop},
    {CSettingsDlg::IdVideoOnTop, &SettingsRecord::VideoAlwaysOnTop},
    {CSettingsDlg::IdDetectCdrom, &SettingsRecord::DetectCdromMediaChange},
    {CSettingsDlg::IdShowFilePath, &SettingsRecord::ShowFilePathOnTitleBar},
    {CSettingsDlg::IdDelPlaylist, &SettingsRecord::DelPlaylistOnExit},
    {CSettingsDlg::IdReadShortcuts, &SettingsRecord::ReadShortcuts},
    {CSettingsDlg::IdReadM3u, &SettingsRecord::ReadM3u},
    {CSettingsDlg::IdAutoLyricsLookup, &SettingsRecord::AutoLyricsLookup},
};

constexpr int kColorSamples[] = {CSettingsDlg::IdTitleSample, CSettingsDlg::IdDataSample, CSettingsDlg::IdKaraokeSample,
                                 CSettingsDlg::IdSungSample, CSettingsDlg::IdTagSample};

template <typename T>
T* withId(T* widget, int id)
{
    SetDlgCtrlId(widget, id);
    return widget;
}

QCheckBox* addCheck(QLayout* layout, int id, const QString& text)
{
    auto* box = withId(new QCheckBox(text), id);
    layout->addWidget(box);
    return box;
}

QPushButton* newButton(int id, const QString& text)
{
    auto* button = withId(new QPushButton(text), id);
    button->setAutoDefault(false);
    return button;
}

// The font as the chooser starts from it: the family that really draws it, since the stored face
// may be a Windows font this system does not have.
QFont chooserFont(const LogFont& logFont)
{
    QFont font = logFont.toQFont();
    font.setFamilies({QFontInfo(font).family()});
    return font;
}

// The names CodePage.txt is shipped with, shown in the interface's language; a name the user
// wrote into the file shows as written.
constexpr const char* kShippedCodePageNames[] = {
    QT_TRANSLATE_NOOP("Ui", "日本語 (シフトJIS)"),         QT_TRANSLATE_NOOP("Ui", "日本語 (EUC)"),
    QT_TRANSLATE_NOOP("Ui", "日本語 (JIS)"),               QT_TRANSLATE_NOOP("Ui", "西ヨーロッパ言語 (Windows)"),
    QT_TRANSLATE_NOOP("Ui", "西ヨーロッパ言語 (ISO)"),     QT_TRANSLATE_NOOP("Ui", "簡体字中国語 (GB2312)"),
    QT_TRANSLATE_NOOP("Ui", "繁体字中国語 (Big5)"),        QT_TRANSLATE_NOOP("Ui", "韓国語"),
    QT_TRANSLATE_NOOP("Ui", "タイ語"),                     QT_TRANSLATE_NOOP("Ui", "中央ヨーロッパ言語"),
    QT_TRANSLATE_NOOP("Ui", "キリル言語"),                 QT_TRANSLATE_NOOP("Ui", "ギリシャ語"),
    QT_TRANSLATE_NOOP("Ui", "トルコ語"),                   QT_TRANSLATE_NOOP("Ui", "ヘブライ語"),
    QT_TRANSLATE_NOOP("Ui", "アラビア語"),                 QT_TRANSLATE_NOOP("Ui", "バルト言語"),
    QT_TRANSLATE_NOOP("Ui", "ベトナム語"),
};

QString shownCodePageName(const QString& name)
{
    const QByteArray text = name.toUtf8();
    const bool shipped = std::any_of(std::begin(kShippedCodePageNames), std::end(kShippedCodePageNames),
                                     [&](const char* shippedName) { return text == shippedName; });
    return shipped ? Ui::tr(text.constData()) : name;
}

void fillCodePages(QComboBox* combo, const CodePageChoices& codePages)
{
    for (const CodePageChoice& choice : codePages)
        combo->addItem(shownCodePageName(choice.Name), choice.Number);
}

// The entry of the code page, or the first one when the list has none of that number.
void selectCodePage(QComboBox* combo, int number)
{
    const int index = combo->findData(number);
    combo->setCurrentIndex(index >= 0 ? index : 0);
}

void takeCodePage(const QComboBox* combo, int& number)
{
    if (combo->currentIndex() >= 0)
        number = combo->currentData().toInt();
}

} // namespace

CSettingsDlg::CSettingsDlg(const SettingsRecord& record, const CodePageChoices& codePages, QWidget* parent)
    : QDialog(parent), m_record(record)
{
    RegisterDialogStrings();
    setWindowTitle(Ui::tr("設定"));
    ApplyDialogFont(this);
    m_record.Changed = {};

    // Template order, which is also the tab order: the left column, then the right one.
    auto* left = new QVBoxLayout;
    for (QGroupBox* group : {BuildFontGroup(), BuildTagGroup(), BuildScrollGroup(), BuildShowGroup()})
        left->addWidget(group);
    left->addStretch();
    auto* right = new QVBoxLayout;
    for (QGroupBox* group : {BuildKaraokeGroup(), BuildOtherGroup(), BuildFilesGroup()})
        right->addWidget(group);
    right->addStretch();
    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addLayout(BuildButtons());
    layout->setSizeConstraint(QLayout::SetFixedSize);

    ExchangeToControls();
    InitSamples();
    InitTagReading(codePages);
    InitKaraokeCodePage(codePages);
    InitColors();
    OnMainOnTopClicked();
    InitExtensions();
    InitLanguage();
}

QString CSettingsDlg::SampleText(const LogFont& font)
{
    const qint64 height = std::llabs(static_cast<qint64>(font.lfHeight));
    const qint64 points = (height * 72 + 48) / 96;
    return QStringLiteral("%1 - %2 pt").arg(font.lfFaceName, QString::number(points));
}

QPushButton* CSettingsDlg::AddSampleRow(QGridLayout* grid, const QString& label, QLabel* sample, int sampleId,
                                        int buttonId, const QString& buttonText)
{
    // Sample rows come first in each grid, three items a row.
    const int row = grid->count() / 3;
    sample->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    sample->setMinimumWidth(170);
    sample->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    grid->addWidget(new QLabel(label), row, 0);
    grid->addWidget(withId(sample, sampleId), row, 1);
    QPushButton* button = newButton(buttonId, buttonText);
    grid->addWidget(button, row, 2);
    return button;
}

QGroupBox* CSettingsDlg::BuildFontGroup()
{
    auto* group = new QGroupBox(Ui::tr("フォント"), this);
    auto* grid = new QGridLayout(group);
    connect(AddSampleRow(grid, Ui::tr("ツリー"), new QLabel, IdTreeSample, IdTreeFont, Ui::tr("変更")),
            &QPushButton::clicked, this,
            [this] { ChoosePlainFont(m_record.TreeFont, IdTreeSample, m_record.Changed.TreeFont); });
    connect(AddSampleRow(grid, Ui::tr("パス"), new QLabel, IdPathSample, IdPathFont, Ui::tr("変更")),
            &QPushButton::clicked, this,
            [this] { ChoosePlainFont(m_record.PathFont, IdPathSample, m_record.Changed.PathFont); });
    connect(AddSampleRow(grid, Ui::tr("リスト"), new QLabel, IdListSample, IdListFont, Ui::tr("変更")),
            &QPushButton::clicked, this,
            [this] { ChoosePlainFont(m_record.ListFont, IdListSample, m_record.Changed.ListFont); });
    return group;
}

QGroupBox* CSettingsDlg::BuildTagGroup()
{
    auto* group = new QGroupBox(Ui::tr("曲情報の読込み (mp3のみ有効)"), this);
    auto* grid = new QGridLayout(group);
    auto* engineTags = withId(new QRadioButton(Ui::tr("WindowsMediaPlayerの機能を使用")), IdWmpTags);
    auto* ownTags = withId(new QRadioButton(Ui::tr("独自ライブラリで読込む")), IdOwnTags);
    auto* radios = new QButtonGroup(group);
    radios->addButton(engineTags);
    radios->addButton(ownTags);
    grid->addWidget(engineTags, 0, 0, 1, 2);
    grid->addWidget(ownTags, 1, 0, 1, 2);
    grid->addWidget(new QLabel(Ui::tr("文字コード")), 2, 0);
    auto* codePage = withId(new QComboBox, IdTagCodePage);
    codePage->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    grid->addWidget(codePage, 2, 1);
    grid->addWidget(new QLabel(Ui::tr("(*)Unicodeの時は文字コードは無視")), 3, 0, 1, 2);
    connect(engineTags, &QRadioButton::clicked, this, [this] {
        if (IsChecked(IdWmpTags))
            Combo(IdTagCodePage)->setEnabled(false);
    });
    connect(ownTags, &QRadioButton::clicked, this, [this] {
        if (IsChecked(IdOwnTags))
            Combo(IdTagCodePage)->setEnabled(true);
    });
    return group;
}

QGroupBox* CSettingsDlg::BuildScrollGroup()
{
    auto* group = new QGroupBox(Ui::tr("スクロールテキスト"), this);
    auto* grid = new QGridLayout(group);
    connect(AddSampleRow(grid, Ui::tr("フォント(タイトル)"), NewColorSample(), IdTitleSample, IdTitleFont,
                         Ui::tr("変更")),
            &QPushButton::clicked, this, [this] {
                ChooseEffectsFont(m_record.TitleFont, m_record.TitleColor, {IdTitleSample}, IdTitleSample,
                                  m_record.Changed.TitleFont);
            });
    connect(AddSampleRow(grid, Ui::tr("フォント(データ)"), NewColorSample(), IdDataSample, IdDataFont, Ui::tr("変更")),
            &QPushButton::clicked, this, [this] {
                ChooseEffectsFont(m_record.DataFont, m_record.DataColor, {IdDataSample}, IdDataSample,
                                  m_record.Changed.DataFont);
            });
    grid->addWidget(new QLabel(Ui::tr("スクロール速度(1～5)")), 2, 0);
    auto* speedRow = new QHBoxLayout;
    auto* speed = withId(new QLineEdit, IdScrollSpeed);
    speed->setMaximumWidth(speed->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 12);
    speedRow->addWidget(speed);
    speedRow->addStretch();
    QPushButton* backColor = newButton(IdBackColor, Ui::tr("背景色の変更"));
    speedRow->addWidget(backColor);
    grid->addLayout(speedRow, 2, 1, 1, 2);
    connect(backColor, &QPushButton::clicked, this, &CSettingsDlg::ChooseBackColor);
    return group;
}

QGroupBox* CSettingsDlg::BuildShowGroup()
{
    auto* group = new QGroupBox(Ui::tr("表示項目"), this);
    auto* row = new QHBoxLayout(group);
    addCheck(row, IdShowFileName, Ui::tr("ファイル名"));
    addCheck(row, IdShowTitle, Ui::tr("タイトル"));
    addCheck(row, IdShowArtist, Ui::tr("アーティスト"));
    addCheck(row, IdShowAlbum, Ui::tr("アルバム"));
    addCheck(row, IdShowTrack, Ui::tr("トラック"));
    row->addStretch();
    return group;
}

QGroupBox* CSettingsDlg::BuildKaraokeGroup()
{
    auto* group = new QGroupBox(Ui::tr("カラオケ歌詞表示"), this);
    auto* grid = new QGridLayout(group);
    connect(AddSampleRow(grid, Ui::tr("フォント"), NewColorSample(), IdKaraokeSample, IdKaraokeFont, Ui::tr("変更")),
            &QPushButton::clicked, this, [this] {
                ChooseEffectsFont(m_record.KaraokeFont, m_record.UnsungColor,
                                  {IdKaraokeSample, IdSungSample, IdTagSample}, IdKaraokeSample,
                                  m_record.Changed.Karaoke);
            });
    connect(
        AddSampleRow(grid, Ui::tr("歌い終わった歌詞の色"), NewColorSample(), IdSungSample, IdSungColor, Ui::tr("変更")),
        &QPushButton::clicked, this, [this] { ChooseTextColor(m_record.SungColor, IdSungSample); });
    connect(AddSampleRow(grid, Ui::tr("タイムタグの色"), NewColorSample(), IdTagSample, IdTagColor, Ui::tr("変更")),
            &QPushButton::clicked, this, [this] { ChooseTextColor(m_record.TagColor, IdTagSample); });
    grid->addWidget(new QLabel(Ui::tr("歌詞の文字コード")), 3, 0);
    grid->addWidget(withId(new QComboBox, IdKaraokeCodePage), 3, 1, 1, 2);
    auto* lookup = withId(new QCheckBox(Ui::tr("歌詞のない曲は再生時に歌詞サーバーから取得")), IdAutoLyricsLookup);
    lookup->setToolTip(Ui::tr("曲のタイトル・アーティスト・アルバム・長さを歌詞サーバー (LRCLIB) に送ります"));
    grid->addWidget(lookup, 4, 0, 1, 3);
    grid->addWidget(new QLabel(Ui::tr("ルビ")), 5, 0);
    auto* ruby = withId(new QComboBox, IdRubyMode);
    ruby->addItems({Ui::tr("なし"), Ui::tr("指定のみ"), Ui::tr("自動")});
    ruby->setToolTip(Ui::tr("漢字の上に読みがなを表示します (自動: 歌詞ファイルにない読みを辞書で補います)"));
    grid->addWidget(ruby, 5, 1, 1, 2);
    return group;
}

QGroupBox* CSettingsDlg::BuildOtherGroup()
{
    auto* group = new QGroupBox(Ui::tr("その他の設定"), this);
    auto* column = new QVBoxLayout(group);
    addCheck(column, IdClipOnDesktop, Ui::tr("ウィンドウの移動をデスクトップ内に制限"));
    connect(addCheck(column, IdMainOnTop, Ui::tr("メイン画面を常に前面に表示")), &QCheckBox::clicked, this,
            &CSettingsDlg::OnMainOnTopClicked);
    addCheck(column, IdVideoOnTop, Ui::tr("ビデオ画面を常に前面に表示"));
    // Its click does nothing of its own: the value is taken at OK.
    addCheck(column, IdDetectCdrom, Ui::tr("CD-ROMのメディア交換を検出"));
    addCheck(column, IdShowFilePath, Ui::tr("タイトルバーにファイルのパスを表示"));
    auto* note = new QLabel(Ui::tr("(*) 次曲の再生時から有効"));
    note->setIndent(20);
    column->addWidget(note);
    addCheck(column, IdDelPlaylist, Ui::tr("終了時にプレイリストを削除"));
    auto* language = new QHBoxLayout;
    language->addWidget(withId(new QLabel(Ui::tr("言語 (次回の起動から有効)")), IdLanguageLabel));
    language->addWidget(withId(new QComboBox, IdLanguage));
    language->addStretch();
    column->addLayout(language);
    return group;
}

QGroupBox* CSettingsDlg::BuildFilesGroup()
{
    auto* group = new QGroupBox(Ui::tr("読込むファイル"), this);
    auto* grid = new QGridLayout(group);
    auto* list = withId(new QListWidget, IdExtensions);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->addWidget(list, 0, 0, 3, 1);
    QPushButton* add = newButton(IdAddExtension, Ui::tr("追加"));
    QPushButton* remove = newButton(IdDeleteExtension, Ui::tr("削除"));
    grid->addWidget(add, 0, 1);
    grid->addWidget(remove, 1, 1);
    grid->setRowStretch(2, 1);
    auto* passes = new QHBoxLayout;
    addCheck(passes, IdReadShortcuts, Ui::tr("ショートカットファイル"));
    addCheck(passes, IdReadM3u, Ui::tr("m3uファイル"));
    passes->addStretch();
    grid->addLayout(passes, 3, 0, 1, 2);
    connect(list, &QListWidget::itemSelectionChanged, this, &CSettingsDlg::OnExtensionSelectionChanged);
    connect(add, &QPushButton::clicked, this, &CSettingsDlg::OnAddExtension);
    connect(remove, &QPushButton::clicked, this, &CSettingsDlg::OnDeleteExtension);
    return group;
}

QLayout* CSettingsDlg::BuildButtons()
{
    auto* row = new QHBoxLayout;
    row->addStretch();
    auto* ok = withId(new QPushButton(Ui::tr("設定", "the button that applies the settings")), IdOk);
    ok->setDefault(true);
    QPushButton* cancel = newButton(IdCancel, Ui::tr("取消"));
    row->addWidget(ok);
    row->addWidget(cancel);
    connect(ok, &QPushButton::clicked, this, &CSettingsDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CSettingsDlg::reject);
    return row;
}

CColorStatic* CSettingsDlg::NewColorSample()
{
    auto* sample = new CColorStatic(this);
    sample->Attach();
    return sample;
}

void CSettingsDlg::ExchangeToControls()
{
    for (const CheckBinding& check : kChecks)
        SetChecked(check.id, m_record.*check.member);
    DlgItem<QLineEdit>(this, IdScrollSpeed)->setText(QString::number(m_record.ScrollSpeed));
}

void CSettingsDlg::InitSamples()
{
    Sample(IdTreeSample)->setText(SampleText(m_record.TreeFont));
    Sample(IdPathSample)->setText(SampleText(m_record.PathFont));
    Sample(IdListSample)->setText(SampleText(m_record.ListFont));
    Sample(IdTitleSample)->setText(SampleText(m_record.TitleFont));
    Sample(IdDataSample)->setText(SampleText(m_record.DataFont));
    for (int id : {IdKaraokeSample, IdSungSample, IdTagSample})
        Sample(id)->setText(SampleText(m_record.KaraokeFont));
}

void CSettingsDlg::InitTagReading(const CodePageChoices& codePages)
{
    SetChecked(m_record.UseID3Edit ? IdOwnTags : IdWmpTags, true);
    QComboBox* combo = Combo(IdTagCodePage);
    combo->setEnabled(m_record.UseID3Edit);
    fillCodePages(combo, codePages);
    selectCodePage(combo, m_record.TagCodePage);
}

void CSettingsDlg::InitKaraokeCodePage(const CodePageChoices& codePages)
{
    QComboBox* combo = Combo(IdKaraokeCodePage);
    combo->addItem(QStringLiteral("Unicode"), 0);
    fillCodePages(combo, codePages);
    selectCodePage(combo, m_record.KaraokeCodePage);
    Combo(IdRubyMode)->setCurrentIndex(std::clamp(m_record.RubyMode, 0, 2));
}

void CSettingsDlg::InitColors()
{
    ColorSample(IdTitleSample)->SetColors(m_record.TitleColor, m_record.BackColor);
    ColorSample(IdDataSample)->SetColors(m_record.DataColor, m_record.BackColor);
    ColorSample(IdKaraokeSample)->SetColors(m_record.UnsungColor, m_record.BackColor);
    ColorSample(IdSungSample)->SetColors(m_record.SungColor, m_record.BackColor);
    ColorSample(IdTagSample)->SetColors(m_record.TagColor, m_record.BackColor);
}

void CSettingsDlg::InitExtensions()
{
    QListWidget* list = ExtensionList();
    list->addItems(m_record.Extensions);
    // Whole rows only: a row cut at the bottom edge reads as a stray mark.
    const int row = list->count() > 0 ? list->sizeHintForRow(0) : list->fontMetrics().height();
    list->setFixedHeight(kExtensionRows * row + 2 * list->frameWidth());
    OnExtensionSelectionChanged();
}

void CSettingsDlg::ChoosePlainFont(LogFont& font, int sampleId, bool& changed)
{
    const ChooserAnswer answer = ChooseFont(this, chooserFont(font), false);
    if (!answer.accepted)
        return;
    font = LogFont::fromQFont(answer.font);
    Sample(sampleId)->setText(SampleText(font));
    changed = true;
}

void CSettingsDlg::ChooseEffectsFont(LogFont& font, COLORREF& color, std::initializer_list<int> sampleIds,
                                     int colorSampleId, bool& changed)
{
    const ChooserAnswer answer = ChooseFont(this, chooserFont(font), true, ToQColor(color));
    if (!answer.accepted)
        return;
    font = LogFont::fromQFont(answer.font);
    if (answer.color.isValid())
        color = FromQColor(answer.color);
    for (int id : sampleIds)
        Sample(id)->setText(SampleText(font));
    ColorSample(colorSampleId)->SetTextColor(color);
    changed = true;
}

void CSettingsDlg::ChooseTextColor(COLORREF& color, int sampleId)
{
    const ChooserAnswer answer = ChooseColor(this, ToQColor(color));
    if (!answer.accepted || !answer.color.isValid())
        return;
    color = FromQColor(answer.color);
    ColorSample(sampleId)->SetTextColor(color);
    m_record.Changed.Karaoke = true;
}

void CSettingsDlg::ChooseBackColor()
{
    const ChooserAnswer answer = ChooseColor(this, ToQColor(m_record.BackColor));
    if (!answer.accepted || !answer.color.isValid())
        return;
    m_record.BackColor = FromQColor(answer.color);
    for (int id : kColorSamples)
        ColorSample(id)->SetBackColor(m_record.BackColor);
}

void CSettingsDlg::OnMainOnTopClicked()
{
    // The video window cannot stay below a main window that is always on top.
    QWidget* videoOnTop = GetDlgItem(this, IdVideoOnTop);
    if (IsChecked(IdMainOnTop)) {
        SetChecked(IdVideoOnTop, true);
        videoOnTop->setEnabled(false);
    } else {
        videoOnTop->setEnabled(true);
    }
}

void CSettingsDlg::OnExtensionSelectionChanged()
{
    GetDlgItem(this, IdDeleteExtension)->setEnabled(!ExtensionList()->selectedItems().isEmpty());
}

void CSettingsDlg::OnAddExtension()
{
    CExtensionDlg dialog(this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    // The new entry goes at the end, which may lie below the shown rows.
    auto* item = new QListWidgetItem(dialog.Extension, ExtensionList());
    ExtensionList()->scrollToItem(item);
}

void CSettingsDlg::OnDeleteExtension()
{
    const QList<QListWidgetItem*> selected = ExtensionList()->selectedItems();
    if (!selected.isEmpty())
        delete selected.first();
    OnExtensionSelectionChanged();
}

void CSettingsDlg::InitLanguage()
{
    QComboBox* combo = Combo(IdLanguage);
    combo->addItem(Ui::tr("自動 (デスクトップの言語)"), QStringLiteral("auto"));
    combo->addItem(Ui::tr("日本語"), QStringLiteral("ja"));
    combo->addItem(QStringLiteral("English"), QStringLiteral("en"));
    const int index = combo->findData(m_record.Language);
    combo->setCurrentIndex(index >= 0 ? index : 0);
}

void CSettingsDlg::accept()
{
    m_record.UseID3Edit = IsChecked(IdOwnTags);
    takeCodePage(Combo(IdTagCodePage), m_record.TagCodePage);
    takeCodePage(Combo(IdKaraokeCodePage), m_record.KaraokeCodePage);
    m_record.RubyMode = Combo(IdRubyMode)->currentIndex();
    m_record.Language = Combo(IdLanguage)->currentData().toString();
    QListWidget* list = ExtensionList();
    m_record.Extensions.clear();
    for (int row = 0; row < list->count(); ++row)
        m_record.Extensions.append(list->item(row)->text());
    if (!ExchangeFromControls())
        return;
    QDialog::accept();
}

bool CSettingsDlg::ExchangeFromControls()
{
    for (const CheckBinding& check : kChecks)
        m_record.*check.member = IsChecked(check.id);
    auto* edit = DlgItem<QLineEdit>(this, IdScrollSpeed);
    // As the framework read an integer: spaces around it allowed, nothing else.
    bool isInteger = false;
    const int speed = edit->text().trimmed().toInt(&isInteger);
    if (!isInteger) {
        AfxMessageBox(StringTable::text(IDS_PARSE_INT), MB_OK | MB_ICONWARNING);
        edit->setFocus();
        edit->selectAll();
        return false;
    }
    m_record.ScrollSpeed = speed;
    return true;
}

bool CSettingsDlg::IsChecked(int id) const
{
    const auto* button = DlgItem<QAbstractButton>(this, id);
    return button && button->isChecked();
}

void CSettingsDlg::SetChecked(int id, bool checked)
{
    DlgItem<QAbstractButton>(this, id)->setChecked(checked);
}

QLabel* CSettingsDlg::Sample(int id) const { return DlgItem<QLabel>(this, id); }
CColorStatic* CSettingsDlg::ColorSample(int id) const { return DlgItem<CColorStatic>(this, id); }
QComboBox* CSettingsDlg::Combo(int id) const { return DlgItem<QComboBox>(this, id); }
QListWidget* CSettingsDlg::ExtensionList() const { return DlgItem<QListWidget>(this, IdExtensions); }
