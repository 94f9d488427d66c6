#include "tests/brindle/BrindleTestSupport.h"

#include "platform/text/CodePage.h"
#include "tests/support/TestFiles.h"

#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

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

} // namespace BrindleTestSupport
