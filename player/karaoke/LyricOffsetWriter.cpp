#include "player/karaoke/LyricOffsetWriter.h"

#include "platform/text/CodePage.h"
#include "platform/text/TextFile.h"
#include "player/karaoke/KaraokeData.h"
#include "player/karaoke/LyricEncoding.h"

#include <QRegularExpression>

#include <vector>

namespace {

// A replacement of text[from, from + length) by `text`.
struct Edit {
    qsizetype from = 0;
    qsizetype length = 0;
    QString text;
};

std::optional<QByteArray> encodeLike(const QString& text, int codePage, bool byteOrderMark)
{
    // Code page 0 without a mark is UTF-16LE as it came; Encode would add the mark.
    if (codePage == CLyricEncoding::Utf16LEWithMark && !byteOrderMark)
        return CodePage::fromUnicode(text, CodePage::Utf16LE);
    return CLyricEncoding::Encode(text, codePage, byteOrderMark);
}

QString lineEndOf(const QString& text)
{
    const qsizetype end = text.indexOf(QRegularExpression(QStringLiteral("[\r\n]")));
    if (end < 0 || text.mid(end, 2) == QLatin1String("\r\n"))
        return QStringLiteral("\r\n");
    return text.mid(end, 1);
}

// The number after '=' (and the spaces the reader skips), as the reader's integer parse sees
// it: white space, a sign, digits.
qsizetype numberEnd(const QString& text, qsizetype from)
{
    qsizetype at = from;
    while (at < text.size() && (text[at] == u' ' || text[at] == u'\t'))
        ++at;
    if (at < text.size() && (text[at] == u'+' || text[at] == u'-'))
        ++at;
    while (at < text.size() && text[at] >= u'0' && text[at] <= u'9')
        ++at;
    return at;
}

// Replacements of the offset's number where the file may have it (the last first: a later line
// wins when read), then the new line at the top.
std::vector<Edit> candidates(const QString& text, bool lrc, qint32 offset)
{
    const QString number = QString::number(offset);
    std::vector<Edit> edits;
    if (lrc) {
        static const QRegularExpression tag(QStringLiteral("(?:^|(?<=[\r\n]))\\[offset:([^\\]\r\n]*)\\]"),
                                            QRegularExpression::CaseInsensitiveOption);
        for (auto it = tag.globalMatch(text); it.hasNext();) {
            const auto match = it.next();
            edits.insert(edits.begin(), {match.capturedStart(1), match.capturedLength(1), number});
        }
        edits.push_back({0, 0, QStringLiteral("[offset:%1]").arg(number) + lineEndOf(text)});
        return edits;
    }
    for (qsizetype at = text.indexOf(u"@Offset"); at >= 0; at = text.indexOf(u"@Offset", at + 1)) {
        qsizetype value = text.indexOf(u'=', at);
        if (value < 0)
            break;
        ++value;
        while (value < text.size() && text[value] == u' ')
            ++value;
        edits.insert(edits.begin(), {value, numberEnd(text, value) - value, number});
    }
    edits.push_back({0, 0, QStringLiteral("@Offset=%1").arg(number) + lineEndOf(text)});
    return edits;
}

bool sameBlocks(const CKaraokeBlock* a, const CKaraokeBlock* b)
{
    for (; a && b; a = a->Next(), b = b->Next()) {
        if (a->StartTime() != b->StartTime() || a->Tokens.size() != b->Tokens.size())
            return false;
        for (size_t i = 0; i < a->Tokens.size(); ++i) {
            const CKaraokeToken& x = a->Tokens[i];
            const CKaraokeToken& y = b->Tokens[i];
            if (x.IsLineBreak() != y.IsLineBreak() || x.Text() != y.Text())
                return false;
        }
    }
    return !a && !b;
}

// The changed text reads as the same lyrics with the new offset.
bool readsAsOffset(const CKaraokeData& before, const QString& changed, qint32 offset)
{
    CKaraokeData after;
    after.ParseKaraokeText(changed);
    const CKaraokeHeader& was = before.Header;
    const CKaraokeHeader& is = after.Header;
    return is.Offset == offset && is.TimeRatio == was.TimeRatio && is.Title == was.Title &&
           is.Artist == was.Artist && after.Format.IsLrc() == before.Format.IsLrc() &&
           sameBlocks(before.FirstBlock(), after.FirstBlock());
}

} // namespace

std::optional<QByteArray> CLyricOffsetWriter::WithOffset(const QByteArray& bytes, int codePage, qint32 offset)
{
    const CLyricEncoding::Decoded decoded = CLyricEncoding::Decode(bytes, codePage);
    if (encodeLike(decoded.Text, codePage, decoded.ByteOrderMark) != bytes)
        return std::nullopt;
    CKaraokeData before;
    before.ParseKaraokeText(decoded.Text);
    if (before.Header.Offset == offset)
        return bytes;
    for (const Edit& edit : candidates(decoded.Text, before.Format.IsLrc(), offset)) {
        QString changed = decoded.Text;
        changed.replace(edit.from, edit.length, edit.text);
        if (readsAsOffset(before, changed, offset))
            return encodeLike(changed, codePage, decoded.ByteOrderMark);
    }
    return std::nullopt;
}

bool CLyricOffsetWriter::Write(const QString& path, int codePage, qint32 offset)
{
    const auto bytes = TextFile::readAll(path);
    if (!bytes)
        return false;
    const auto changed = WithOffset(*bytes, codePage, offset);
    if (!changed)
        return false;
    return *changed == *bytes || TextFile::writeAtomically(path, *changed);
}
