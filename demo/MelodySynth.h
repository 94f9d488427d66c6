#pragma once

#include "demo/DemoSong.h"

#include <QByteArray>

#include <vector>

// Renders a demo melody as 16-bit mono PCM: a soft music-box voice (a few harmonics under an
// attack-decay-release envelope, a touch of vibrato) and a short echo.
class CMelodySynth
{
public:
    static constexpr int SampleRate = 44100;

    static QByteArray Render(const CDemoSong& song);
    // A RIFF WAVE file around the samples.
    static QByteArray Wave(const QByteArray& samples);

private:
    static void AddNote(std::vector<float>& mix, const DemoNote& note);
};
