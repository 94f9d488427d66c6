#include "player/karaoke/KaraokeStrings.h"

#include "common/ui/StringTable.h"

void RegisterKaraokeStrings()
{
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    StringTable::add({
        {1212, "カラオケデータ \"%s\" の読み込みに失敗しました"},
        {1213, "カラオケデータ \"%s\" の保存に失敗しました"},
        {1219, "入力されたタイムタグの書式が正しくありません"},
        {1301, "カラオケデータ \"%s\" の内容は変更されています。保存しますか？"},
    });
}
