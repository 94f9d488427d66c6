#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

// The names of one folder, found by exact name or without regard to letter case, read once for
// a whole run so that each row does not list the folder again. Kept up to date with the run's
// own renames.
class CFolderIndex
{
public:
    CFolderIndex() = default;
    // The entries of the folder (dangling links included); none when the folder is not an
    // absolute path or cannot be read.
    explicit CFolderIndex(const QString& folder);
    static CFolderIndex FromNames(const QString& folder, const QStringList& names);

    const QString& Folder() const { return m_folder; }
    bool Contains(const QString& name) const;
    bool ContainsIgnoringCase(const QString& name) const;
    // The entries whose name equals the name without regard to case.
    QStringList NamesIgnoringCase(const QString& name) const { return m_byFoldedName.value(name.toCaseFolded()); }

    void Renamed(const QString& oldName, const QString& newName);
    void Added(const QString& name);

private:
    void Removed(const QString& name);

    QString m_folder;
    QHash<QString, QStringList> m_byFoldedName;   // folded name -> the entries with it
};
