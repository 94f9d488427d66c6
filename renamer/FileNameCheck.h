#pragma once

#include <QString>

// What makes a name unusable in a rename list, without showing anything: the preview marks
// rows with it, the run reports it with message 107.
namespace FileNameCheck {

enum class Problem {
    None,
    ForbiddenCharacter,   // one of \ / : , ; * ? " < > | (or a NUL)
    NotAName,             // empty, "." or ".."
    ControlCharacter,     // a line break, tab or other control character (new names only)
};

// A name as it stands in the folder: the old name of a row.
Problem CheckOldName(const QString& name);
// A name the run would create: also no control characters, which no user types on purpose.
Problem CheckNewName(const QString& name);

} // namespace FileNameCheck
