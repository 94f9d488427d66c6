#include "player/library/FolderWatch.h"

namespace {

constexpr int kQuietMs = 150;
constexpr int kLongestWaitMs = 600;

} // namespace

CFolderWatch::CFolderWatch(QObject* parent) : QObject(parent)
{
    m_quiet.setSingleShot(true);
    m_quiet.setInterval(kQuietMs);
    connect(&m_quiet, &QTimer::timeout, this, &CFolderWatch::Report);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &CFolderWatch::OnDirectoryChanged);
}

void CFolderWatch::Watch(const QString& folder)
{
    const QString path = folder.size() > 1 && folder.endsWith(u'/') ? folder.chopped(1) : folder;
    if (path == m_folder)
        return;
    if (!m_watcher.directories().isEmpty())
        m_watcher.removePaths(m_watcher.directories());
    m_quiet.stop();
    m_firstChange.invalidate();
    m_folder = path;
    if (!m_folder.isEmpty())
        m_watcher.addPath(m_folder);
}

void CFolderWatch::OnDirectoryChanged()
{
    if (!m_firstChange.isValid())
        m_firstChange.start();
    // Restarted by every change of a burst, but never past the longest wait.
    m_quiet.start(qBound(0, kLongestWaitMs - int(m_firstChange.elapsed()), kQuietMs));
}

void CFolderWatch::Report()
{
    m_firstChange.invalidate();
    emit Changed(m_folder);
}
