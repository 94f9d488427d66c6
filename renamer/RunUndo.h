#pragma once

#include "renamer/FileMover.h"
#include "renamer/JournalContents.h"
#include "renamer/RunReport.h"

#include <vector>

class CRenameJournal;
class IRenameQuestions;

// Puts the moves of a journal's run back, newest first. A move whose record was lost (the run
// was killed) is judged by the folder: made when its old name is free and its new name is there.
// A move back never replaces a file that appeared since without asking. Each move back is
// recorded first, so an undo that is cut off can be taken up again.
class CRunUndo
{
public:
    CRunUndo(const CJournalContents& contents, CRenameJournal& journal, IRenameQuestions& questions);

    void Execute();

    // Files that have their old name again.
    int RestoredCount() const { return m_restored; }
    const std::vector<RunFailure>& Failures() const { return m_failures; }
    // Nothing is left that a later undo could still put back.
    bool Complete() const { return m_complete; }

private:
    bool IsMade(int move) const;
    void PutBack(int move);

    const CJournalContents& m_contents;
    CRenameJournal& m_journal;
    IRenameQuestions& m_questions;
    CFileMover m_mover;
    int m_restored = 0;
    std::vector<RunFailure> m_failures;
    bool m_complete = true;
};
