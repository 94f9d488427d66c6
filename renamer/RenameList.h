#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

enum class ListSeparator { Tab, Comma };

struct RenamePair {
    QString oldName;
    QString newName;
};

// The rename list file: UTF-16LE text, one "old<separator>new" pair per line, lines ended by
// CR LF; "#" starts a comment line.
class CRenameList
{
public:
    enum ParseResult { Accepted = 0, Skipped = -1 };

    // Files larger than this are not rename lists (a video dropped by mistake, say).
    static constexpr qint64 MaximumFileSize = 64 * 1024 * 1024;

    // Splits one line into the pair; the new name takes the old extension when its own differs.
    static int ParseRenameLine(const QString& line, ListSeparator separator, RenamePair& pair);
    // The new name as the list means it: unchanged when both extensions are equal (any case)
    // or the old name has none, else with "." and the old extension in lower case appended.
    static QString NewNameWithExtension(const QString& oldName, const QString& newName);
    // The lines of UTF-16LE bytes. Only CR followed by LF ends a line; a byte-order mark is
    // kept as the first character; an odd last byte is ignored; a NUL ends a line's text.
    static QStringList SplitLines(const QByteArray& bytes);
    // The accepted pairs of the bytes, in file order.
    static std::vector<RenamePair> Parse(const QByteArray& bytes, ListSeparator separator);
    // The pairs of a file; none when it cannot be opened or read.
    static std::optional<std::vector<RenamePair>> ReadFile(const QString& path, ListSeparator separator);
};
