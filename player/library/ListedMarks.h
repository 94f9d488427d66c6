#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <utility>
#include <variant>
#include <vector>

class CTrackListModel;

// The lyric marks of painted rows, looked for off the GUI thread: a lyric file beside the track
// or among the saved lyrics takes a listing of a large folder and a few look-ups per row, which
// the list need not wait for. Marks found come back in batches; a row asked for directly
// (CTrackListModel::isChecked) is answered at once by the model itself. The thread ends when
// it has had nothing to do for a moment: the index of the folder's names it built (megabytes
// for a large folder, besides the one the GUI thread keeps) goes with it.
class CListedMarks : public QObject
{
    Q_OBJECT
public:
    struct Search {
        QString path, artist, title;
    };
    // A row's mark when it is known without a search (lyrics in its tags), else what to search.
    using Source = std::function<std::variant<bool, Search>(int row)>;

    // Whether the search finds a lyric file beside the track or among the saved lyrics.
    static bool Found(const Search& search);

    explicit CListedMarks(CTrackListModel& model, QObject* parent = nullptr);
    ~CListedMarks() override;

    // A new listing: what was waiting for the last one is dropped.
    void Follow(Source source);

private:
    struct Job {
        int listing;
        int row;
        Search search;
    };

    void OnMarksWanted();
    void run();
    void deliver();
    // The thread ended for want of work: what it freed (its folder index) goes back to the system.
    void Retire();

    CTrackListModel& m_model;
    Source m_source;
    std::mutex m_lock;
    std::condition_variable m_wake;
    std::deque<Job> m_waiting;
    std::vector<std::pair<int, bool>> m_found; // row, mark
    int m_listing = 0;
    bool m_running = false;
    bool m_stopping = false;
    QTimer m_delivery;
    std::jthread m_thread;
};
