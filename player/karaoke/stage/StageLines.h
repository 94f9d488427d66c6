#pragma once

#include <vector>

class CKaraokeBlock;
class CKaraokeData;

// A word of a stage line: its block, its token, the pixels of its block's words before it (the
// block's wipe runs through all its words, across line breaks) and its width.
struct StageWord {
    const CKaraokeBlock* block = nullptr;
    int token = 0;
    int offset = 0;
    int width = 0;
};

// A line of the lyrics as the stage view sings it: its words, when the wipe reaches its first
// word and leaves its last, and its width.
struct StageLine {
    std::vector<StageWord> words;
    double start = 0;
    double end = 0;
    int width = 0;
};

// A run of a line's words drawn on one row: words [first, first + count) and their width.
struct StageRow {
    int first = 0;
    int count = 0;
    int width = 0;
};

// The lines of a measured lyric document (the tokens' and blocks' widths set), broken at its line
// breaks; lines without words are left out.
class CStageLines
{
public:
    void Build(const CKaraokeData& data, double durationMs);
    const std::vector<StageLine>& Lines() const { return m_lines; }
    bool IsEmpty() const { return m_lines.empty(); }

    // The line on one row when it fits `maxWidth`, else on two rows split at the word boundary
    // that makes the wider of them narrowest (a row may still be too wide: the painter narrows it).
    static std::vector<StageRow> Rows(const StageLine& line, int maxWidth);

private:
    std::vector<StageLine> m_lines;
};
