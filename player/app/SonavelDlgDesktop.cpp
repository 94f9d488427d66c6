// The main window's side of the desktop: paths handed over from the command line, from a second
// start or from the file manager by drag and drop, shown in the tree and list or played.

#include "player/app/SonavelDlg.h"

#include "common/ui/MessageBox.h"
#include "common/ui/StringTable.h"
#include "platform/text/NativeFile.h"
#include "platform/text/NativeName.h"
#include "player/app/SonavelStrings.h"
#include "player/library/FolderTree.h"
#include "player/library/TrackListCtrl.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

namespace {

// The first local file or folder of a drag from the file manager; empty for anything else.
QString DroppedPath(const QMimeData* data)
{
    if (!data || !data->hasUrls())
        return {};
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile())
            return url.toLocalFile();
    }
    return {};
}

} // namespace

void CSonavelDlg::AcceptPathDrops()
{
    for (QWidget* view : {FolderTree()->viewport(), TrackList()->viewport()}) {
        view->setAcceptDrops(true);
        view->installEventFilter(this);
    }
}

bool CSonavelDlg::HandlePathDrop(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return false;
    if (watched != FolderTree()->viewport() && watched != TrackList()->viewport())
        return false;
    switch (type) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (DroppedPath(drag->mimeData()).isEmpty())
            return false;
        drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const QString path = DroppedPath(drop->mimeData());
        if (path.isEmpty())
            return false;
        drop->acceptProposedAction();
        OpenPath(path);
        return true;
    }
    default: return false;
    }
}

void CSonavelDlg::OpenPath(const QString& path)
{
    RaiseWindow();
    const QFileInfo info(path);
    if (!NativeFile::exists(path)) {
        ShowMessageBox(this, StringTable::format(SonavelString::PathNotFound, {NativeName::displayText(path)}),
                       QStringLiteral("Sonavel"), MB_OK | MB_ICONWARNING);
        return;
    }
    if (NativeFile::isDirectory(path)) {
        SelectFolderInTree(info.absoluteFilePath());
        return;
    }
    const QString file = info.absoluteFilePath();
    SelectFolderInTree(info.absolutePath());
    if (const int row = FindPlayingRow(file); row >= 0) {
        TrackList()->setCurrentIndex(TrackList()->model()->index(row, 0));
        m_control->PlayRow(row);
        return;
    }
    ShowMessageBox(this, StringTable::format(SonavelString::PathNotPlayable, {NativeName::displayText(file)}),
                   QStringLiteral("Sonavel"), MB_OK | MB_ICONWARNING);
}

void CSonavelDlg::RaiseWindow()
{
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
}
