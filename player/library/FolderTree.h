#pragma once

#include "platform/shell/FolderNamespace.h"

#include <QPersistentModelIndex>
#include <QPointer>
#include <QTreeWidget>

#include <QLineEdit>

// The folder tree of the main window: the desktop root and below it the namespace's folders,
// listed lazily on first expansion. Selecting an item emits SelectionChanged; the main window
// then shows the folder in the track list.
class CFolderTree : public QTreeWidget
{
    Q_OBJECT
public:
    // Bits of an item's flags.
    enum ItemFlag : int {
        FlagRoot = 1,
        FlagComputer = 2,
        FlagNetwork = 4,
        FlagHasSubfolders = 16,
        FlagListed = 32,
    };

    explicit CFolderTree(QWidget* parent = nullptr, FolderNamespace folders = FolderNamespace());

    // Clears the tree and inserts the root.
    void Initialize();
    // Finds or creates the items down to the path; with `select` the item is made visible and
    // selected. nullptr when the path cannot be parsed.
    QTreeWidgetItem* SelectPath(const QString& path, bool select);
    // The selected item's folder path ending with "/", or empty when it is not a file-system folder.
    QString GetSelectedFolderPath() const;
    QString GetFolderPath(const QTreeWidgetItem* item) const;
    // Re-reads the item of a drive (found or created, not selected) and drops its children.
    void RefreshDriveItem(const QString& path);
    // The folder's subfolders changed on disk: its listed children follow (new ones inserted in
    // order, gone ones removed), or its expansion mark when it was never listed.
    void SyncChildren(const QString& path);
    // Rebuilds the whole tree and selects the same folder again (F5).
    void Refresh();
    // The item under a point in viewport coordinates.
    QTreeWidgetItem* HitTest(const QPoint& point) const;
    void SetDropHighlight(QTreeWidgetItem* item);
    QTreeWidgetItem* GetDropHighlight() const;
    int ItemFlags(const QTreeWidgetItem* item) const;
    FolderItem Entry(const QTreeWidgetItem* item) const;

    // The edit under the tree that shows the selected path and takes typed paths.
    void SetPathEdit(QLineEdit* edit) { m_pathEdit = edit; }
    QLineEdit* PathEdit() const { return m_pathEdit; }
    void ShowPathInEdit(const QString& path);
    // Also scrolls sideways so a deep item's icon and name are in view.
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

public slots:
    // The path edit confirmed a typed path: select it, then put the caret at the end.
    void OnFolderPathEntered();

signals:
    // TVN_SELCHANGED.
    void SelectionChanged();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void OnItemExpanded(QTreeWidgetItem* item);
    void ListChildren(QTreeWidgetItem* item);
    QTreeWidgetItem* InsertItem(QTreeWidgetItem* parent, const FolderItem& entry, bool sorted);
    void InsertRoot();
    void SetItemFlags(QTreeWidgetItem* item, int flags);
    void ApplyEntry(QTreeWidgetItem* item, const FolderItem& entry, int flags);
    QTreeWidgetItem* FindChild(QTreeWidgetItem* parent, const FolderItem& entry) const;
    QTreeWidgetItem* WalkTo(const QList<FolderItem>& levels);
    void MakeVisibleAndSelect(QTreeWidgetItem* item);
    static int FlagsFor(const FolderItem& entry);
    static QIcon ItemIcon(const FolderItem& entry);

    FolderNamespace m_folders;
    bool m_populate = true;
    QPersistentModelIndex m_dropHighlight;
    QPointer<QLineEdit> m_pathEdit;
    QString m_pathInEdit;
};
