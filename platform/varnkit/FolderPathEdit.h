#pragma once

#include <QLineEdit>

// The folder path edit: an ordinary single-line edit that reports a typed path confirmed with
// Enter, so the dialog's own Enter handling never sees it.
class CFolderPathEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit CFolderPathEdit(QWidget* parent = nullptr);

signals:
    // WM_FOLDER_PATH_ENTERED: the user confirmed the text as a folder path.
    void folderPathEntered();

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
