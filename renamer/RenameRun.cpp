#include "renamer/RenameRun.h"

#include "common/ui/StringTable.h"
#include "renamer/BrindleStrings.h"
#include "renamer/FileMover.h"
#include "renamer/RenameQuestions.h"

#include <cerrno>

namespace {

constexpr size_t kNone = size_t(-1);

JournalMove::Kind journalKind(RenameAction::Kind kind)
{
    switch (kind) {
    case RenameAction::MoveToTemporary: return JournalMove::ToTemporary;
    case RenameAction::MoveFromTemporary: return JournalMove::FromTemporary;
    default: return JournalMove::Plain;
    }
}

} // namespace

CRenameRun::CRenameRun(const QString& folder, const std::vector<RenamePair>& rows, const CRenamePlan& plan,
                       CFolderIndex index, IRenameQuestions& questions, CRenameJournal* journal)
    : m_mover(folder), m_rows(rows), m_plan(plan), m_index(std::move(index)), m_questions(questions),
      m_journal(journal), m_moveNumbers(plan.Actions().size(), -1), m_temporaryMove(rows.size(), kNone),
      m_made(plan.Actions().size(), 0), m_freed(rows.size(), 0), m_settled(rows.size(), 0),
      m_outcomes(rows.size(), RenameSamePath), m_reasons(rows.size())
{
    for (const RenameRowCheck& check : plan.Checks())
        m_anyQuestion = m_anyQuestion || check.asksOverwrite;
    int moves = 0;
    for (size_t i = 0; i < plan.Actions().size(); ++i) {
        const RenameAction& action = plan.Actions()[i];
        if (action.kind == RenameAction::Report)
            continue;
        m_moveNumbers[i] = moves++;
        if (action.kind == RenameAction::MoveToTemporary)
            m_temporaryMove[size_t(action.row)] = i;
    }
}

std::vector<JournalMove> CRenameRun::JournalMoves(const CRenamePlan& plan)
{
    std::vector<JournalMove> moves;
    moves.reserve(size_t(plan.MoveCount()));
    for (const RenameAction& action : plan.Actions())
        if (action.kind != RenameAction::Report)
            moves.push_back({journalKind(action.kind), action.from, action.to});
    return moves;
}

void CRenameRun::Execute()
{
    const auto& actions = m_plan.Actions();
    for (size_t i = 0; i < actions.size(); ++i) {
        if (m_settled[size_t(actions[i].row)])
            continue;
        if (actions[i].kind == RenameAction::Report)
            Report(actions[i]);
        else
            Carry(i);
    }
    if (m_journal)
        m_journal->Flush();
}

int CRenameRun::RenamedCount() const
{
    return int(std::count(m_outcomes.begin(), m_outcomes.end(), int(RenameDone)));
}

std::vector<RunFailure> CRenameRun::Failures() const
{
    std::vector<RunFailure> failures;
    for (size_t row = 0; row < m_rows.size(); ++row)
        if (!m_reasons[row].isEmpty())
            failures.push_back({m_rows[row].oldName, m_rows[row].newName, m_reasons[row]});
    return failures;
}

void CRenameRun::Report(const RenameAction& action)
{
    const RenamePair& pair = m_rows[size_t(action.row)];
    const RenameRowCheck& check = m_plan.Checks()[size_t(action.row)];
    switch (check.verdict) {
    case RenameRowCheck::InvalidOldName: m_questions.ReportInvalidName(pair.oldName); break;
    case RenameRowCheck::InvalidNewName: m_questions.ReportInvalidName(pair.newName); break;
    case RenameRowCheck::OldMissing: m_questions.ReportMissing(pair.oldName); break;
    case RenameRowCheck::OldNameRepeated:
        Settle(action.row, RenameInvalid,
               StringTable::format(BrindleStrings::IdsSameFileAsRow, {QString::number(check.earlierRow + 1)}));
        return;
    default: break;
    }
    Settle(action.row, RenameInvalid);
}

void CRenameRun::Carry(size_t index)
{
    const RenameAction& action = m_plan.Actions()[index];
    // The one move a record must announce: once it is made, the cycle's names are the same as
    // before the cycle began.
    if (action.kind == RenameAction::MoveFromTemporary && m_journal) {
        Record(CRenameJournal::Event::Beginning, index);
        m_journal->Flush();
    }
    QString reason;
    const int outcome = Move(action, reason);
    if (outcome == RenameDone) {
        Record(CRenameJournal::Event::Done, index);
        NoteRenamed(action.from, action.to);
        m_made[index] = 1;
        if (action.kind != RenameAction::MoveFromTemporary)
            m_freed[size_t(action.row)] = 1;
        if (action.kind != RenameAction::MoveToTemporary)
            m_outcomes[size_t(action.row)] = RenameDone;
        if (m_progress)
            m_progress(++m_movesMade);
        return;
    }
    Record(CRenameJournal::Event::Kept, index);
    if (action.cycle >= 0) {
        AbandonCycle(index, outcome, reason);
        return;
    }
    Settle(action.row, outcome, reason);
    // A cycle row whose moves could not stay together: its file goes back to its old name.
    if (action.kind == RenameAction::MoveFromTemporary && !PutBack({m_temporaryMove[size_t(action.row)]}))
        m_reasons[size_t(action.row)] +=
            QStringLiteral("; ") + StringTable::format(BrindleStrings::IdsLeftTemporary, {action.from});
}

