#include "player/karaoke/KaraokeStrings.h"

#include "common/ui/StringTable.h"

void RegisterKaraokeStrings()
{
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    StringTable::add({
        {1212, QT_TRANSLATE_NOOP("Ui", "カラオケデータ \"%s\" の読み込みに失敗しました")},
        {1213, QT_TRANSLATE_NOOP("Ui", "カラオケデータ \"%s\" の保存に失敗しました")},
        {1219, QT_TRANSLATE_NOOP("Ui", "入力されたタイムタグの書式が正しくありません")},
        {1301, QT_TRANSLATE_NOOP("Ui", "カラオケデータ \"%s\" の内容は変更されています。保存しますか？")},
        {1330, QT_TRANSLATE_NOOP("Ui", "カラオケデータ \"%s\" には文字コード %s で読めないバイトがあります。\n"
                                       "このファイルに保存すると元の文字が失われるため、上書きはしません。\n"
                                       "編集した内容を UTF-8 のコピー \"%s\" に保存しますか？")},
        {1331,
         QT_TRANSLATE_NOOP("Ui", "カラオケデータ \"%s\" が既にあるため、タグの歌詞を新しいファイルに保存できません")},
    });
}
