#include "platform/text/NativeName.h"

#include "platform/text/CodePage.h"
#include "platform/text/Utf8Check.h"

#include <QStringList>

#include <atomic>

namespace {

constexpr char16_t kRawBase = 0xDC00;
constexpr char16_t kRawFirst = 0xDC80; // bytes below 0x80 are always UTF-8
constexpr char16_t kRawLast = 0xDCFF;

// Set on the GUI thread, read wherever names are shown (item attributes may be read elsewhere).
std::atomic<int> g_displayCodePage = CodePage::ShiftJis;

bool isRaw(char16_t unit)
{
    return unit >= kRawFirst && unit <= kRawLast;
}

void appendUtf8(QByteArray& bytes, char32_t code)
{
    if (code < 0x80) {
        bytes += char(code);
    } else if (code < 0x800) {
        bytes += char(0xC0 | code >> 6);
        bytes += char(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        bytes += char(0xE0 | code >> 12);
        bytes += char(0x80 | (code >> 6 & 0x3F));
        bytes += char(0x80 | (code & 0x3F));
    } else {
        bytes += char(0xF0 | code >> 18);
        bytes += char(0x80 | (code >> 12 & 0x3F));
        bytes += char(0x80 | (code >> 6 & 0x3F));
        bytes += char(0x80 | (code & 0x3F));
    }
}

QString percentEscaped(QStringView part)
{
    QString shown;
    for (const QChar c : part) {
        if (isRaw(c.unicode()))
            shown += QStringLiteral("%%1").arg(int(c.unicode() - kRawBase), 2, 16, QLatin1Char('0')).toUpper();
        else
            shown += c;
    }
    return shown;
}

QString displayPart(QStringView part)
{
    if (!NativeName::hasRawBytes(part))
        return part.toString();
    const QString decoded = CodePage::toUnicode(NativeName::toBytes(part), g_displayCodePage);
    if (decoded.isEmpty() || decoded.contains(QChar::ReplacementCharacter))
        return percentEscaped(part);
    return decoded;
}

} // namespace

namespace NativeName {

QString fromBytes(QByteArrayView bytes)
{
    if (Utf8Check::classify(bytes) != Utf8Check::Kind::Invalid)
        return QString::fromUtf8(bytes);
    QString text;
    text.reserve(bytes.size());
    for (qsizetype at = 0; at < bytes.size();) {
        const qsizetype length = Utf8Check::sequenceLengthAt(bytes, at);
        // A NUL byte cannot be in a name; it is kept all the same.
        if (length == 0) {
            text += QChar(char16_t(kRawBase + static_cast<unsigned char>(bytes[at])));
            ++at;
            continue;
        }
        text += QString::fromUtf8(bytes.sliced(at, length));
        at += length;
    }
    return text;
}

QByteArray toBytes(QStringView text)
{
    if (!hasRawBytes(text))
        return text.toUtf8();
    QByteArray bytes;
    bytes.reserve(text.size() * 3);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        if (isRaw(unit)) {
            bytes += char(unit - kRawBase);
        } else if (QChar::isHighSurrogate(unit) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            appendUtf8(bytes, QChar::surrogateToUcs4(unit, text[i + 1].unicode()));
            ++i;
        } else {
            appendUtf8(bytes, QChar::isSurrogate(unit) ? char32_t(QChar::ReplacementCharacter) : char32_t(unit));
        }
    }
    return bytes;
}

bool hasRawBytes(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        // A raw byte is a low surrogate without its high one.
        if (isRaw(text[i].unicode()) && (i == 0 || !text[i - 1].isHighSurrogate()))
            return true;
    }
    return false;
}

QString displayText(const QString& text)
{
    if (!hasRawBytes(text))
        return text;
    QStringList parts;
    for (const QStringView part : QStringView(text).split(u'/'))
        parts << displayPart(part);
    return parts.join(u'/');
}

void setDisplayCodePage(int codePage)
{
    g_displayCodePage = codePage;
}

int displayCodePage()
{
    return g_displayCodePage;
}

QString fileUrl(QStringView path)
{
    return QStringLiteral("file://") + QString::fromLatin1(toBytes(path).toPercentEncoding("/"));
}

} // namespace NativeName
