#pragma once

// The lyric messages of the string table that the karaoke window shows itself.
namespace KaraokeString {
enum Id : int {
    ReadFailed = 1212, // "カラオケデータ "%s" の読み込みに失敗しました"
    SaveFailed = 1213, // "カラオケデータ "%s" の保存に失敗しました"
    TimeTagFormatWrong = 1219,
    ModifiedConfirm = 1301, // "カラオケデータ "%s" の内容は変更されています。保存しますか？"
    UnreadableBytesCopy = 1330, // a file the code page could not read: save edits to a UTF-8 copy?
    LyricFileExists = 1331,     // tag lyrics cannot be saved beside the track: a lyric file is there
};
} // namespace KaraokeString

// Adds these texts to the string table; calling it again changes nothing.
void RegisterKaraokeStrings();
