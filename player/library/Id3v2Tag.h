#pragma once

#include "player/library/FrameInflater.h"
#include "player/library/TagFrame.h"

#include <QByteArray>
#include <QByteArrayView>

#include <optional>
#include <string_view>
#include <vector>

// The ID3v2 tag at the start of a file: header, extended header and the frames in tag order.
class CId3v2Tag
{
public:
    static constexpr int HeaderSize = 10;

    enum HeaderFlag : quint8 { Unsynchronisation = 0x80, ExtendedHeaderFlag = 0x40 };
    // Frame format flags of version 2.3 that the reader acts on.
    enum FrameFlag23 : quint16 {
        Frame23Compression = 0x0080,
        Frame23Encryption = 0x0040,
        Frame23Grouping = 0x0020,
    };
    // Frame format flags of version 2.4 that the reader acts on.
    enum FrameFlag : quint16 {
        FrameGrouping = 0x0040,
        FrameCompression = 0x0008,
        FrameEncryption = 0x0004,
        FrameUnsynchronisation = 0x0002,
        FrameDataLengthIndicator = 0x0001,
    };

    struct ExtendedHeader {
        quint32 Size = 0;
        quint16 Flags = 0;
        quint32 PaddingSize = 0;
        quint32 Crc = 0;
    };

    // Takes the 10-byte header when it starts with "ID3"; returns false (and changes nothing)
    // otherwise.
    bool parseHeader(const char* header);
    // Reads the frames from the tag body (the `Size` bytes after the header).
    void parseBody(QByteArrayView body);

    int majorVersion() const { return Version >> 8; }
    const TagFrame* firstFrame(std::string_view id) const;

    // Drops every 00 byte that directly follows an FF byte.
    static void removeUnsynchronisation(QByteArray& bytes);

    bool Present = false;
    quint16 Version = 0; // major * 256 + revision
    quint8 Flags = 0;
    quint32 Size = 0; // the tag size after the header
    ExtendedHeader Extended;
    std::vector<TagFrame> Frames;

private:
    qsizetype skipExtendedHeader(QByteArrayView body);
    void scanFrames(QByteArrayView body, qsizetype position);
    // The size field of the frame header at `position`.
    quint32 frameSize(QByteArrayView body, qsizetype position) const;
    // The frame's content without the bytes its flags add in front, unsynchronisation undone and
    // compressed data inflated; no value for a frame that cannot be read (encrypted, broken).
    std::optional<QByteArray> frameContentOfVersion23(QByteArray data, quint16 frameFlags);
    std::optional<QByteArray> frameContentOfVersion24(QByteArray data, quint16 frameFlags);
    // Inflates a compressed frame within what is left of the tag's budget.
    std::optional<QByteArray> inflate(QByteArrayView data, quint32 announcedSize);

    // All compressed frames of a tag together inflate to no more than this.
    static constexpr qsizetype InflateBudget = 2 * CFrameInflater::Limit;
    qsizetype m_inflateBudgetLeft = InflateBudget;
};
