#pragma once

#include "player/karaoke/KaraokeBlock.h"
#include "player/karaoke/KaraokeHeader.h"
#include "player/karaoke/LyricFileFormat.h"

#include <QStringView>

#include <memory>
#include <optional>
#include <vector>

// Reads standard and enhanced LRC text into a chain of blocks. A line begins with one or more
// time tags "[mm:ss.xx]" (one block per tag, each with a copy of the line, all in time order);
// word tags "<mm:ss.xx>" (or "[mm:ss.xx]") inside it start a block of their own, so the per-word wipe works on
// them; a line without a tag continues the block before it. ID tag lines ("[ti:Title]") fill
// the header ("ti", "ar", "offset") and are kept in order in the format. The text must outlive
// the parser.
class CLrcParser
{
public:
    CLrcParser(QStringView text, CKaraokeHeader& header, CLyricFileFormat& format);

    // Whether the text holds a construct only LRC has: a "[mm:ss.xx]" tag at a line start, a
    // "<mm:ss.xx>" word tag, or an ID tag line of a known key. Text without one is the own dialect.
    static bool IsLrc(QStringView text);
    // The ID tag a whole line is ("[key:value]", trailing blanks allowed), if it is one.
    static std::optional<LrcIdTag> ParseIdTag(QStringView line);

    // The chain, starting with the leading block at time 0 (text before the first tagged line).
    std::unique_ptr<CKaraokeBlock> Parse();
    // False when a block's time is earlier than the block before it.
    bool TagsInOrder() const { return m_tagsInOrder; }

private:
    // A stretch between two tags of one line.
    struct Piece {
        LyricTime Time = 0;
        std::vector<CKaraokeToken> Tokens;
    };
    // A tagged line with its word pieces and the untagged lines after it.
    struct Unit {
        std::vector<LyricTime> LineTimes; // empty for the text before the first tagged line
        std::vector<Piece> Pieces;
        bool EndsWithLineEnd = true;
    };
    // One line tag of a unit: copy `Copy` of unit `Unit` at `Time`.
    struct Entry {
        LyricTime Time;
        size_t Unit;
        size_t Copy;
    };

    void ReadLine(QStringView line, QStringView lineEnd);
    // A "@Ruby" line goes into the header and stays as notation with the line before it.
    bool ReadRubyLine(QStringView line, QStringView lineEnd);
    void ApplyIdTag(const LrcIdTag& tag);
    // Line tags at the line start; a word tag there counts as one when no line tag precedes it.
    qsizetype ReadLineTags(QStringView line, std::vector<LyricTime>& times);
    void ReadContent(QStringView content, Unit& unit);
    void NoteFraction(int digits);
    // The line tags of all units in time order; equal times keep their file order.
    std::vector<Entry> SortedEntries() const;
    std::unique_ptr<CKaraokeBlock> BuildChain();
    void Append(LyricTime time, const std::vector<CKaraokeToken>& tokens);

    QStringView m_text;
    CKaraokeHeader& m_header;
    CLyricFileFormat& m_format;
    std::vector<Unit> m_units;
    CKaraokeBlock* m_last = nullptr;
    bool m_tagsInOrder = true;
    bool m_wordTagSeen = false;
};
