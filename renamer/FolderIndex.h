#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

// How a folder's file system compares names: exactly (Linux's own file systems), or without
// regard to letter case (FAT, exFAT, NTFS, case-folding ext4 folders).
enum class NameCase { Exact, Folded };

// The names of one folder, found by their exact spelling or as the file system compares them,
// read once for a whole run so that each row does not list the folder again. Kept up to date
// with the run's own renames.
class CFolderIndex
{
public:
    CFolderIndex() = default;
    // The entries of the folder (dangling links included), compared as its file system does;
    // none when the folder is not an absolute path or cannot be read.
    explicit CFolderIndex(const QString& folder);
    static CFolderIndex FromNames(const QStringList& names, NameCase rule);

    NameCase Rule() const { return m_rule; }
    // The name as the file system compares it: names with equal keys are one name.
    QString Key(const QString& name) const { return m_rule == NameCase::Folded ? name.toCaseFolded() : name; }

    // Whether an entry is spelled exactly so.
    bool Contains(const QString& name) const;
    // Whether an entry holds the name as the file system compares names.
    bool Holds(const QString& name) const { return m_firstName.contains(Key(name)); }
    // Whether an entry other than `except` holds the name.
    bool HeldByOther(const QString& name, const QString& except) const;
    // Calls visit with each entry that holds the name.
    template <typename Visit>
    void ForEachHolder(const QString& name, Visit visit) const
    {
        const QString key = Key(name);
        const auto first = m_firstName.constFind(key);
        if (first == m_firstName.cend())
            return;
        visit(*first);
        for (const QString& other : m_otherNames.value(key))
            visit(other);
    }

    void Renamed(const QString& oldName, const QString& newName);
    void Added(const QString& name);

private:
    void Removed(const QString& name);

    NameCase m_rule = NameCase::Exact;
    // Key -> an entry with it, and (when folding) the rare further entries differing only in case.
    QHash<QString, QString> m_firstName;
    QHash<QString, QStringList> m_otherNames;
};
