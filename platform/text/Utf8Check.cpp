#include "platform/text/Utf8Check.h"

namespace Utf8Check {
namespace {

bool isContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// The length of the valid sequence at `at` (a lead byte of 0x80 or more), or 0.
qsizetype sequenceLength(const unsigned char* bytes, qsizetype size, qsizetype at)
{
    const unsigned char lead = bytes[at];
    qsizetype length = 0;
    unsigned char secondMin = 0x80;
    unsigned char secondMax = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            secondMin = 0xA0; // overlong
        else if (lead == 0xED)
            secondMax = 0x9F; // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            secondMin = 0x90; // overlong
        else if (lead == 0xF4)
            secondMax = 0x8F; // past U+10FFFF
    } else {
        return 0;
    }
    if (at + length > size || bytes[at + 1] < secondMin || bytes[at + 1] > secondMax)
        return 0;
    for (qsizetype i = 2; i < length; ++i)
        if (!isContinuation(bytes[at + i]))
            return 0;
    return length;
}

} // namespace

qsizetype sequenceLengthAt(QByteArrayView view, qsizetype at)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(view.data());
    if (at < 0 || at >= view.size())
        return 0;
    return bytes[at] < 0x80 ? 1 : sequenceLength(bytes, view.size(), at);
}

Kind classify(QByteArrayView view)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(view.data());
    const qsizetype size = view.size();
    bool multiByte = false;
    for (qsizetype i = 0; i < size;) {
        if (bytes[i] == 0)
            return Kind::Invalid;
        if (bytes[i] < 0x80) {
            ++i;
            continue;
        }
        const qsizetype length = sequenceLength(bytes, size, i);
        if (length == 0)
            return Kind::Invalid;
        multiByte = true;
        i += length;
    }
    return multiByte ? Kind::MultiByte : Kind::Ascii;
}

} // namespace Utf8Check
