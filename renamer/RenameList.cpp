#include "renamer/RenameList.h"

#include "common/ui/PathParts.h"
#include "platform/text/CodePage.h"

#include <QFile>
#include <QStringDecoder>

namespace {

// The text up to its first NUL, as the line's C string was seen.
QString untilNul(QStringView line)
{
    const qsizetype nul = line.indexOf(QChar(0));
    return (nul < 0 ? line : line.left(nul)).toString();
}

bool isValidUtf8(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    return !decoder.hasError();
}

} // namespace

QString CRenameList::NewNameWithExtension(const QString& oldName, const QString& newName)
{
    // An empty new name stays empty, so the run refuses it instead of making a hidden ".ext".
    if (newName.isEmpty())
        return newName;
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

ListEncoding CRenameList::DetectEncoding(const QByteArray& bytes, qsizetype* markLength)
{
    qsizetype mark = 0;
    ListEncoding encoding = ListEncoding::Utf16LE;
    if (bytes.startsWith("\xFF\xFE")) {
        mark = 2;
    } else if (bytes.startsWith("\xFE\xFF")) {
        mark = 2;
        encoding = ListEncoding::Utf16BE;
    } else if (bytes.startsWith("\xEF\xBB\xBF")) {
        mark = 3;
        encoding = ListEncoding::Utf8;
    } else if (!bytes.contains('\0') && isValidUtf8(bytes)) {
        encoding = ListEncoding::Utf8;
    }
    if (markLength)
        *markLength = mark;
    return encoding;
}

QStringList CRenameList::SplitLines(const QByteArray& bytes)
{
    qsizetype mark = 0;
    const ListEncoding encoding = DetectEncoding(bytes, &mark);
    const char* text = bytes.constData() + mark;
    const qsizetype size = bytes.size() - mark;
    QStringList lines;
    if (encoding == ListEncoding::Utf8) {
        lines = CodePage::toUnicode(text, size, CodePage::Utf8).split(QChar('\n'));
        for (QString& line : lines)
            if (line.endsWith(QChar('\r')))
                line.chop(1);
    } else {
        // An odd last byte cannot form a unit and is ignored.
        const int codePage = encoding == ListEncoding::Utf16BE ? CodePage::Utf16BE : CodePage::Utf16LE;
        lines = CodePage::toUnicode(text, size & ~qsizetype(1), codePage).split(QStringLiteral("\r\n"));
    }
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
