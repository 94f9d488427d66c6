#include "renamer/JournalLine.h"

#include <QFile>

namespace JournalLine {

namespace {

// FNV-1a: enough to tell a complete record from a torn or damaged one.
quint32 checksum(const QByteArray& bytes)
{
    quint32 hash = 2166136261u;
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 16777619u;
    }
    return hash;
}

QByteArray hex8(quint32 value)
{
    return QByteArray::number(value, 16).rightJustified(8, '0');
}

} // namespace

QByteArray Make(const QByteArray& record)
{
    return hex8(checksum(record)) + ' ' + record + '\n';
}

std::optional<QByteArray> Record(const QByteArray& line)
{
    if (line.size() < 9 || line[8] != ' ')
        return std::nullopt;
    QByteArray record = line.mid(9);
    if (line.left(8) != hex8(checksum(record)))
        return std::nullopt;
    return record;
}

QByteArray EncodeName(const QString& name)
{
    return QFile::encodeName(name).toPercentEncoding();
}

QString DecodeName(const QByteArray& encoded)
{
    return QFile::decodeName(QByteArray::fromPercentEncoding(encoded));
}

} // namespace JournalLine
