// The main window's meeting points with the folder tree, the track list and the artwork.
// Each function is the one place where that code plugs in; until it does, they do the least
// that keeps the window working.

#include "player/app/SonavelDlg.h"

#include "platform/varnkit/FolderPathEdit.h"

#include <QLabel>
#include <QTreeWidget>

QTreeWidget* CSonavelDlg::CreateFolderTree(QWidget* parent)
{
    // Folder tree control 1001, to be filled from the folder namespace.
    auto* tree = new QTreeWidget(parent);
    tree->setHeaderHidden(true);
    return tree;
}

QAbstractItemView* CSonavelDlg::CreateTrackList(QWidget* parent)
{
    // Track list control 1002: one row per item of the shown folder's playlist.
    auto* list = new QTreeWidget(parent);
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setAllColumnsShowFocus(true);
    return list;
}

QLabel* CSonavelDlg::CreateArtworkThumbnail(QWidget* parent)
{
    // Artwork thumbnail 1009; a click opens the artwork window.
    auto* thumbnail = new QLabel(parent);
    thumbnail->setAlignment(Qt::AlignCenter);
    return thumbnail;
}

bool CSonavelDlg::ActivateShownFolder()
{
    // Makes the shown folder's slot the playing playlist; true when it switched.
    return false;
}

QString CSonavelDlg::UpdateNowPlayingInfo()
{
    // Refreshes the now-playing texts (also for the scrolling line) and gives the title.
    const MediaPtr media = GetPlayer() ? GetPlayer()->currentMedia() : nullptr;
    if (!media)
        return QString();
    return media->getItemInfo(QStringLiteral("Title")).value_or(QString());
}

int CSonavelDlg::TrackListRowCount() const
{
    return TrackList()->model()->rowCount();
}

QString CSonavelDlg::TrackListRowPath(int row) const
{
    // The full path of the row's item.
    return TrackList()->model()->index(row, 0).data(Qt::UserRole).toString();
}

void CSonavelDlg::ScrollTrackListToRow(int row)
{
    TrackList()->scrollTo(TrackList()->model()->index(row, 0));
}

void CSonavelDlg::SelectFolderInTree(const QString& path)
{
    // Selects the folder in the tree; the selection change shows it.
    m_options.DefaultFolderPath = path;
    PathEdit()->setText(path);
}

QString CSonavelDlg::SelectedTreeFolder() const
{
    return m_options.DefaultFolderPath;
}

void CSonavelDlg::OnFolderTreeSelectionChanged()
{
    // Shows the newly selected folder in the track list.
}

void CSonavelDlg::ShowDiscInTrackList(const QString&)
{
    // Reads the disc's own playlist into slot 2, sorted, and fills the track list with it.
}

void CSonavelDlg::ShowSortMark()
{
    // Puts the sort mark of the sort state on the sorted column's header.
}

void CSonavelDlg::OnTrackListDoubleClick(int row)
{
    // A double click on the lyric mark opens the lyrics instead of playing.
    if (row >= 0)
        m_control->PlayRow(row);
}

void CSonavelDlg::RefreshArtwork()
{
    // Refreshes the thumbnail and the artwork window for the current item.
}

void CSonavelDlg::OnArtworkClicked()
{
    // Opens the artwork window (created on demand) for the current track.
}
