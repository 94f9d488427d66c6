#include "tests/brindle/BrindleTestSupport.h"

#include "platform/text/CodePage.h"
#include "tests/support/TestFiles.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace BrindleTestSupport {

QByteArray utf16List(const QStringList& lines, bool finalLineEnd)
{
    QString text = lines.join(QStringLiteral("\r\n"));
    if (finalLineEnd)
        text += QStringLiteral("\r\n");
    return TestFiles::encode(text, CodePage::Utf16LE);
}

bool dropFiles(CBrindleDlg& dialog, const QStringList& paths)
{
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls.append(QUrl::fromLocalFile(path));
    data.setUrls(urls);
    const QPoint centre = dialog.rect().center();
    QDragEnterEvent enter(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&dialog, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(QPointF(centre), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&dialog, &drop);
    return drop.isAccepted();
}

void touch(const QString& folder, const QString& name, const QByteArray& content)
{
    TestFiles::writeBytes(folder + '/' + name, content);
}

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

QMap<QString, QByteArray> contents(const QString& folder)
{
    QMap<QString, QByteArray> files;
    for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System))
        files.insert(name, TestFiles::readBytes(folder + '/' + name));
    return files;
}

FolderLock::FolderLock(const QString& folder) : m_folder(folder)
{
    if (::geteuid() == 0)
        m_locked = setImmutable(m_folder, true);
    else
        m_locked = ::chmod(QFile::encodeName(folder).constData(), 0555) == 0;
}

void FolderLock::Release()
{
    if (!m_locked)
        return;
    if (::geteuid() == 0)
        setImmutable(m_folder, false);
    else
        ::chmod(QFile::encodeName(m_folder).constData(), 0755);
    m_locked = false;
}

bool setImmutable(const QString& path, bool immutable)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
        flags = immutable ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return done;
}

} // namespace BrindleTestSupport
