#include "player/library/TagLyrics.h"

#include "platform/engine/Media.h"
#include "player/karaoke/KaraokeData.h"
#include "player/library/TagRecord.h"

#include <QStringList>

namespace {

const QString kLyricsAttribute = QStringLiteral("WM/Lyrics");

QString cutToMaxLength(QString text)
{
    if (text.size() <= TagLyrics::MaxLength)
        return text;
    const qsizetype lineEnd = text.lastIndexOf(u'\n', TagLyrics::MaxLength - 1);
    text.truncate(lineEnd > 0 ? lineEnd + 1 : TagLyrics::MaxLength);
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
    if (record && record->FileFound && (record->lyricsFrame() || record->syncedLyricsFrame()))
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
