#include "tests/support/PcmAudio.h"

#include <QFile>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <numbers>

namespace {

void appendLe(QByteArray& bytes, quint32 value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes.append(char((value >> (8 * i)) & 0xFF));
}

quint32 readLe(const QByteArray& bytes, qsizetype at, int size)
{
    quint32 value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | quint8(bytes.at(at + i));
    return value;
}

struct Span {
    size_t from = 0;
    size_t to = 0;
};

Span inner(const std::vector<float>& channel, int rate, double margin)
{
    const auto skip = size_t(std::max(0.0, margin * rate));
    if (channel.size() <= 2 * skip)
        return {};
    return {skip, channel.size() - skip};
}

} // namespace

PcmAudio PcmAudio::sine(double hz, double seconds, double leftGain, double rightGain, int rate)
{
    PcmAudio audio;
    audio.rate = rate;
    const auto frames = size_t(seconds * rate);
    for (size_t i = 0; i < frames; ++i) {
        const auto value = float(std::sin(2 * std::numbers::pi * hz * double(i) / rate));
        audio.left.push_back(float(leftGain) * value);
        audio.right.push_back(float(rightGain) * value);
    }
    return audio;
}

bool PcmAudio::writeWav(const QString& path) const
{
    const quint32 channels = right.empty() ? 1 : 2;
    const auto dataSize = quint32(left.size() * 2 * channels);
    QByteArray bytes("RIFF");
    appendLe(bytes, 36 + dataSize, 4);
    bytes += "WAVEfmt ";
    appendLe(bytes, 16, 4);
    appendLe(bytes, 1, 2);            // integer samples
    appendLe(bytes, channels, 2);
    appendLe(bytes, quint32(rate), 4);
    appendLe(bytes, quint32(rate) * 2 * channels, 4);
    appendLe(bytes, 2 * channels, 2);
    appendLe(bytes, 16, 2);
    bytes += "data";
    appendLe(bytes, dataSize, 4);
    for (size_t i = 0; i < left.size(); ++i) {
        for (quint32 c = 0; c < channels; ++c)
            appendLe(bytes, quint16(qint16(std::lround(std::clamp(c ? right[i] : left[i], -1.0f, 1.0f) * 32767))), 2);
    }
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

PcmAudio PcmAudio::readWav(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    const qsizetype format = bytes.indexOf("fmt ");
    const qsizetype data = bytes.indexOf("data");
    if (format < 0 || data < 0 || format + 24 > bytes.size())
        return {};
    const auto tag = readLe(bytes, format + 8, 2);
    const auto channels = int(readLe(bytes, format + 10, 2));
    const auto bits = int(readLe(bytes, format + 22, 2));
    // WAVE_FORMAT_EXTENSIBLE names the sample type in its sub-format; mpv writes float as 32 bits.
    const bool isFloat = tag == 3 || (tag == 0xFFFE && bits == 32 && readLe(bytes, format + 32, 2) == 3);
    if (channels < 1 || channels > 2 || (bits != 16 && !(bits == 32 && isFloat)))
        return {};
    PcmAudio audio;
    audio.rate = int(readLe(bytes, format + 12, 4));
    const int frameSize = channels * bits / 8;
    for (qsizetype at = data + 8; at + frameSize <= bytes.size(); at += frameSize) {
        float samples[2] = {0, 0};
        for (int c = 0; c < channels; ++c) {
            const qsizetype offset = at + c * bits / 8;
            if (bits == 16) {
                samples[c] = float(qint16(readLe(bytes, offset, 2))) / 32768.0f;
            } else {
                const quint32 raw = readLe(bytes, offset, 4);
                std::memcpy(&samples[c], &raw, sizeof raw);
            }
        }
        audio.left.push_back(samples[0]);
        audio.right.push_back(channels == 2 ? samples[1] : samples[0]);
    }
    return audio;
}

double PcmAudio::frequency(const std::vector<float>& channel, int rate, double margin)
{
    const Span span = inner(channel, rate, margin);
    double first = -1;
    double last = -1;
    int crossings = 0;
    for (size_t i = span.from; i + 1 < span.to; ++i) {
        if (!(channel[i] <= 0 && channel[i + 1] > 0))
            continue;
        // Where the line between the two samples crosses zero.
        const double at = double(i) + channel[i] / (channel[i] - channel[i + 1]);
        if (first < 0)
            first = at;
        last = at;
        ++crossings;
    }
    return crossings < 2 ? 0 : (crossings - 1) * double(rate) / (last - first);
}

double PcmAudio::levelDb(const std::vector<float>& channel, int rate, double margin)
{
    const Span span = inner(channel, rate, margin);
    double sum = 0;
    for (size_t i = span.from; i < span.to; ++i)
        sum += double(channel[i]) * channel[i];
    const double meanSquare = span.to > span.from ? sum / double(span.to - span.from) : 0;
    return meanSquare > 0 ? 10 * std::log10(meanSquare) : -std::numeric_limits<double>::infinity();
}
