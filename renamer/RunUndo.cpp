#include "renamer/RunUndo.h"

#include "common/ui/StringTable.h"
#include "renamer/BrindleStrings.h"
#include "renamer/FileMove.h"
#include "renamer/RenameJournal.h"
#include "renamer/RenameQuestions.h"

#include <cerrno>

CRunUndo::CRunUndo(const CJournalContents& contents, CRenameJournal& journal, IRenameQuestions& questions)
    : m_contents(contents), m_journal(journal), m_questions(questions)
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
    return !FileMove::Exists(m_contents.Folder(), step.from) && FileMove::Exists(m_contents.Folder(), step.to);
}

void CRunUndo::PutBack(int move)
{
    const QString& folder = m_contents.Folder();
    const JournalMove& step = m_contents.Moves()[size_t(move)];
    // Shown the way the user sees the change being undone: from the name now to the old one.
    RunFailure failure{step.to, step.from, QString()};
    if (!FileMove::Exists(folder, step.to)) {
        failure.reason = FileMove::ErrorText(ENOENT);
        m_failures.push_back(failure);
        return;
    }
    m_journal.Record(CRenameJournal::Event::Reverting, move);
    int error = FileMove::Rename(folder, step.to, step.from, FileMove::Replace::Never);
    if (error == EEXIST) {
        m_journal.Flush();
        if (!m_questions.AskOverwrite(step.from)) {
            failure.reason = StringTable::text(BrindleStrings::IdsDeclined);
            m_failures.push_back(failure);
            m_complete = false;
            return;
        }
        error = FileMove::Rename(folder, step.to, step.from, FileMove::Replace::Allowed);
    }
    if (error != 0) {
        failure.reason = FileMove::ErrorText(error);
        m_failures.push_back(failure);
        m_complete = false;
        return;
    }
    m_journal.Record(CRenameJournal::Event::Reverted, move);
    m_restored += step.kind != JournalMove::FromTemporary;
}
