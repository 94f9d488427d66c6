#pragma once

#include <QDialog>
#include <QString>

// Dialog 144 "ショートカットの作成": the user confirms or edits the name of a shortcut to be
// made in a folder. The caller fills the three members before opening it and reads them after
// OK; OK has already asked whether an existing shortcut may be overwritten.
class CShortcutDlg : public QDialog
{
    Q_OBJECT

public:
    enum ControlId { IDC_LINK_SOURCE = 1010, IDC_LOCATION = 1011, IDC_FILE_NAME = 1012 };

    explicit CShortcutDlg(QWidget* parent = nullptr);

    QString LinkSource;  // full path of the file the shortcut points to
    QString Location;    // folder of the shortcut, ending with "/"
    QString FileName;    // the shortcut's name without ".lnk"

    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FillControls();
    void TakeControls();
    bool ConfirmOverwrite();
};
