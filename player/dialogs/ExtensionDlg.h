#pragma once

#include <QDialog>
#include <QString>

// Dialog 137 "拡張子の追加": one file extension typed for the extension list. "追加" is
// enabled only while the field holds text; spaces count as text.
class CExtensionDlg : public QDialog
{
    Q_OBJECT

public:
    enum ControlId { IDC_EXTENSION = 1010 };

    explicit CExtensionDlg(QWidget* parent = nullptr);

    QString Extension;  // exactly as typed, after OK

    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void UpdateOkButton();
};
