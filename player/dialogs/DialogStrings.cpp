#include "player/dialogs/DialogStrings.h"

#include "common/ui/StringTable.h"

void RegisterDialogStrings()
{
    static const bool registered = [] {
        StringTable::add({
            {IDS_INVALID_FILE_NAME,
             QT_TRANSLATE_NOOP("Ui", "ファイル名(%s)に使えない文字 (\\ / : , ; * ? \" < > |)が含まれています")},
            {IDS_SHORTCUT_EXISTS,
             QT_TRANSLATE_NOOP("Ui", "ショートカットファイル \"%s\" は既に存在します。上書きしますか？")},
            {IDS_PARSE_INT, QT_TRANSLATE_NOOP("Ui", "整数を入力してください。")},
        });
        return true;
    }();
    Q_UNUSED(registered);
}
