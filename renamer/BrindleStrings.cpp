#include "renamer/BrindleStrings.h"

#include "common/ui/StringTable.h"

namespace BrindleStrings {

void Register()
{
    StringTable::add({
        {IdsAboutBox, "Brindle のﾊﾞｰｼﾞｮﾝ情報(&A)..."},
        {IdsOldNameHeader, "変更前"},
        {IdsNewNameHeader, "変更後"},
        {IdsFileNotFound, "ファイル\"%s\"が存在しません"},
        {IdsOverwrite, "ファイル\"%s\"は既に存在します。上書きしますか？"},
        {IdsRenamedCount, "%d個のファイル名を変更しました！"},
        {IdsInvalidName, "ファイル名(%s)に使えない文字 (\\ / : , ; * ? \" < > |)が含まれています"},
        {IdsUndo, "元に戻す"},
        {IdsRestoredCount, "%d個のファイル名を元に戻しました"},
        {IdsNotRestoredCount, "%d個のファイル名を元に戻せませんでした:"},
        {IdsFailedCount, "%d個のファイル名を変更できませんでした:"},
        {IdsMoreFailures, "ほか%d個"},
        {IdsUnfinishedRun, "前回のファイル名の変更が途中で終わっています。\nフォルダー: %s\n元に戻しますか？"},
        {IdsDamagedJournal, "実行の記録(%s)が壊れているため、元に戻せません"},
        {IdsNoJournal, "実行の記録(%s)を書けないため、元に戻すことはできません。このまま実行しますか？"},
        {IdsTargetNotFreed, "変更後の名前\"%s\"が空きませんでした"},
        {IdsSameFileAsRow, "%d行目と同じファイルです"},
        {IdsCycleUndone, "入れ替えを終えられなかったため元に戻しました"},
        {IdsLeftTemporary, "一時的な名前\"%s\"のままです（元に戻すで戻せます）"},
        {IdsTemporaryTaken, "一時的な名前を使えませんでした"},
        {IdsDeclined, "上書きしませんでした"},
        {IdsNotAName, "\"%s\"はファイル名として使えません"},
        {IdsEmptyNewName, "変更後の名前が空です"},
        {IdsControlCharacter, "変更後の名前に改行やタブなどの制御文字が含まれています"},
        {IdsSameNewNameAsRow, "%d行目と同じ名前に変更します（上書きを確認します）"},
        {IdsWillAskOverwrite, "ファイル\"%s\"は既に存在します（上書きを確認します）"},
        {IdsOldNameHeldByRun, "元の名前\"%s\"には、元に戻せなかった別のファイルがあります"},
        {IdsFolderUnavailable, "フォルダー\"%s\"を開けないため、元に戻せませんでした。\nフォルダーを使えるようにしてから、もう一度元に戻してください。"},
    });
}

} // namespace BrindleStrings
