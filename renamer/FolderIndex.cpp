#include "renamer/FolderIndex.h"

#include <QDir>
#include <QDirIterator>

CFolderIndex::CFolderIndex(const QString& folder) : m_folder(folder)
{
    QDirIterator entries(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    while (entries.hasNext()) {
        entries.next();
        ++m_foldedNames[entries.fileName().toCaseFolded()];
    }
}

bool CFolderIndex::ContainsIgnoringCase(const QString& name) const
{
    return m_foldedNames.contains(name.toCaseFolded());
}

void CFolderIndex::Renamed(const QString& oldName, const QString& newName)
{
    const auto old = m_foldedNames.find(oldName.toCaseFolded());
    if (old != m_foldedNames.end() && --old.value() <= 0)
        m_foldedNames.erase(old);
    ++m_foldedNames[newName.toCaseFolded()];
}
