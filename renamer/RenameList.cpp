#include "renamer/RenameList.h"

#include "common/ui/PathParts.h"
#include "platform/text/CodePage.h"

#include <QFile>

namespace {

// The text up to its first NUL, as the line's C string was seen.
QString untilNul(QStringView line)
{
    const qsizetype nul = line.indexOf(QChar(0));
    return (nul < 0 ? line : line.left(nul)).toString();
}

} // namespace

QString CRenameList::NewNameWithExtension(const QString& oldName, const QString& newName)
{
    const CPathParts oldParts(oldName);
    const CPathParts newParts(newName);
    if (oldParts.Extension.compare(newParts.Extension, Qt::CaseInsensitive) == 0)
        return newName;
    // A name without extension gives none: "readme" -> "readme.txt" stays as written.
    if (oldParts.Extension.isEmpty())
        return newName;
    return newName + '.' + oldParts.Extension.toLower();
}

int CRenameList::ParseRenameLine(const QString& line, ListSeparator separator, RenamePair& pair)
{
    if (line.isEmpty() || line.front() == '#')
        return Skipped;
    const QChar separatorChar = separator == ListSeparator::Tab ? QChar('\t') : QChar(',');
    const qsizetype at = line.indexOf(separatorChar);
    if (at < 0)
        return Skipped;
    pair.oldName = line.left(at);
    pair.newName = NewNameWithExtension(pair.oldName, line.mid(at + 1));
    return Accepted;
}

QStringList CRenameList::SplitLines(const QByteArray& bytes)
{
    // An odd last byte cannot form a unit and is ignored.
    const QString text = CodePage::toUnicode(bytes.constData(), bytes.size() & ~qsizetype(1), CodePage::Utf16LE);
    QStringList lines = text.split(QStringLiteral("\r\n"));
    for (QString& line : lines)
        line = untilNul(line);
    return lines;
}

std::vector<RenamePair> CRenameList::Parse(const QByteArray& bytes, ListSeparator separator)
{
    std::vector<RenamePair> pairs;
    for (const QString& line : SplitLines(bytes)) {
        RenamePair pair;
        if (ParseRenameLine(line, separator, pair) == Accepted)
            pairs.push_back(pair);
    }
    return pairs;
}

std::optional<std::vector<RenamePair>> CRenameList::ReadFile(const QString& path, ListSeparator separator)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaximumFileSize)
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return Parse(bytes, separator);
}
