// Rename-list bytes through the reader and the planner. The first input byte picks the
// separator, which new names already exist and whether the folder folds letter case; the rest
// is the list file. The plan is then played on a folder held in memory: a move that was not to
// ask never meets a taken name, no file stays under a temporary name, and each row lands where
// the list says.
#include "renamer/RenamePlan.h"

#include <QHash>
#include <QSet>

#include <cstddef>
#include <cstdint>

namespace {

[[noreturn]] void fail()
{
    __builtin_trap();
}

void checkLines(const QByteArray& bytes)
{
    const ListEncoding encoding = CRenameList::DetectEncoding(bytes);
    for (const QString& line : CRenameList::SplitLines(bytes)) {
        if (line.contains(QChar(0)))
            fail();
        const bool lineEndInside = encoding == ListEncoding::Utf8 ? line.contains(QChar('\n'))
                                                                  : line.contains(QLatin1String("\r\n"));
        if (lineEndInside)
            fail();
    }
}

// Every old name exists; a new name exists when its characters add up to a value below the
// choice (a hash of its own, since qHash is seeded differently in each process). The folder
// folds letter case when the choice's bit 0x40 is set.
CFolderIndex folderOf(const std::vector<RenamePair>& rows, uint8_t existing)
{
    QStringList names;
    for (const RenamePair& row : rows) {
        names << row.oldName;
        unsigned sum = 0;
        for (const QChar c : row.newName)
            sum += c.unicode();
        if ((sum & 7) < (existing & 7u))
            names << row.newName;
    }
    return CFolderIndex::FromNames(names, (existing & 0x40) ? NameCase::Folded : NameCase::Exact);
}

// Plays the moves with every question answered Yes; the content of a file is the name it had.
void playPlan(const std::vector<RenamePair>& rows, const CRenamePlan& plan, const CFolderIndex& folder)
{
    QHash<QString, QString> files;
    for (const RenamePair& row : rows) {
        if (folder.Contains(row.oldName))
            files.insert(row.oldName, row.oldName);
        if (folder.Contains(row.newName))
            files.insert(row.newName, row.newName);
    }
    QSet<QString> temporaryNames;
    for (const RenameAction& action : plan.Actions()) {
        if (action.kind == RenameAction::Report)
            continue;
        const RenameRowCheck& check = plan.Checks()[size_t(action.row)];
        if (check.verdict != RenameRowCheck::WillRename || !files.contains(action.from))
            fail();
        const bool mayAsk = check.asksOverwrite && action.kind != RenameAction::MoveToTemporary;
        if (files.contains(action.to) && !mayAsk)
            fail();
        if (action.kind == RenameAction::MoveToTemporary)
            temporaryNames.insert(action.to);
        files.insert(action.to, files.take(action.from));
    }
    for (const QString& name : temporaryNames)
        if (files.contains(name) || folder.Holds(name))
            fail();
    // A row lands where the list says unless a later row took the same new name.
    for (size_t row = 0; row < rows.size(); ++row) {
        const RenameRowCheck& check = plan.Checks()[row];
        if (check.verdict != RenameRowCheck::WillRename)
            continue;
        bool takenLater = false;
        for (size_t later = row + 1; later < rows.size(); ++later)
            takenLater |= plan.Checks()[later].verdict == RenameRowCheck::WillRename &&
                          folder.Key(rows[later].newName) == folder.Key(rows[row].newName);
        if (!takenLater && files.value(rows[row].newName) != rows[row].oldName)
            fail();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* input, size_t size)
{
    if (size == 0)
        return 0;
    const ListSeparator separator = (input[0] & 0x80) ? ListSeparator::Comma : ListSeparator::Tab;
    const QByteArray bytes(reinterpret_cast<const char*>(input + 1), qsizetype(size - 1));
    checkLines(bytes);
    const std::vector<RenamePair> rows = CRenameList::Parse(bytes, separator);
    const CFolderIndex folder = folderOf(rows, input[0]);
    const CRenamePlan plan(rows, folder, QStringLiteral("t"));
    playPlan(rows, plan, folder);
    return 0;
}
