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

constexpr char kHexDigits[] = "0123456789abcdef";

} // namespace

void Append(QByteArray& text, const QByteArray& record)
{
    quint32 sum = checksum(record);
    char hex[9];
    for (int i = 7; i >= 0; --i, sum >>= 4)
        hex[i] = kHexDigits[sum & 0xF];
    hex[8] = ' ';
    text.append(hex, 9).append(record).append('\n');
}

QByteArray Make(const QByteArray& record)
{
    QByteArray line;
    Append(line, record);
    return line;
}

std::optional<QByteArray> Record(const QByteArray& line)
{
    if (line.size() < 9 || line[8] != ' ')
        return std::nullopt;
    QByteArray record = line.mid(9);
    if (Make(record).left(8) != line.left(8))
        return std::nullopt;
    return record;
}

QByteArray EncodeName(const QString& name)
{
    // The bytes as they are, but for those that would split the record or its line.
    const QByteArray bytes = QFile::encodeName(name);
    QByteArray encoded;
    encoded.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte > ' ' && byte != 0x7F && byte != '%') {
            encoded += c;
            continue;
        }
        encoded += '%';
        encoded += kHexDigits[byte >> 4];
        encoded += kHexDigits[byte & 0xF];
    }
    return encoded;
}

QString DecodeName(const QByteArray& encoded)
{
    return QFile::decodeName(QByteArray::fromPercentEncoding(encoded));
}

} // namespace JournalLine
