#include "player/karaoke/stage/StageScene.h"

#include <cmath>

bool CStageScene::StartsVerse(const std::vector<StageLine>& lines, size_t line)
{
    return line == 0 || lines[line].start - lines[line - 1].end >= GapMs;
}

int CStageScene::SlotOf(const std::vector<StageLine>& lines, size_t line)
{
    size_t first = line;
    while (!StartsVerse(lines, first))
        --first;
    return int((line - first) % 2);
}

StageScene CStageScene::At(const std::vector<StageLine>& lines, double clockMs)
{
    StageScene scene;
    if (lines.empty() || clockMs > lines.back().end + HoldMs)
        return scene;
    // The line being sung, or the next one to sing; the last one while it is held.
    size_t current = 0;
    while (current + 1 < lines.size() && lines[current].end <= clockMs)
        ++current;
    const StageLine& line = lines[current];
    const bool verse = StartsVerse(lines, current);
    if (verse && clockMs < line.start - ShowAheadMs) {
        // Before a verse: the lines just finished stay a moment, then the title card.
        if (current == 0 || clockMs > lines[current - 1].end + HoldMs)
            return scene;
        scene.kind = StageScene::Kind::Lines;
        scene.slotLines[size_t(SlotOf(lines, current - 1))] = int(current - 1);
        return scene;
    }
    scene.kind = StageScene::Kind::Lines;
    const int slot = SlotOf(lines, current);
    scene.slotLines[size_t(slot)] = int(current);
    // The next line goes to the other slot, unless it starts a verse in this one.
    if (current + 1 < lines.size() && SlotOf(lines, current + 1) != slot)
        scene.slotLines[size_t(1 - slot)] = int(current + 1);
    if (verse && clockMs < line.start && line.start - clockMs <= LeadMs) {
        scene.countdownSlot = slot;
        scene.dots = int(std::ceil((line.start - clockMs) / DotMs));
    }
    return scene;
}
