#include "renamer/JournalLine.h"

#include <QFile>
#include <QStringEncoder>

#include <algorithm>

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
    QByteArray encoded;
    AppendName(encoded, name);
    return encoded;
}

// The name's bytes (UTF-8, as QFile::encodeName gives them) as they are, but for those that
// would split the record or its line; written straight into the text, which most names leave
// as they are.
void AppendName(QByteArray& text, const QString& name)
{
    const qsizetype start = text.size();
    text.resize(start + name.size() * 3);
    QStringEncoder toUtf8(QStringConverter::Utf8);
    char* const end = toUtf8.appendToBuffer(text.data() + start, name);
    text.truncate(end - text.constData());
    const auto plain = [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte > ' ' && byte != 0x7F && byte != '%';
    };
    if (std::all_of(text.cbegin() + start, text.cend(), plain))
        return;
    const QByteArray bytes = text.mid(start);
    text.truncate(start);
    for (const char c : bytes) {
        if (plain(c)) {
            text += c;
            continue;
        }
        const auto byte = static_cast<unsigned char>(c);
        text += '%';
        text += kHexDigits[byte >> 4];
        text += kHexDigits[byte & 0xF];
    }
}

QString DecodeName(const QByteArray& encoded)
{
    return QFile::decodeName(QByteArray::fromPercentEncoding(encoded));
}

} // namespace JournalLine
