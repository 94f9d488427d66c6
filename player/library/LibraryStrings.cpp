#include "player/library/LibraryStrings.h"

#include "common/ui/StringTable.h"

void RegisterLibraryStrings()
{
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    StringTable::add({
        {LibraryString::ColumnFileName, QT_TRANSLATE_NOOP("Ui", "ファイル名")},
        {LibraryString::ColumnTitle, QT_TRANSLATE_NOOP("Ui", "タイトル")},
        {LibraryString::ColumnArtist, QT_TRANSLATE_NOOP("Ui", "アーティスト")},
        {LibraryString::ColumnAlbum, QT_TRANSLATE_NOOP("Ui", "アルバム")},
        {LibraryString::ColumnTrack, QT_TRANSLATE_NOOP("Ui", "トラック")},
        {LibraryString::ReadShortcutFailed,
         QT_TRANSLATE_NOOP("Ui", "ショートカット \"%s\" の読み込みに失敗しました。\nファイル \"%s\" "
                                 "が存在しません。\nショートカット \"%s\" を削除しますか？")},
    });
}
