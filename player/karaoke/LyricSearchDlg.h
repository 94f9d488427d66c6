#pragma once

#include "player/karaoke/LyricsTrack.h"

#include <QDialog>
#include <QList>
#include <QPointer>

class LrclibClient;
class LrclibRequest;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTreeWidget;

// "歌詞を検索": looks a track's lyrics up on the lyrics server. Title, artist, album and duration
// start as the track's; the search runs at once and again on "検索" (Enter). Results are listed
// best first (duration within 2 s of the track's, then synced, then plain) with title, artist,
// album, duration and kind; the selected one's lyrics are previewed. "保存" (or a double click)
// writes them for the track (CFetchedLyricsSaver), asking before it replaces a lyric file, and
// closes the dialog. Nothing waits: the search runs on while the dialog stays usable.
class CLyricSearchDlg : public QDialog
{
    Q_OBJECT
public:
    enum Column { ColumnTitle, ColumnArtist, ColumnAlbum, ColumnDuration, ColumnKind, ColumnCount };

    CLyricSearchDlg(LrclibClient& client, const LyricsTrack& track, QWidget* parent = nullptr);
    ~CLyricSearchDlg() override;

    void Search();
    bool IsSearching() const { return !m_request.isNull(); }
    const QList<LrclibRecord>& Results() const { return m_results; }
    QTreeWidget* ResultList() const { return m_list; }
    QString StatusText() const;
    QString PreviewText() const;
    QPushButton* SaveButton() const { return m_save; }
    QLineEdit* TitleEdit() const { return m_title; }
    QLineEdit* DurationEdit() const { return m_duration; }
    // Writes the selected record's lyrics; false when nothing was written.
    bool SaveSelected();

signals:
    void SearchFinished();
    void LyricsSaved(const QString& trackPath, const QString& lyricPath);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BuildControls();
    LrclibTrack Fields() const;
    double DurationSeconds() const;
    void SendSearch(const LrclibTrack& fields, bool withAlbum);
    void OnResults(const QList<LrclibRecord>& records, const LrclibError& error);
    void ShowResults();
    void ShowPreview();
    void SetBusy(bool busy);
    void SetStatus(const QString& text, bool problem);
    const LrclibRecord* Selected() const;

    LrclibClient& m_client;
    LyricsTrack m_track;
    QPointer<LrclibRequest> m_request;
    QList<LrclibRecord> m_results;
    bool m_searchedOnce = false;
    QLineEdit* m_title = nullptr;
    QLineEdit* m_artist = nullptr;
    QLineEdit* m_album = nullptr;
    QLineEdit* m_duration = nullptr;
    QPushButton* m_search = nullptr;
    QTreeWidget* m_list = nullptr;
    QPlainTextEdit* m_preview = nullptr;
    QLabel* m_status = nullptr;
    QProgressBar* m_busy = nullptr;
    QPushButton* m_save = nullptr;
};
