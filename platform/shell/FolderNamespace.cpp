#include "platform/shell/FolderNamespace.h"

#include "platform/text/NativeFile.h"
#include "platform/text/NativeName.h"
#include "platform/text/RuntimeLocale.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileIconProvider>
#include <QHash>
#include <QStandardPaths>

#include <algorithm>
#include <unistd.h>
#include <vector>

namespace {

// The namespace's own levels are named in the user interface's language, looked up when shown.
QString desktopName()
{
    return QCoreApplication::translate("Ui", "デスクトップ");
}

QString computerName()
{
    return QCoreApplication::translate("Ui", "コンピュータ");
}

QString networkName()
{
    return QCoreApplication::translate("Ui", "ネットワーク");
}

QString withoutTrailingSlash(const QString& path)
{
    QString cleaned = QDir::cleanPath(path);
    return cleaned.isEmpty() ? QStringLiteral("/") : cleaned;
}

bool isBelow(const QString& path, const QString& folder)
{
    if (folder == QLatin1String("/"))
        return path.startsWith('/');
    return path == folder || path.startsWith(folder + '/');
}

QString trashFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Trash");
}

void sortByName(QList<FolderItem>& items)
{
    const RuntimeLocale& locale = RuntimeLocale::current();
    std::stable_sort(items.begin(), items.end(), [&locale](const FolderItem& a, const FolderItem& b) {
        return locale.compareNoCase(a.displayName, b.displayName) < 0;
    });
}

FolderItem folderItem(FolderItem::Kind kind, const QString& path, const QString& name)
{
    return FolderItem{kind, path, NativeName::displayText(name)};
}

QString lastName(const QString& path)
{
    return path.mid(path.lastIndexOf(u'/') + 1);
}

// The sub-folders of a folder, hidden ones and the trash left out; empty when it cannot be read.
std::vector<NativeFile::Entry> subfolders(const QString& folder)
{
    std::vector<NativeFile::Entry> found = NativeFile::list(folder).value_or(std::vector<NativeFile::Entry>());
    const QString trash = trashFolder();
    const QString prefix = folder.endsWith(u'/') ? folder : folder + u'/';
    std::erase_if(found, [&](const NativeFile::Entry& entry) {
        return !entry.isDirectory || entry.name.startsWith(u'.') || prefix + entry.name == trash;
    });
    return found;
}

// Mount points of volumes the user put there, and of real devices outside the system's own trees.
bool isUserVolume(const FolderNamespace::Mount& mount)
{
    static const char* const userRoots[] = {"/media", "/run/media", "/mnt"};
    for (const char* root : userRoots) {
        if (isBelow(mount.mountPoint, QLatin1String(root)) && mount.mountPoint != QLatin1String(root))
            return true;
    }
    if (!mount.device.startsWith(QLatin1String("/dev/")) || mount.mountPoint == QLatin1String("/"))
        return false;
    static const char* const systemRoots[] = {"/boot", "/proc", "/sys", "/dev", "/run", "/snap",
                                              "/var", "/etc", "/usr", "/media", "/mnt"};
    for (const char* root : systemRoots) {
        if (isBelow(mount.mountPoint, QLatin1String(root)))
            return false;
    }
    return true;
}

QString decodeMountField(const QByteArray& field)
{
    QByteArray decoded;
    decoded.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        const char c = field[i];
        if (c == '\\' && i + 3 < field.size()) {
            const QByteArray digits = field.mid(i + 1, 3);
            bool ok = false;
            const int value = digits.toInt(&ok, 8);
            if (ok && digits.size() == 3 && value < 256) {
                decoded.append(char(value));
                i += 3;
                continue;
            }
        }
        decoded.append(c);
    }
    return NativeName::fromBytes(decoded);
}

} // namespace

FolderNamespace::Sources FolderNamespace::Sources::system()
{
    Sources sources;
    sources.home = QDir::homePath();
    sources.desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    return sources;
}

FolderNamespace::FolderNamespace(Sources sources) : m_sources(std::move(sources))
{
    if (!m_sources.home.isEmpty())
        m_sources.home = withoutTrailingSlash(m_sources.home);
    if (!m_sources.desktop.isEmpty())
        m_sources.desktop = withoutTrailingSlash(m_sources.desktop);
}

FolderItem FolderNamespace::root()
{
    return folderItem(FolderItem::Kind::Desktop, QString(), desktopName());
}

std::optional<QList<FolderItem>> FolderNamespace::children(const FolderItem& parent) const
{
    switch (parent.kind) {
    case FolderItem::Kind::Desktop:
        return desktopChildren();
    case FolderItem::Kind::Computer:
        return computerChildren();
    case FolderItem::Kind::Network:
        return networkChildren();
    case FolderItem::Kind::OpticalDrive:
        return QList<FolderItem>();
    default:
        return folderChildren(parent.path);
    }
}

