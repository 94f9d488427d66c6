#pragma once

#include <QString>

// A system-wide marker that one program instance runs, standing in for a named mutex:
// an exclusive flock on a file in the runtime folder. The kernel releases it when the
// process ends, however it ends.
class InstanceLock
{
public:
    // The lock file for the name: $XDG_RUNTIME_DIR/<name>, else the temp folder with the user id.
    static QString lockPath(const QString& name);

    explicit InstanceLock(const QString& name);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // False when another process holds the lock already.
    bool acquire();

private:
    QString m_path;
    int m_fd = -1;
};
