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
    });
}

} // namespace BrindleStrings
