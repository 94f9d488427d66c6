// The main window's side of the folder tree and the track list: creating them, handing them to
// the track library once the engine exists, and the calls the player control and the event
// handlers make into them.

#include "player/app/SonavelDlg.h"

#include "player/library/FolderTree.h"
#include "player/library/TrackLibrary.h"
#include "player/library/TrackListCtrl.h"

CFolderTree* CSonavelDlg::CreateFolderTree(QWidget* parent)
{
    return new CFolderTree(parent);
}

CTrackListCtrl* CSonavelDlg::CreateTrackList(QWidget* parent)
{
    return new CTrackListCtrl(parent);
}

void CSonavelDlg::CreateLibrary()
{
    // The library connects the tree's selection, the header clicks, the row drag and the list's
    // repaint on play-state changes itself; the main window adds none of these.
    if (Player* player = GetPlayer()) {
        m_library = std::make_unique<CTrackLibrary>(*player, *FolderTree(), *TrackList(), nullptr, &m_options.Scan);
        connect(m_library.get(), &CTrackLibrary::NowPlayingInfo, this, &CSonavelDlg::ShowNowPlayingInfo);
    }
}

bool CSonavelDlg::ActivateShownFolder()
{
    return m_library && m_library->ActivateShownFolder() != 0;
}

QString CSonavelDlg::UpdateNowPlayingInfo()
{
    QString title;
    if (m_library)
        m_library->UpdateNowPlayingInfo(&title);
    return title;
}

int CSonavelDlg::TrackListRowCount() const
{
    return TrackList()->GetItemCount();
}

QString CSonavelDlg::TrackListRowPath(int row) const
{
    const CTrackItem* item = TrackList()->GetItem(row);
    return item ? item->FullPath() : QString();
}

void CSonavelDlg::ScrollTrackListToRow(int row)
{
    TrackList()->scrollTo(TrackList()->model()->index(row, 0));
}

void CSonavelDlg::SelectFolderInTree(const QString& path)
{
    CFolderTree* tree = FolderTree();
    tree->setUpdatesEnabled(false);
    tree->SelectPath(path, true);
    tree->setUpdatesEnabled(true);
}

QString CSonavelDlg::SelectedTreeFolder() const
{
    return FolderTree()->GetSelectedFolderPath();
}

void CSonavelDlg::ShowDiscInTrackList(const QString& driveSpecifier)
{
    if (m_library)
        m_library->ShowDisc(driveSpecifier);
}

void CSonavelDlg::ShowSortMark()
{
    TrackList()->ShowSortMark(m_options.Scan.SortColumn, m_options.Scan.SortState);
}

void CSonavelDlg::OnTrackListDoubleClick(const QModelIndex& index)
{
    if (index.isValid())
        m_control->PlayRow(index.row());
}
