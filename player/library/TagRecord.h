#pragma once

#include "player/library/Id3v1Tag.h"
#include "player/library/Id3v2Tag.h"
#include "player/library/TagFrame.h"

#include <QByteArrayView>
#include <QString>

#include <array>

class CTagSource;

// The tags of one mp3 file: its ID3v2 tag at the start and its ID3v1 tag in the last 128 bytes,
// read once, with every frame kept in memory so texts, lyrics and pictures need no file access.
// Records of a playlist are chained in playlist order; the chain's owner creates and deletes them.
class CTagRecord
{
public:
    enum ReadResult {
        ReadOk = 0,
        FileNotFound = -3,
        CannotOpen = -4,
        FileError = -5,
        ShortRead = -6,
        SecondTagHeader = -17, // another ID3v2 header follows the first tag
    };

    // The file-system entry of the file as found at read time.
    struct FileEntry {
        QString Name;
        qint64 Size = 0;
        qint64 LastWriteMSecs = 0; // since the epoch
        qint64 LastAccessMSecs = 0;
        qint64 StatusChangeMSecs = 0;
        quint32 Mode = 0; // type and permission bits
    };

    CTagRecord() = default;
    ~CTagRecord();
    CTagRecord(const CTagRecord&) = delete;
    CTagRecord& operator=(const CTagRecord&) = delete;

    // Reads the tags of folder + "/" + file name; a ReadResult value. Whatever was read before
    // a failure stays in the record.
    int read(const QString& folder, const QString& fileName);
    // The same from bytes in memory (a whole file's content), named `fileName`.
    int readBytes(QByteArrayView bytes, const QString& fileName);

    // Texts for the track list in the code page for 8-bit texts ("ID3Edit_CodePage"):
    // the ID3v2 frame, else the ID3v1 field, and for the title at last the file name.
    QString titleText(int codePage) const;
    QString artistText(int codePage) const;
    QString albumText(int codePage) const;
    QString trackText(int codePage) const;

    // The first unsynchronised-lyrics / attached-picture frame, or nullptr.
    const TagFrame* lyricsFrame() const;
    const TagFrame* pictureFrame() const;
    // The synchronised-lyrics frame: the first whose content is lyrics, else the first; nullptr
    // without one.
    const TagFrame* syncedLyricsFrame() const;
    // That frame's entries as LRC text (8-bit texts in the code page); empty without one.
    QString syncedLyricsText(int codePage) const;
    // Whether that frame has an entry with text: a frame without any is no lyrics to mark.
    bool hasSyncedLyrics() const;

    // Chain maintenance: take the record out of its chain, or put it in front of / behind
    // a record that is in one.
    void unlink();
    void insertBefore(CTagRecord& successor);
    void insertAfter(CTagRecord& predecessor);

    CTagRecord* Previous = nullptr;
    CTagRecord* Next = nullptr;

    bool FileFound = false; // the texts come from the record only when set
    QString Folder;
    QString FileName;
    QString FullPath;
    FileEntry FindData;
    qint64 AudioStart = 0; // just after the ID3v2 tag
    qint64 AudioEnd = 0;   // at the ID3v1 tag, else the file length
    CId3v1Tag V1;
    CId3v2Tag V2;
    // An APEv2 tag ends the audio (in front of the ID3v1 tag, if any): the engine reads it.
    bool HasApeTag = false;
    // The play time of one MPEG frame, found only for a tag whose synchronised lyrics count in
    // frames; 0 otherwise.
    double MsPerMpegFrame = 0;

private:
    using FrameIds = std::array<const char*, 3>; // the identifiers of versions 2.2, 2.3 and 2.4

    void reset();
    int readTags(const CTagSource& source);
    int readId3v2(const CTagSource& source, QByteArray& followingBytes);
    int readId3v1(const CTagSource& source);
    void readApeFooter(const CTagSource& source);
    void readFrameDuration(const CTagSource& source);
    QString frameText(const FrameIds& ids, int codePage) const;
    QString textOf(const FrameIds& ids, const CId3v1Tag::Text30& fallback, int codePage) const;
};
