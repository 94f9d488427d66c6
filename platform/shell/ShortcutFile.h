#pragma once

#include <QFileInfo>
#include <QString>

// A shortcut (.lnk). Here a shortcut is a symbolic link whose name ends in ".lnk"; reading also
// understands a Windows shortcut file (the relative path resolved against the shortcut's folder,
// else its local base path when that exists here). A shortcut that cannot be understood fails
// reading, without a message.
class CShortcutFile
{
public:
    // Reads the shortcut; false when it does not exist or cannot be understood.
    bool Read(const QString& shortcutPath);
    // Makes a symbolic link to the target at the shortcut path, with ".lnk" appended unless the
    // path ends with it. An existing shortcut there is replaced in one step.
    bool Create(const QString& targetPath, const QString& shortcutPath);

    const QString& Path() const { return m_path; }
    const QString& TargetPath() const { return m_targetPath; }
    // What the file system reports for the target (attributes, times, size, name).
    QFileInfo TargetFindData() const { return QFileInfo(m_targetPath); }
    bool TargetExists() const;
    bool TargetIsDirectory() const;
    // Only Windows shortcut files carry these.
    const QString& Arguments() const { return m_arguments; }
    const QString& IconLocation() const { return m_iconLocation; }
    int IconIndex() const { return m_iconIndex; }

private:
    void ClearResults();
    bool ReadSymbolicLink(const QString& link);
    bool ReadShellLinkFile(const QString& path);

    QString m_path;
    QString m_targetPath;
    QString m_arguments;
    QString m_iconLocation;
    int m_iconIndex = 0;
};
