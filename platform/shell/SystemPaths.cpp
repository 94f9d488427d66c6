#include "platform/shell/SystemPaths.h"

#include <QDir>
#include <QStandardPaths>

namespace SystemPaths {

QString DefaultTextEditorCommand()
{
    static const char* const editors[] = {"gnome-text-editor", "gedit", "kate", "kwrite", "mousepad", "pluma",
                                          "xed", "featherpad", "geany", "leafpad", "xdg-open"};
    for (const char* editor : editors) {
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(editor));
        if (!path.isEmpty())
            return '"' + path + '"';
    }
    return QStringLiteral("\"xdg-open\"");
}

QString DefaultMusicFolder()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::homePath();
    return folder.endsWith('/') ? folder : folder + '/';
}

} // namespace SystemPaths
