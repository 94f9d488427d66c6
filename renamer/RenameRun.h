#pragma once

#include "renamer/FileMover.h"
#include "renamer/FolderIndex.h"
#include "renamer/JournalContents.h"
#include "renamer/RenameJournal.h"
#include "renamer/RenamePlan.h"
#include "renamer/RunReport.h"

#include <functional>
#include <vector>

class IRenameQuestions;

// Outcome of renaming one file (one row).
enum RenameOutcome {
    RenameDone = 0,
    RenameSamePath = -1,     // old and new path are the same text
    RenameInvalid = -2,      // a name is invalid, or the old file does not exist
    RenameDeclined = -3,     // the new name exists and the user kept it
    RenameFailed = -4,       // the file system refused the move (or the row could not run safely)
};

// Carries out a plan in its folder: every move that should find its new name free is made so
// that it never replaces anything (a file that appeared since is asked about); a real overwrite
// is asked; each move's outcome goes to the journal. A row whose new name stays taken because
// the row that was to free it did not run fails instead of asking. A cycle that cannot finish
// is put back, so no file stays under a temporary name unless the file system refuses even that.
class CRenameRun
{
public:
    CRenameRun(const QString& folder, const std::vector<RenamePair>& rows, const CRenamePlan& plan,
               CFolderIndex index, IRenameQuestions& questions, CRenameJournal* journal);

    // The moves of the plan, as its journal records them.
    static std::vector<JournalMove> JournalMoves(const CRenamePlan& plan);

    // Called after each move made, with the number made so far.
    void SetProgress(std::function<void(int)> progress) { m_progress = std::move(progress); }
    void Execute();

    int Outcome(int row) const { return m_outcomes[size_t(row)]; }
    int RenamedCount() const;
    // The rows that failed without a message of their own, in row order.
    std::vector<RunFailure> Failures() const;

private:
    void Report(const RenameAction& action);
    void Carry(size_t action);
    int Move(const RenameAction& action, QString& reason);
    int MoveOntoTakenName(const RenameAction& action, QString& reason);
    bool Taken(const QString& from, const QString& to) const;
    bool WaitsInVain(int row) const;
    void NoteRenamed(const QString& from, const QString& to);
    bool PutBack(const std::vector<size_t>& actions);
    void AbandonCycle(size_t failedAction, int outcome, const QString& reason);
    void Settle(int row, int outcome, const QString& reason = QString());
    void Record(CRenameJournal::Event event, size_t action);

    CFileMover m_mover;
    const std::vector<RenamePair>& m_rows;
    const CRenamePlan& m_plan;
    CFolderIndex m_index;   // the folder's names as the run changes them, for the rows that may ask
    bool m_anyQuestion = false;
    IRenameQuestions& m_questions;
    CRenameJournal* m_journal;
    std::function<void(int)> m_progress;

    std::vector<int> m_moveNumbers;        // per action: its number in the journal
    std::vector<size_t> m_temporaryMove;   // per row: its move to a temporary name, if any
    std::vector<char> m_made;              // per action: the move was made and not put back
    std::vector<char> m_freed;             // per row: its file has left the old name
    std::vector<char> m_settled;           // per row: its outcome is final
    std::vector<int> m_outcomes;
    std::vector<QString> m_reasons;
    int m_movesMade = 0;
};
