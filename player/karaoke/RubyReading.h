#pragma once

#include "common/ui/SharedTypes.h"

#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

// The reading of a ruby as written: kana, possibly with time tags of its own that time its
// characters relative to the start of its base ("か[00:00:50]え": え 0.5 s after the base begins).
struct CRubyReading {
    // Character `Char` of the text is sung `Offset` milliseconds after the base begins.
    struct Timing {
        int Char = 0;
        LyricTime Offset = 0;
    };

    // The longest reading taken; a longer one is text that was not meant as one.
    static constexpr int MaxLength = 50;

    QString Text;
    std::vector<Timing> Timings;

    // The reading between the brackets or after the comma; tags in either dialect's notation
    // ("[mm:ss:xx]", "[mm:ss.xx]", "<mm:ss.xx>"). No value when it is empty or too long.
    static std::optional<CRubyReading> Parse(QStringView raw);
    // A time tag of either dialect at the start of the text: its length (0 for none) and time.
    static int TagLength(QStringView text, LyricTime& time);
};
