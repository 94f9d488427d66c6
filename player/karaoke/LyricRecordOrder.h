#pragma once

#include "platform/net/LrclibTypes.h"

#include <QList>
#include <QString>

// How search results are listed: best first, and the texts of their columns.
class CLyricRecordOrder
{
public:
    // Seconds within which a record's duration matches the track's, as the service matches.
    static constexpr double MatchSeconds = 2.0;

    // Records whose duration matches the track's first, then synced before plain before none,
    // then by the difference in duration; otherwise in the service's order. A track duration of
    // 0 (not known) leaves durations out.
    static void SortBestFirst(QList<LrclibRecord>& records, double trackSeconds);
    static bool DurationMatches(const LrclibRecord& record, double trackSeconds);
    // "m:ss"; empty for 0.
    static QString DurationText(double seconds);
    // "同期", "テキスト" or "インスト".
    static QString KindText(const LrclibRecord& record);
};
