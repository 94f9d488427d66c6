#include "renamer/RowWarning.h"

#include "common/ui/StringTable.h"
#include "renamer/BrindleStrings.h"

namespace RowWarning {

namespace {

using Problem = FileNameCheck::Problem;

QString nameProblemText(Problem problem, const QString& name, bool newName)
{
    switch (problem) {
    case Problem::ForbiddenCharacter: return StringTable::format(BrindleStrings::IdsInvalidName, {name});
    case Problem::ControlCharacter: return StringTable::text(BrindleStrings::IdsControlCharacter);
    default:
        return name.isEmpty() && newName ? StringTable::text(BrindleStrings::IdsEmptyNewName)
                              : StringTable::format(BrindleStrings::IdsNotAName, {name});
    }
}

QString rowNumber(int row)
{
    return QString::number(row + 1);
}

} // namespace

Kind KindOf(const RenameRowCheck& check)
{
    switch (check.verdict) {
    case RenameRowCheck::SameName: return Kind::None;
    case RenameRowCheck::WillRename: return check.asksOverwrite ? Kind::WillAsk : Kind::None;
    default: return Kind::WillFail;
    }
}

QString Text(const RenameRowCheck& check, const RenamePair& pair)
{
    switch (check.verdict) {
    case RenameRowCheck::InvalidOldName: return nameProblemText(check.nameProblem, pair.oldName, false);
    case RenameRowCheck::InvalidNewName: return nameProblemText(check.nameProblem, pair.newName, true);
    case RenameRowCheck::OldMissing: return StringTable::format(BrindleStrings::IdsFileNotFound, {pair.oldName});
    case RenameRowCheck::OldNameRepeated:
        return StringTable::format(BrindleStrings::IdsSameFileAsRow, {rowNumber(check.earlierRow)});
    case RenameRowCheck::WillRename:
        if (!check.asksOverwrite)
            return QString();
        if (check.earlierRow >= 0)
            return StringTable::format(BrindleStrings::IdsSameNewNameAsRow, {rowNumber(check.earlierRow)});
        return StringTable::format(BrindleStrings::IdsWillAskOverwrite, {pair.newName});
    case RenameRowCheck::SameName: break;
    }
    return QString();
}

} // namespace RowWarning
