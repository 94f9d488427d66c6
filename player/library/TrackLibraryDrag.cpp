// The track list's rows dragged onto the folder tree: the drag image, the tree's drop
// highlight, and the shortcut offered where the row was dropped.

#include "player/library/TrackLibrary.h"

#include "player/library/FolderTree.h"
#include "player/library/TrackListCtrl.h"

#include "platform/shell/ShortcutFile.h"
#include "player/dialogs/FileNameCheck.h"
#include "player/dialogs/ShortcutDlg.h"

#include <QLabel>

QString CTrackLibrary::MakeShortcutName(const CTrackItem& item)
{
    QString name = item.ArtistText;
    if (!item.TitleText.isEmpty()) {
        if (!name.isEmpty())
            name += '_';
        name += item.TitleText;
    }
    if (name.isEmpty() || !IsFileNameCorrectSilent(name))
        name = item.Path.Title;
    if (item.Path.Extension.isEmpty())
        return name;
    const QString suffix = '.' + item.Path.Extension;
    if (!name.endsWith(suffix, Qt::CaseInsensitive))
        name += suffix;
    return name;
}

QTreeWidgetItem* CTrackLibrary::TreeItemAt(const QPoint& globalPos) const
{
    const QPoint local = m_tree.viewport()->mapFromGlobal(globalPos);
    if (!m_tree.viewport()->rect().contains(local))
        return nullptr;
    return m_tree.HitTest(local);
}

void CTrackLibrary::OnBeginDrag(int row, const QPoint& globalPos, const QPoint& hotSpot)
{
    if (!m_settings.EnableDrag)
        return;
    delete m_dragImage;
    m_dragImage = new QLabel(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowTransparentForInput);
    m_dragImage->setAttribute(Qt::WA_DeleteOnClose);
    m_dragImage->setPixmap(m_list.RowPixmap(row));
    m_dragImage->setWindowOpacity(0.7);
    m_dragHotSpot = hotSpot;
    m_dragImage->move(globalPos - m_dragHotSpot);
    m_dragImage->show();
}

void CTrackLibrary::OnDragMove(const QPoint& globalPos)
{
    if (m_dragImage)
        m_dragImage->move(globalPos - m_dragHotSpot);
    m_tree.SetDropHighlight(TreeItemAt(globalPos));
}

void CTrackLibrary::OnDragEnd(const QPoint& globalPos)
{
    delete m_dragImage;
    m_tree.SetDropHighlight(nullptr);
    if (QTreeWidgetItem* item = TreeItemAt(globalPos))
        DropSelectedRowOn(item);
}

void CTrackLibrary::DropSelectedRowOn(QTreeWidgetItem* folderItem)
{
    const QString folder = m_tree.GetFolderPath(folderItem);
    const CTrackItem* track = m_list.GetItem(m_list.GetSelectedRow());
    if (folder.isEmpty() || !track)
        return;
    CShortcutDlg dialog(m_list.window());
    dialog.LinkSource = track->FullPath();
    dialog.Location = folder;
    dialog.FileName = MakeShortcutName(*track);
    if (dialog.exec() != QDialog::Accepted)
        return;
    CShortcutFile().Create(dialog.LinkSource, dialog.Location + dialog.FileName);
}
