#pragma once

#include "player/karaoke/stage/StageLines.h"

#include <array>
#include <cstddef>

// What the stage view shows at a lyric clock, as karaoke boxes do: two slots, the upper and the
// lower, each holding one line. A verse (the first line, and every line after a pause of
// GapMs or more) starts in the upper slot and the slots alternate from there; while a line is
// sung the other slot shows the line after it, and a finished line's slot takes the line after
// next. A verse appears ShowAheadMs before it starts, with a countdown of one dot per DotMs for
// its last LeadMs. Before that, and HoldMs after the last line, a title card stands instead; in a
// long pause the finished lines stay HoldMs, then the title card stands until the next verse.
struct StageScene {
    enum class Kind { TitleCard, Lines };
    static constexpr int NoLine = -1;

    Kind kind = Kind::TitleCard;
    std::array<int, 2> slotLines{NoLine, NoLine};   // line index in the upper (0) and lower (1) slot
    int countdownSlot = NoLine;
    int dots = 0;

    bool operator==(const StageScene&) const = default;
};

class CStageScene
{
public:
    static constexpr double GapMs = 4000;
    static constexpr double LeadMs = 4000;
    static constexpr double DotMs = 1000;
    static constexpr double ShowAheadMs = 6000;
    static constexpr double HoldMs = 2000;

    static StageScene At(const std::vector<StageLine>& lines, double clockMs);
    // Whether a verse starts with the line (the first, or one after a pause of GapMs or more).
    static bool StartsVerse(const std::vector<StageLine>& lines, std::size_t line);
    // Its slot: 0 for a verse's first line, alternating after it.
    static int SlotOf(const std::vector<StageLine>& lines, std::size_t line);
};
