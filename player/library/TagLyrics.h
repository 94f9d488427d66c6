#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class CTagRecord;
class Media;

// The lyrics a track carries in its tags, from whichever reader applies: the own ID3v2 reader's
// synchronised (SYLT) and unsynchronised (USLT) frames, then the engine's "WM/Lyrics" values
// (Vorbis comments, the MP4 atom, APEv2 items) for files the own reader does not read or that
// carry an APE tag. Text with time tags is taken before plain text; among equals, the first.
namespace TagLyrics {

// Longer texts are cut at the last line end before this many characters: no song has lyrics that
// long, and laying out millions of words would hold the window up for seconds.
inline constexpr qsizetype MaxLength = 64 * 1024;

// Whether the engine's tags are asked for lyrics: for files the own reader did not read or
// that carry an APE tag.
bool EngineReads(const CTagRecord* record);
// Whether the tags hold any lyrics, without decoding them (for the track list's lyric mark).
bool Has(const CTagRecord* record, const Media* media);
// The chosen text; 8-bit ID3v2 texts are read in the lyric code page. No value without lyrics.
std::optional<QString> Choose(const CTagRecord* record, const Media* media, int codePage);
// The choice among texts in the order the tags hold them (blank ones do not count).
std::optional<QString> Preferred(QStringList texts);

} // namespace TagLyrics
