#include "player/library/FrameInflater.h"

#include <zlib.h>

#include <algorithm>
#include <limits>

namespace {

constexpr qsizetype kFirstBufferMax = 1024 * 1024;

} // namespace

std::optional<QByteArray> CFrameInflater::Inflate(QByteArrayView data, quint32 expectedSize, qsizetype limit)
{
    if (limit <= 0)
        return std::nullopt;
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK)
        return std::nullopt;
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = static_cast<uInt>(std::min<qsizetype>(data.size(), std::numeric_limits<uInt>::max()));
    // Announced sizes are often wrong; they only size the first buffer, within bounds.
    QByteArray output(std::min(std::max<qsizetype>(expectedSize, 64), std::min(limit, kFirstBufferMax)), Qt::Uninitialized);
    qsizetype produced = 0;
    int status = Z_OK;
    while (status == Z_OK) {
        if (produced == output.size()) {
            if (output.size() >= limit)
                break;
            output.resize(std::min(output.size() * 2, limit));
        }
        stream.next_out = reinterpret_cast<Bytef*>(output.data() + produced);
        stream.avail_out = static_cast<uInt>(output.size() - produced);
        status = inflate(&stream, Z_NO_FLUSH);
        produced = output.size() - stream.avail_out;
        if (status == Z_BUF_ERROR && stream.avail_out > 0)
            break; // the input ended before the stream did
        if (status == Z_BUF_ERROR)
            status = Z_OK;
    }
    inflateEnd(&stream);
    if (status != Z_STREAM_END)
        return std::nullopt;
    output.truncate(produced);
    return output;
}
