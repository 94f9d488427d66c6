#pragma once

#include <QString>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <set>
#include <thread>
#include <utility>
#include <vector>

// Writes playlist files on a thread of its own, so that saving a list of ten thousand items
// (text building, a write and an fsync) never holds up the GUI thread. What a playlist held is
// taken on the caller's thread (a snapshot); a newer snapshot of a file replaces one still
// waiting. Files are written in the order they were handed over.
class PlaylistWriter
{
public:
    struct Line {
        QString url;
        std::optional<QString> title; // the item's own title, kept in an "#EXTINF:" line
    };
    struct Snapshot {
        QString name;
        std::vector<Line> lines;
    };

    PlaylistWriter();
    ~PlaylistWriter();

    // The file's m3u text, as written.
    static QByteArray serialise(const Snapshot& snapshot);

    void write(const QString& file, Snapshot snapshot);
    // Drops what still waits for the file and waits for a write of it under way.
    void cancel(const QString& file);
    // Waits until everything handed over is written; the files whose last write failed since
    // the last call (empty when all went well).
    std::set<QString> finish();

private:
    void run();

    std::mutex m_lock;
    std::condition_variable m_wake;
    std::condition_variable m_done;
    std::deque<std::pair<QString, Snapshot>> m_waiting;
    QString m_writing;
    std::set<QString> m_failed;
    bool m_stopping = false;
    std::thread m_thread;
};
