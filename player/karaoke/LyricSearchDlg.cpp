#include "player/karaoke/LyricSearchDlg.h"

#include "common/ui/DialogTemplate.h"
#include "common/ui/MessageBox.h"
#include "common/ui/StringTable.h"
#include "common/ui/Ui.h"
#include "platform/net/LrclibClient.h"
#include "platform/net/LrclibRequest.h"
#include "player/karaoke/FetchedLyricsSaver.h"
#include "player/karaoke/LrclibLyrics.h"
#include "player/karaoke/LyricRecordOrder.h"
#include "player/karaoke/OnlineLyricsStrings.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

using namespace OnlineLyricsString;

const QString kSaveCaption = QStringLiteral("CLyricSearchDlg::Save");

QLineEdit* addField(QGridLayout* grid, int row, int column, const QString& label, const QString& text)
{
    auto* edit = new QLineEdit(text);
    // A long title shows its beginning, not its end.
    edit->setCursorPosition(0);
    auto* caption = new QLabel(label);
    caption->setBuddy(edit);
    grid->addWidget(caption, row, column);
    grid->addWidget(edit, row, column + 1);
    return edit;
}

// "m:ss" or whole seconds; no value for anything else.
std::optional<double> parseDuration(const QString& text)
{
    static const QRegularExpression form(QStringLiteral("^\\s*(?:(\\d{1,4}):)?(\\d{1,5})\\s*$"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    return match.captured(1).toDouble() * 60 + match.captured(2).toDouble();
}

} // namespace

CLyricSearchDlg::CLyricSearchDlg(LrclibClient& client, const LyricsTrack& track, QWidget* parent)
    : QDialog(parent), m_client(client), m_track(track)
{
    RegisterOnlineLyricsStrings();
    setWindowTitle(StringTable::text(SearchDialogCaption));
    ApplyDialogFont(this);
    BuildControls();
    resize(720, 560);
}

CLyricSearchDlg::~CLyricSearchDlg()
{
    if (m_request)
        m_request->Cancel();
}

void CLyricSearchDlg::BuildControls()
{
    const LrclibTrack& tags = m_track.Tags;
    auto* fields = new QGridLayout;
    m_title = addField(fields, 0, 0, Ui::tr("タイトル(&T)"), tags.TrackName);
    m_artist = addField(fields, 0, 2, Ui::tr("アーティスト(&R)"), tags.ArtistName);
    m_album = addField(fields, 1, 0, Ui::tr("アルバム(&L)"), tags.AlbumName);
    m_duration = addField(fields, 1, 2, Ui::tr("長さ(&D)"), CLyricRecordOrder::DurationText(tags.Duration));
    m_duration->setPlaceholderText(QStringLiteral("m:ss"));
    m_search = new QPushButton(Ui::tr("検索(&S)"));
    fields->addWidget(m_search, 1, 4);
    for (QLineEdit* edit : {m_title, m_artist, m_album, m_duration})
        connect(edit, &QLineEdit::returnPressed, this, &CLyricSearchDlg::Search);
    connect(m_search, &QPushButton::clicked, this, &CLyricSearchDlg::Search);

    m_list = new QTreeWidget;
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setHeaderLabels(
        {Ui::tr("タイトル"), Ui::tr("アーティスト"), Ui::tr("アルバム"), Ui::tr("長さ"), Ui::tr("種類")});
    m_list->header()->setStretchLastSection(false);
    for (int column : {ColumnTitle, ColumnArtist, ColumnAlbum})
        m_list->header()->setSectionResizeMode(column, QHeaderView::Stretch);
    for (int column : {ColumnDuration, ColumnKind})
        m_list->header()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    connect(m_list, &QTreeWidget::currentItemChanged, this, &CLyricSearchDlg::ShowPreview);
    connect(m_list, &QTreeWidget::itemActivated, this, [this] { SaveSelected(); });

    m_preview = new QPlainTextEdit;
    m_preview->setReadOnly(true);

    m_status = new QLabel;
    m_status->setWordWrap(true);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_busy = new QProgressBar;
    m_busy->setRange(0, 0);
    m_busy->setMaximumWidth(120);
    m_busy->hide();
    auto* buttons = new QDialogButtonBox;
    // An action, not the box's accept button, which a dialog would make its default for Enter;
    // "保存" closes the dialog only when it wrote.
    m_save = buttons->addButton(Ui::tr("保存(&A)"), QDialogButtonBox::ActionRole);
    m_save->setEnabled(false);
    buttons->addButton(Ui::tr("閉じる"), QDialogButtonBox::RejectRole);
    connect(m_save, &QPushButton::clicked, this, [this] { SaveSelected(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_status, 1);
    bottom->addWidget(m_busy);
    bottom->addWidget(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(m_list, 3);
    layout->addWidget(m_preview, 2);
    layout->addLayout(bottom);
    // Enter in a field searches and Enter on a result saves it; no button takes Enter for itself.
    for (QPushButton* button : findChildren<QPushButton*>())
        button->setAutoDefault(false);
}

void CLyricSearchDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_searchedOnce) {
        m_searchedOnce = true;
        QTimer::singleShot(0, this, &CLyricSearchDlg::Search);
    }
}

LrclibTrack CLyricSearchDlg::Fields() const
{
    return {m_title->text().trimmed(), m_artist->text().trimmed(), m_album->text().trimmed(), DurationSeconds()};
}

double CLyricSearchDlg::DurationSeconds() const
{
    // The field shows whole seconds; while it says what it said at first, the exact value counts.
    if (m_duration->text() == CLyricRecordOrder::DurationText(m_track.Tags.Duration))
        return m_track.Tags.Duration;
    return parseDuration(m_duration->text()).value_or(0);
}

void CLyricSearchDlg::Search()
{
    m_searchedOnce = true;
    const LrclibTrack fields = Fields();
    SendSearch(fields, !fields.AlbumName.isEmpty());
}

void CLyricSearchDlg::SendSearch(const LrclibTrack& fields, bool withAlbum)
{
    if (m_request)
        m_request->Cancel();
    SetBusy(true);
    SetStatus(StringTable::text(Searching), false);
    const auto answer = [this, fields, withAlbum](const QList<LrclibRecord>& records, const LrclibError& error) {
        m_request.clear();
        OnResults(records, error);
        // An album the service spells otherwise would hide every record of the song: again without it.
        if (!error.IsError() && records.isEmpty() && withAlbum) {
            SendSearch(fields, false);
            return;
        }
        emit SearchFinished();
    };
    if (fields.TrackName.isEmpty()) {
        const QString text = QStringList{fields.ArtistName, withAlbum ? fields.AlbumName : QString()}.join(u' ').trimmed();
        m_request = m_client.SearchText(text, this, answer);
        return;
    }
    LrclibTrack query = fields;
    if (!withAlbum)
        query.AlbumName.clear();
    m_request = m_client.Search(query, this, answer);
}

void CLyricSearchDlg::OnResults(const QList<LrclibRecord>& records, const LrclibError& error)
{
    SetBusy(false);
    m_results = records;
    CLyricRecordOrder::SortBestFirst(m_results, DurationSeconds());
    ShowResults();
    if (error.IsError())
        SetStatus(OnlineLyricsErrorText(error, m_client.Server()), true);
    else if (m_results.isEmpty())
        SetStatus(StringTable::text(NotFound), false);
    else
        SetStatus(StringTable::format(FoundCount, {QString::number(m_results.size())}), false);
}

void CLyricSearchDlg::ShowResults()
{
    m_list->clear();
    for (const LrclibRecord& record : m_results) {
        auto* item = new QTreeWidgetItem(m_list);
        item->setText(ColumnTitle, record.Track.TrackName);
        item->setText(ColumnArtist, record.Track.ArtistName);
        item->setText(ColumnAlbum, record.Track.AlbumName);
        item->setText(ColumnDuration, CLyricRecordOrder::DurationText(record.Track.Duration));
        item->setText(ColumnKind, CLyricRecordOrder::KindText(record));
        item->setTextAlignment(ColumnDuration, Qt::AlignRight | Qt::AlignVCenter);
    }
    if (m_list->topLevelItemCount() > 0) {
        m_list->setCurrentItem(m_list->topLevelItem(0));
        m_list->setFocus(Qt::OtherFocusReason);
    }
    ShowPreview();
}

const LrclibRecord* CLyricSearchDlg::Selected() const
{
    const int index = m_list->indexOfTopLevelItem(m_list->currentItem());
    return index >= 0 && index < m_results.size() ? &m_results[index] : nullptr;
}

void CLyricSearchDlg::ShowPreview()
{
    const LrclibRecord* record = Selected();
    m_save->setEnabled(record != nullptr);
    if (!record) {
        m_preview->clear();
        return;
    }
    const QString lyrics = !record->SyncedLyrics.isEmpty() ? record->SyncedLyrics : record->PlainLyrics;
    m_preview->setPlainText(lyrics.isEmpty() ? StringTable::text(NoLyricsInRecord) : lyrics);
}

bool CLyricSearchDlg::SaveSelected()
{
    const LrclibRecord* record = Selected();
    if (!record)
        return false;
    const CLrclibLyrics::ToSave lyrics = CLrclibLyrics::TextToSave(*record);
    if (!lyrics.Text) {
        ShowMessageBox(this, lyrics.Problem, kSaveCaption, MB_OK | MB_ICONWARNING);
        return false;
    }
    const auto confirm = [this](const QString& existing) {
        return ShowMessageBox(this, StringTable::format(OverwriteConfirm, {existing}), kSaveCaption,
                              MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
    };
    const CFetchedLyricsSaver::Result saved = CFetchedLyricsSaver::Save(m_track, *lyrics.Text, confirm);
    switch (saved.What) {
    case CFetchedLyricsSaver::Outcome::Declined: return false;
    case CFetchedLyricsSaver::Outcome::Failed:
        ShowMessageBox(this, StringTable::format(SaveFailed, {saved.Path}), kSaveCaption, MB_OK | MB_ICONWARNING);
        return false;
    case CFetchedLyricsSaver::Outcome::Saved: break;
    }
    SetStatus(StringTable::format(Saved, {saved.Path}), false);
    emit LyricsSaved(m_track.Path, saved.Path);
    accept();
    return true;
}

void CLyricSearchDlg::SetBusy(bool busy)
{
    m_busy->setVisible(busy);
    m_search->setEnabled(!busy);
    if (busy)
        setCursor(Qt::BusyCursor);
    else
        unsetCursor();
}

void CLyricSearchDlg::SetStatus(const QString& text, bool problem)
{
    m_status->setText(text);
    m_status->setStyleSheet(problem ? QStringLiteral("color: #c00000;") : QString());
}

QString CLyricSearchDlg::StatusText() const
{
    return m_status->text();
}

QString CLyricSearchDlg::PreviewText() const
{
    return m_preview->toPlainText();
}
