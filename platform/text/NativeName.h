#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Names of files and folders as the kernel gives them: bytes, which need not be UTF-8 (archives
// from Windows often hold names in Shift-JIS or another code page). Inside the program a path is
// text that keeps every byte: valid UTF-8 reads as its characters, and each other byte b as the
// lone surrogate U+DC00 + b, which no UTF-8 decodes to. Such paths are joined, split and compared
// as text and give back exactly the bytes they were made of; a UTF-8 name is its plain text, at
// no cost. Only what the user sees is decoded in a code page.
namespace NativeName {

// The text of a name or path read from the kernel; lossless.
QString fromBytes(QByteArrayView bytes);
// The bytes for the kernel: the exact inverse of fromBytes.
QByteArray toBytes(QStringView text);
// Whether the text holds bytes that are not UTF-8.
bool hasRawBytes(QStringView text);

// The text to show: every "/"-separated part that holds raw bytes decoded as a whole in the
// display code page, or, where that page cannot read them, with each raw byte as "%XX". Shown
// text is never made back into a path.
QString displayText(const QString& text);
// The code page names are shown in (the tags' 8-bit code page); 932 until set.
void setDisplayCodePage(int codePage);
int displayCodePage();

// A "file://" URL of an absolute path, its bytes percent-encoded.
QString fileUrl(QStringView path);

} // namespace NativeName
