#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <optional>

// Inflates the zlib data of a compressed ID3v2 frame. The output may not grow past a limit, so a
// small frame that claims or unpacks to gigabytes cannot exhaust memory.
class CFrameInflater
{
public:
    // Larger than any picture a tag reasonably holds.
    static constexpr qsizetype Limit = 32 * 1024 * 1024;

    // The inflated bytes; no value for data that is not a complete zlib stream or that inflates
    // past the limit. `expectedSize` (the size the frame announces) only sizes the first buffer.
    static std::optional<QByteArray> Inflate(QByteArrayView data, quint32 expectedSize, qsizetype limit = Limit);
};
