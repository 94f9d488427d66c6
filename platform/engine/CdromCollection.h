#pragma once

#include "platform/engine/Cdrom.h"
#include "platform/engine/DiscDriveProvider.h"

#include <QObject>
#include <QTimer>

#include <memory>
#include <vector>

// The optical drives, polled every two seconds (only when there are drives) for discs put in or
// taken out; `mediaChanged` names the drive's index.
class CdromCollection : public QObject
{
    Q_OBJECT
public:
    explicit CdromCollection(std::shared_ptr<DiscDriveProvider> provider, QObject* parent = nullptr);

    int count() const { return int(m_drives.size()); }
    // No drive (nullptr) for an index out of range.
    Cdrom* item(int index) const;
    // The drive by its device path; a trailing "/" is allowed ("/dev/sr0/"). nullptr when unknown.
    Cdrom* getByDriveSpecifier(const QString& specifier) const;
    // Reads every drive now and reports the changes.
    void poll();

signals:
    void mediaChanged(int driveIndex);

private:
    bool refresh(Cdrom& drive);

    std::shared_ptr<DiscDriveProvider> m_provider;
    std::vector<std::unique_ptr<Cdrom>> m_drives;
    QTimer m_timer;
};
