// Any bytes as a tag's picture: the decoders must refuse or decode them within the pixel limit,
// never writing outside the image's rows, and always end.
#include "player/library/PictureDecoder.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // A small limit keeps every run short; the check itself is the same at any size.
    const QImage image = PictureDecoder::Decode(QByteArrayView(data, static_cast<qsizetype>(size)), 1 << 20);
    if (!image.isNull()) {
        // Touch the last byte of the last row, so a picture shorter than it claims is caught.
        volatile uchar last = image.constScanLine(image.height() - 1)[image.width() * 3 - 1];
        (void)last;
    }
    return 0;
}
