#include "platform/shell/ShellLinkBinary.h"

#include "platform/text/CodePage.h"

namespace ShellLinkBinary {
namespace {

constexpr quint32 kHeaderSize = 0x4C;
// CLSID_ShellLink {00021401-0000-0000-C000-000000000046} as stored (first three fields little-endian).
constexpr unsigned char kLinkClsid[16] = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                          0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
constexpr qsizetype kIconIndexOffset = 56;

enum LinkFlags : quint32 {
    HasLinkTargetIdList = 0x1,
    HasLinkInfo = 0x2,
    HasName = 0x4,
    HasRelativePath = 0x8,
    HasWorkingDir = 0x10,
    HasArguments = 0x20,
    HasIconLocation = 0x40,
    IsUnicode = 0x80,
    ForceNoLinkInfo = 0x100,
};

constexpr quint32 kVolumeIdAndLocalBasePath = 0x1;
constexpr quint32 kLinkInfoMinimumSize = 0x1C;
constexpr quint32 kLinkInfoHeaderWithUnicode = 0x24;

// Little-endian reads that turn into a failure instead of reading past the end.
class ByteReader
{
public:
    explicit ByteReader(QByteArrayView bytes, qsizetype position = 0) : m_bytes(bytes), m_position(position) {}

    bool ok() const { return m_ok; }
    qsizetype position() const { return m_position; }
    void seek(qsizetype position) { m_ok = m_ok && position >= 0 && position <= m_bytes.size(); m_position = position; }
    QByteArrayView take(qsizetype size)
    {
        if (!m_ok || size < 0 || size > m_bytes.size() - m_position) {
            m_ok = false;
            return {};
        }
        const QByteArrayView piece = m_bytes.sliced(m_position, size);
        m_position += size;
        return piece;
    }
    quint32 u32()
    {
        const QByteArrayView b = take(4);
        return b.size() == 4 ? quint32(uchar(b[0])) | quint32(uchar(b[1])) << 8 | quint32(uchar(b[2])) << 16 |
                                   quint32(uchar(b[3])) << 24
                             : 0;
    }
    quint16 u16()
    {
        const QByteArrayView b = take(2);
        return b.size() == 2 ? quint16(uchar(b[0]) | uchar(b[1]) << 8) : 0;
    }

private:
    QByteArrayView m_bytes;
    qsizetype m_position;
    bool m_ok = true;
};

QString utf16FromBytes(QByteArrayView bytes)
{
    return CodePage::toUnicode(bytes.data(), bytes.size(), CodePage::Utf16LE);
}

// A zero-terminated string at an offset of a structure; no value when it has no terminator.
std::optional<QString> ansiStringAt(QByteArrayView structure, quint32 offset, int codePage)
{
    if (offset >= quint32(structure.size()))
        return std::nullopt;
    const QByteArrayView rest = structure.sliced(offset);
    const qsizetype end = rest.indexOf('\0');
    if (end < 0)
        return std::nullopt;
    return CodePage::toUnicode(rest.data(), end, codePage);
}

std::optional<QString> unicodeStringAt(QByteArrayView structure, quint32 offset)
{
    if (offset >= quint32(structure.size()))
        return std::nullopt;
    const QByteArrayView rest = structure.sliced(offset);
    for (qsizetype i = 0; i + 1 < rest.size(); i += 2)
        if (rest[i] == 0 && rest[i + 1] == 0)
            return utf16FromBytes(rest.first(i));
    return std::nullopt;
}

bool readHeader(ByteReader& reader, quint32& flags, int& iconIndex)
{
    const QByteArrayView header = reader.take(kHeaderSize);
    if (!reader.ok())
        return false;
    ByteReader fields(header);
    if (fields.u32() != kHeaderSize || fields.take(16) != QByteArrayView(kLinkClsid, 16))
        return false;
    flags = fields.u32();
    fields.seek(kIconIndexOffset);
    iconIndex = int(fields.u32());
    return fields.ok();
}

// LocalBasePath + CommonPathSuffix, preferring the Unicode forms when the header has them.
QString localPathOf(QByteArrayView linkInfo, int codePage)
{
    ByteReader reader(linkInfo);
    reader.u32(); // LinkInfoSize
    const quint32 headerSize = reader.u32();
    const quint32 infoFlags = reader.u32();
    reader.u32(); // VolumeIDOffset
    const quint32 baseOffset = reader.u32();
    reader.u32(); // CommonNetworkRelativeLinkOffset
    const quint32 suffixOffset = reader.u32();
    if (!reader.ok() || !(infoFlags & kVolumeIdAndLocalBasePath))
        return {};
    std::optional<QString> base;
    std::optional<QString> suffix;
    if (headerSize >= kLinkInfoHeaderWithUnicode) {
        const quint32 baseOffsetUnicode = reader.u32();
        const quint32 suffixOffsetUnicode = reader.u32();
        if (reader.ok() && baseOffsetUnicode) {
            base = unicodeStringAt(linkInfo, baseOffsetUnicode);
            suffix = unicodeStringAt(linkInfo, suffixOffsetUnicode);
        }
    }
    if (!base) {
        base = ansiStringAt(linkInfo, baseOffset, codePage);
        suffix = ansiStringAt(linkInfo, suffixOffset, codePage);
    }
    return base ? *base + suffix.value_or(QString()) : QString();
}

bool readLinkInfo(ByteReader& reader, quint32 flags, int codePage, Contents& contents)
{
    const qsizetype start = reader.position();
    const quint32 size = reader.u32();
    reader.seek(start);
    const QByteArrayView linkInfo = reader.take(size);
    if (!reader.ok() || size < kLinkInfoMinimumSize)
        return false;
    if (!(flags & ForceNoLinkInfo))
        contents.localBasePath = localPathOf(linkInfo, codePage);
    return true;
}

QString readCountedString(ByteReader& reader, bool unicode, int codePage)
{
    const quint16 count = reader.u16();
    const QByteArrayView bytes = reader.take(unicode ? qsizetype(count) * 2 : count);
    return unicode ? utf16FromBytes(bytes) : CodePage::toUnicode(bytes.data(), bytes.size(), codePage);
}

} // namespace

std::optional<Contents> parse(QByteArrayView bytes, int ansiCodePage)
{
    ByteReader reader(bytes);
    Contents contents;
    quint32 flags = 0;
    if (!readHeader(reader, flags, contents.iconIndex))
        return std::nullopt;
    if (flags & HasLinkTargetIdList)
        reader.take(reader.u16());
    if ((flags & HasLinkInfo) && !readLinkInfo(reader, flags, ansiCodePage, contents))
        return std::nullopt;
    const bool unicode = flags & IsUnicode;
    const struct {
        LinkFlags flag;
        QString* value;
    } strings[] = {{HasName, nullptr},
                   {HasRelativePath, &contents.relativePath},
                   {HasWorkingDir, nullptr},
                   {HasArguments, &contents.arguments},
                   {HasIconLocation, &contents.iconLocation}};
    for (const auto& string : strings) {
        if (!(flags & string.flag))
            continue;
        const QString value = readCountedString(reader, unicode, ansiCodePage);
        if (string.value)
            *string.value = value;
    }
    if (!reader.ok())
        return std::nullopt;
    return contents;
}

} // namespace ShellLinkBinary
