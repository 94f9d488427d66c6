#pragma once

#include "platform/shell/FileNameCase.h"
#include "renamer/BrindleDlg.h"

#include <QByteArray>
#include <QMap>
#include <QStringList>

// Rename lists as Brindle reads them and drops as a file manager delivers them.
namespace BrindleTestSupport {

// UTF-16LE lines joined by CR LF (and ended by one when asked).
QByteArray utf16List(const QStringList& lines, bool finalLineEnd = true);
// Sends a drag-enter and a drop of the files to the window, as a file manager's drop arrives;
// returns whether the drop was accepted.
bool dropFiles(CBrindleDlg& dialog, const QStringList& paths);
// Creates an empty file (or one with the content) in the folder.
void touch(const QString& folder, const QString& name, const QByteArray& content = QByteArray());
QStringList entries(const QString& folder);
// Every file of the folder (not in sub-folders) with its content.
QMap<QString, QByteArray> contents(const QString& folder);

// Sets or clears the immutable attribute of a file or folder (the super-user's, where the file
// system has it): then it can be neither renamed nor changed. False when that cannot be done.
bool setImmutable(const QString& path, bool immutable);

// While it lives, every folder compares names without regard to letter case, as FAT and NTFS do.
class FoldingFolders
{
public:
    FoldingFolders() : m_previous(FileNameCase::SetDetector([](const QString&) { return true; })) {}
    ~FoldingFolders() { FileNameCase::SetDetector(std::move(m_previous)); }
    FoldingFolders(const FoldingFolders&) = delete;
    FoldingFolders& operator=(const FoldingFolders&) = delete;

private:
    FileNameCase::Detector m_previous;
};

// Makes a folder refuse renames while it lives: read-only for a normal user, immutable for the
// super-user (who ignores permissions). IsLocked is false when neither works here.
class FolderLock
{
public:
    explicit FolderLock(const QString& folder);
    ~FolderLock() { Release(); }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    bool IsLocked() const { return m_locked; }
    void Release();

private:
    QString m_folder;
    bool m_locked = false;
};

} // namespace BrindleTestSupport