int CRenameRun::Move(const RenameAction& action, QString& reason)
{
    // A row expected to find its new name free can only find it taken when a row that was to
    // free it did not run (or a file appeared, which the rename itself sees).
    const bool asks = m_plan.Checks()[size_t(action.row)].asksOverwrite;
    if (action.kind != RenameAction::MoveToTemporary &&
        (asks ? Taken(action.from, action.to) : WaitsInVain(action.row)))
        return MoveOntoTakenName(action, reason);
    const int error = m_mover.Rename(action.from, action.to, CFileMover::Replace::Never);
    if (error == EEXIST)   // it appeared a moment ago
        return MoveOntoTakenName(action, reason);
    reason = error ? CFileMover::ErrorText(error) : QString();
    return error ? RenameFailed : RenameDone;
}

// The new name is taken: by a file no row renames away (the overwrite question), or because a
// row that was to free it did not run (then nothing is asked: that file is not to be replaced).
int CRenameRun::MoveOntoTakenName(const RenameAction& action, QString& reason)
{
    if (action.kind == RenameAction::MoveToTemporary) {
        reason = StringTable::text(BrindleStrings::IdsTemporaryTaken);
        return RenameFailed;
    }
    if (WaitsInVain(action.row)) {
        reason = StringTable::format(BrindleStrings::IdsTargetNotFreed, {action.to});
        return RenameFailed;
    }
    if (m_journal)
        m_journal->Flush();
    if (!m_questions.AskOverwrite(action.to))
        return RenameDeclined;
    const int error = m_mover.Rename(action.from, action.to, CFileMover::Replace::Allowed);
    reason = error ? CFileMover::ErrorText(error) : QString();
    return error ? RenameFailed : RenameDone;
}

// Taken when an entry other than the file itself holds the name, as the file system compares names.
bool CRenameRun::Taken(const QString& from, const QString& to) const
{
    return m_index.HeldByOther(to, from);
}

// Only the rows that may ask look at the names; without them the index needs no upkeep.
void CRenameRun::NoteRenamed(const QString& from, const QString& to)
{
    if (m_anyQuestion)
        m_index.Renamed(from, to);
}

bool CRenameRun::WaitsInVain(int row) const
{
    const std::vector<int>& freedBy = m_plan.Checks()[size_t(row)].freedBy;
    return std::any_of(freedBy.begin(), freedBy.end(), [this](int other) { return !m_freed[size_t(other)]; });
}

// Puts the moves back, newest first, until the file system refuses one. Their records reach the
// disk before the first of them: after a system crash, a file back under its old name must not
// be taken for one the run never moved.
bool CRenameRun::PutBack(const std::vector<size_t>& actions)
{
    std::vector<size_t> made;
    for (const size_t index : actions)
        if (index != kNone && m_made[index])
            made.push_back(index);
    if (made.empty())
        return true;
    for (const size_t index : made)
        Record(CRenameJournal::Event::Reverting, index);
    if (m_journal)
        m_journal->Sync();
    for (const size_t index : made) {
        const RenameAction& action = m_plan.Actions()[index];
        if (m_mover.Rename(action.to, action.from, CFileMover::Replace::Never) != 0) {
            Record(CRenameJournal::Event::Done, index);
            return false;
        }
        Record(CRenameJournal::Event::Reverted, index);
        NoteRenamed(action.to, action.from);
        m_made[index] = 0;
        if (action.kind != RenameAction::MoveFromTemporary)
            m_freed[size_t(action.row)] = 0;
    }
    return true;
}

// Puts the cycle's moves made so far back, newest first, and settles all its rows. Should the
// file system refuse a move back too, what was made stays made and the file still under the
// temporary name is named (the journal can put it back later).
void CRenameRun::AbandonCycle(size_t failedAction, int outcome, const QString& reason)
{
    const auto& actions = m_plan.Actions();
    const int cycle = actions[failedAction].cycle;
    size_t first = failedAction;
    while (first > 0 && actions[first - 1].cycle == cycle)
        --first;
    size_t last = failedAction;
    while (last + 1 < actions.size() && actions[last + 1].cycle == cycle)
        ++last;
    std::vector<size_t> madeSoFar;
    for (size_t i = failedAction; i-- > first;)
        madeSoFar.push_back(i);
    PutBack(madeSoFar);
    const RenameAction& temporary = actions[first];
    if (m_made[first])
        Settle(temporary.row, RenameFailed, StringTable::format(BrindleStrings::IdsLeftTemporary, {temporary.to}));
    Settle(actions[failedAction].row, outcome, reason);
    for (size_t i = first; i <= last; ++i) {
        if (m_made[i] && actions[i].kind == RenameAction::Move)
            Settle(actions[i].row, RenameDone);
        else
            Settle(actions[i].row, RenameFailed, StringTable::text(BrindleStrings::IdsCycleUndone));
    }
}

void CRenameRun::Settle(int row, int outcome, const QString& reason)
{
    const size_t r = size_t(row);
    if (m_settled[r])
        return;
    m_settled[r] = 1;
    m_outcomes[r] = outcome;
    m_reasons[r] = outcome == RenameDeclined ? QString() : reason;
}

void CRenameRun::Record(CRenameJournal::Event event, size_t action)
{
    if (m_journal)
        m_journal->Record(event, m_moveNumbers[action]);
}
