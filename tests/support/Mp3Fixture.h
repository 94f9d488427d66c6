#pragma once

#include <QByteArray>
#include <QString>

// Playable mp3 files made from silent MPEG-1 Layer III frames (44.1 kHz, 128 kbit/s, mono),
// with an optional ID3v2.3 tag in front and an ID3v1 tag behind.
namespace Mp3Fixture {

struct Tags {
    QString title;
    QString artist;
    QString album;
    QString track;
};

// About `seconds` of silent frames (at least one frame).
QByteArray silentFrames(double seconds);
// An ID3v2.3 tag with TIT2/TPE1/TALB/TRCK frames (UTF-16 with BOM) for the non-empty texts.
QByteArray id3v23Tag(const Tags& tags);
// A 128-byte ID3v1.1 tag (1.0 without a track number), texts in Latin-1 cut to 30 bytes.
QByteArray id3v1Tag(const Tags& tags);

// Writes tag + frames (+ v1 when asked) and returns the path, or an empty text on failure.
QString write(const QString& path, const Tags& tags, double seconds = 1.0, bool withV1 = false);

// `count` short tagged tracks "trackNNNNN.mp3" (titles, 97 artists, 31 albums, track numbers),
// as a large music folder for benchmarks; mpv plays tracks of 0.2 s and longer, not shorter.
void writeNumberedTracks(const QString& folder, int count, double seconds = 0.05);

} // namespace Mp3Fixture
