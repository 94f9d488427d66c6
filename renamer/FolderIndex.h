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
    static CFolderIndex FromNames(const QStringList& names);

    bool Contains(const QString& name) const;
    bool ContainsIgnoringCase(const QString& name) const { return m_firstName.contains(name.toCaseFolded()); }
    // Whether an entry other than `except` has the name, letter case aside.
    bool HeldByOther(const QString& name, const QString& except) const;
    // Calls visit with each entry whose case-folded name is `folded`.
    template <typename Visit>
    void ForEachNameFolded(const QString& folded, Visit visit) const
    {
        const auto first = m_firstName.constFind(folded);
        if (first == m_firstName.cend())
            return;
        visit(*first);
        for (const QString& name : m_otherNames.value(folded))
            visit(name);
    }

    void Renamed(const QString& oldName, const QString& newName);
    void Added(const QString& name);

private:
    void Removed(const QString& name);

    // Folded name -> an entry with it, and the rare further entries differing only in case.
    QHash<QString, QString> m_firstName;
    QHash<QString, QStringList> m_otherNames;
};
