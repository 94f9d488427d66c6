// INI file bytes through the profile reader and writer: values read, a value written, and the
// file read again gives the written value back.
#include "platform/profile/IniFile.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

namespace {

const QString kSection = QStringLiteral("CSonavelDlg");

QString profilePath()
{
    static QTemporaryDir folder;
    return folder.filePath(QStringLiteral("fuzz.ini"));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* input, size_t size)
{
    const QString path = profilePath();
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(reinterpret_cast<const char*>(input), qint64(size));
    }
    IniFile ini(path);
    ini.integer(kSection, QStringLiteral("RdExtNum"), 5);
    const QString before = ini.string(kSection, QStringLiteral("RdExt00"), QStringLiteral("mp3"));
    if (!ini.setValue(kSection, QStringLiteral("Volume"), QStringLiteral(" 42 ")))
        return 0;
    const IniFile again(path);
    if (again.integer(kSection, QStringLiteral("Volume"), -1) != 42 ||
        again.string(kSection, QStringLiteral("RdExt00"), QStringLiteral("mp3")) != before)
        __builtin_trap();
    return 0;
}
