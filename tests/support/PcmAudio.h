#pragma once

#include <QString>

#include <vector>

// Audio as tests write it for the engine and read back what the engine rendered (WAV files).
struct PcmAudio {
    int rate = 44100;
    std::vector<float> left;
    std::vector<float> right;

    double seconds() const { return rate > 0 ? double(left.size()) / rate : 0; }

    // A sine of `hz` for `seconds`, each channel at its own gain (0 to 1 of full scale).
    static PcmAudio sine(double hz, double seconds, double leftGain, double rightGain, int rate = 44100);
    // 16-bit WAV, mono when `right` is empty; false when it cannot be written.
    bool writeWav(const QString& path) const;
    // A WAV file of 16-bit integer or 32-bit float samples, one or two channels (a header whose
    // sizes were never filled in counts to the end of the file). Empty when unreadable.
    static PcmAudio readWav(const QString& path);

    // The frequency of a channel from its rising zero crossings, leaving out `margin` seconds at
    // each end; 0 when there are fewer than two.
    static double frequency(const std::vector<float>& channel, int rate, double margin);
    // The root mean square level in dB of full scale, leaving out `margin` seconds at each end;
    // -inf for silence.
    static double levelDb(const std::vector<float>& channel, int rate, double margin);
};
