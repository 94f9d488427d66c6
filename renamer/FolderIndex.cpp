#include "renamer/FolderIndex.h"

#include <QDir>
#include <QDirIterator>

CFolderIndex::CFolderIndex(const QString& folder) : m_folder(folder)
{
    if (folder.isEmpty() || !QDir::isAbsolutePath(folder))
        return;
    QDirIterator entries(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    while (entries.hasNext()) {
        entries.next();
        Added(entries.fileName());
    }
}

CFolderIndex CFolderIndex::FromNames(const QString& folder, const QStringList& names)
{
    CFolderIndex index;
    index.m_folder = folder;
    for (const QString& name : names)
        index.Added(name);
    return index;
}

bool CFolderIndex::Contains(const QString& name) const
{
    const auto group = m_byFoldedName.constFind(name.toCaseFolded());
    return group != m_byFoldedName.cend() && group->contains(name);
}

bool CFolderIndex::ContainsIgnoringCase(const QString& name) const
{
    return m_byFoldedName.contains(name.toCaseFolded());
}

void CFolderIndex::Renamed(const QString& oldName, const QString& newName)
{
    Removed(oldName);
    Added(newName);
}

void CFolderIndex::Added(const QString& name)
{
    QStringList& group = m_byFoldedName[name.toCaseFolded()];
    if (!group.contains(name))
        group.append(name);
}

void CFolderIndex::Removed(const QString& name)
{
    const auto group = m_byFoldedName.find(name.toCaseFolded());
    if (group == m_byFoldedName.end())
        return;
    group->removeOne(name);
    if (group->isEmpty())
        m_byFoldedName.erase(group);
}
