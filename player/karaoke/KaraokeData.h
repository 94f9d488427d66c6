#pragma once

#include "common/ui/SharedTypes.h"
#include "player/karaoke/KaraokeBlock.h"
#include "player/karaoke/KaraokeHeader.h"
#include "player/karaoke/LyricFileFormat.h"
#include "player/karaoke/LyricRubies.h"
#include "player/karaoke/RubyMode.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <memory>
#include <optional>

// A karaoke lyric document: the header values and a chain of timed blocks of words and line
// breaks, read from and written to lyric files (kra, lrc, txt) beside a track.
class CKaraokeData
{
public:
    CKaraokeData();
    ~CKaraokeData();
    CKaraokeData(const CKaraokeData&) = delete;
    CKaraokeData& operator=(const CKaraokeData&) = delete;

    // The lyric file of a track: name.kra, name.lrc, name.txt beside it, then the targets of
    // name.kra.lnk, name.lrc.lnk, name.txt.lnk that exist. Each candidate is looked for by its
    // exact name first, then without regard to letter case. No value when there is none.
    static std::optional<QString> FindKaraokeFile(const QString& trackPath);
    // Writes name.kra beside the track (UTF-16 with FF FE, "@Title" and "@Artist" lines when not
    // empty, then the text unchanged) unless the track has a lyric file already. The new path.
    static std::optional<QString> CreateKaraokeFile(const QString& trackPath, const QString& title,
                                                    const QString& artist, QStringView initialText);
    // Whether the text has time tags of either dialect, so that it sings rather than only shows.
    static bool HasTimeTags(QStringView text);
    // See CKaraokeParser::ParseTimeTag: the tag's length (0 for none) and its time.
    static int ParseTimeTag(QStringView text, LyricTime& time);
    // A tag as the user types it in either dialect's notation: "[mm:ss]", "[mm:ss:xx]" or
    // "[mm:ss.x]" to "[mm:ss.xxx]". Its length (0 for none) and its time.
    static int ParseTypedTag(QStringView text, LyricTime& time);
    // A block's tag in the document's own notation and precision, as the editor shows it: the
    // file's "[mm:ss.xx]" or "[mm:ss.xxx]" for LRC, "[mm:ss:xx]" otherwise.
    QString TagTextOf(LyricTime time) const;

    // Reads and parses a lyric file. A byte-order mark or valid multi-byte UTF-8 decides the
    // encoding and sets the code page (0 for UTF-16LE with FF FE, 1201 for UTF-16BE, 65001 for
    // UTF-8); otherwise the bytes are in the code page, or UTF-16 without a mark when it is 0.
    // An LRC file of ASCII bytes read in an 8-bit code page is taken as UTF-8 (65001).
    // False when the file cannot be opened (the document is then unchanged) or its tags run
    // backwards (the document is built all the same).
    bool ReadKaraokeFile(const QString& path, int& codePage);
    // The same from the file's bytes.
    bool ReadKaraokeBytes(const QByteArray& bytes, int& codePage);
    // Replaces the whole document, read as LRC when the text has a construct only LRC has and in
    // the own dialect otherwise; false when tags run backwards.
    bool ParseKaraokeText(QStringView text);

    // Writes the document in the dialect it was read in (code page 0: UTF-16 with FF FE; the
    // byte-order mark the file had when saved in the code page it was read in) through a
    // temporary file renamed over the old one. False without blocks, for a code page unknown
    // here, in the code page of a file it could not read completely, or when writing fails.
    bool SaveKaraokeFile(const QString& path, int codePage) const;
    // False in the code page of a file whose bytes it could not all read: "?" would replace them.
    bool CanSaveIn(int codePage) const;
    // The text a save writes, before encoding: header lines (ID tags for LRC), then tags and tokens.
    QString KaraokeText() const;
    // The words as read, one line per line break, without tags or header (for other programs).
    QString PlainText() const;

    // Destroys all blocks and resets the header.
    void Clear();
    CKaraokeBlock* FirstBlock() const { return m_firstBlock.get(); }
    // The block being sung at a lyric time (the first block for times at or before its start).
    CKaraokeBlock* FindBlockAt(qint64 time) const;

    // Splits the block before the character of the token; the new block at `time` follows it and
    // gets the rest of the block. Returns the new block.
    CKaraokeBlock* SplitBlock(CKaraokeBlock* block, int tokenIndex, int charIndex, LyricTime time);
    // Appends the block's tokens to its predecessor and destroys it. Returns the predecessor, or
    // nullptr (nothing done) for a block without one.
    CKaraokeBlock* MergeIntoPrevious(CKaraokeBlock* block);
    // Replaces a word's text as it stands; false for a line break or an index out of range.
    static bool ReplaceWordText(CKaraokeBlock* block, int tokenIndex, const QString& text);

    // The readings over the kanji for the mode, as the chain stands. In automatic mode the
    // dictionary's readings are computed at the first call for the current lines and kept; a
    // caller that cannot wait computes them elsewhere from RubyLines() and adopts them first.
    CLyricRubies Rubies(RubyMode mode) const;
    QStringList RubyLines() const { return CLyricRubies::LineTexts(*this); }
    void AdoptAutomaticReadings(CAutoReadings readings);
    // Whether the kept automatic readings were computed for the current lines.
    bool HasAutomaticReadings() const;

    CKaraokeHeader Header;
    // How the document was read; saving writes it the same way.
    CLyricFileFormat Format;

private:
    std::unique_ptr<CKaraokeBlock> m_firstBlock;
    mutable std::shared_ptr<const CAutoReadings> m_automatic;
};
