#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>

// The parts of a Windows shortcut file (the published shell link binary format) that a
// shortcut here uses. Every size and offset is checked against the bytes before it is used.
namespace ShellLinkBinary {

struct Contents {
    QString localBasePath;  // LinkInfo's local base path with its common suffix, backslashes kept
    QString relativePath;   // string data
    QString arguments;
    QString iconLocation;
    int iconIndex = 0;
};

// No value when the bytes are not a shell link (wrong header or class id, or a structure that
// runs past the end). 8-bit strings are decoded with the given code page.
std::optional<Contents> parse(QByteArrayView bytes, int ansiCodePage);

} // namespace ShellLinkBinary
