#pragma once

#include "platform/shell/FolderItem.h"

#include <QByteArray>
#include <QIcon>
#include <QList>
#include <QString>

#include <optional>

// The folders the player's tree shows, in the manner of a desktop shell: the desktop root with the
// home folder, the folders on the user's Desktop, the computer (the root file system, mounted
// volumes and optical drives) and the network (network mounts). The trash is never shown; hidden
// folders (names beginning with ".") are not listed but can be reached by path.
class FolderNamespace
{
public:
    // Where the namespace looks; tests point these at temporary folders.
    struct Sources {
        QString home;
        QString desktop;
        QString mountsFile = QStringLiteral("/proc/self/mounts");
        QString deviceFolder = QStringLiteral("/dev");
        // The user's home and Desktop folders as the environment names them.
        static Sources system();
    };

    // One line of a mount table.
    struct Mount {
        QString device;
        QString mountPoint;
        QString type;
    };

    explicit FolderNamespace(Sources sources = Sources::system());

    static FolderItem root();
    // The folder children of an entry, in display order; no value when the entry cannot be read.
    std::optional<QList<FolderItem>> children(const FolderItem& parent) const;
    // Whether listing the entry would find at least one child (network shares are assumed to).
    bool hasSubfolders(const FolderItem& item) const;
    // The entries from below the root down to the path: Computer > volume > folders, or
    // Network > share > folders. Empty when the path is not absolute.
    QList<FolderItem> parsePath(const QString& path) const;
    // The same entry read afresh (display name of a volume or drive may have changed).
    FolderItem reload(const FolderItem& item) const;

    // Theme icons, with the platform's file icons as fallback; `open` gives the selected look.
    static QIcon icon(const FolderItem& item, bool open = false);

    // Mount tables as /proc/self/mounts writes them (octal escapes such as "\040" decoded).
    static QList<Mount> parseMounts(const QByteArray& table);
    static bool isNetworkType(const QString& type);

private:
    QList<FolderItem> desktopChildren() const;
    QList<FolderItem> computerChildren() const;
    QList<FolderItem> networkChildren() const;
    std::optional<QList<FolderItem>> folderChildren(const QString& path) const;
    QList<Mount> mounts() const;
    QStringList opticalDrives() const;
    QList<FolderItem> volumes() const;
    // The volume or share holding the path (longest mount point), when there is one.
    std::optional<FolderItem> containerOf(const QString& path, bool* underNetwork) const;

    Sources m_sources;
};
