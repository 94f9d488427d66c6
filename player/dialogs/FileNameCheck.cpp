#include "player/dialogs/FileNameCheck.h"

bool IsFileNameCorrectSilent(QStringView name)
{
    constexpr QStringView forbidden = u"\\/:,;*?\"<>|";
    for (const QChar c : name)
        if (forbidden.contains(c))
            return false;
    return true;
}
