#pragma once

#include "common/ui/SizableDialog.h"
#include "renamer/FileRenamer.h"
#include "renamer/RenameList.h"

#include <QTimer>

#include <memory>

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
    ~CBrindleDlg() override;

    static DialogTemplate Template();

    // Takes a drop of exactly one local file: clear, show its folder, load it. Anything else
    // changes nothing; returns whether the drop was taken.
    bool DropFiles(const QMimeData* data);
    // What a drop of the file does (also the command line's list).
    void OpenList(const QString& path);
    // Appends the accepted pairs of the file to the preview list; a file that cannot be read
    // leaves the list as it is.
    void LoadRenameList(const QString& path, ListSeparator separator);
    // Exchanges the two columns of every row (the "逆" box).
    void SwapColumns();
    // Empties the folder field and the list and unchecks "逆".
    void ClearAll();
    // Renames every row's file in the folder of the folder field; reports the count and the
    // failures. The run becomes the one that Undo puts back.
    void RunRenames();
    // Puts the last run back ("元に戻す", Ctrl+Z); nothing when there is none.
    void Undo();
    bool CanUndo() const { return m_lastRun != nullptr; }
    // Offers to put back each run that a Brindle killed in the middle left behind.
    void OfferRecovery();
    // SIGTERM, SIGHUP or the end of the session: closes the window as "終了" does; a run in
    // progress first finishes, its questions answered No.
    void EndSession();
    // Marks the rows that cannot succeed, or will ask, as a run would find them now; the
    // reason is the row's tool tip.
    void MarkRows();
    QString RowWarningText(int row) const;
    bool IsFileNameCorrect(const QString& name) const { return m_renamer.IsFileNameCorrect(name); }
    int RenameOne(const QString& folder, const QString& oldName, const QString& newName)
    {
        return m_renamer.RenameOne(folder, oldName, newName);
    }
    void ShowAboutBox();

    int RowCount() const;
    RenamePair Row(int index) const;
    std::vector<RenamePair> Rows() const;
    CFileRenamer& Renamer() { return m_renamer; }

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
    void SetUpUndo();
    QTreeWidget* List() const;
    ListSeparator SelectedSeparator() const;
    void ClearMarks();
    void ShowRunSummary(const RunResult& result);
    void UndoJournal(std::unique_ptr<CRenameJournal>& journal);
    void KeepAsLastRun(std::unique_ptr<CRenameJournal> journal);
    void ReleaseLastRun();
    void FinishBusyWork();
    bool eventFilter(QObject* watched, QEvent* event) override;

    CFileRenamer m_renamer;
    std::unique_ptr<CRenameJournal> m_lastRun;
    std::vector<int> m_markedRows;
    QTimer m_markTimer;
    bool m_busy = false;
    bool m_closeRequested = false;
};
