#include "player/library/MpegFrameHeader.h"

namespace {

enum Version { Mpeg25 = 0, Reserved = 1, Mpeg2 = 2, Mpeg1 = 3 };
enum Layer { LayerReserved = 0, Layer3 = 1, Layer2 = 2, Layer1 = 3 };

constexpr int kSampleRates[4][3] = {
    {11025, 12000, 8000}, // MPEG 2.5
    {0, 0, 0},
    {22050, 24000, 16000}, // MPEG 2
    {44100, 48000, 32000}, // MPEG 1
};

std::optional<double> durationAt(const unsigned char* header)
{
    if (header[0] != 0xFF || (header[1] & 0xE0) != 0xE0)
        return std::nullopt;
    const int version = header[1] >> 3 & 3;
    const int layer = header[1] >> 1 & 3;
    const int bitrate = header[2] >> 4;
    const int rateIndex = header[2] >> 2 & 3;
    if (version == Reserved || layer == LayerReserved || bitrate == 15 || rateIndex == 3)
        return std::nullopt;
    const int samples = layer == Layer1 ? 384 : (layer == Layer3 && version != Mpeg1) ? 576 : 1152;
    return samples * 1000.0 / kSampleRates[version][rateIndex];
}

} // namespace

namespace MpegFrameHeader {

std::optional<double> FrameMilliseconds(QByteArrayView audio)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(audio.data());
    for (qsizetype i = 0; i + 3 < audio.size(); ++i)
        if (const auto duration = durationAt(bytes + i))
            return duration;
    return std::nullopt;
}

} // namespace MpegFrameHeader
