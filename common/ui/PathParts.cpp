#include "common/ui/PathParts.h"

CPathParts::CPathParts(const QString& path)
{
    Split(path);
}

void CPathParts::Split(const QString& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        Folder.clear();
    else if (slash == 0)
        Folder = QStringLiteral("/");
    else
        Folder = path.left(slash);
    const QString name = path.mid(slash + 1);
    const qsizetype dot = name.lastIndexOf('.');
    Title = dot < 0 ? name : name.left(dot);
    Extension = dot < 0 ? QString() : name.mid(dot + 1);
}

QString CPathParts::Name() const
{
    return Extension.isEmpty() ? Title : Title + '.' + Extension;
}

QString CPathParts::Path() const
{
    const QString name = Name();
    if (Folder.isEmpty())
        return name;
    if (name.isEmpty())
        return Folder;
    return Folder.endsWith('/') ? Folder + name : Folder + '/' + name;
}
