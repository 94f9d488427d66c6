#pragma once

#include "platform/text/KanaText.h"

#include <QStringList>

#include <vector>

class CReadingSource;

// Readings of the kanji of each lyric line from the system's dictionary: one list per line, with
// offsets into the line's text. A plain function of the lines, so it may run on a worker thread.
struct CAutoReadings {
    QStringList Lines;
    std::vector<std::vector<KanaText::WordPart>> PerLine;

    // Empty lists when the dictionary is not installed (no source).
    static CAutoReadings Compute(const QStringList& lines, const CReadingSource* source);
    // The same from the system's dictionary.
    static CAutoReadings Compute(const QStringList& lines);
};
