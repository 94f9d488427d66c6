#include "player/library/LibraryStrings.h"

#include "common/ui/StringTable.h"

void RegisterLibraryStrings()
{
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    StringTable::add({
        {LibraryString::ColumnFileName, "ファイル名"},
        {LibraryString::ColumnTitle, "タイトル"},
        {LibraryString::ColumnArtist, "アーティスト"},
        {LibraryString::ColumnAlbum, "アルバム"},
        {LibraryString::ColumnTrack, "トラック"},
        {LibraryString::ReadShortcutFailed,
         "ショートカット \"%s\" の読み込みに失敗しました。\nファイル \"%s\" が存在しません。\nショートカット \"%s\" を削除しますか？"},
    });
}
