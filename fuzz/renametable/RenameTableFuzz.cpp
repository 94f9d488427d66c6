// Rename.txt bytes through the rename table: every pair has a key without a tab, and the first
// pair of each key is what a lookup finds.
#include "player/library/RenameTable.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* input, size_t size)
{
    CRenameTable table;
    table.Parse(QByteArray(reinterpret_cast<const char*>(input), qsizetype(size)));
    for (const CRenameTable::RenamePair& pair : table.Pairs()) {
        if (pair.Key.contains(u'\t') || pair.Key.contains(QLatin1String("\r\n")) || !table.Lookup(pair.Key))
            __builtin_trap();
    }
    table.Lookup(QStringLiteral("movie.mpg"));
    return 0;
}
