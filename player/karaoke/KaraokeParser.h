#pragma once

#include "player/karaoke/KaraokeBlock.h"
#include "player/karaoke/KaraokeHeader.h"
#include "player/karaoke/RubyNotation.h"

#include <QStringView>

#include <memory>

// Splits lyric text into timed blocks of words and line breaks and reads the "@" header lines
// into a header. Used by CKaraokeData; the text must outlive the parser.
class CKaraokeParser
{
public:
    CKaraokeParser(QStringView text, CKaraokeHeader& header);

    // The chain, starting with the leading block at time 0.
    std::unique_ptr<CKaraokeBlock> Parse();
    // False when a tag's time was earlier than the tag before it.
    bool TagsInOrder() const { return m_tagsInOrder; }

    // A time tag at the start of the text: "[mm:ss]" or "[mm:ss:hh]" with ASCII digits, two to
    // five minute digits (the writer uses more than two from 100 minutes on) and a time that fits
    // 32 bits. Returns its length in characters, or 0 when the text does not begin with one.
    static int ParseTimeTag(QStringView text, LyricTime& time);
    // strtod over the value: leading white space, sign, digits, point, exponent; nothing gives 0.
    static double ParseDecimal(QStringView text);

private:
    void Tokenize(CKaraokeBlock& block, qsizetype start, qsizetype end);
    void AddWord(CKaraokeBlock& block, qsizetype start, qsizetype end) const;
    // Reads a header line at the '@'; returns the position after its line end, or `at` when the
    // text there is not a header line.
    qsizetype ReadHeaderLine(qsizetype at, qsizetype end);
    // A "@Ruby" line at the '@' goes into the header and stays in the block as notation; returns
    // the position after its line end, or `at` when the text there is not one.
    qsizetype ReadRubyLine(CKaraokeBlock& block, qsizetype at, qsizetype end);
    qsizetype FindEquals(qsizetype from, qsizetype end);
    // The end of the line `at` is on (its CR or LF, or the end of the text).
    qsizetype LineEndFrom(qsizetype at);

    QStringView m_text;
    CKaraokeHeader& m_header;
    CRubyNotation m_notation;
    bool m_tagsInOrder = true;
    // The first '=' at or after the last search start within the current stretch; searches only
    // move forward, so many '@' words without an '=' cost one pass, not one pass each.
    qsizetype m_equalsAt = -1;
    qsizetype m_lineFrom = -1;
    qsizetype m_lineEnd = -1;
};
