// Any bytes as the data of a synchronised-lyrics frame: the reader stays inside the frame, and the
// lyrics it makes always read back with their times in order, whatever order and words the
// entries had (a SYLT frame never shows the error colour).
#include "player/karaoke/KaraokeData.h"
#include "player/library/SyltFrame.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* input, size_t size)
{
    if (size == 0)
        return 0;
    // The first byte: the code page of 8-bit texts and the frame duration for MPEG frame times.
    const int codePage = input[0] & 1 ? 932 : 1252;
    const double msPerFrame = 1.0 + (input[0] >> 1);
    const QByteArray data(reinterpret_cast<const char*>(input + 1), qsizetype(size - 1));
    for (const char* id : {"SYLT", "SLT"}) {
        const std::optional<CSyltFrame> sylt = CSyltFrame::Parse(TagFrame(id, 0, data), codePage);
        if (!sylt)
            continue;
        const QString lrc = sylt->LrcText(msPerFrame);
        CKaraokeData document;
        if (!document.ParseKaraokeText(lrc) || (!lrc.isEmpty() && !document.Format.IsLrc()))
            __builtin_trap();
    }
    return 0;
}
