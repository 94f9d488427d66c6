#pragma once

#include <QHash>
#include <QString>

// The names of one folder without regard to letter case, read once for a whole run so that
// each row does not list the folder again. Kept up to date with the run's own renames.
class CFolderIndex
{
public:
    explicit CFolderIndex(const QString& folder);

    const QString& Folder() const { return m_folder; }
    bool ContainsIgnoringCase(const QString& name) const;
    void Renamed(const QString& oldName, const QString& newName);

private:
    QString m_folder;
    QHash<QString, int> m_foldedNames;   // folded name -> number of entries with it
};
