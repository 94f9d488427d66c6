#pragma once

#include <QByteArrayView>

#include <optional>

// The header of an MPEG audio frame, as far as the lyric times of a SYLT frame need it: how long
// one frame plays.
namespace MpegFrameHeader {

// The play time of one frame in milliseconds, from the first frame header found in the bytes
// (the start of the audio); no value when they hold none.
std::optional<double> FrameMilliseconds(QByteArrayView audio);

// Layer III at 44.1 kHz, the frame most mp3 files are made of.
inline constexpr double TypicalFrameMilliseconds = 1152 * 1000.0 / 44100;

} // namespace MpegFrameHeader
