#pragma once

#include <QByteArray>
#include <QString>

// Conversion between 8-bit text in a Windows code page and Unicode, as the Windows
// MultiByteToWideChar / WideCharToMultiByte pair did: invalid bytes become U+FFFD and an
// unknown code page gives an empty result.
namespace CodePage {

inline constexpr int Utf8 = 65001;
inline constexpr int Utf16LE = 1200;
inline constexpr int Utf16BE = 1201;
inline constexpr int ShiftJis = 932;

// The iconv charset for a code page, or nullptr when the page is not known here.
const char* charsetName(int codePage);
bool isKnown(int codePage);

QString toUnicode(const char* data, qsizetype size, int codePage);
inline QString toUnicode(const QByteArray& bytes, int codePage)
{
    return toUnicode(bytes.constData(), bytes.size(), codePage);
}

// Characters the page cannot hold are written as "?", as Windows did with its default char.
QByteArray fromUnicode(const QString& text, int codePage);

} // namespace CodePage
