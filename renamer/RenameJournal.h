#pragma once

#include "renamer/JournalContents.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

// The journal of one run, a file in the user's state folder ($XDG_STATE_HOME/brindle). The
// plan (every move, in order) is complete on disk before the first rename; then each move's
// outcome is appended, and the end of the run, and the moves put back by an undo. While a
// Brindle holds the journal it keeps it locked, so another Brindle starting meanwhile leaves
// it alone; a journal nobody holds belongs to a Brindle that ended.
class CRenameJournal
{
public:
    enum class Event { Done, Kept, Reverting, Reverted };

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
    void RecordUndoStarted();
    // Writes what was recorded; also done by itself every few kilobytes.
    void Flush();
    // Deletes the file (the run was undone, or its window closed).
    void Remove();
    // Moves a journal that cannot be read aside, so it is not offered again.
    void SetAside();

private:
    CRenameJournal(int fd, QString path) : m_fd(fd), m_path(std::move(path)) {}
    void Append(const QByteArray& record);
    void Close();

    int m_fd = -1;
    QString m_path;
    QByteArray m_pending;
};
