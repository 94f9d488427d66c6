#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// Reading 8-bit text files by lines, as a text-mode stdio reader did: each line is converted
// from a code page, CR LF and LF end lines, and the line end is not part of the line.
namespace TextFile {

// Splits bytes into lines and decodes each in the code page. A final line without an end counts.
QStringList splitLines(const QByteArray& bytes, int codePage);

// Reads the whole file; no value when it cannot be opened or read.
std::optional<QByteArray> readAll(const QString& path);

// Reads and splits a file; no value when it cannot be opened.
std::optional<QStringList> readLines(const QString& path, int codePage);

// Writes the bytes to a temporary file beside the path and renames it over the path, so an
// interrupted save never leaves a truncated file. Returns false and leaves the old file on failure.
bool writeAtomically(const QString& path, const QByteArray& bytes);

} // namespace TextFile
