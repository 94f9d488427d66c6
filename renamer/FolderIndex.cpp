#include "renamer/FolderIndex.h"

#include "platform/shell/FileNameCase.h"

#include <QDir>
#include <QFile>

#include <cstring>
#include <dirent.h>

CFolderIndex::CFolderIndex(const QString& folder)
{
    if (folder.isEmpty() || !QDir::isAbsolutePath(folder))
        return;
    // readdir alone: the names are all that is needed, no look at each entry.
    DIR* entries = ::opendir(QFile::encodeName(folder).constData());
    if (!entries)
        return;
    m_rule = FileNameCase::FolderFoldsCase(folder) ? NameCase::Folded : NameCase::Exact;
    QStringList names;
    while (const dirent* entry = ::readdir(entries))
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
            names.append(QFile::decodeName(entry->d_name));
    ::closedir(entries);
    m_firstName.reserve(names.size());
    for (const QString& name : names)
        Added(name);
}

CFolderIndex CFolderIndex::FromNames(const QStringList& names, NameCase rule)
{
    CFolderIndex index;
    index.m_rule = rule;
    for (const QString& name : names)
        index.Added(name);
    return index;
}

bool CFolderIndex::Contains(const QString& name) const
{
    const QString key = Key(name);
    const auto first = m_firstName.constFind(key);
    if (first == m_firstName.cend())
        return false;
    return *first == name || m_otherNames.value(key).contains(name);
}

bool CFolderIndex::HeldByOther(const QString& name, const QString& except) const
{
    bool held = false;
    ForEachHolder(name, [&](const QString& holder) { held = held || holder != except; });
    return held;
}

void CFolderIndex::Renamed(const QString& oldName, const QString& newName)
{
    Removed(oldName);
    Added(newName);
}

void CFolderIndex::Added(const QString& name)
{
    const QString key = Key(name);
    const auto first = m_firstName.constFind(key);
    if (first == m_firstName.cend()) {
        m_firstName.insert(key, name);
        return;
    }
    if (*first == name)
        return;
    QStringList& others = m_otherNames[key];
    if (!others.contains(name))
        others.append(name);
}

void CFolderIndex::Removed(const QString& name)
{
    const QString key = Key(name);
    const auto first = m_firstName.find(key);
    if (first == m_firstName.end())
        return;
    const auto others = m_otherNames.find(key);
    if (*first != name) {
        if (others != m_otherNames.end())
            others->removeOne(name);
    } else if (others != m_otherNames.end()) {
        *first = others->takeFirst();
    } else {
        m_firstName.erase(first);
        return;
    }
    if (others != m_otherNames.end() && others->isEmpty())
        m_otherNames.erase(others);
}
