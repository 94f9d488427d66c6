#include "player/karaoke/KaraokeControlStrings.h"

#include "common/ui/StringTable.h"

void RegisterKaraokeControlStrings()
{
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    StringTable::add({
        {2400, QT_TRANSLATE_NOOP("Ui", "キー")},
        {2401, QT_TRANSLATE_NOOP("Ui", "キーを半音下げる")},
        {2402, QT_TRANSLATE_NOOP("Ui", "キーを半音上げる")},
        {2403, QT_TRANSLATE_NOOP("Ui", "キー (半音、-6 ～ +6)。ダブルクリックで元のキーに戻す")},
        {2404, QT_TRANSLATE_NOOP("Ui", "テンポ")},
        {2405, QT_TRANSLATE_NOOP("Ui", "テンポを 5% 遅くする (音程はそのまま)")},
        {2406, QT_TRANSLATE_NOOP("Ui", "テンポを 5% 速くする (音程はそのまま)")},
        {2407, QT_TRANSLATE_NOOP("Ui", "テンポ (50% ～ 150%)。ダブルクリックで 100% に戻す")},
        {2408, QT_TRANSLATE_NOOP("Ui", "ボーカル低減")},
        {2409,
         QT_TRANSLATE_NOOP("Ui", "ステレオの中央にある音 (多くはボーカル) を打ち消す。モノラルの曲では何もしません")},
        {2410, QT_TRANSLATE_NOOP("Ui", "この曲はモノラルのため、ボーカル低減は働きません")},
        {2411, QT_TRANSLATE_NOOP("Ui", "歌詞オフセット")},
        {2412, QT_TRANSLATE_NOOP("Ui", "歌詞を 50 ms 遅らせる")},
        {2413, QT_TRANSLATE_NOOP("Ui", "歌詞を 50 ms 早める")},
        {2414,
         QT_TRANSLATE_NOOP("Ui", "歌詞オフセット (歌詞ファイルの値は %s)。ダブルクリックで歌詞ファイルの値に戻す")},
        {2415, QT_TRANSLATE_NOOP("Ui", "保存")},
        {2416, QT_TRANSLATE_NOOP("Ui", "歌詞オフセットを歌詞ファイルに保存する (ほかの内容はそのまま)")},
        {2417, QT_TRANSLATE_NOOP("Ui", "タグの歌詞はファイルに保存できません。オフセットはこの再生の間だけ有効です")},
        {2418, QT_TRANSLATE_NOOP("Ui", "歌詞オフセットを \"%s\" に保存できませんでした")},
        {2419, QT_TRANSLATE_NOOP("Ui", "曲ごとに記憶")},
        {2420, QT_TRANSLATE_NOOP("Ui", "キー・テンポ・歌詞オフセットを曲ごとに記憶し、次に再生したときに戻す")},
        {2421, QT_TRANSLATE_NOOP("Ui", "すべて元に戻す")},
        {2422, QT_TRANSLATE_NOOP("Ui", "この libmpv は rubberband フィルタを使えないため、キーを変えられません")},
        {2423, QT_TRANSLATE_NOOP("Ui", "この libmpv は再生速度を変えられません")},
        {2424, QT_TRANSLATE_NOOP("Ui", "この libmpv はボーカル低減のフィルタを使えません")},
        {2425, QT_TRANSLATE_NOOP("Ui", "カラオケ")},
        {2426, QT_TRANSLATE_NOOP("Ui", "F6: 選択中のタイムタグの 2 秒前から再生\n"
                                       "Ctrl+[ / Ctrl+]: テンポを変える (タイムタグは元の速さの時間で打たれます)")},
        {2427, QT_TRANSLATE_NOOP("Ui", "歌詞オフセットを歌詞ファイルに保存")},
    });
}
