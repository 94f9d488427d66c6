#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

enum class ListSeparator { Tab, Comma };

// How a list's bytes are text: a byte-order mark decides; bytes without a mark that hold no
// NUL and are valid UTF-8 are UTF-8; everything else is UTF-16LE without a mark.
enum class ListEncoding { Utf16LE, Utf16BE, Utf8 };

struct RenamePair {
    QString oldName;
    QString newName;
};

// The rename list file: one "old<separator>new" pair per line; "#" starts a comment line.
// UTF-16 lists (FF FE, FE FF, or no mark and little-endian) end lines with CR LF only; UTF-8
// lists (EF BB BF, or no mark) also with LF alone.
class CRenameList
{
public:
    enum ParseResult { Accepted = 0, Skipped = -1 };

    // Files larger than this are not rename lists (a video dropped by mistake, say).
    static constexpr qint64 MaximumFileSize = 64 * 1024 * 1024;

    // Splits one line into the pair; the new name takes the old extension when its own differs.
    static int ParseRenameLine(const QString& line, ListSeparator separator, RenamePair& pair);
    // The new name as the list means it: unchanged when it is empty, when both extensions are
    // equal (any case) or the old name has none, else with "." and the old extension in lower
    // case appended.
    static QString NewNameWithExtension(const QString& oldName, const QString& newName);
    // The encoding of the bytes and the length of their byte-order mark (0 when none).
    static ListEncoding DetectEncoding(const QByteArray& bytes, qsizetype* markLength = nullptr);
    // The lines of the bytes, the mark removed. In UTF-16 an odd last byte is ignored; a NUL
    // ends a line's text.
    static QStringList SplitLines(const QByteArray& bytes);
    // The accepted pairs of the bytes, in file order.
    static std::vector<RenamePair> Parse(const QByteArray& bytes, ListSeparator separator);
    // The pairs of a file; none when it cannot be opened or read.
    static std::optional<std::vector<RenamePair>> ReadFile(const QString& path, ListSeparator separator);
};
