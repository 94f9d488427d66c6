#include "platform/text/TextFile.h"

#include "platform/text/CodePage.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace TextFile {

QStringList splitLines(const QByteArray& bytes, int codePage)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype size = bytes.size();
    while (start < size) {
        qsizetype end = bytes.indexOf('\n', start);
        const qsizetype next = end < 0 ? size : end + 1;
        if (end < 0)
            end = size;
        qsizetype length = end - start;
        if (length > 0 && bytes[start + length - 1] == '\r' && end < size)
            --length;
        lines.append(CodePage::toUnicode(bytes.constData() + start, length, codePage));
        start = next;
    }
    return lines;
}

std::optional<QByteArray> readAll(const QString& path)
{
    QFile file(path);
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

std::optional<QStringList> readLines(const QString& path, int codePage)
{
    const auto bytes = readAll(path);
    if (!bytes)
        return std::nullopt;
    return splitLines(*bytes, codePage);
}

bool writeAtomically(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    // QSaveFile falls back to writing in place when it cannot create its temporary file;
    // that would defeat the purpose, so refuse instead.
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace TextFile
