#pragma once

#include "player/karaoke/LrclibLyrics.h"
#include "player/karaoke/LyricsTrack.h"

#include <QDialog>
#include <QPointer>
#include <QTimer>

#include <atomic>
#include <optional>

class LrclibClient;
class LrclibRequest;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QThread;

// "歌詞を公開": shows exactly what goes to the lyrics server (title, artist and album, which the
// user may correct, the duration, the line-synced and the plain lyrics) and publishes it on
// "公開": a challenge is asked for, its proof of work solved on a thread of its own with a
// progress bar and "キャンセル", then the record sent with the token. The server's answer, success
// or its message, is shown.
class CLyricPublishDlg : public QDialog
{
    Q_OBJECT
public:
    CLyricPublishDlg(LrclibClient& client, const LyricsTrack& track, const CLrclibLyrics::Lines& lyrics,
                     QWidget* parent = nullptr);
    ~CLyricPublishDlg() override;

    // What "公開" sends.
    LrclibRecord Record() const;
    void Publish();
    void Cancel();
    bool IsWorking() const { return m_working; }
    QString StatusText() const;
    QString DurationText() const;
    QProgressBar* Progress() const { return m_progress; }
    QPushButton* PublishButton() const { return m_publish; }

signals:
    // The work ended: published, failed or cancelled.
    void PublishFinished(bool published);

public slots:
    void reject() override;

private:
    void BuildControls(const CLrclibLyrics::Lines& lyrics);
    void OnChallenge(const LrclibChallenge& challenge, const LrclibError& error);
    void StartSolving(const LrclibChallenge& challenge);
    void OnSolved();
    void OnPublished(const LrclibError& error);
    void ShowProgress();
    void StopSolving();
    void SetWorking(bool working);
    void Fail(const QString& message);

    LrclibClient& m_client;
    LyricsTrack m_track;
    QLineEdit* m_title = nullptr;
    QLineEdit* m_artist = nullptr;
    QLineEdit* m_album = nullptr;
    QPlainTextEdit* m_synced = nullptr;
    QPlainTextEdit* m_plain = nullptr;
    QLabel* m_status = nullptr;
    QLabel* m_duration = nullptr;
    QProgressBar* m_progress = nullptr;
    QPushButton* m_publish = nullptr;
    QPushButton* m_close = nullptr;

    bool m_working = false;
    QPointer<LrclibRequest> m_request;
    LrclibChallenge m_challenge;
    QThread* m_solver = nullptr;
    std::atomic<bool> m_cancel{false};
    std::atomic<quint64> m_tried{0};
    std::optional<quint64> m_nonce;
    double m_expectedTries = 0;
    QTimer m_progressTimer;
};
