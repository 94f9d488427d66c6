#pragma once

#include <QString>

// One entry of the folder namespace: the desktop root, a special folder or a file-system folder.
// Entries are values; two entries are the same when kind and path are.
struct FolderItem {
    enum class Kind {
        Desktop,      // the root; no file-system path
        Home,         // the user's home folder
        Computer,     // holds the volumes and optical drives; no path
        Network,      // holds the network mounts; no path
        Volume,       // "/" or a mounted volume
        OpticalDrive, // a disc drive, by its device path ("/dev/sr0")
        NetworkMount, // a mounted network share
        Folder,       // any other folder
    };

    Kind kind = Kind::Folder;
    // Without a trailing "/" (except "/" itself); empty for the root, computer and network.
    QString path;
    QString displayName;

    bool isFileSystemFolder() const { return !path.isEmpty(); }
    bool operator==(const FolderItem& other) const { return kind == other.kind && path == other.path; }
};
