#include "player/karaoke/LyricEncoding.h"

#include "platform/text/CodePage.h"
#include "platform/text/Utf8Check.h"

namespace {

const QByteArray kUtf16LEMark = QByteArrayLiteral("\xFF\xFE");
const QByteArray kUtf16BEMark = QByteArrayLiteral("\xFE\xFF");
const QByteArray kUtf8Mark = QByteArrayLiteral("\xEF\xBB\xBF");

// UTF-16 without its odd last byte: the file was cut, the byte is no character.
QString utf16Text(const QByteArray& bytes, qsizetype from, int codePage)
{
    const qsizetype size = (bytes.size() - from) & ~qsizetype(1);
    return CodePage::toUnicode(bytes.constData() + from, size, codePage);
}

} // namespace

CLyricEncoding::Decoded CLyricEncoding::Decode(const QByteArray& bytes, int& codePage)
{
    if (bytes.startsWith(kUtf16LEMark)) {
        codePage = Utf16LEWithMark;
        return {utf16Text(bytes, kUtf16LEMark.size(), CodePage::Utf16LE), true};
    }
    if (bytes.startsWith(kUtf16BEMark)) {
        codePage = CodePage::Utf16BE;
        return {utf16Text(bytes, kUtf16BEMark.size(), CodePage::Utf16BE), true};
    }
    if (bytes.startsWith(kUtf8Mark)) {
        codePage = CodePage::Utf8;
        return {QString::fromUtf8(bytes.constData() + kUtf8Mark.size(), bytes.size() - kUtf8Mark.size()), true};
    }
    const Utf8Check::Kind kind = Utf8Check::classify(bytes);
    if (kind == Utf8Check::Kind::MultiByte) {
        codePage = CodePage::Utf8;
        return {QString::fromUtf8(bytes), false};
    }
    if (codePage == Utf16LEWithMark)
        return {utf16Text(bytes, 0, CodePage::Utf16LE), false};
    QString text = CodePage::toUnicode(bytes, codePage);
    // No 8-bit code page has U+FFFD: it stands for bytes the page could not read.
    const bool lossy = text.contains(QChar::ReplacementCharacter);
    return {std::move(text), false, kind == Utf8Check::Kind::Ascii, lossy};
}

std::optional<QByteArray> CLyricEncoding::Encode(const QString& text, int codePage, bool byteOrderMark)
{
    if (codePage == Utf16LEWithMark)
        return kUtf16LEMark + CodePage::fromUnicode(text, CodePage::Utf16LE);
    // An unknown page would encode to nothing and wipe the lyrics.
    if (!CodePage::isKnown(codePage))
        return std::nullopt;
    QByteArray mark;
    if (byteOrderMark && codePage == CodePage::Utf16BE)
        mark = kUtf16BEMark;
    else if (byteOrderMark && codePage == CodePage::Utf8)
        mark = kUtf8Mark;
    return mark + CodePage::fromUnicode(text, codePage);
}
