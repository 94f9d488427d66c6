#include "player/app/SonavelStrings.h"

#include "common/ui/StringTable.h"
#include "player/karaoke/KaraokeStrings.h"

void RegisterSonavelStrings()
{
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    // The karaoke window registers the lyric messages it shows itself.
    RegisterKaraokeStrings();
    StringTable::add({
        {101, QT_TRANSLATE_NOOP("Ui", "Sonavel のﾊﾞｰｼﾞｮﾝ情報(&A)...")},
        {1000, QT_TRANSLATE_NOOP("Ui", "初期状態")},
        {1001, QT_TRANSLATE_NOOP("Ui", "停止中")},
        {1002, QT_TRANSLATE_NOOP("Ui", "一時停止中")},
        {1003, QT_TRANSLATE_NOOP("Ui", "再生中 [ %s ]")},
        {1004, QT_TRANSLATE_NOOP("Ui", "早送り中")},
        {1005, QT_TRANSLATE_NOOP("Ui", "巻戻し中")},
        {1006, QT_TRANSLATE_NOOP("Ui", "サーバーからバッファ中")},
        {1007, QT_TRANSLATE_NOOP("Ui", "サーバーからの返答を待機中")},
        {1008, QT_TRANSLATE_NOOP("Ui", "メディア終了")},
        {1009, QT_TRANSLATE_NOOP("Ui", "新しいメディアを準備中")},
        {1010, QT_TRANSLATE_NOOP("Ui", "準備完了")},
        {1011, QT_TRANSLATE_NOOP("Ui", "ストリームに再接続中")},
        {1200, QT_TRANSLATE_NOOP("Ui", "ファイル名")},
        {1201, QT_TRANSLATE_NOOP("Ui", "タイトル")},
        {1202, QT_TRANSLATE_NOOP("Ui", "アーティスト")},
        {1203, QT_TRANSLATE_NOOP("Ui", "アルバム")},
        {1204, QT_TRANSLATE_NOOP("Ui", "トラック")},
        {1210, QT_TRANSLATE_NOOP("Ui", "プレイリストの削除に失敗しました")},
        {1211,
         QT_TRANSLATE_NOOP("Ui", "ショートカット \"%s\" の読み込みに失敗しました。\nファイル \"%s\" が存在しません。\n"
                                 "ショートカット \"%s\" を削除しますか？")},
        {1214, QT_TRANSLATE_NOOP("Ui", "新規カラオケデータの作成に失敗しました")},
        {1215, QT_TRANSLATE_NOOP("Ui", "クリップボードを開くのに失敗しました\n(%s)")},
        {1216, QT_TRANSLATE_NOOP("Ui", "クリップボードのクリアに失敗しました\n(%s)")},
        {1217, QT_TRANSLATE_NOOP("Ui", "クリップボードのデータ設定に失敗しました\n(%s)")},
        {1218, QT_TRANSLATE_NOOP("Ui", "クリップボードを閉じるのに失敗しました\n(%s)")},
        {1220, QT_TRANSLATE_NOOP("Ui", "ファイル名(%s)に使えない文字 (\\ / : , ; * ? \" < > |)が含まれています")},
        {1221, QT_TRANSLATE_NOOP("Ui", "カラオケデータ \"%s\" を削除できませんでした\n(%s)")},
        {1240, QT_TRANSLATE_NOOP("Ui", "\"%s\" が見つかりません")},
        {1241, QT_TRANSLATE_NOOP("Ui", "\"%s\" はトラックリストにないため再生できません")},
        {1300, QT_TRANSLATE_NOOP("Ui", "カラオケデータ \"%s\" を削除します。よろしいですか？")},
        {1302, QT_TRANSLATE_NOOP("Ui", "ショートカットファイル \"%s\" は既に存在します。上書きしますか？")},
        {32771, QT_TRANSLATE_NOOP("Ui", "再生")},
        {32772, QT_TRANSLATE_NOOP("Ui", "停止")},
        {32773, QT_TRANSLATE_NOOP("Ui", "一時停止")},
        {32774, QT_TRANSLATE_NOOP("Ui", "前曲へ")},
        {32775, QT_TRANSLATE_NOOP("Ui", "次曲へ")},
        {32782, QT_TRANSLATE_NOOP("Ui", "テキストエディタで開く")},
        {32783, QT_TRANSLATE_NOOP("Ui", "新規作成")},
        {32784, QT_TRANSLATE_NOOP("Ui", "削除")},
        {32785, QT_TRANSLATE_NOOP("Ui", "コピー (タイトル)")},
        {32786, QT_TRANSLATE_NOOP("Ui", "コピー(アーティスト)")},
        {32787, QT_TRANSLATE_NOOP("Ui", "コピー(アルバム)")},
        {32788, QT_TRANSLATE_NOOP("Ui", "カラオケ表示")},
    });
}
