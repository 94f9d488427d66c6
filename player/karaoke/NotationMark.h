#pragma once

#include <QString>

// Text of a lyric file that is notation, not lyrics: kept in the token it stands in, at the
// character it stands before, and written back as it was.
struct CNotationMark {
    enum class Kind : quint8 {
        BaseStart,  // "｜" or "|" opening the base of a reading
        Reading,    // "《reading》" after its base
        HeaderLine, // a "@Ruby" header line with its line end
    };

    int At = 0; // position in the token's text
    Kind Type = Kind::Reading;
    QString Raw;

    // Where the mark goes when its token is cut at its position: a base's opening bar with the
    // text after it, the others with the text before them.
    bool StaysBefore() const { return Type != Kind::BaseStart; }
};
