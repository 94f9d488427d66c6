#include "renamer/BrindleStrings.h"

#include "common/ui/StringTable.h"

namespace BrindleStrings {

void Register()
{
    StringTable::add({
        {IdsAboutBox, QT_TRANSLATE_NOOP("Ui", "Brindle のﾊﾞｰｼﾞｮﾝ情報(&A)...")},
        {IdsOldNameHeader, QT_TRANSLATE_NOOP("Ui", "変更前")},
        {IdsNewNameHeader, QT_TRANSLATE_NOOP("Ui", "変更後")},
        {IdsFileNotFound, QT_TRANSLATE_NOOP("Ui", "ファイル\"%s\"が存在しません")},
        {IdsOverwrite, QT_TRANSLATE_NOOP("Ui", "ファイル\"%s\"は既に存在します。上書きしますか？")},
        {IdsRenamedCount, QT_TRANSLATE_NOOP("Ui", "%d個のファイル名を変更しました！")},
        {IdsInvalidName,
         QT_TRANSLATE_NOOP("Ui", "ファイル名(%s)に使えない文字 (\\ / : , ; * ? \" < > |)が含まれています")},
        {IdsUndo, QT_TRANSLATE_NOOP("Ui", "元に戻す")},
        {IdsRestoredCount, QT_TRANSLATE_NOOP("Ui", "%d個のファイル名を元に戻しました")},
        {IdsNotRestoredCount, QT_TRANSLATE_NOOP("Ui", "%d個のファイル名を元に戻せませんでした:")},
        {IdsFailedCount, QT_TRANSLATE_NOOP("Ui", "%d個のファイル名を変更できませんでした:")},
        {IdsMoreFailures, QT_TRANSLATE_NOOP("Ui", "ほか%d個")},
        {IdsUnfinishedRun,
         QT_TRANSLATE_NOOP("Ui", "前回のファイル名の変更が途中で終わっています。\nフォルダー: %s\n元に戻しますか？")},
        {IdsDamagedJournal, QT_TRANSLATE_NOOP("Ui", "実行の記録(%s)が壊れているため、元に戻せません")},
        {IdsNoJournal,
         QT_TRANSLATE_NOOP("Ui", "実行の記録(%s)を書けないため、元に戻すことはできません。このまま実行しますか？")},
        {IdsTargetNotFreed, QT_TRANSLATE_NOOP("Ui", "変更後の名前\"%s\"が空きませんでした")},
        {IdsSameFileAsRow, QT_TRANSLATE_NOOP("Ui", "%d行目と同じファイルです")},
        {IdsCycleUndone, QT_TRANSLATE_NOOP("Ui", "入れ替えを終えられなかったため元に戻しました")},
        {IdsLeftTemporary, QT_TRANSLATE_NOOP("Ui", "一時的な名前\"%s\"のままです（元に戻すで戻せます）")},
        {IdsTemporaryTaken, QT_TRANSLATE_NOOP("Ui", "一時的な名前を使えませんでした")},
        {IdsDeclined, QT_TRANSLATE_NOOP("Ui", "上書きしませんでした")},
        {IdsNotAName, QT_TRANSLATE_NOOP("Ui", "\"%s\"はファイル名として使えません")},
        {IdsEmptyNewName, QT_TRANSLATE_NOOP("Ui", "変更後の名前が空です")},
        {IdsControlCharacter, QT_TRANSLATE_NOOP("Ui", "変更後の名前に改行やタブなどの制御文字が含まれています")},
        {IdsSameNewNameAsRow, QT_TRANSLATE_NOOP("Ui", "%d行目と同じ名前に変更します（上書きを確認します）")},
        {IdsWillAskOverwrite, QT_TRANSLATE_NOOP("Ui", "ファイル\"%s\"は既に存在します（上書きを確認します）")},
        {IdsOldNameHeldByRun, QT_TRANSLATE_NOOP("Ui", "元の名前\"%s\"には、元に戻せなかった別のファイルがあります")},
        {IdsFolderUnavailable, QT_TRANSLATE_NOOP("Ui", "フォルダー\"%"
                                                       "s\"を開けないため、元に戻せませんでした。\nフォルダーを使えるよ"
                                                       "うにしてから、もう一度元に戻してください。")},
    });
}

} // namespace BrindleStrings
