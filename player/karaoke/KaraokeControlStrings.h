#pragma once

// The texts of the karaoke controls (strip, shortcuts, menu) in the string table.
namespace KaraokeControlString {
enum Id : int {
    Key = 2400,             // "キー"
    KeyDown,
    KeyUp,
    KeyValue,
    Tempo,
    TempoDown,
    TempoUp,
    TempoValue,
    VocalReduction,
    VocalReductionTip,
    VocalReductionMono,
    LyricOffset,
    OffsetLater,
    OffsetEarlier,
    OffsetValue,            // "... %s ..." the lyric file's own offset
    SaveOffset,
    SaveOffsetTip,
    SaveOffsetTagLyrics,
    SaveOffsetFailed,       // "... "%s" ..." the lyric file
    RememberPerTrack,
    RememberPerTrackTip,
    ResetAll,
    KeyUnavailable,
    TempoUnavailable,
    VocalUnavailable,
    MenuTitle,              // "カラオケ"
    EditModeKeys,
    SaveOffsetMenu,
};
} // namespace KaraokeControlString

// Adds these texts to the string table; calling it again changes nothing.
void RegisterKaraokeControlStrings();
