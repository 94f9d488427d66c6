#include "common/ui/StringTable.h"

#include <QHash>

namespace {

QHash<int, QString>& table()
{
    static QHash<int, QString> strings;
    return strings;
}

} // namespace

namespace StringTable {

void add(std::initializer_list<std::pair<int, const char*>> entries)
{
    for (const auto& [id, text] : entries)
        table().insert(id, QString::fromUtf8(text));
}

QString text(int id)
{
    return table().value(id);
}

QString format(int id, const QStringList& arguments)
{
    return FormatPrintf(text(id), arguments);
}

} // namespace StringTable

QString FormatPrintf(const QString& pattern, const QStringList& arguments)
{
    QString result;
    result.reserve(pattern.size());
    qsizetype next = 0;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (c != '%' || i + 1 >= pattern.size()) {
            result.append(c);
            continue;
        }
        const QChar kind = pattern[i + 1];
        if (kind == '%') {
            result.append('%');
        } else if (kind == 's' || kind == 'd') {
            if (next < arguments.size())
                result.append(arguments[next++]);
        } else {
            result.append(c);
            continue;
        }
        ++i;
    }
    return result;
}
