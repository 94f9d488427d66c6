#include "player/app/CodePageTable.h"

#include "platform/text/TextFile.h"
#include "platform/text/WToI.h"

#include <QStringList>

int CCodePageTable::Load(const QString& path, int fileCodePage)
{
    m_entries.clear();
    const auto lines = TextFile::readLines(path, fileCodePage);
    if (!lines)
        return -1;
    Parse(*lines);
    return 0;
}

void CCodePageTable::Parse(const QStringList& lines)
{
    for (const QString& line : lines) {
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        // A line without a comma is a number alone; it gets an empty name.
        const qsizetype firstComma = line.indexOf(',');
        CodePageEntry entry;
        entry.Number = WToI(firstComma < 0 ? QStringView(line) : QStringView(line).left(firstComma));
        if (firstComma >= 0) {
            const qsizetype secondComma = line.indexOf(',', firstComma + 1);
            entry.Name = secondComma < 0 ? line.mid(firstComma + 1) : line.mid(firstComma + 1, secondComma - firstComma - 1);
        }
        m_entries.push_back(entry);
    }
}
