#pragma once

#include <QElapsedTimer>
#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>

// Watches one folder (inotify through QFileSystemWatcher) for entries added, removed or renamed
// by any program, and reports a burst of changes once: a short quiet spell after the last
// change, or at the latest a little after the first, so a copy of a thousand files is one
// update and a single change shows well within a second.
class CFolderWatch : public QObject
{
    Q_OBJECT
public:
    explicit CFolderWatch(QObject* parent = nullptr);

    // Watches `folder` from now on instead of the last one; empty watches nothing.
    void Watch(const QString& folder);
    QString Folder() const { return m_folder; }

signals:
    void Changed(const QString& folder);

private:
    void OnDirectoryChanged();
    void Report();

    QFileSystemWatcher m_watcher;
    QString m_folder;
    QTimer m_quiet;
    QElapsedTimer m_firstChange;
};
