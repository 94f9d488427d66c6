#include "renamer/RenamePlan.h"

#include <QSet>

#include <algorithm>
#include <functional>
#include <queue>

namespace {

using Problem = FileNameCheck::Problem;

// A row waits for another row: until that row's file has left its name (freed), or until
// that row has run (done: a second row taking the same new name runs after the first).
struct Wait {
    int row;
    bool untilDone;
};

// The checks of each row in row order, as the run makes them: same name, old name, new name,
// old file, then whether an earlier row already renames that file.
std::vector<RenameRowCheck> checkRows(const std::vector<RenamePair>& rows, const CFolderIndex& folder,
                                      QHash<QString, int>& sourceRows)
{
    std::vector<RenameRowCheck> checks(rows.size());
    sourceRows.reserve(qsizetype(rows.size()));
    for (size_t i = 0; i < rows.size(); ++i) {
        const RenamePair& pair = rows[i];
        RenameRowCheck& check = checks[i];
        if (pair.oldName == pair.newName) {
            check.verdict = RenameRowCheck::SameName;
        } else if ((check.nameProblem = FileNameCheck::CheckOldName(pair.oldName)) != Problem::None) {
            check.verdict = RenameRowCheck::InvalidOldName;
        } else if ((check.nameProblem = FileNameCheck::CheckNewName(pair.newName)) != Problem::None) {
            check.verdict = RenameRowCheck::InvalidNewName;
        } else if (!folder.Contains(pair.oldName)) {
            check.verdict = RenameRowCheck::OldMissing;
        } else if (const int earlier = sourceRows.value(pair.oldName, -1); earlier >= 0) {
            check.verdict = RenameRowCheck::OldNameRepeated;
            check.earlierRow = earlier;
        } else {
            sourceRows.insert(pair.oldName, int(i));
        }
    }
    return checks;
}

// What each renaming row waits for. The first row taking a new name (as the file system compares
// names) waits for the rows that rename away the files holding it; a file that no row renames
// away is a real overwrite. A later row taking the same name waits for the one before it and
// will be asked, so the rows taking one name run in list order.
std::vector<std::vector<Wait>> findWaits(const std::vector<RenamePair>& rows, std::vector<RenameRowCheck>& checks,
                                         const CFolderIndex& folder, const QHash<QString, int>& sourceRows,
                                         QHash<QString, int>& lastTaker)
{
    std::vector<std::vector<Wait>> waits(rows.size());
    lastTaker.reserve(qsizetype(rows.size()));
    for (size_t i = 0; i < rows.size(); ++i) {
        RenameRowCheck& check = checks[i];
        if (check.verdict != RenameRowCheck::WillRename)
            continue;
        const RenamePair& pair = rows[i];
        const QString key = folder.Key(pair.newName);
        if (const auto taker = lastTaker.find(key); taker != lastTaker.end()) {
            check.asksOverwrite = true;
            check.earlierRow = *taker;
            waits[i].push_back({*taker, true});
            *taker = int(i);
            continue;
        }
        lastTaker.insert(key, int(i));
        folder.ForEachHolder(pair.newName, [&](const QString& holder) {
            if (holder == pair.oldName)   // its own file: a change of letter case
                return;
            const int source = sourceRows.value(holder, -1);
            if (source < 0) {
                check.asksOverwrite = true;
                return;
            }
            check.freedBy.push_back(source);
            waits[i].push_back({source, false});
        });
    }
    return waits;
}

// Orders the rows: rows whose new name is free run first, lowest row first; when only cycles
// are left, the file of one cycle row goes to a temporary name, which frees the cycle.
class Ordering
{
public:
    // newNames: the keys of the new names that rows take.
    Ordering(const std::vector<RenamePair>& rows, const std::vector<RenameRowCheck>& checks,
             std::vector<std::vector<Wait>> waits, const CFolderIndex& folder, const QHash<QString, int>& newNames,
             const QString& temporaryTag)
        : m_rows(rows), m_checks(checks), m_waits(std::move(waits)), m_folder(folder), m_newNames(newNames),
          m_tag(temporaryTag),
          m_pending(rows.size(), 0), m_freed(rows.size(), 0), m_done(rows.size(), 0), m_emitted(rows.size(), 0),
          m_seen(rows.size(), 0), m_temporary(rows.size()), m_releasedWhenFreed(rows.size()),
          m_releasedWhenDone(rows.size())
    {
    }

