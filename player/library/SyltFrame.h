#pragma once

#include "common/ui/SharedTypes.h"
#include "player/library/TagFrame.h"

#include <QString>

#include <optional>
#include <vector>

// A synchronised-lyrics frame ("SYLT", "SLT" in version 2.2): pieces of text, each with the time
// it is sung at, in milliseconds or in MPEG frames. Entries may come in any order and a piece
// starting with a line break begins a new line, so one entry per syllable makes a wipe per
// syllable.
class CSyltFrame
{
public:
    enum TimestampFormat { MpegFrames = 1, Milliseconds = 2 };
    enum ContentType { OtherContent = 0, LyricsContent = 1 };

    struct Entry {
        QString Text;
        quint32 Time = 0; // in the frame's timestamp format
    };

    static bool IsSyltFrame(const TagFrame& frame);
    // The frame's header and entries; 8-bit texts are read in the code page. No value for another
    // frame, a header cut short or an encoding byte ID3v2 does not have. An entry cut short by the
    // end of the frame ends the list.
    static std::optional<CSyltFrame> Parse(const TagFrame& frame, int codePage);

    // The entries as LRC text, sorted by time: "[mm:ss.xxx]" in front of the first entry of a
    // line, "<mm:ss.xxx>" in front of the others; a line break in an entry starts a new line.
    // MPEG frame times are converted with the stream's frame duration. Words that look like time
    // tags stay words. Empty when no entry has any text.
    QString LrcText(double msPerMpegFrame) const;

    int Format = Milliseconds;
    int Content = LyricsContent;
    QString Language;
    std::vector<Entry> Entries;
};
