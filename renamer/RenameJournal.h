#pragma once

#include "renamer/JournalContents.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

// The journal of one run, a file in the user's state folder ($XDG_STATE_HOME/brindle). The
// plan (every move, in order) is on disk before the first rename: it announces every move. The
// outcomes follow, written in groups, for they are only hints: whatever happens to the process,
// what the folder holds tells which moves were made (see CMadeMoves), but for the few records
// it cannot do without. Those are written before the rename they concern, and synced where a
// lost record would leave the folder's names telling a wrong story after a system crash: before
// a run puts moves back, and when an undo starts. While a Brindle holds the journal it keeps it
// locked, so another Brindle starting meanwhile leaves it alone; a journal nobody holds belongs
// to a Brindle that ended.
class CRenameJournal
{
public:
    enum class Event {
        Done,        // the move is made (or still is, after a failed move back)
        Kept,        // the move was not made
        Beginning,   // a move out of a temporary name is about to be made: written at once
        Reverting,   // the move is about to be put back
        Reverted,    // the move is put back
    };

    ~CRenameJournal();
    CRenameJournal(const CRenameJournal&) = delete;
    CRenameJournal& operator=(const CRenameJournal&) = delete;

    // Where journals are kept; SetFolder replaces it (an empty text restores the default).
    static QString Folder();
    static void SetFolder(const QString& folder);

    // A new journal of a run in the folder; null when it cannot be written completely.
    static std::unique_ptr<CRenameJournal> Create(const QString& folder, const std::vector<JournalMove>& moves);
    // Takes over a journal that no running Brindle holds; null when one does or it cannot be opened.
    static std::unique_ptr<CRenameJournal> Adopt(const QString& path);
    // The journals of Brindles that ended, taken over; half-written plans of those (no rename
    // was made after them) are removed.
    static std::vector<std::unique_ptr<CRenameJournal>> AdoptAbandoned();

    const QString& Path() const { return m_path; }

    void Record(Event event, int move);
    void RecordRunEnded();
    // Followed by the undo's Reverting records and a Sync before its first move back.
    void RecordUndoStarted();
    // Writes what was recorded; also done by itself every few tens of kilobytes.
    void Flush();
    // Writes what was recorded and waits until it is on the disk.
    void Sync();
    // Deletes the file (the run was undone, or its window closed).
    void Remove();
    // Moves a journal that cannot be read aside, so it is not offered again.
    void SetAside();

private:
    CRenameJournal(int fd, QString path) : m_fd(fd), m_path(std::move(path)) {}
    void Append(const QByteArray& record);
    void AppendDoneMoves();
    void Close();

    int m_fd = -1;
    QString m_path;
    QByteArray m_pending;
    // Moves made one after another are recorded as one range, not one record each.
    int m_firstDone = -1;
    int m_doneCount = 0;
};
