#pragma once

#include "renamer/FileNameCheck.h"
#include "renamer/FolderIndex.h"
#include "renamer/RenameList.h"

#include <vector>

// What one row of a list will do, known before anything is renamed.
struct RenameRowCheck {
    enum Verdict {
        WillRename,
        SameName,          // old and new name are the same text: nothing to do, nothing said
        InvalidOldName,    // message 107 for the old name
        InvalidNewName,    // message 107 for the new name
        OldMissing,        // message 104
        OldNameRepeated,   // an earlier row renames the same file
    };
    Verdict verdict = WillRename;
    FileNameCheck::Problem nameProblem = FileNameCheck::Problem::None;
    // The overwrite question will be asked: a file that no row renames away holds the new
    // name, or an earlier row takes the same new name.
    bool asksOverwrite = false;
    int earlierRow = -1;          // the earlier row with the same old name, or with the same new name
    std::vector<int> freedBy;     // the rows that rename away what holds the new name now
};

// One step of a run, in the order the run takes them.
struct RenameAction {
    enum Kind {
        Report,              // the row cannot run: its message (or its failure) comes here
        Move,                // old name to new name
        MoveToTemporary,     // the first move of a cycle: old name to a free temporary name
        MoveFromTemporary,   // the last move of a cycle: temporary name to new name
    };
    Kind kind = Report;
    int row = -1;
    QString from;
    QString to;
    // The moves of one cycle, taken one after another; undone together when one of them fails.
    // -1 for every other move (and for a cycle whose moves could not stay together).
    int cycle = -1;
};

// The order of a run over a list, worked out from the rows and the folder's names alone:
// every new name is free when its row runs, chains run from their end, and each cycle goes
// through one temporary name in the same folder. Rows that cannot run are reported where
// they stand, so a list without chains keeps its order.
class CRenamePlan
{
public:
    // temporaryTag makes the temporary names of this run: "." + tag + "-" + a number.
    CRenamePlan(const std::vector<RenamePair>& rows, const CFolderIndex& folder, const QString& temporaryTag);

    const std::vector<RenameRowCheck>& Checks() const { return m_checks; }
    const std::vector<RenameAction>& Actions() const { return m_actions; }
    int MoveCount() const { return m_moveCount; }
    int CycleCount() const { return m_cycleCount; }

private:
    std::vector<RenameRowCheck> m_checks;
    std::vector<RenameAction> m_actions;
    int m_moveCount = 0;
    int m_cycleCount = 0;
};
