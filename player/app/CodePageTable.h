#pragma once

#include <QString>

#include <vector>

struct CodePageEntry {
    int Number = 0;
    QString Name;
};

// The code pages the user can pick for 8-bit tag and lyric texts, in the order of CodePage.txt.
class CCodePageTable
{
public:
    // Reads "number,name" lines decoded in the code page; 0 on success, -1 when the file cannot
    // be opened (the table is then left empty).
    int Load(const QString& path, int fileCodePage);
    // Parses the lines of a CodePage.txt that is already decoded.
    void Parse(const QStringList& lines);

    int Count() const { return static_cast<int>(m_entries.size()); }
    const CodePageEntry& Entry(int index) const { return m_entries.at(static_cast<size_t>(index)); }
    const std::vector<CodePageEntry>& Entries() const { return m_entries; }

private:
    std::vector<CodePageEntry> m_entries;
};
