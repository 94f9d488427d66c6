#include "demo/MelodySynth.h"

#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace {

constexpr double kHarmonics[] = {1.0, 0.45, 0.22, 0.1};
constexpr double kAttack = 0.012;
constexpr double kDecay = 0.25;
constexpr double kSustain = 0.55;
constexpr double kRelease = 0.08;
constexpr double kEchoDelay = 0.24;
constexpr double kEchoGain = 0.22;

double Envelope(double t, double length)
{
    double level = t < kAttack ? t / kAttack : kSustain + (1 - kSustain) * std::exp(-(t - kAttack) / kDecay);
    const double untilEnd = length - t;
    if (untilEnd < kRelease)
        level *= std::max(0.0, untilEnd / kRelease);
    return level;
}

void AppendLittleEndian(QByteArray& out, quint32 value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.append(static_cast<char>(value >> (8 * i) & 0xFF));
}

} // namespace

void CMelodySynth::AddNote(std::vector<float>& mix, const DemoNote& note)
{
    if (note.frequency <= 0)
        return;
    const double length = note.duration * 0.95;
    const auto first = static_cast<size_t>(note.start * SampleRate);
    const auto count = static_cast<size_t>(length * SampleRate);
    for (size_t i = 0; i < count && first + i < mix.size(); ++i) {
        const double t = static_cast<double>(i) / SampleRate;
        const double vibrato = 1 + 0.003 * std::sin(2 * std::numbers::pi * 5.5 * t) * std::min(1.0, t * 3);
        const double phase = 2 * std::numbers::pi * note.frequency * vibrato * t;
        double sample = 0;
        for (size_t h = 0; h < std::size(kHarmonics); ++h)
            sample += kHarmonics[h] * std::sin(phase * static_cast<double>(h + 1));
        mix[first + i] += static_cast<float>(0.3 * Envelope(t, length) * sample);
    }
}

QByteArray CMelodySynth::Render(const CDemoSong& song)
{
    std::vector<float> mix(static_cast<size_t>(song.Length() * SampleRate), 0.0F);
    for (const DemoNote& note : song.Notes)
        AddNote(mix, note);
    const auto echo = static_cast<size_t>(kEchoDelay * SampleRate);
    for (size_t i = mix.size(); i-- > echo;)
        mix[i] += static_cast<float>(kEchoGain) * mix[i - echo];

    QByteArray samples(static_cast<qsizetype>(mix.size() * 2), '\0');
    auto* out = reinterpret_cast<qint16*>(samples.data());
    for (size_t i = 0; i < mix.size(); ++i)
        qToLittleEndian(static_cast<qint16>(std::clamp(mix[i], -1.0F, 1.0F) * 32000), out + i);
    return samples;
}

QByteArray CMelodySynth::Wave(const QByteArray& samples)
{
    QByteArray wave("RIFF");
    AppendLittleEndian(wave, static_cast<quint32>(36 + samples.size()), 4);
    wave.append("WAVEfmt ");
    AppendLittleEndian(wave, 16, 4);
    AppendLittleEndian(wave, 1, 2); // PCM
    AppendLittleEndian(wave, 1, 2); // mono
    AppendLittleEndian(wave, SampleRate, 4);
    AppendLittleEndian(wave, SampleRate * 2, 4);
    AppendLittleEndian(wave, 2, 2);
    AppendLittleEndian(wave, 16, 2);
    wave.append("data");
    AppendLittleEndian(wave, static_cast<quint32>(samples.size()), 4);
    return wave + samples;
}
