#include "renamer/FileNameCheck.h"

#include <algorithm>
#include <cstring>

namespace FileNameCheck {

namespace {

constexpr char kForbiddenCharacters[] = "\\/:,;*?\"<>|";

bool isForbidden(QChar c)
{
    // strchr also finds the terminating NUL: a NUL cannot be part of a file name either.
    return c.unicode() < 0x80 && std::strchr(kForbiddenCharacters, c.toLatin1()) != nullptr;
}

// The control characters of Unicode: C0, DEL and C1.
bool isControl(QChar c)
{
    return c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() <= 0x9F);
}

} // namespace

Problem CheckOldName(const QString& name)
{
    if (std::any_of(name.begin(), name.end(), isForbidden))
        return Problem::ForbiddenCharacter;
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return Problem::NotAName;
    return Problem::None;
}

Problem CheckNewName(const QString& name)
{
    const Problem problem = CheckOldName(name);
    if (problem != Problem::None)
        return problem;
    return std::any_of(name.begin(), name.end(), isControl) ? Problem::ControlCharacter : Problem::None;
}

} // namespace FileNameCheck
