#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A temporary folder for one test, removed with it.
class TempFolder
{
public:
    TempFolder();
    QString path() const { return m_dir.path(); }
    // The absolute path of a name inside the folder.
    QString file(const QString& name) const { return m_dir.filePath(name); }
    // Writes bytes to the name (creating sub-folders) and returns its absolute path.
    QString write(const QString& name, const QByteArray& bytes) const;
    QString mkdir(const QString& name) const;

private:
    QTemporaryDir m_dir;
};

namespace TestFiles {

// Text in a Windows code page, in UTF-16LE (1200, with or without FF FE), or UTF-8 (65001).
QByteArray encode(const QString& text, int codePage, bool byteOrderMark = false);
bool writeBytes(const QString& path, const QByteArray& bytes);
QByteArray readBytes(const QString& path);

} // namespace TestFiles
