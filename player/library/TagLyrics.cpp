#include "player/library/TagLyrics.h"

#include "platform/engine/Media.h"
#include "player/karaoke/KaraokeData.h"
#include "player/karaoke/LrcTimeTag.h"
#include "player/library/TagRecord.h"

#include <QStringList>

namespace {

const QString kLyricsAttribute = QStringLiteral("WM/Lyrics");

// Longer than any time tag: a tag the limit cuts through starts within this many characters of it.
constexpr qsizetype kLongestTimeTag = 16;

// Where a text without a line end before the limit is cut: in front of a time tag the limit
// would cut through (whose rest would read as words), never between the halves of a character.
qsizetype cutInLine(const QString& text)
{
    constexpr qsizetype limit = TagLyrics::MaxLength;
    for (qsizetype i = limit - 1; i > 0 && i >= limit - kLongestTimeTag; --i)
        if (text[i] == CLrcTimeTag::WordOpen || text[i] == CLrcTimeTag::LineOpen)
            return i;
    return text[limit].isLowSurrogate() ? limit - 1 : limit;
}

QString cutToMaxLength(QString text)
{
    if (text.size() <= TagLyrics::MaxLength)
        return text;
    const qsizetype lineEnd = text.lastIndexOf(u'\n', TagLyrics::MaxLength - 1);
    text.truncate(lineEnd > 0 ? lineEnd + 1 : cutInLine(text));
    return text;
}

QStringList candidates(const CTagRecord* record, const Media* media, int codePage)
{
    QStringList texts;
    if (record && record->FileFound) {
        texts << record->syncedLyricsText(codePage);
        if (const TagFrame* frame = record->lyricsFrame())
            texts << frame->decodeLyrics(codePage);
    }
    if (media && TagLyrics::EngineReads(record)) {
        const int count = media->getAttributeCountByType(kLyricsAttribute, QString());
        for (int i = 0; i < count; ++i)
            texts << media->getItemInfoByType(kLyricsAttribute, QString(), i).value_or(QString());
    }
    return texts;
}

} // namespace

namespace TagLyrics {

bool EngineReads(const CTagRecord* record)
{
    return !record || !record->FileFound || record->HasApeTag;
}

bool Has(const CTagRecord* record, const Media* media)
{
    if (record && record->FileFound && (record->lyricsFrame() || record->hasSyncedLyrics()))
        return true;
    return media && EngineReads(record) && media->getAttributeCountByType(kLyricsAttribute, QString()) > 0;
}

std::optional<QString> Choose(const CTagRecord* record, const Media* media, int codePage)
{
    return Preferred(candidates(record, media, codePage));
}

std::optional<QString> Preferred(QStringList texts)
{
    texts.removeIf([](const QString& text) { return text.trimmed().isEmpty(); });
    if (texts.isEmpty())
        return std::nullopt;
    for (const QString& text : texts)
        if (CKaraokeData::HasTimeTags(QStringView(text).first(std::min(text.size(), MaxLength))))
            return cutToMaxLength(text);
    return cutToMaxLength(texts.front());
}

} // namespace TagLyrics
