#include "player/karaoke/LrclibLyrics.h"

#include "common/ui/StringTable.h"
#include "player/karaoke/KaraokeData.h"
#include "player/karaoke/LrcParser.h"
#include "player/karaoke/LrcTimeTag.h"
#include "player/karaoke/LrcWriter.h"
#include "player/karaoke/OnlineLyricsStrings.h"

#include <QStringList>

#include <algorithm>
#include <cmath>

namespace {

struct TimedLine {
    LyricTime Time = 0;
    QString Text;
};

// The playback position at which the lyric clock reaches a block's time.
LyricTime playbackTime(const CKaraokeHeader& header, LyricTime time)
{
    const double ratio = header.TimeRatio > 0 ? header.TimeRatio : 1.0;
    const double position = (double(time) - header.Offset) / ratio;
    return LyricTime(std::clamp(std::floor(position), 0.0, double(CLrcTimeTag::LargestTime(2))));
}

QList<TimedLine> timedLines(const CKaraokeData& document)
{
    QList<TimedLine> lines;
    std::optional<LyricTime> lineTime;
    QString text;
    const auto endLine = [&] {
        if (lineTime && !text.trimmed().isEmpty())
            lines.append({playbackTime(document.Header, *lineTime), text.trimmed()});
        lineTime.reset();
        text.clear();
    };
    for (const CKaraokeBlock* block = document.FirstBlock(); block; block = block->Next()) {
        // Text before the first time tag is no part of the timed lyrics.
        const bool untimedLead = !block->Previous() && block->Next();
        for (const CKaraokeToken& token : block->Tokens) {
            if (token.IsLineBreak()) {
                endLine();
            } else if (!untimedLead && !token.Text().isEmpty()) {
                if (!lineTime)
                    lineTime = block->StartTime();
                text += token.Text();
            }
        }
    }
    endLine();
    return lines;
}

// ID tags of the record's names in front, so the karaoke window shows its title and artist; a
// text that has any ID tag already keeps its own.
QString withIdTags(const LrclibRecord& record, const QString& lyrics)
{
    CKaraokeData probe;
    probe.ParseKaraokeText(lyrics);
    if (!probe.Format.IdTags.isEmpty())
        return lyrics;
    QString text;
    for (const auto& [key, value] : {std::pair{u"ti", record.Track.TrackName}, std::pair{u"ar", record.Track.ArtistName},
                                     std::pair{u"al", record.Track.AlbumName}})
        if (!value.trimmed().isEmpty())
            text += CLrcWriter::IdTagLine(key, value.trimmed()) + u'\n';
    return text + lyrics;
}

} // namespace

QString CLrclibLyrics::CheckSynced(const QString& synced)
{
    RegisterOnlineLyricsStrings();
    const QStringList lines = QString(synced).replace(QLatin1String("\r\n"), QLatin1String("\n")).split(u'\n');
    // A line's first tag may not come before the line above's first tag; later tags of a line
    // (a chorus sung again) may.
    LyricTime previous = 0;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        if (line.isEmpty() || CLrcParser::ParseIdTag(line))
            continue;
        const auto tag = CLrcTimeTag::Parse(line, CLrcTimeTag::LineOpen, CLrcTimeTag::LineClose);
        if (tag.Length == 0)
            return StringTable::format(OnlineLyricsString::SyncedTagMissing, {QString::number(i + 1)});
        if (tag.Time < previous)
            return StringTable::text(OnlineLyricsString::SyncedBackwards);
        previous = tag.Time;
    }
    CKaraokeData document;
    if (!document.ParseKaraokeText(synced) || !document.Format.IsLrc())
        return StringTable::text(OnlineLyricsString::SyncedBackwards);
    return {};
}

CLrclibLyrics::ToSave CLrclibLyrics::TextToSave(const LrclibRecord& record)
{
    RegisterOnlineLyricsStrings();
    if (!record.SyncedLyrics.trimmed().isEmpty()) {
        const QString problem = CheckSynced(record.SyncedLyrics);
        if (!problem.isEmpty())
            return {std::nullopt, problem};
        return {withIdTags(record, record.SyncedLyrics), {}};
    }
    if (!record.PlainLyrics.trimmed().isEmpty())
        return {withIdTags(record, record.PlainLyrics), {}};
    return {std::nullopt, StringTable::text(OnlineLyricsString::NoLyricsInRecord)};
}

CLrclibLyrics::Lines CLrclibLyrics::LineSynced(const CKaraokeData& document)
{
    Lines result;
    const QList<TimedLine> lines = timedLines(document);
    QStringList synced;
    QStringList plain;
    for (const TimedLine& line : lines) {
        synced << CLrcTimeTag::Format(line.Time, 2, CLrcTimeTag::LineOpen, CLrcTimeTag::LineClose) + line.Text;
        plain << line.Text;
    }
    result.Synced = synced.join(u'\n');
    result.Plain = plain.join(u'\n');
    return result;
}