    std::vector<RenameAction> Run(int& cycleCount);

private:
    bool Renames(int row) const { return m_checks[size_t(row)].verdict == RenameRowCheck::WillRename; }
    void Drain();
    void Emit(int row, int cycle = -1);
    void Release(std::vector<int>& rows);
    int FirstUnmetWait(int row) const;
    bool WaitsToBeFreed(int row, int other) const;
    std::vector<int> FindCycle(int start);
    void BreakCycle(const std::vector<int>& cycle, int cycleId);
    QString TemporaryName();

    const std::vector<RenamePair>& m_rows;
    const std::vector<RenameRowCheck>& m_checks;
    std::vector<std::vector<Wait>> m_waits;
    const CFolderIndex& m_folder;
    const QHash<QString, int>& m_newNames;
    QString m_tag;
    std::vector<int> m_pending;
    std::vector<char> m_freed, m_done, m_emitted;
    std::vector<int> m_seen;   // the search that last walked a row
    std::vector<QString> m_temporary;
    std::vector<std::vector<int>> m_releasedWhenFreed, m_releasedWhenDone;
    std::priority_queue<int, std::vector<int>, std::greater<int>> m_ready;
    std::vector<RenameAction> m_actions;
    QSet<QString> m_otherRowNames;   // keys of the names of rows that do not rename, once needed
    int m_temporaryCount = 0;
    int m_search = 0;
};

std::vector<RenameAction> Ordering::Run(int& cycleCount)
{
    for (size_t row = 0; row < m_rows.size(); ++row) {
        if (m_checks[row].verdict == RenameRowCheck::SameName)
            continue;
        for (const Wait& wait : m_waits[row]) {
            auto& released = wait.untilDone ? m_releasedWhenDone : m_releasedWhenFreed;
            released[size_t(wait.row)].push_back(int(row));
        }
        m_pending[row] = int(m_waits[row].size());
        if (m_pending[row] == 0)
            m_ready.push(int(row));
    }
    m_actions.reserve(m_rows.size() + 16);
    cycleCount = 0;
    size_t start = 0;
    for (;;) {
        Drain();
        while (start < m_rows.size() && (!Renames(int(start)) || m_emitted[start]))
            ++start;
        if (start >= m_rows.size())
            break;
        const std::vector<int> cycle = FindCycle(int(start));
        if (cycle.empty())   // cannot happen: a row left always waits for another row left
            break;
        BreakCycle(cycle, cycleCount++);
    }
    return std::move(m_actions);
}

void Ordering::Drain()
{
    while (!m_ready.empty()) {
        const int row = m_ready.top();
        m_ready.pop();
        if (!m_emitted[size_t(row)])
            Emit(row);
    }
}

void Ordering::Emit(int row, int cycle)
{
    const size_t r = size_t(row);
    m_emitted[r] = 1;
    RenameAction action;
    action.row = row;
    action.cycle = cycle;
    if (Renames(row)) {
        const bool fromTemporary = !m_temporary[r].isEmpty();
        action.kind = fromTemporary ? RenameAction::MoveFromTemporary : RenameAction::Move;
        action.from = fromTemporary ? m_temporary[r] : m_rows[r].oldName;
        action.to = m_rows[r].newName;
    }
    m_actions.push_back(action);
    if (!Renames(row))
        return;
    if (!m_freed[r]) {
        m_freed[r] = 1;
        Release(m_releasedWhenFreed[r]);
    }
    m_done[r] = 1;
    Release(m_releasedWhenDone[r]);
}

void Ordering::Release(std::vector<int>& rows)
{
    for (const int row : rows)
        if (--m_pending[size_t(row)] == 0)
            m_ready.push(row);
    rows.clear();
}

int Ordering::FirstUnmetWait(int row) const
{
    for (const Wait& wait : m_waits[size_t(row)]) {
        const auto& met = wait.untilDone ? m_done : m_freed;
        if (!met[size_t(wait.row)])
            return wait.row;
    }
    return -1;
}

bool Ordering::WaitsToBeFreed(int row, int other) const
{
    const auto& waits = m_waits[size_t(row)];
    return std::any_of(waits.begin(), waits.end(), [other](const Wait& w) { return w.row == other && !w.untilDone; });
}

// Every row left waits for another row left, so following the waits from any of them comes
// back to a row already passed: the rows from there on are a cycle.
std::vector<int> Ordering::FindCycle(int start)
{
    ++m_search;
    std::vector<int> path;
    int row = start;
    while (row >= 0 && m_seen[size_t(row)] != m_search) {
        m_seen[size_t(row)] = m_search;
        path.push_back(row);
        row = FirstUnmetWait(row);
    }
    if (row < 0)
        return {};
    const auto first = std::find(path.begin(), path.end(), row);
    return std::vector<int>(first, path.end());
}

// cycle[i] waits for cycle[i + 1]. The row whose file goes to the temporary name is one that
// another cycle row waits for to be freed (a row waiting "until done" is not helped by that),
// the lowest such row. Then the cycle runs backwards from it without anything in between,
// so that a failure can put the whole cycle back.
void Ordering::BreakCycle(const std::vector<int>& cycle, int cycleId)
{
    const size_t length = cycle.size();
    size_t chosen = 0;
    bool found = false;
    for (size_t i = 0; i < length; ++i) {
        const size_t next = (i + 1) % length;
        if (WaitsToBeFreed(cycle[i], cycle[next]) && (!found || cycle[next] < cycle[chosen])) {
            chosen = next;
            found = true;
        }
    }
    const int temporaryRow = cycle[chosen];
    const size_t firstAction = m_actions.size();
    m_temporary[size_t(temporaryRow)] = TemporaryName();
    m_actions.push_back({RenameAction::MoveToTemporary, temporaryRow, m_rows[size_t(temporaryRow)].oldName,
                         m_temporary[size_t(temporaryRow)], cycleId});
    m_freed[size_t(temporaryRow)] = 1;
    Release(m_releasedWhenFreed[size_t(temporaryRow)]);

    bool together = true;
    for (size_t step = 1; step <= length && together; ++step) {
        const int row = cycle[(chosen + length - step) % length];
        together = m_pending[size_t(row)] == 0;
        if (together)
            Emit(row, cycleId);
    }
    if (together)
        return;
    for (size_t i = firstAction; i < m_actions.size(); ++i)
        m_actions[i].cycle = -1;
}

// A name that is neither in the folder (which holds the old names of the rows that rename) nor
// among the new names, nor a name of a row that does not rename.
QString Ordering::TemporaryName()
{
    if (m_temporaryCount == 0)
        for (size_t row = 0; row < m_rows.size(); ++row)
            if (!Renames(int(row)))
                m_otherRowNames << m_folder.Key(m_rows[row].oldName) << m_folder.Key(m_rows[row].newName);
    for (;;) {
        const QString name = QStringLiteral(".%1-%2").arg(m_tag).arg(++m_temporaryCount);
        const QString key = m_folder.Key(name);
        if (!m_folder.Holds(name) && !m_newNames.contains(key) && !m_otherRowNames.contains(key))
            return name;
    }
}

} // namespace

CRenamePlan::CRenamePlan(const std::vector<RenamePair>& rows, const CFolderIndex& folder, const QString& temporaryTag)
{
    QHash<QString, int> sourceRows;
    QHash<QString, int> newNames;
    m_checks = checkRows(rows, folder, sourceRows);
    auto waits = findWaits(rows, m_checks, folder, sourceRows, newNames);
    m_actions = Ordering(rows, m_checks, std::move(waits), folder, newNames, temporaryTag).Run(m_cycleCount);
    for (const RenameAction& action : m_actions)
        m_moveCount += action.kind != RenameAction::Report;
}
