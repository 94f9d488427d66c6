#include "player/karaoke/LyricPublishDlg.h"

#include "common/ui/DialogTemplate.h"
#include "common/ui/MessageBox.h"
#include "common/ui/StringTable.h"
#include "common/ui/Ui.h"
#include "platform/net/LrclibChallengeSolver.h"
#include "platform/net/LrclibClient.h"
#include "platform/net/LrclibRequest.h"
#include "player/karaoke/LyricRecordOrder.h"
#include "player/karaoke/OnlineLyricsStrings.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>

#include <algorithm>

namespace {

using namespace OnlineLyricsString;

const QString kCaption = QStringLiteral("CLyricPublishDlg::Publish");
constexpr int kProgressSteps = 1000;
constexpr int kProgressPeriodMs = 100;

QPlainTextEdit* readOnlyText(const QString& text)
{
    auto* edit = new QPlainTextEdit(text);
    edit->setReadOnly(true);
    return edit;
}

} // namespace

CLyricPublishDlg::CLyricPublishDlg(LrclibClient& client, const LyricsTrack& track, const CLrclibLyrics::Lines& lyrics,
                                   QWidget* parent)
    : QDialog(parent), m_client(client), m_track(track)
{
    RegisterOnlineLyricsStrings();
    setWindowTitle(StringTable::text(PublishDialogCaption));
    ApplyDialogFont(this);
    BuildControls(lyrics);
    m_progressTimer.setInterval(kProgressPeriodMs);
    connect(&m_progressTimer, &QTimer::timeout, this, &CLyricPublishDlg::ShowProgress);
    resize(760, 560);
}

CLyricPublishDlg::~CLyricPublishDlg()
{
    StopSolving();
    if (m_request)
        m_request->Cancel();
}

void CLyricPublishDlg::BuildControls(const CLrclibLyrics::Lines& lyrics)
{
    const LrclibTrack& tags = m_track.Tags;
    auto* form = new QFormLayout;
    m_title = new QLineEdit(tags.TrackName);
    m_artist = new QLineEdit(tags.ArtistName);
    m_album = new QLineEdit(tags.AlbumName);
    form->addRow(Ui::tr("タイトル(&T)"), m_title);
    form->addRow(Ui::tr("アーティスト(&R)"), m_artist);
    form->addRow(Ui::tr("アルバム(&L)"), m_album);
    // Beside m:ss the field as the request's JSON writes it, so the user sees the very value sent.
    const QString seconds = QString::number(tags.Duration, 'g', QLocale::FloatingPointShortest);
    const QString minutes = CLyricRecordOrder::DurationText(tags.Duration);
    m_duration = new QLabel(QStringLiteral("%1 (duration: %2)").arg(minutes, seconds));
    form->addRow(Ui::tr("長さ"), m_duration);
    form->addRow(Ui::tr("送信先"), new QLabel(m_client.Server().toString()));

    auto* texts = new QGridLayout;
    texts->addWidget(new QLabel(Ui::tr("同期歌詞 (syncedLyrics)")), 0, 0);
    texts->addWidget(new QLabel(Ui::tr("テキスト歌詞 (plainLyrics)")), 0, 1);
    m_synced = readOnlyText(lyrics.Synced);
    m_plain = readOnlyText(lyrics.Plain);
    texts->addWidget(m_synced, 1, 0);
    texts->addWidget(m_plain, 1, 1);

    m_status = new QLabel;
    m_status->setWordWrap(true);
    m_progress = new QProgressBar;
    m_progress->setRange(0, kProgressSteps);
    m_progress->hide();
    auto* buttons = new QDialogButtonBox;
    m_publish = buttons->addButton(Ui::tr("公開(&P)"), QDialogButtonBox::ActionRole);
    m_close = buttons->addButton(Ui::tr("閉じる"), QDialogButtonBox::RejectRole);
    connect(m_publish, &QPushButton::clicked, this, &CLyricPublishDlg::Publish);
    connect(buttons, &QDialogButtonBox::rejected, this, &CLyricPublishDlg::reject);
    // Sending is asked for by the button alone, never by an Enter meant for a field.
    for (QPushButton* button : buttons->findChildren<QPushButton*>())
        button->setAutoDefault(false);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(texts, 1);
    layout->addWidget(m_status);
    layout->addWidget(m_progress);
    layout->addWidget(buttons);
}

LrclibRecord CLyricPublishDlg::Record() const
{
    LrclibRecord record;
    record.Track = {m_title->text().trimmed(), m_artist->text().trimmed(), m_album->text().trimmed(),
                    m_track.Tags.Duration};
    record.SyncedLyrics = m_synced->toPlainText();
    record.PlainLyrics = m_plain->toPlainText();
    return record;
}

