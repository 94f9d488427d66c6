#pragma once

// The lyric messages of the string table that the karaoke window shows itself.
namespace KaraokeString {
enum Id : int {
    ReadFailed = 1212,        // "カラオケデータ "%s" の読み込みに失敗しました"
    SaveFailed = 1213,        // "カラオケデータ "%s" の保存に失敗しました"
    TimeTagFormatWrong = 1219,
    ModifiedConfirm = 1301,   // "カラオケデータ "%s" の内容は変更されています。保存しますか？"
};
} // namespace KaraokeString

// Adds these texts to the string table; calling it again changes nothing.
void RegisterKaraokeStrings();
