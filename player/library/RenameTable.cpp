#include "player/library/RenameTable.h"

#include "platform/text/CodePage.h"
#include "platform/text/RuntimeLocale.h"
#include "platform/text/TextFile.h"

#include <QDir>

namespace {

const QString kRenameFileName = QStringLiteral("Rename.txt");

} // namespace

void CRenameTable::Load(const QString& folder)
{
    m_pairs.clear();
    const auto bytes = TextFile::readAll(QDir(folder).filePath(kRenameFileName));
    if (bytes)
        Parse(*bytes);
}

void CRenameTable::Parse(const QByteArray& bytes)
{
    m_pairs.clear();
    // Raw 16-bit little-endian units; an odd trailing byte is ignored.
    QString text = CodePage::toUnicode(bytes.constData(), bytes.size() & ~qsizetype(1), CodePage::Utf16LE);
    // A byte-order mark is not part of the first key.
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    for (const QString& line : text.split(QStringLiteral("\r\n")))
        AddLine(line);
}

void CRenameTable::AddLine(const QString& line)
{
    if (line.isEmpty() || line.startsWith('#'))
        return;
    const qsizetype tab = line.indexOf('\t');
    if (tab < 0)
        return;
    m_pairs.append(RenamePair{line.left(tab), line.mid(tab + 1)});
}

std::optional<QString> CRenameTable::Lookup(const QString& fileName) const
{
    const RuntimeLocale& locale = RuntimeLocale::current();
    for (const RenamePair& pair : m_pairs) {
        if (locale.compareNoCase(pair.Key, fileName) == 0)
            return pair.Name;
    }
    return std::nullopt;
}
