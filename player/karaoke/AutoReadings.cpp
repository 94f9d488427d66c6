#include "player/karaoke/AutoReadings.h"

#include "platform/text/ReadingSource.h"

CAutoReadings CAutoReadings::Compute(const QStringList& lines, const CReadingSource* source)
{
    CAutoReadings readings;
    readings.Lines = lines;
    readings.PerLine.resize(size_t(lines.size()));
    if (!source)
        return readings;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        // Lines without kanji need no dictionary.
        const QString& line = lines[i];
        bool kanji = false;
        for (qsizetype at = 0; at < line.size() && !kanji; ++at)
            kanji = KanaText::KanjiLengthAt(line, at) > 0;
        if (kanji)
            readings.PerLine[size_t(i)] = source->Read(line);
    }
    return readings;
}

CAutoReadings CAutoReadings::Compute(const QStringList& lines)
{
    return Compute(lines, CReadingSource::System().get());
}
