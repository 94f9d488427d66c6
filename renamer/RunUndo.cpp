#include "renamer/RunUndo.h"

#include "common/ui/StringTable.h"
#include "renamer/BrindleStrings.h"
#include "renamer/FolderIndex.h"
#include "renamer/MadeMoves.h"
#include "renamer/RenameJournal.h"
#include "renamer/RenameQuestions.h"

#include <cerrno>

CRunUndo::CRunUndo(const CJournalContents& contents, CRenameJournal& journal, IRenameQuestions& questions)
    : m_contents(contents), m_journal(journal), m_questions(questions), m_mover(contents.Folder()),
      m_putBack(contents.Moves().size(), 0)
{
}

void CRunUndo::Execute()
{
    // Without the folder nothing can be judged; the journal waits for the folder to come back.
    if (!m_mover.IsOpen()) {
        m_folderUnavailable = true;
        m_complete = false;
        return;
    }
    const CFolderIndex names(m_contents.Folder());
    const CMadeMoves made(m_contents, [&names](const QString& name) { return names.Contains(name); });
    Announce(made);
    const int count = int(m_contents.Moves().size());
    // Files out of the temporary names first, all recorded on disk together: then no cycle put
    // back can be mistaken for one that still has to be.
    bool anyFirst = false;
    for (int move = count; move-- > 0;)
        if (made.PutBackFirst(move)) {
            PutBack(move);
            anyFirst = true;
        }
    if (anyFirst)
        m_journal.Sync();
    for (int move = count; move-- > 0;)
        if (made.ToPutBack(move) && !made.PutBackFirst(move))
            PutBack(move);
    m_journal.Flush();
}

// Records the state of every move, before any goes back: to go back, or made with its old name
// taken (a later undo asks about that file again), or not made. From then on the records of the
// run no longer count, which could tell of moves that this undo found not made.
void CRunUndo::Announce(const CMadeMoves& made)
{
    m_journal.RecordUndoStarted();
    for (int move = int(m_contents.Moves().size()); move-- > 0;) {
        switch (made.Of(move)) {
        case CMadeMoves::Judgment::Made: m_journal.Record(CRenameJournal::Event::Reverting, move); break;
        case CMadeMoves::Judgment::OldNameTaken: m_journal.Record(CRenameJournal::Event::Done, move); break;
        case CMadeMoves::Judgment::Missing:
            Fail(move, CFileMover::ErrorText(ENOENT), true);
            m_journal.Record(CRenameJournal::Event::Kept, move);
            break;
        case CMadeMoves::Judgment::NotMade: m_journal.Record(CRenameJournal::Event::Kept, move); break;
        }
    }
    m_journal.Sync();
}

void CRunUndo::PutBack(int move)
{
    const JournalMove& step = m_contents.Moves()[size_t(move)];
    // A newer move took this file on from its new name and could not bring it back.
    if (m_notRefilled.contains(step.to)) {
        m_notRefilled.insert(step.from);
        return;
    }
    int error = m_mover.Rename(step.to, step.from, CFileMover::Replace::Never);
    if (error == EEXIST) {
        if (HeldByRunFile(move)) {
            Fail(move, StringTable::format(BrindleStrings::IdsOldNameHeldByRun, {step.from}), false);
            return;
        }
        m_journal.Flush();
        if (!m_questions.AskOverwrite(step.from)) {
            Fail(move, StringTable::text(BrindleStrings::IdsDeclined), false);
            return;
        }
        error = m_mover.Rename(step.to, step.from, CFileMover::Replace::Allowed);
    }
    if (error != 0) {
        // A file that is gone cannot come back by trying again.
        Fail(move, CFileMover::ErrorText(error), error == ENOENT);
        return;
    }
    m_putBack[size_t(move)] = 1;
    m_journal.Record(CRenameJournal::Event::Reverted, move);
    m_restored += step.kind != JournalMove::FromTemporary;
}

// Whether the file under the old name may be one the run moved there itself (a newer move that
// was not put back, or is not known to be): that one is never replaced, and nobody is asked.
bool CRunUndo::HeldByRunFile(int move)
{
    if (m_takers.isEmpty())
        for (int other = 0; other < int(m_contents.Moves().size()); ++other)
            m_takers[m_contents.Moves()[size_t(other)].to].push_back(other);
    const QString& oldName = m_contents.Moves()[size_t(move)].from;
    for (const int other : m_takers.value(oldName))
        if (other != move && !m_putBack[size_t(other)] &&
            m_contents.State(other) != CJournalContents::MoveState::NotMade)
            return true;
    return false;
}

void CRunUndo::Fail(int move, const QString& reason, bool lasting)
{
    const JournalMove& step = m_contents.Moves()[size_t(move)];
    // Shown the way the user sees the change being undone: from the name now to the old one.
    m_failures.push_back({step.to, step.from, reason});
    m_notRefilled.insert(step.from);
    if (lasting)
        return;
    m_complete = false;
    m_journal.Record(CRenameJournal::Event::Done, move);
}
