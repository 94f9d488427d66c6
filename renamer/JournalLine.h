#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// One line of a run's journal: a checksum, a space, the record, a line feed. In names, spaces,
// "%" and control bytes are percent-encoded, so a record is one line of fields whatever the
// names hold. A line whose checksum does not match (a write cut short, a damaged file) is
// recognised.
namespace JournalLine {

void Append(QByteArray& text, const QByteArray& record);
QByteArray Make(const QByteArray& record);
// The record of a complete line (without its line feed); none when the checksum fails.
std::optional<QByteArray> Record(const QByteArray& line);

QByteArray EncodeName(const QString& name);
// Appends EncodeName(name) to the text.
void AppendName(QByteArray& text, const QString& name);
QString DecodeName(const QByteArray& encoded);

} // namespace JournalLine
