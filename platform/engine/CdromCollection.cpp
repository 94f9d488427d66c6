#include "platform/engine/CdromCollection.h"

#include "platform/engine/LinuxDiscDrives.h"

namespace {
constexpr int pollInterval = 2000;
}

CdromCollection::CdromCollection(std::shared_ptr<DiscDriveProvider> provider, QObject* parent)
    : QObject(parent), m_provider(provider ? std::move(provider) : std::make_shared<LinuxDiscDrives>()), m_timer(this)
{
    for (const QString& device : m_provider->drives()) {
        m_drives.push_back(std::make_unique<Cdrom>(device));
        refresh(*m_drives.back());
    }
    connect(&m_timer, &QTimer::timeout, this, &CdromCollection::poll);
    if (!m_drives.empty())
        m_timer.start(pollInterval);
}

Cdrom* CdromCollection::item(int index) const
{
    if (index < 0 || index >= count())
        return nullptr;
    return m_drives[size_t(index)].get();
}

Cdrom* CdromCollection::getByDriveSpecifier(const QString& specifier) const
{
    QString device = specifier;
    while (device.size() > 1 && device.endsWith(QLatin1Char('/')))
        device.chop(1);
    for (const auto& drive : m_drives) {
        if (drive->driveSpecifier() == device)
            return drive.get();
    }
    return nullptr;
}

void CdromCollection::poll()
{
    for (int i = 0; i < count(); ++i) {
        if (refresh(*m_drives[size_t(i)]))
            emit mediaChanged(i);
    }
}

bool CdromCollection::refresh(Cdrom& drive)
{
    return drive.update(m_provider->readDisc(drive.driveSpecifier()));
}