bool FolderNamespace::hasSubfolders(const FolderItem& item) const
{
    switch (item.kind) {
    case FolderItem::Kind::Desktop:
    case FolderItem::Kind::Computer:
        return true;
    case FolderItem::Kind::Network:
        return !networkChildren().isEmpty();
    case FolderItem::Kind::NetworkMount:
        return true; // asking a share could block the window
    case FolderItem::Kind::OpticalDrive:
        return false;
    default:
        break;
    }
    return !subfolders(item.path).empty();
}

QList<FolderItem> FolderNamespace::parsePath(const QString& path) const
{
    if (!path.startsWith('/'))
        return {};
    const QString cleaned = withoutTrailingSlash(path);
    if (opticalDrives().contains(cleaned)) {
        return {folderItem(FolderItem::Kind::Computer, QString(), computerName()),
                folderItem(FolderItem::Kind::OpticalDrive, cleaned, lastName(cleaned))};
    }
    if (!NativeFile::isDirectory(cleaned))
        return {};
    bool underNetwork = false;
    const std::optional<FolderItem> container = containerOf(cleaned, &underNetwork);
    if (!container)
        return {};
    QList<FolderItem> levels;
    levels.append(underNetwork ? folderItem(FolderItem::Kind::Network, QString(), networkName())
                               : folderItem(FolderItem::Kind::Computer, QString(), computerName()));
    levels.append(*container);
    QString current = container->path == QLatin1String("/") ? QString() : container->path;
    const QStringList rest = cleaned.mid(current.size()).split('/', Qt::SkipEmptyParts);
    for (const QString& name : rest) {
        current += '/' + name;
        levels.append(folderItem(FolderItem::Kind::Folder, current, name));
    }
    return levels;
}

FolderItem FolderNamespace::reload(const FolderItem& item) const
{
    if (item.kind == FolderItem::Kind::Volume || item.kind == FolderItem::Kind::OpticalDrive) {
        for (const FolderItem& volume : computerChildren()) {
            if (volume == item)
                return volume;
        }
    }
    return item;
}

QIcon FolderNamespace::icon(const FolderItem& item, bool open)
{
    static QHash<int, QIcon> cache;
    const int key = int(item.kind) * 2 + (open ? 1 : 0);
    const auto found = cache.constFind(key);
    if (found != cache.constEnd())
        return *found;

    QFileIconProvider provider;
    QIcon icon;
    switch (item.kind) {
    case FolderItem::Kind::Desktop:
        icon = QIcon::fromTheme(QStringLiteral("user-desktop"), provider.icon(QFileIconProvider::Desktop));
        break;
    case FolderItem::Kind::Home:
        icon = QIcon::fromTheme(QStringLiteral("user-home"), provider.icon(QFileIconProvider::Folder));
        break;
    case FolderItem::Kind::Computer:
        icon = QIcon::fromTheme(QStringLiteral("computer"), provider.icon(QFileIconProvider::Computer));
        break;
    case FolderItem::Kind::Network:
        icon = QIcon::fromTheme(QStringLiteral("network-workgroup"), provider.icon(QFileIconProvider::Network));
        break;
    case FolderItem::Kind::Volume:
        icon = QIcon::fromTheme(QStringLiteral("drive-harddisk"), provider.icon(QFileIconProvider::Drive));
        break;
    case FolderItem::Kind::OpticalDrive:
        icon = QIcon::fromTheme(QStringLiteral("drive-optical"), provider.icon(QFileIconProvider::Drive));
        break;
    case FolderItem::Kind::NetworkMount:
        icon = QIcon::fromTheme(QStringLiteral("folder-remote"),
                                QIcon::fromTheme(QStringLiteral("network-workgroup"),
                                                 provider.icon(QFileIconProvider::Network)));
        break;
    case FolderItem::Kind::Folder:
        icon = open ? QIcon::fromTheme(QStringLiteral("folder-open"),
                                       QIcon::fromTheme(QStringLiteral("folder"), provider.icon(QFileIconProvider::Folder)))
                    : QIcon::fromTheme(QStringLiteral("folder"), provider.icon(QFileIconProvider::Folder));
        break;
    }
    cache.insert(key, icon);
    return icon;
}

QList<FolderNamespace::Mount> FolderNamespace::parseMounts(const QByteArray& table)
{
    QList<Mount> result;
    for (const QByteArray& line : table.split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() < 3)
            continue;
        const QString mountPoint = decodeMountField(fields[1]);
        if (!mountPoint.startsWith('/'))
            continue;
        result.append(Mount{decodeMountField(fields[0]), withoutTrailingSlash(mountPoint), decodeMountField(fields[2])});
    }
    return result;
}

