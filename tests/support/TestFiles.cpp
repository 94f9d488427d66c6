#include "tests/support/TestFiles.h"

#include "platform/text/CodePage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

TempFolder::TempFolder()
{
    m_dir.setAutoRemove(true);
}

QString TempFolder::write(const QString& name, const QByteArray& bytes) const
{
    const QString path = file(name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    TestFiles::writeBytes(path, bytes);
    return path;
}

QString TempFolder::mkdir(const QString& name) const
{
    const QString path = file(name);
    QDir().mkpath(path);
    return path;
}

namespace TestFiles {

QByteArray encode(const QString& text, int codePage, bool byteOrderMark)
{
    QByteArray bytes;
    if (codePage == CodePage::Utf16LE && byteOrderMark)
        bytes.append("\xFF\xFE", 2);
    if (codePage == CodePage::Utf8 && byteOrderMark)
        bytes.append("\xEF\xBB\xBF", 3);
    bytes.append(CodePage::fromUnicode(text, codePage));
    return bytes;
}

bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace TestFiles
