// m3u list bytes through the entry reader: every entry is an absolute path or a URL.
#include "player/library/M3uList.h"

#include <cstddef>
#include <cstdint>

namespace {

constexpr int kCodePages[] = {932, 1252, 65001, 50220};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* input, size_t size)
{
    if (size == 0)
        return 0;
    const bool isM3u8 = input[0] & 1;
    const int codePage = kCodePages[(input[0] >> 1) % std::size(kCodePages)];
    const QByteArray bytes(reinterpret_cast<const char*>(input + 1), qsizetype(size - 1));
    for (const QString& entry : CM3uList::Entries(bytes, QStringLiteral("/music/list/"), isM3u8, codePage))
        if (!entry.startsWith(u'/') && !entry.contains(QLatin1String("://")))
            __builtin_trap();
    return 0;
}
