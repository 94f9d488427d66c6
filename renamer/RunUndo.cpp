#include "renamer/RunUndo.h"

#include "common/ui/StringTable.h"
#include "renamer/BrindleStrings.h"
#include "renamer/FileMover.h"
#include "renamer/RenameJournal.h"
#include "renamer/RenameQuestions.h"

#include <cerrno>

CRunUndo::CRunUndo(const CJournalContents& contents, CRenameJournal& journal, IRenameQuestions& questions)
    : m_contents(contents), m_journal(journal), m_questions(questions), m_mover(contents.Folder())
{
}

void CRunUndo::Execute()
{
    m_journal.RecordUndoStarted();
    for (int move = int(m_contents.Moves().size()); move-- > 0;)
        if (IsMade(move))
            PutBack(move);
    m_journal.Flush();
}

bool CRunUndo::IsMade(int move) const
{
    switch (m_contents.State(move)) {
    case CJournalContents::MoveState::Made: return true;
    case CJournalContents::MoveState::NotMade: return false;
    case CJournalContents::MoveState::Unknown: break;
    }
    const JournalMove& step = m_contents.Moves()[size_t(move)];
    return !m_mover.Exists(step.from) && m_mover.Exists(step.to);
}

void CRunUndo::PutBack(int move)
{
    const JournalMove& step = m_contents.Moves()[size_t(move)];
    // Shown the way the user sees the change being undone: from the name now to the old one.
    RunFailure failure{step.to, step.from, QString()};
    m_journal.Record(CRenameJournal::Event::Reverting, move);
    int error = m_mover.Rename(step.to, step.from, CFileMover::Replace::Never);
    if (error == EEXIST) {
        m_journal.Flush();
        if (!m_questions.AskOverwrite(step.from)) {
            failure.reason = StringTable::text(BrindleStrings::IdsDeclined);
            m_failures.push_back(failure);
            m_complete = false;
            return;
        }
        error = m_mover.Rename(step.to, step.from, CFileMover::Replace::Allowed);
    }
    if (error != 0) {
        failure.reason = CFileMover::ErrorText(error);
        m_failures.push_back(failure);
        // A file that is gone cannot come back by trying again.
        m_complete = m_complete && error == ENOENT;
        return;
    }
    m_journal.Record(CRenameJournal::Event::Reverted, move);
    m_restored += step.kind != JournalMove::FromTemporary;
}
