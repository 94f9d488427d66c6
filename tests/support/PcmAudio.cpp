#include "tests/support/PcmAudio.h"

#include <QFile>
#include <QtEndian>

#include <cmath>
#include <cstring>
#include <limits>
#include <numbers>

namespace {

template <typename T>
T At(const QByteArray& bytes, qsizetype offset)
{
    return qFromLittleEndian<T>(bytes.constData() + offset);
}

// The samples of a channel without `margin` seconds at each end.
std::pair<size_t, size_t> Inner(const std::vector<float>& channel, int rate, double margin)
{
    const auto skip = size_t(std::max(0.0, margin * rate));
    return channel.size() > 2 * skip ? std::pair{skip, channel.size() - skip} : std::pair{size_t(0), size_t(0)};
}

} // namespace

PcmAudio PcmAudio::sine(double hz, double seconds, double leftGain, double rightGain, int rate)
{
    PcmAudio audio;
    audio.rate = rate;
    for (size_t i = 0; i < size_t(seconds * rate); ++i) {
        const double value = std::sin(2 * std::numbers::pi * hz * double(i) / rate);
        audio.left.push_back(float(leftGain * value));
        audio.right.push_back(float(rightGain * value));
    }
    return audio;
}

bool PcmAudio::writeWav(const QString& path) const
{
    const quint16 channels = right.empty() ? 1 : 2;
    const auto dataSize = quint32(left.size() * 2 * channels);
    QByteArray bytes(44, '\0');
    char* h = bytes.data();
    std::memcpy(h, "RIFF", 4);
    qToLittleEndian<quint32>(36 + dataSize, h + 4);
    std::memcpy(h + 8, "WAVEfmt ", 8);
    qToLittleEndian<quint32>(16, h + 16);
    qToLittleEndian<quint16>(1, h + 20); // integer samples
    qToLittleEndian<quint16>(channels, h + 22);
    qToLittleEndian<quint32>(quint32(rate), h + 24);
    qToLittleEndian<quint32>(quint32(rate) * 2 * channels, h + 28);
    qToLittleEndian<quint16>(2 * channels, h + 32);
    qToLittleEndian<quint16>(16, h + 34);
    std::memcpy(h + 36, "data", 4);
    qToLittleEndian<quint32>(dataSize, h + 40);
    for (size_t i = 0; i < left.size(); ++i) {
        for (int c = 0; c < channels; ++c) {
            const auto sample = qint16(std::lround(std::clamp(c ? right[i] : left[i], -1.0f, 1.0f) * 32767));
            bytes.append(char(sample & 0xFF)).append(char((sample >> 8) & 0xFF));
        }
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
    if (format < 0 || data < 0 || format + 34 > bytes.size())
        return {};
    const auto tag = At<quint16>(bytes, format + 8);
    const int channels = At<quint16>(bytes, format + 10);
    const int bits = At<quint16>(bytes, format + 22);
    // WAVE_FORMAT_EXTENSIBLE names the sample type in its sub-format; mpv writes float as 32 bits.
    const bool isFloat = tag == 3 || (tag == 0xFFFE && At<quint16>(bytes, format + 32) == 3);
    if (channels < 1 || channels > 2 || !(bits == 16 || (bits == 32 && isFloat)))
        return {};
    PcmAudio audio;
    audio.rate = int(At<quint32>(bytes, format + 12));
    const int sampleSize = bits / 8;
    for (qsizetype at = data + 8; at + channels * sampleSize <= bytes.size(); at += channels * sampleSize) {
        float samples[2] = {};
        for (int c = 0; c < channels; ++c)
            samples[c] = bits == 16 ? At<qint16>(bytes, at + 2 * c) / 32768.0f : At<float>(bytes, at + 4 * c);
        audio.left.push_back(samples[0]);
        audio.right.push_back(samples[channels - 1]);
    }
    return audio;
}

double PcmAudio::frequency(const std::vector<float>& channel, int rate, double margin)
{
    const auto [from, to] = Inner(channel, rate, margin);
    double first = -1;
    double last = -1;
    int crossings = 0;
    for (size_t i = from; i + 1 < to; ++i) {
        if (channel[i] > 0 || channel[i + 1] <= 0)
            continue;
        // Where the line between the two samples crosses zero.
        last = double(i) + channel[i] / (channel[i] - channel[i + 1]);
        first = first < 0 ? last : first;
        ++crossings;
    }
    return crossings < 2 ? 0 : (crossings - 1) * double(rate) / (last - first);
}

double PcmAudio::levelDb(const std::vector<float>& channel, int rate, double margin)
{
    const auto [from, to] = Inner(channel, rate, margin);
    double sum = 0;
    for (size_t i = from; i < to; ++i)
        sum += double(channel[i]) * channel[i];
    return sum > 0 ? 10 * std::log10(sum / double(to - from)) : -std::numeric_limits<double>::infinity();
}
