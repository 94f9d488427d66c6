#include "demo/DemoTag.h"

namespace {

constexpr char kUtf16 = 1;

QByteArray BigEndian(quint32 value)
{
    QByteArray out(4, '\0');
    for (int i = 3; i >= 0; --i, value >>= 8)
        out[i] = static_cast<char>(value & 0xFF);
    return out;
}

// Byte-order mark FF FE, little-endian units, two zero bytes at the end.
QByteArray Utf16Terminated(const QString& text)
{
    QByteArray out("\xFF\xFE", 2);
    for (QChar c : text) {
        out.append(static_cast<char>(c.unicode() & 0xFF));
        out.append(static_cast<char>(c.unicode() >> 8));
    }
    return out.append(2, '\0');
}

} // namespace

void CDemoTag::AddFrame(const char* frameId, const QByteArray& data)
{
    m_frames += QByteArray(frameId, 4) + BigEndian(static_cast<quint32>(data.size())) + QByteArray(2, '\0') + data;
}

void CDemoTag::AddText(const char* frameId, const QString& text)
{
    AddFrame(frameId, kUtf16 + Utf16Terminated(text));
}

void CDemoTag::AddLyrics(const QString& text)
{
    AddFrame("USLT", kUtf16 + QByteArray("eng") + Utf16Terminated(QString()) + Utf16Terminated(text));
}

void CDemoTag::AddFrontCover(const QByteArray& jpeg)
{
    const char frontCover = 3;
    AddFrame("APIC", QByteArray(1, '\0') + QByteArray("image/jpeg", 11) + frontCover + QByteArray(1, '\0') + jpeg);
}

QByteArray CDemoTag::Bytes() const
{
    const int padding = 256;
    const auto size = static_cast<quint32>(m_frames.size() + padding);
    QByteArray header("ID3\x03\x00\x00", 6);
    for (int shift = 21; shift >= 0; shift -= 7)
        header.append(static_cast<char>(size >> shift & 0x7F));
    return header + m_frames + QByteArray(padding, '\0');
}
