#pragma once

#include <QString>

// Short real audio files of any format the player lists, encoded by ffmpeg from a tone, without
// tags of their own (tests write the tags they need).
namespace AudioFixture {

// Encodes `seconds` of a 440 Hz tone at 44.1 kHz (48 kHz for Opus) into the path, the codec
// chosen by its extension: flac, ogg (Vorbis), opus, m4a (AAC), mp3. False when ffmpeg fails.
bool Tone(const QString& path, double seconds = 1.0);

} // namespace AudioFixture
