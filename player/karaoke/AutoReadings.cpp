#include "player/karaoke/AutoReadings.h"

#include "platform/text/ReadingSource.h"

#include <algorithm>

namespace {

bool hasKanji(const QString& line)
{
    for (qsizetype at = 0; at < line.size(); ++at)
        if (KanaText::KanjiLengthAt(line, at) > 0)
            return true;
    return false;
}

} // namespace

CAutoReadings CAutoReadings::Compute(const QStringList& lines, const CReadingSource* source)
{
    CAutoReadings readings;
    readings.Lines = lines;
    readings.PerLine.resize(size_t(lines.size()));
    if (!source)
        return readings;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        // Lines without kanji need no dictionary.
        if (hasKanji(lines[i]))
            readings.PerLine[size_t(i)] = source->Read(lines[i]);
    }
    return readings;
}

CAutoReadings CAutoReadings::Compute(const QStringList& lines)
{
    // The dictionary (a library and some megabytes) is opened only once lyrics have kanji.
    const bool kanji = std::any_of(lines.begin(), lines.end(), hasKanji);
    return Compute(lines, kanji ? CReadingSource::System().get() : nullptr);
}
