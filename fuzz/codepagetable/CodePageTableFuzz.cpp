// CodePage.txt bytes, decoded in a code page as the application reads them, through the table.
#include "platform/text/TextFile.h"
#include "player/app/CodePageTable.h"

#include <QStringList>

#include <algorithm>

#include <cstddef>
#include <cstdint>

namespace {

constexpr int kCodePages[] = {932, 1252, 65001, 1200, 50220, 12000, 54936};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* input, size_t size)
{
    if (size == 0)
        return 0;
    const int codePage = kCodePages[input[0] % std::size(kCodePages)];
    const QByteArray bytes(reinterpret_cast<const char*>(input + 1), qsizetype(size - 1));
    const QStringList lines = TextFile::splitLines(bytes, codePage);
    CCodePageTable table;
    table.Parse(lines);
    // One entry per line that is neither empty nor a comment.
    const auto counted = std::count_if(lines.begin(), lines.end(),
                                       [](const QString& line) { return !line.isEmpty() && !line.startsWith(u'#'); });
    if (table.Count() != counted)
        __builtin_trap();
    return 0;
}
