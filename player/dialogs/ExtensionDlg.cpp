#include "player/dialogs/ExtensionDlg.h"

#include "common/ui/DialogTemplate.h"
#include "common/ui/MessageBox.h"
#include "common/ui/Ui.h"
#include "player/dialogs/DialogStrings.h"

#include <QLineEdit>
#include <QPushButton>

namespace {

DialogTemplate extensionTemplate()
{
    using K = ControlKind;
    return {137,
            Ui::tr("拡張子の追加"),
            QSize(186, 46),
            {
                {-1, K::Label, Ui::tr("拡張子"), QRect(7, 10, 30, 8)},
                {CExtensionDlg::IDC_EXTENSION, K::Edit, {}, QRect(40, 8, 84, 12)},
                {IDOK, K::DefaultButton, Ui::tr("追加"), QRect(130, 7, 50, 14)},
                {IDCANCEL, K::PushButton, Ui::tr("取消"), QRect(130, 25, 50, 14)},
            }};
}

} // namespace

CExtensionDlg::CExtensionDlg(QWidget* parent) : QDialog(parent)
{
    RegisterDialogStrings();
    BuildDialog(this, extensionTemplate());
    connect(DlgItem<QPushButton>(this, IDOK), &QPushButton::clicked, this, &CExtensionDlg::accept);
    connect(DlgItem<QPushButton>(this, IDCANCEL), &QPushButton::clicked, this, &CExtensionDlg::reject);
    connect(DlgItem<QLineEdit>(this, IDC_EXTENSION), &QLineEdit::textChanged, this, &CExtensionDlg::UpdateOkButton);
}

void CExtensionDlg::accept()
{
    // Enter reaches here even while the button is disabled.
    if (!DlgItem<QPushButton>(this, IDOK)->isEnabled())
        return;
    Extension = DlgItem<QLineEdit>(this, IDC_EXTENSION)->text();
    QDialog::accept();
}

void CExtensionDlg::showEvent(QShowEvent* event)
{
    auto* edit = DlgItem<QLineEdit>(this, IDC_EXTENSION);
    edit->setText(Extension);
    edit->setFocus();
    UpdateOkButton();
    QDialog::showEvent(event);
}

void CExtensionDlg::UpdateOkButton()
{
    DlgItem<QPushButton>(this, IDOK)->setEnabled(!DlgItem<QLineEdit>(this, IDC_EXTENSION)->text().isEmpty());
}
