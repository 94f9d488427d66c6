#include "player/karaoke/LyricRecordOrder.h"

#include "common/ui/StringTable.h"
#include "player/karaoke/OnlineLyricsStrings.h"

#include <algorithm>
#include <cmath>
#include <tuple>

namespace {

// 0 synced, 1 plain, 2 neither.
int lyricsRank(const LrclibRecord& record)
{
    if (!record.SyncedLyrics.trimmed().isEmpty())
        return 0;
    return record.PlainLyrics.trimmed().isEmpty() ? 2 : 1;
}

} // namespace

bool CLyricRecordOrder::DurationMatches(const LrclibRecord& record, double trackSeconds)
{
    return trackSeconds > 0 && record.Track.Duration > 0 &&
           std::abs(record.Track.Duration - trackSeconds) <= MatchSeconds;
}

void CLyricRecordOrder::SortBestFirst(QList<LrclibRecord>& records, double trackSeconds)
{
    const auto key = [trackSeconds](const LrclibRecord& record) {
        const double difference =
            trackSeconds > 0 && record.Track.Duration > 0 ? std::abs(record.Track.Duration - trackSeconds) : 0.0;
        return std::tuple(!DurationMatches(record, trackSeconds), lyricsRank(record), difference);
    };
    std::stable_sort(records.begin(), records.end(),
                     [&key](const LrclibRecord& a, const LrclibRecord& b) { return key(a) < key(b); });
}

QString CLyricRecordOrder::DurationText(double seconds)
{
    if (seconds <= 0)
        return {};
    const qint64 whole = qRound64(seconds);
    return QStringLiteral("%1:%2").arg(whole / 60).arg(whole % 60, 2, 10, QLatin1Char('0'));
}

QString CLyricRecordOrder::KindText(const LrclibRecord& record)
{
    RegisterOnlineLyricsStrings();
    switch (lyricsRank(record)) {
    case 0: return StringTable::text(OnlineLyricsString::KindSynced);
    case 1: return StringTable::text(OnlineLyricsString::KindPlain);
    default: return StringTable::text(OnlineLyricsString::KindInstrumental);
    }
}
