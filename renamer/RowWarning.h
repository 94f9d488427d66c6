#pragma once

#include "renamer/RenamePlan.h"

#include <QString>

// What the preview says of a row before the run: nothing for a row that will simply be
// renamed, else the reason it cannot succeed or the question it will ask.
namespace RowWarning {

enum class Kind { None, WillFail, WillAsk };

Kind KindOf(const RenameRowCheck& check);
QString Text(const RenameRowCheck& check, const RenamePair& pair);

} // namespace RowWarning
