#pragma once

#include "common/ui/SharedTypes.h"
#include "player/karaoke/RubyReading.h"

#include <QString>
#include <QStringView>

#include <optional>

// A reading given in the header, as karaoke authoring tools write it:
// "@Ruby1=帰,かえ[,start][,end]" puts the reading over every occurrence of the base sung from
// start (inclusive) until end (exclusive); a field left empty or out leaves that side open.
// A reading equal to its base means no reading there.
struct CHeaderRuby {
    QString Base;
    CRubyReading Reading;
    std::optional<LyricTime> From;
    std::optional<LyricTime> Until;

    // The header line without its line end; no value when it is not a complete "@Ruby" line.
    static std::optional<CHeaderRuby> Parse(QStringView line);
    // Whether the line is meant as one: it begins with "@Ruby", a number and "=".
    static bool LooksLikeRubyLine(QStringView line);

    bool Covers(LyricTime time) const { return (!From || time >= *From) && (!Until || time < *Until); }
    bool IsNoReading() const { return Reading.Text == Base; }
};
