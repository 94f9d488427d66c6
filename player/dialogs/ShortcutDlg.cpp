#include "player/dialogs/ShortcutDlg.h"

#include "common/ui/DialogTemplate.h"
#include "common/ui/MessageBox.h"
#include "common/ui/StringTable.h"
#include "common/ui/Ui.h"
#include "platform/text/NativeFile.h"
#include "player/dialogs/DialogStrings.h"
#include "player/dialogs/FileNameCheck.h"

#include <QLineEdit>
#include <QPushButton>

namespace {

const QString kCaption = QStringLiteral("OnOK");
const QString kShortcutSuffix = QStringLiteral(".lnk");

DialogTemplate shortcutTemplate()
{
    using K = ControlKind;
    return {144,
            Ui::tr("ショートカットの作成"),
            QSize(250, 118),
            {
                {-1, K::Label, Ui::tr("リンク元"), QRect(7, 9, 50, 8)},
                {CShortcutDlg::IDC_LINK_SOURCE, K::ReadOnlyEdit, {}, QRect(60, 7, 183, 12)},
                {-1, K::GroupBox, Ui::tr("作成するショートカット"), QRect(7, 26, 236, 64)},
                {-1, K::Label, Ui::tr("作成する場所"), QRect(14, 44, 50, 8)},
                {CShortcutDlg::IDC_LOCATION, K::ReadOnlyEdit, {}, QRect(66, 42, 170, 12)},
                {-1, K::Label, Ui::tr("ファイル名"), QRect(14, 66, 50, 8)},
                {CShortcutDlg::IDC_FILE_NAME, K::Edit, {}, QRect(66, 64, 170, 12)},
                {IDOK, K::DefaultButton, Ui::tr("ショートカット作成"), QRect(111, 98, 76, 14)},
                {IDCANCEL, K::PushButton, Ui::tr("キャンセル"), QRect(193, 98, 50, 14)},
            }};
}

} // namespace

CShortcutDlg::CShortcutDlg(QWidget* parent) : QDialog(parent)
{
    RegisterDialogStrings();
    BuildDialog(this, shortcutTemplate());
    connect(DlgItem<QPushButton>(this, IDOK), &QPushButton::clicked, this, &CShortcutDlg::accept);
    connect(DlgItem<QPushButton>(this, IDCANCEL), &QPushButton::clicked, this, &CShortcutDlg::reject);
}

void CShortcutDlg::accept()
{
    TakeControls();
    if (!IsFileNameCorrectSilent(FileName)) {
        ShowMessageBox(this, StringTable::format(IDS_INVALID_FILE_NAME, {FileName}), kCaption,
                       MB_OK | MB_ICONINFORMATION);
        return;
    }
    if (!ConfirmOverwrite()) {
        reject();
        return;
    }
    QDialog::accept();
}

void CShortcutDlg::showEvent(QShowEvent* event)
{
    FillControls();
    DlgItem<QLineEdit>(this, IDC_FILE_NAME)->setFocus();
    QDialog::showEvent(event);
}

void CShortcutDlg::FillControls()
{
    DlgItem<QLineEdit>(this, IDC_LINK_SOURCE)->setText(LinkSource);
    DlgItem<QLineEdit>(this, IDC_LOCATION)->setText(Location);
    DlgItem<QLineEdit>(this, IDC_FILE_NAME)->setText(FileName);
}

void CShortcutDlg::TakeControls()
{
    LinkSource = DlgItem<QLineEdit>(this, IDC_LINK_SOURCE)->text();
    Location = DlgItem<QLineEdit>(this, IDC_LOCATION)->text();
    FileName = DlgItem<QLineEdit>(this, IDC_FILE_NAME)->text();
}

// True when nothing is in the way or the user lets it be replaced. The file looked at is the one
// CShortcutFile::Create writes: ".lnk" is added unless the name already ends with it.
bool CShortcutDlg::ConfirmOverwrite()
{
    const QString name = FileName.endsWith(kShortcutSuffix) ? FileName : FileName + kShortcutSuffix;
    // A dangling link is still a shortcut the user may want to keep.
    if (!NativeFile::exists(Location + name) && !NativeFile::isSymbolicLink(Location + name))
        return true;
    return ShowMessageBox(this, StringTable::format(IDS_SHORTCUT_EXISTS, {FileName}),
                          kCaption, MB_YESNO | MB_ICONINFORMATION) == IDYES;
}