bool FolderNamespace::isNetworkType(const QString& type)
{
    static const QStringList networkTypes = {
        QStringLiteral("nfs"),        QStringLiteral("nfs4"),        QStringLiteral("cifs"),
        QStringLiteral("smb3"),       QStringLiteral("smbfs"),       QStringLiteral("fuse.sshfs"),
        QStringLiteral("sshfs"),      QStringLiteral("davfs"),       QStringLiteral("fuse.davfs2"),
        QStringLiteral("afs"),        QStringLiteral("ncpfs"),       QStringLiteral("fuse.rclone"),
        QStringLiteral("fuse.smbnetfs"), QStringLiteral("fuse.curlftpfs"), QStringLiteral("glusterfs"),
        QStringLiteral("ceph"),
    };
    return networkTypes.contains(type);
}

QList<FolderItem> FolderNamespace::desktopChildren() const
{
    QList<FolderItem> items;
    if (!m_sources.home.isEmpty() && NativeFile::isDirectory(m_sources.home))
        items.append(folderItem(FolderItem::Kind::Home, m_sources.home, lastName(m_sources.home)));
    if (!m_sources.desktop.isEmpty() && m_sources.desktop != m_sources.home) {
        QList<FolderItem> onDesktop = folderChildren(m_sources.desktop).value_or(QList<FolderItem>());
        items.append(onDesktop);
    }
    items.append(folderItem(FolderItem::Kind::Computer, QString(), computerName()));
    items.append(folderItem(FolderItem::Kind::Network, QString(), networkName()));
    return items;
}

QList<FolderItem> FolderNamespace::computerChildren() const
{
    QList<FolderItem> items = volumes();
    const QStringList drives = opticalDrives();
    for (const QString& drive : drives)
        items.append(folderItem(FolderItem::Kind::OpticalDrive, drive, lastName(drive)));
    return items;
}

QList<FolderItem> FolderNamespace::networkChildren() const
{
    QList<FolderItem> items;
    for (const Mount& mount : mounts()) {
        if (!isNetworkType(mount.type))
            continue;
        const QString name = lastName(mount.mountPoint) + QStringLiteral(" (") + mount.device + ')';
        items.append(folderItem(FolderItem::Kind::NetworkMount, mount.mountPoint, name));
    }
    sortByName(items);
    return items;
}

std::optional<QList<FolderItem>> FolderNamespace::folderChildren(const QString& path) const
{
    if (!NativeFile::isDirectory(path) || ::access(NativeName::toBytes(path).constData(), R_OK | X_OK) != 0)
        return std::nullopt;
    QList<FolderItem> items;
    const QString prefix = path.endsWith(u'/') ? path : path + u'/';
    for (const NativeFile::Entry& entry : subfolders(path))
        items.append(folderItem(FolderItem::Kind::Folder, prefix + entry.name, entry.name));
    sortByName(items);
    return items;
}

QList<FolderNamespace::Mount> FolderNamespace::mounts() const
{
    QFile file(m_sources.mountsFile);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // /proc files report no size: read to the end.
    return parseMounts(file.readAll());
}

QStringList FolderNamespace::opticalDrives() const
{
    QStringList drives;
    const QDir dev(m_sources.deviceFolder);
    const QStringList names = dev.entryList({QStringLiteral("sr[0-9]*")}, QDir::AllEntries | QDir::System, QDir::Name);
    for (const QString& name : names)
        drives.append(dev.filePath(name));
    return drives;
}

QList<FolderItem> FolderNamespace::volumes() const
{
    QList<FolderItem> items{folderItem(FolderItem::Kind::Volume, QStringLiteral("/"), QStringLiteral("/"))};
    QStringList seen{QStringLiteral("/")};
    QList<FolderItem> others;
    for (const Mount& mount : mounts()) {
        if (isNetworkType(mount.type) || seen.contains(mount.mountPoint) || !isUserVolume(mount))
            continue;
        if (!NativeFile::isDirectory(mount.mountPoint))
            continue;
        seen.append(mount.mountPoint);
        others.append(folderItem(FolderItem::Kind::Volume, mount.mountPoint, lastName(mount.mountPoint)));
    }
    sortByName(others);
    return items + others;
}

std::optional<FolderItem> FolderNamespace::containerOf(const QString& path, bool* underNetwork) const
{
    std::optional<FolderItem> best;
    for (const FolderItem& volume : volumes()) {
        if (isBelow(path, volume.path) && (!best || volume.path.size() > best->path.size())) {
            best = volume;
            *underNetwork = false;
        }
    }
    for (const FolderItem& share : networkChildren()) {
        if (isBelow(path, share.path) && (!best || share.path.size() > best->path.size())) {
            best = share;
            *underNetwork = true;
        }
    }
    return best;
}
