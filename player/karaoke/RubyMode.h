#pragma once

// Which readings the lyric displays show over kanji (setting "RubyMode" of "CKaraokeStatic").
enum class RubyMode {
    None = 0,      // なし
    Written = 1,   // 指定のみ: the readings the lyric file gives
    Automatic = 2, // 自動: those, and readings from the dictionary for the other kanji
};
