#include "tests/lyrics/ShellLinkImage.h"

#include <QtEndian>

namespace {

void putU16(QByteArray& out, quint16 value)
{
    out.append(char(value & 0xFF)).append(char(value >> 8));
}

void putU32(QByteArray& out, quint32 value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.append(char(value >> shift & 0xFF));
}

QByteArray utf16z(const QString& text)
{
    QByteArray out;
    for (const QChar c : text)
        putU16(out, c.unicode());
    putU16(out, 0);
    return out;
}

QByteArray header(quint32 flags, int iconIndex)
{
    QByteArray out;
    putU32(out, 0x4C);
    out.append(QByteArray::fromHex("0114020000000000C000000000000046"));
    putU32(out, flags);
    putU32(out, 0x20);                    // FileAttributes: archive
    out.append(QByteArray(24, '\0'));     // creation, access, write times
    putU32(out, 1234);                    // FileSize
    putU32(out, quint32(iconIndex));
    putU32(out, 1);                       // ShowCommand: SW_SHOWNORMAL
    putU16(out, 0);                       // HotKey
    out.append(QByteArray(10, '\0'));     // Reserved1..3
    return out;
}

QByteArray idList()
{
    // One item of 6 bytes (size 6 + 4 data bytes), then the terminal 0.
    QByteArray items;
    putU16(items, 6);
    items.append("\x1F\x50\x00\x00", 4);
    putU16(items, 0);
    QByteArray out;
    putU16(out, quint16(items.size()));
    return out + items;
}

QByteArray linkInfo(const QString& localPath, bool unicode)
{
    const quint32 headerSize = unicode ? 0x24 : 0x1C;
    QByteArray volumeId;
    putU32(volumeId, 0x11);
    putU32(volumeId, 3);          // DRIVE_FIXED
    putU32(volumeId, 0x12345678);
    putU32(volumeId, 0x10);
    volumeId.append('\0');
    const QByteArray ansiPath = localPath.toLatin1() + '\0';
    const QByteArray ansiSuffix("\0", 1);
    const quint32 volumeOffset = headerSize;
    const quint32 baseOffset = volumeOffset + quint32(volumeId.size());
    const quint32 suffixOffset = baseOffset + quint32(ansiPath.size());
    const quint32 baseOffsetUnicode = suffixOffset + quint32(ansiSuffix.size());
    const QByteArray unicodePath = utf16z(localPath);
    const quint32 suffixOffsetUnicode = baseOffsetUnicode + quint32(unicodePath.size());
    QByteArray body = volumeId + ansiPath + ansiSuffix;
    if (unicode)
        body += unicodePath + utf16z(QString());
    QByteArray out;
    putU32(out, headerSize + quint32(body.size()));
    putU32(out, headerSize);
    putU32(out, 1); // VolumeIDAndLocalBasePath
    putU32(out, volumeOffset);
    putU32(out, baseOffset);
    putU32(out, 0);
    putU32(out, suffixOffset);
    if (unicode) {
        putU32(out, baseOffsetUnicode);
        putU32(out, suffixOffsetUnicode);
    }
    return out + body;
}

QByteArray countedString(const QString& text, bool unicode)
{
    QByteArray out;
    putU16(out, quint16(text.size()));
    if (!unicode)
        return out + text.toLatin1();
    for (const QChar c : text)
        putU16(out, c.unicode());
    return out;
}

} // namespace

QByteArray ShellLinkImage::bytes() const
{
    quint32 flags = 0;
    if (withIdList)
        flags |= 0x1;
    if (!localBasePath.isEmpty())
        flags |= 0x2;
    if (!relativePath.isEmpty())
        flags |= 0x8;
    if (!arguments.isEmpty())
        flags |= 0x20;
    if (!iconLocation.isEmpty())
        flags |= 0x40;
    if (unicodeStrings)
        flags |= 0x80;
    QByteArray out = header(flags, iconIndex);
    if (withIdList)
        out += idList();
    if (!localBasePath.isEmpty())
        out += linkInfo(localBasePath, unicodeLinkInfo);
    for (const QString* text : {&relativePath, &arguments, &iconLocation})
        if (!text->isEmpty())
            out += countedString(*text, unicodeStrings);
    return out;
}
