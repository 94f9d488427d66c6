#include "player/karaoke/LrcWriter.h"

#include "platform/text/WToI.h"
#include "player/karaoke/LrcTimeTag.h"

#include <array>

namespace {

// An ID tag the header holds: its key, the header's value as text, and whether a tag's value
// says the same (so its line is written back untouched).
struct HeaderTag {
    QStringView Key;
    QString Value;
    bool IsDefault;
    bool (*Matches)(const HeaderTag&, const QString& tagValue);
};

bool sameText(const HeaderTag& tag, const QString& tagValue)
{
    return tagValue.trimmed() == tag.Value;
}

bool sameNumber(const HeaderTag& tag, const QString& tagValue)
{
    return WToI(tagValue) == WToI(tag.Value);
}

// A value on one line: a line break inside would end the tag.
QString oneLine(QString value)
{
    value.replace(u'\r', u' ');
    value.replace(u'\n', u' ');
    return value;
}

std::array<HeaderTag, 3> headerTags(const CKaraokeHeader& header)
{
    return {{
        {u"ti", header.Title, header.Title.isEmpty(), sameText},
        {u"ar", header.Artist, header.Artist.isEmpty(), sameText},
        {u"offset", QString::number(header.Offset), header.Offset == 0, sameNumber},
    }};
}

// The index of the last ID tag with the key (the one whose value the reader keeps), or -1.
qsizetype lastTagWithKey(const QList<LrcIdTag>& tags, QStringView key)
{
    for (qsizetype i = tags.size() - 1; i >= 0; --i)
        if (tags[i].Key.compare(key, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

// A line whose text begins like a line tag would read as one more tag of the line: such a
// line takes its own tag in the word form, which the reader also takes as a line tag there.
bool beginsWithLineTag(const CKaraokeBlock& block)
{
    for (const CKaraokeToken& token : block.Tokens) {
        if (token.IsLineBreak())
            return false;
        if (!token.Text().isEmpty())
            return CLrcTimeTag::Parse(token.Text(), CLrcTimeTag::LineOpen, CLrcTimeTag::LineClose).Length > 0;
    }
    return false;
}

} // namespace

QString CLrcWriter::Write(const CKaraokeHeader& header, const CLyricFileFormat& format, const CKaraokeBlock* first)
{
    QString text;
    AppendIdTags(text, header, format);
    bool atLineStart = true;
    // Only tags so far on this line: a square word tag there would read as one more line tag.
    bool onlyTags = true;
    for (const CKaraokeBlock* block = first; block; block = block->Next()) {
        // Text before the first tagged line stays without a tag.
        if (block->Previous() || block->StartTime() != 0) {
            text += TagFor(*block, atLineStart, format.SquareWordTags && !onlyTags, format.FractionDigits);
            atLineStart = false;
        }
        for (const CKaraokeToken& token : block->Tokens) {
            if (token.IsLineBreak()) {
                text += format.LineEnd;
                atLineStart = true;
                onlyTags = true;
            } else if (token.WritesLyrics()) {
                atLineStart = false;
                onlyTags = false;
            }
            // Header lines kept as notation end with their own line end.
            text += token.WrittenText();
        }
    }
    return text;
}

void CLrcWriter::AppendIdTags(QString& text, const CKaraokeHeader& header, const CLyricFileFormat& format)
{
    const auto tags = headerTags(header);
    std::array<qsizetype, tags.size()> lastIndex{};
    for (size_t i = 0; i < tags.size(); ++i) {
        lastIndex[i] = lastTagWithKey(format.IdTags, tags[i].Key);
        // A value the file had no tag for goes in front of the others.
        if (lastIndex[i] < 0 && !tags[i].IsDefault)
            text += IdTagLine(tags[i].Key, tags[i].Value) + format.LineEnd;
    }
    for (qsizetype index = 0; index < format.IdTags.size(); ++index) {
        const LrcIdTag& tag = format.IdTags[index];
        QString line = tag.Line;
        for (size_t i = 0; i < tags.size(); ++i)
            if (index == lastIndex[i] && !tags[i].Matches(tags[i], tag.Value))
                line = IdTagLine(tag.Key, tags[i].Value);
        text += line + format.LineEnd;
    }
}

QString CLrcWriter::IdTagLine(QStringView key, const QString& value)
{
    return CLrcTimeTag::LineOpen + key.toString() + u':' + oneLine(value) + CLrcTimeTag::LineClose;
}

QString CLrcWriter::TagFor(const CKaraokeBlock& block, bool atLineStart, bool squareWordTag, int fractionDigits)
{
    const bool lineForm = atLineStart && !beginsWithLineTag(block);
    const bool square = lineForm || (!atLineStart && squareWordTag);
    return CLrcTimeTag::Format(block.StartTime(), fractionDigits,
                               square ? CLrcTimeTag::LineOpen : CLrcTimeTag::WordOpen,
                               square ? CLrcTimeTag::LineClose : CLrcTimeTag::WordClose);
}
