#include "common/ui/StringTable.h"

#include "common/ui/Ui.h"

#include <QHash>

namespace {

// The Japanese source of each text, translated when it is asked for: the language is chosen after
// the tables are registered.
QHash<int, QByteArray>& table()
{
    static QHash<int, QByteArray> strings;
    return strings;
}

} // namespace

namespace StringTable {

void add(std::initializer_list<std::pair<int, const char*>> entries)
{
    for (const auto& [id, text] : entries)
        table().insert(id, QByteArray(text));
}

QString text(int id)
{
    const auto found = table().constFind(id);
    return found == table().cend() ? QString() : Ui::tr(found->constData());
}

QStringList sources()
{
    QStringList texts;
    for (const QByteArray& source : std::as_const(table()))
        texts << QString::fromUtf8(source);
    return texts;
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
