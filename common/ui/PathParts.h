#pragma once

#include <QString>

// A path split at its last "/" and the last dot of the name after it.
// "/name" keeps "/" as its folder; only "/" separates folders.
class CPathParts
{
public:
    CPathParts() = default;
    explicit CPathParts(const QString& path);

    void Split(const QString& path);
    // Title + "." + Extension, or just Title when there is no extension.
    QString Name() const;
    // Folder + "/" + name, or just the name / just the folder when the other is empty.
    QString Path() const;

    QString Folder;
    QString Title;
    QString Extension;
};
