#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// An INI file with the private-profile semantics of Windows: section and key names compare
// without regard to case, the first match wins, lines the reader does not understand are kept
// in place, values are trimmed, and every write reaches the disk atomically.
class IniFile
{
public:
    IniFile() = default;
    explicit IniFile(const QString& path);

    // Reads the file at the path; a missing or unreadable file is an empty profile.
    void load(const QString& path);
    QString path() const { return m_path; }

    std::optional<QString> value(const QString& section, const QString& key) const;
    QString string(const QString& section, const QString& key, const QString& fallback) const;
    // A leading decimal number with an optional sign; text that is not a number reads as 0.
    int integer(const QString& section, const QString& key, int fallback) const;

    // Sets the value in memory and saves; returns false when the file could not be written
    // (the value is kept in memory all the same). A name or value that would break the file's
    // lines (see canStore) is refused: false, and nothing changes.
    bool setValue(const QString& section, const QString& key, const QString& value);
    // Whether the entry can be written as one "key=value" line of its section: no line break
    // anywhere, no "=" in the key, nothing in the key a reader takes for a section line, no "]"
    // in the section name.
    static bool canStore(const QString& section, const QString& key, const QString& value);

    // Writes the whole content to another path and takes it as this file's path.
    bool saveAs(const QString& path);

private:
    qsizetype findSection(const QString& section) const;
    qsizetype sectionEnd(qsizetype sectionLine) const;
    qsizetype findKey(qsizetype sectionLine, const QString& key) const;
    bool save() const;

    QString m_path;
    QStringList m_lines;
};
