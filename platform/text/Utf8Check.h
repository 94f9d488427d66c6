#pragma once

#include <QByteArrayView>

// Whether bytes are UTF-8 text, for readers that must guess the encoding of a file.
namespace Utf8Check {

enum class Kind {
    Invalid,   // not UTF-8 (or holds a NUL byte, which no text file does)
    Ascii,     // bytes below 0x80 only: UTF-8 and most 8-bit code pages alike
    MultiByte, // valid UTF-8 with at least one multi-byte sequence
};

// The length of the valid sequence starting at `at` (1 for a byte below 0x80), or 0 for a byte
// that starts none.
qsizetype sequenceLengthAt(QByteArrayView bytes, qsizetype at);

// Strict UTF-8: no overlong forms, no surrogates, nothing past U+10FFFF, no sequence cut short.
Kind classify(QByteArrayView bytes);

inline bool isMultiByteUtf8(QByteArrayView bytes)
{
    return classify(bytes) == Kind::MultiByte;
}

} // namespace Utf8Check
