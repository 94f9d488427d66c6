#include "platform/engine/LinuxDiscDrives.h"

#include <QDir>
#include <QFile>

#include <algorithm>

#include <fcntl.h>
#include <linux/cdrom.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

constexpr double framesPerSecond = 75.0;

class Device
{
public:
    explicit Device(const QString& path)
        : m_fd(::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC))
    {
    }
    ~Device()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;
    int fd() const { return m_fd; }

private:
    int m_fd;
};

std::optional<cdrom_tocentry> tocEntry(int fd, int track)
{
    cdrom_tocentry entry{};
    entry.cdte_track = __u8(track);
    entry.cdte_format = CDROM_LBA;
    if (::ioctl(fd, CDROMREADTOCENTRY, &entry) != 0)
        return std::nullopt;
    return entry;
}

} // namespace

QStringList LinuxDiscDrives::drives() const
{
    QStringList devices;
    const QDir dev(QStringLiteral("/dev"));
    for (const QString& name : dev.entryList({QStringLiteral("sr*")}, QDir::System | QDir::Files))
        devices << dev.filePath(name);
    std::sort(devices.begin(), devices.end(),
              [](const QString& a, const QString& b) { return a.size() != b.size() ? a.size() < b.size() : a < b; });
    return devices;
}

std::optional<DiscDriveProvider::Disc> LinuxDiscDrives::readDisc(const QString& device) const
{
    const Device drive(device);
    if (drive.fd() < 0 || ::ioctl(drive.fd(), CDROM_DRIVE_STATUS, CDSL_CURRENT) != CDS_DISC_OK)
        return std::nullopt;
    const int status = ::ioctl(drive.fd(), CDROM_DISC_STATUS, 0);
    if (status == CDS_NO_INFO || status == CDS_NO_DISC || status < 0)
        return std::nullopt;
    cdrom_tochdr header{};
    if (::ioctl(drive.fd(), CDROMREADTOCHDR, &header) != 0)
        return std::nullopt;
    Disc disc;
    // A track ends where the next one (or the lead-out) starts: each entry is read once.
    auto start = tocEntry(drive.fd(), header.cdth_trk0);
    for (int track = header.cdth_trk0; track <= header.cdth_trk1; ++track) {
        const auto end = tocEntry(drive.fd(), track == header.cdth_trk1 ? CDROM_LEADOUT : track + 1);
        if (!start || !end)
            return std::nullopt;
        if (!(start->cdte_ctrl & CDROM_DATA_TRACK))
            disc.push_back({track, (end->cdte_addr.lba - start->cdte_addr.lba) / framesPerSecond});
        start = end;
    }
    return disc;
}
