#pragma once

#include "common/ui/SizableDialog.h"
#include "renamer/FileRenamer.h"
#include "renamer/RenameList.h"

class QMimeData;
class QTreeWidget;

// Brindle's main window (dialog 102): a rename list dropped onto it is previewed in two
// columns and "実行" renames the files of the list's folder.
class CBrindleDlg : public CSizableDialog
{
    Q_OBJECT

public:
    enum ControlId {
        IDD = 102,
        IdFolder = 1000,
        IdList = 1002,
        IdReverse = 1004,
        IdCommaSeparated = 1005,
        IdTabSeparated = 1006,
        IdRun = 1,
        IdExit = 2,
        IdClear = 3,
    };

    explicit CBrindleDlg(QWidget* parent = nullptr);

    static DialogTemplate Template();

    // Takes a drop of exactly one local file: clear, show its folder, load it. Anything else
    // changes nothing; returns whether the drop was taken.
    bool DropFiles(const QMimeData* data);
    // Appends the accepted pairs of the file to the preview list; a file that cannot be read
    // leaves the list as it is.
    void LoadRenameList(const QString& path, ListSeparator separator);
    // Exchanges the two columns of every row (the "逆" box).
    void SwapColumns();
    // Empties the folder field and the list and unchecks "逆".
    void ClearAll();
    // Renames every row's file in the folder of the folder field; reports the count.
    void RunRenames();
    bool IsFileNameCorrect(const QString& name) const { return m_renamer.IsFileNameCorrect(name); }
    int RenameOne(const QString& folder, const QString& oldName, const QString& newName)
    {
        return m_renamer.RenameOne(folder, oldName, newName);
    }
    void ShowAboutBox();

    int RowCount() const;
    RenamePair Row(int index) const;

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void SetUpWindow();
    void SetUpAnchors();
    void SetUpList();
    void ConnectCommands();
    QTreeWidget* List() const;
    ListSeparator SelectedSeparator() const;

    CFileRenamer m_renamer;
};
