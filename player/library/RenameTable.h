#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// The display titles of a folder's video files, from its "Rename.txt": UTF-16LE lines
// "key<TAB>title", separated by CR LF; empty lines and lines beginning with "#" are comments.
class CRenameTable
{
public:
    struct RenamePair {
        QString Key;
        QString Name;
    };

    // Clears the table and reads folder/Rename.txt; a missing or unreadable file leaves it empty.
    void Load(const QString& folder);
    void Parse(const QByteArray& bytes);
    // The title for a file name: the first pair whose key equals it without regard to case.
    std::optional<QString> Lookup(const QString& fileName) const;
    const QList<RenamePair>& Pairs() const { return m_pairs; }

private:
    void AddLine(const QString& line);

    QList<RenamePair> m_pairs;
};