void CLyricPublishDlg::Publish()
{
    if (m_working)
        return;
    const LrclibRecord record = Record();
    if (record.Track.TrackName.isEmpty() || record.Track.ArtistName.isEmpty() || record.Track.Duration <= 0) {
        Fail(StringTable::text(PublishNeedsNames));
        return;
    }
    SetWorking(true);
    m_status->setText(StringTable::text(Solving));
    m_request = m_client.RequestChallenge(
        this, [this](const LrclibChallenge& challenge, const LrclibError& error) { OnChallenge(challenge, error); });
}

void CLyricPublishDlg::OnChallenge(const LrclibChallenge& challenge, const LrclibError& error)
{
    m_request.clear();
    if (error.IsError()) {
        Fail(StringTable::format(PublishFailed, {OnlineLyricsErrorText(error, m_client.Server())}));
        return;
    }
    StartSolving(challenge);
}

void CLyricPublishDlg::StartSolving(const LrclibChallenge& challenge)
{
    m_challenge = challenge;
    m_cancel = false;
    m_tried = 0;
    m_nonce.reset();
    m_expectedTries = LrclibChallengeSolver::ExpectedTries(challenge.Target);
    m_progress->setValue(0);
    m_progress->show();
    // Every core but one, which stays with the playback and the window.
    const int threads = std::max(1, QThread::idealThreadCount() - 1);
    m_solver = QThread::create([this, prefix = challenge.Prefix, target = challenge.Target, threads] {
        m_nonce = LrclibChallengeSolver::Solve(prefix, target, m_cancel, m_tried, threads);
    });
    connect(m_solver, &QThread::finished, this, &CLyricPublishDlg::OnSolved);
    m_solver->start(QThread::LowPriority);
    m_progressTimer.start();
}

void CLyricPublishDlg::ShowProgress()
{
    // The work is a lottery: the bar shows the tries against the mean a solution takes, held
    // short of the end until one is found.
    const double share = m_expectedTries > 0 ? double(m_tried.load()) / m_expectedTries : 0;
    m_progress->setValue(std::min(kProgressSteps - 1, int(share * kProgressSteps)));
}

void CLyricPublishDlg::OnSolved()
{
    m_progressTimer.stop();
    m_solver->wait();
    m_solver->deleteLater();
    m_solver = nullptr;
    if (!m_nonce || m_cancel) {
        SetWorking(false);
        return;
    }
    m_progress->setValue(kProgressSteps);
    m_status->setText(StringTable::text(Publishing));
    m_request = m_client.Publish(m_challenge, *m_nonce, Record(), this,
                                 [this](const LrclibError& error) { OnPublished(error); });
}

void CLyricPublishDlg::OnPublished(const LrclibError& error)
{
    m_request.clear();
    if (error.IsError()) {
        Fail(StringTable::format(PublishFailed, {OnlineLyricsErrorText(error, m_client.Server())}));
        return;
    }
    SetWorking(false);
    m_status->setText(StringTable::text(Published));
    ShowMessageBox(this, StringTable::text(Published), kCaption, MB_OK | MB_ICONINFORMATION);
    emit PublishFinished(true);
    accept();
}

void CLyricPublishDlg::Fail(const QString& message)
{
    SetWorking(false);
    m_progress->hide();
    m_status->setText(message);
    ShowMessageBox(this, message, kCaption, MB_OK | MB_ICONWARNING);
    emit PublishFinished(false);
}

void CLyricPublishDlg::StopSolving()
{
    m_progressTimer.stop();
    if (!m_solver)
        return;
    m_cancel = true;
    m_solver->disconnect(this);
    m_solver->wait();
    delete m_solver;
    m_solver = nullptr;
}

void CLyricPublishDlg::Cancel()
{
    if (!m_working)
        return;
    StopSolving();
    if (m_request)
        m_request->Cancel();
    m_request.clear();
    m_progress->hide();
    m_status->clear();
    SetWorking(false);
    emit PublishFinished(false);
}

void CLyricPublishDlg::reject()
{
    // While working the button cancels the work; the dialog stays for another try.
    if (m_working) {
        Cancel();
        return;
    }
    QDialog::reject();
}

void CLyricPublishDlg::SetWorking(bool working)
{
    m_working = working;
    m_publish->setEnabled(!working);
    for (QLineEdit* edit : {m_title, m_artist, m_album})
        edit->setReadOnly(working);
    m_close->setText(working ? Ui::tr("キャンセル") : Ui::tr("閉じる"));
    if (working)
        setCursor(Qt::BusyCursor);
    else
        unsetCursor();
}

QString CLyricPublishDlg::StatusText() const
{
    return m_status->text();
}

QString CLyricPublishDlg::DurationText() const
{
    return m_duration->text();
}
