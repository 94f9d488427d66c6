#include "platform/profile/IniFile.h"

#include "platform/text/TextFile.h"
#include "platform/text/WToI.h"

namespace {

bool isSectionLine(const QString& trimmed)
{
    return trimmed.startsWith('[');
}

QString sectionName(const QString& trimmed)
{
    const qsizetype close = trimmed.indexOf(']');
    return (close < 0 ? trimmed.mid(1) : trimmed.mid(1, close - 1)).trimmed();
}

// The key of a "key=value" line, or a null string for a line without "=".
QString keyOf(const QString& line)
{
    const qsizetype equals = line.indexOf('=');
    return equals < 0 ? QString() : line.left(equals).trimmed();
}

} // namespace

IniFile::IniFile(const QString& path)
{
    load(path);
}

void IniFile::load(const QString& path)
{
    m_path = path;
    m_lines.clear();
    const auto bytes = TextFile::readAll(path);
    if (!bytes)
        return;
    QString text = QString::fromUtf8(*bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    m_lines = text.split('\n');
    if (!m_lines.isEmpty() && m_lines.last().isEmpty())
        m_lines.removeLast();
}

qsizetype IniFile::findSection(const QString& section) const
{
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        const QString trimmed = m_lines[i].trimmed();
        if (isSectionLine(trimmed) && sectionName(trimmed).compare(section, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

qsizetype IniFile::sectionEnd(qsizetype sectionLine) const
{
    qsizetype i = sectionLine + 1;
    while (i < m_lines.size() && !isSectionLine(m_lines[i].trimmed()))
        ++i;
    return i;
}

qsizetype IniFile::findKey(qsizetype sectionLine, const QString& key) const
{
    const qsizetype end = sectionEnd(sectionLine);
    for (qsizetype i = sectionLine + 1; i < end; ++i) {
        const QString lineKey = keyOf(m_lines[i]);
        if (!lineKey.isNull() && lineKey.compare(key, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

std::optional<QString> IniFile::value(const QString& section, const QString& key) const
{
    const qsizetype sectionLine = findSection(section);
    if (sectionLine < 0)
        return std::nullopt;
    const qsizetype keyLine = findKey(sectionLine, key);
    if (keyLine < 0)
        return std::nullopt;
    const QString& line = m_lines[keyLine];
    return line.mid(line.indexOf('=') + 1).trimmed();
}

QString IniFile::string(const QString& section, const QString& key, const QString& fallback) const
{
    return value(section, key).value_or(fallback);
}

int IniFile::integer(const QString& section, const QString& key, int fallback) const
{
    const auto text = value(section, key);
    return text ? WToI(*text) : fallback;
}

bool IniFile::canStore(const QString& section, const QString& key, const QString& value)
{
    const auto hasLineBreak = [](const QString& text) { return text.contains('\n') || text.contains('\r'); };
    if (hasLineBreak(section) || hasLineBreak(key) || hasLineBreak(value))
        return false;
    const QString trimmedKey = key.trimmed();
    return !trimmedKey.isEmpty() && !trimmedKey.contains('=') && !isSectionLine(trimmedKey) && !section.contains(']');
}

bool IniFile::setValue(const QString& section, const QString& key, const QString& value)
{
    if (!canStore(section, key, value))
        return false;
    const QString line = key + '=' + value;
    qsizetype sectionLine = findSection(section);
    if (sectionLine < 0) {
        if (!m_lines.isEmpty() && !m_lines.last().trimmed().isEmpty())
            m_lines.append(QString());
        m_lines.append('[' + section + ']');
        m_lines.append(line);
        return save();
    }
    const qsizetype keyLine = findKey(sectionLine, key);
    if (keyLine >= 0) {
        // The key keeps the spelling it has in the file.
        const QString replaced = keyOf(m_lines[keyLine]) + '=' + value;
        if (m_lines[keyLine] == replaced)
            return true;
        m_lines[keyLine] = replaced;
        return save();
    }
    // After the section's last non-blank line, so a blank separator line stays between sections.
    qsizetype insertAt = sectionEnd(sectionLine);
    while (insertAt > sectionLine + 1 && m_lines[insertAt - 1].trimmed().isEmpty())
        --insertAt;
    m_lines.insert(insertAt, line);
    return save();
}

bool IniFile::saveAs(const QString& path)
{
    m_path = path;
    return save();
}

bool IniFile::save() const
{
    if (m_path.isEmpty())
        return false;
    return TextFile::writeAtomically(m_path, (m_lines.join('\n') + '\n').toUtf8());
}
