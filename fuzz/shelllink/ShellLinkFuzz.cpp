// Windows shortcut file bytes through the shell link reader: every size and offset it follows
// must stay inside the bytes.
#include "platform/shell/ShellLinkBinary.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* input, size_t size)
{
    const QByteArrayView bytes(input, qsizetype(size));
    for (int codePage : {932, 1252}) {
        if (const auto contents = ShellLinkBinary::parse(bytes, codePage)) {
            // Touch every text, so a view outside the bytes is caught.
            volatile qsizetype length = contents->localBasePath.size() + contents->relativePath.size() +
                                        contents->arguments.size() + contents->iconLocation.size();
            (void)length;
        }
    }
    return 0;
}
