#pragma once

#include "renamer/FileMover.h"
#include "renamer/JournalContents.h"
#include "renamer/RunReport.h"

#include <QHash>
#include <QSet>

#include <vector>

class CMadeMoves;
class CRenameJournal;
class IRenameQuestions;

// Puts the moves of a journal's run back, newest first, each one that the folder shows made
// (CMadeMoves). The moves it will put back are recorded and synced before the first: a run or an
// undo cut off at any moment is taken up again from the folder and those records. A move back
// never replaces a file without asking, and never asks about a file the run itself put under
// that name (then the move back fails, to be tried again).
class CRunUndo
{
public:
    CRunUndo(const CJournalContents& contents, CRenameJournal& journal, IRenameQuestions& questions);

    void Execute();

    // Files that have their old name again.
    int RestoredCount() const { return m_restored; }
    const std::vector<RunFailure>& Failures() const { return m_failures; }
    // The run's folder cannot be opened (a drive not plugged in): nothing was tried.
    bool FolderUnavailable() const { return m_folderUnavailable; }
    // Nothing is left that a later undo could still put back.
    bool Complete() const { return m_complete; }

private:
    void Announce(const CMadeMoves& made);
    void PutBack(int move);
    bool HeldByRunFile(int move);
    void Fail(int move, const QString& reason, bool lasting);

    const CJournalContents& m_contents;
    CRenameJournal& m_journal;
    IRenameQuestions& m_questions;
    CFileMover m_mover;
    std::vector<char> m_putBack;          // per move: put back by this undo
    QSet<QString> m_notRefilled;          // old names whose file could not be put back
    QHash<QString, std::vector<int>> m_takers;   // new name -> the moves into it, once needed
    int m_restored = 0;
    std::vector<RunFailure> m_failures;
    bool m_folderUnavailable = false;
    bool m_complete = true;
};
