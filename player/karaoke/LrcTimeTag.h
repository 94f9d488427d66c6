#pragma once

#include "common/ui/SharedTypes.h"

#include <QString>
#include <QStringView>

// The time tags of LRC files: "[mm:ss.xx]" at a line start, "<mm:ss.xx>" in front of a word.
// Read forms: minutes of one to five digits, two digits of seconds, then nothing, ":" and two
// digits of hundredths, or "." and one to three digits of a fraction of a second.
class CLrcTimeTag
{
public:
    static constexpr QChar LineOpen = u'[';
    static constexpr QChar LineClose = u']';
    static constexpr QChar WordOpen = u'<';
    static constexpr QChar WordClose = u'>';

    struct Parsed {
        int Length = 0;          // characters of the tag; 0 when the text does not begin with one
        LyricTime Time = 0;      // milliseconds
        int FractionDigits = 0;  // 0 for "mm:ss", 2 for "mm:ss:xx", the digits after a "."
        bool DotForm = false;    // the fraction followed a "." (only LRC writes that form)
    };

    // A tag between `open` and `close` at the start of the text, with a time that fits 32 bits.
    static Parsed Parse(QStringView text, QChar open, QChar close);
    // "[mm:ss.xx]" (or with three fraction digits); minutes grow past two digits from 100.
    static QString Format(LyricTime time, int fractionDigits, QChar open, QChar close);
    // The largest time Format writes exactly with that many fraction digits.
    static LyricTime LargestTime(int fractionDigits);
};
