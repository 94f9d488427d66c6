#include "player/library/TagRecord.h"

#include "platform/text/CodePage.h"
#include "platform/text/NativeName.h"
#include "player/library/MpegFrameHeader.h"
#include "player/library/SyltFrame.h"
#include "player/library/TagSource.h"

#include <algorithm>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::array<const char*, 3> kTitleIds{"TT2", "TIT2", "TIT2"};
constexpr std::array<const char*, 3> kArtistIds{"TP1", "TPE1", "TPE1"};
constexpr std::array<const char*, 3> kAlbumIds{"TAL", "TALB", "TALB"};
constexpr std::array<const char*, 3> kTrackIds{"TRK", "TRCK", "TRCK"};
constexpr quint16 kVersion220 = 0x0200;
constexpr qsizetype kMp3ExtensionLength = 4; // ".mp3"

qint64 milliseconds(const timespec& time)
{
    return static_cast<qint64>(time.tv_sec) * 1000 + time.tv_nsec / 1000000;
}

CTagRecord::FileEntry entryOf(const struct stat& status, const QString& name)
{
    CTagRecord::FileEntry entry;
    entry.Name = name;
    entry.Size = status.st_size;
    entry.LastWriteMSecs = milliseconds(status.st_mtim);
    entry.LastAccessMSecs = milliseconds(status.st_atim);
    entry.StatusChangeMSecs = milliseconds(status.st_ctim);
    entry.Mode = status.st_mode;
    return entry;
}

} // namespace

CTagRecord::~CTagRecord()
{
    unlink();
}

void CTagRecord::reset()
{
    FileFound = false;
    Folder.clear();
    FileName.clear();
    FullPath.clear();
    FindData = {};
    AudioStart = 0;
    AudioEnd = 0;
    V1 = {};
    V2 = {};
    HasApeTag = false;
    MsPerMpegFrame = 0;
}

int CTagRecord::read(const QString& folder, const QString& fileName)
{
    reset();
    const QString path = folder + u'/' + fileName;
    const QByteArray nativePath = NativeName::toBytes(path);
    // Opening first and asking the open file for its entry saves a lookup per file; the
    // lookup by name is only needed to tell a missing file from one that cannot be opened.
    const int descriptor = ::open(nativePath.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    struct stat status {};
    const bool found = descriptor >= 0 ? ::fstat(descriptor, &status) == 0 : ::stat(nativePath.constData(), &status) == 0;
    const auto finish = [descriptor](int result) {
        if (descriptor >= 0)
            ::close(descriptor);
        return result;
    };
    if (!found)
        return finish(FileNotFound);
    FileFound = true;
    Folder = folder;
    FileName = fileName;
    FullPath = path;
    FindData = entryOf(status, fileName);
    // Only a regular file can be read as a track: a folder or a pipe named like one cannot.
    if (descriptor < 0 || !S_ISREG(status.st_mode))
        return finish(CannotOpen);
    return finish(readTags(CTagSource(descriptor, status.st_size)));
}

int CTagRecord::readBytes(QByteArrayView bytes, const QString& fileName)
{
    reset();
    FileFound = true;
    FileName = fileName;
    FullPath = fileName;
    FindData.Name = fileName;
    FindData.Size = bytes.size();
    return readTags(CTagSource(bytes));
}

int CTagRecord::readTags(const CTagSource& source)
{
    QByteArray bytesAfterTag;
    if (const int result = readId3v2(source, bytesAfterTag); result < 0)
        return result;
    if (const int result = readId3v1(source); result < 0)
        return result;
    readApeFooter(source);
    readFrameDuration(source);
    return bytesAfterTag.startsWith("ID3") ? SecondTagHeader : ReadOk;
}

// One read usually brings the header, the whole body and the 10 bytes after it (where a
// second header would start); a larger tag needs one more read for the rest.
int CTagRecord::readId3v2(const CTagSource& source, QByteArray& bytesAfterTag)
{
    constexpr qint64 kFirstReadSize = 16 * 1024;
    constexpr qint64 kHeaderSize = CId3v2Tag::HeaderSize;
    QByteArray bytes(std::min(source.size(), kFirstReadSize), Qt::Uninitialized);
    const qint64 firstRead = source.readAt(0, bytes.data(), bytes.size());
    if (firstRead < 0)
        return FileError;
    if (firstRead < kHeaderSize)
        return ShortRead;
    if (!V2.parseHeader(bytes.constData()))
        return ReadOk;
    // A size beyond the end of the file is a short read; nothing is allocated for it.
    const qint64 bodySize = V2.Size;
    if (source.size() - kHeaderSize < bodySize)
        return ShortRead;
    const qint64 wanted = std::min(kHeaderSize + bodySize + kHeaderSize, source.size());
    qint64 have = firstRead;
    if (wanted > have) {
        bytes.resize(wanted);
        const qint64 restRead = source.readAt(have, bytes.data() + have, wanted - have);
        if (restRead < 0)
            return FileError;
        have += restRead;
    }
    if (have < kHeaderSize + bodySize)
        return ShortRead;
    bytesAfterTag = bytes.mid(kHeaderSize + bodySize, std::min(have, wanted) - kHeaderSize - bodySize);
    V2.parseBody(QByteArrayView(bytes).sliced(kHeaderSize, bodySize));
    AudioStart = kHeaderSize + bodySize;
    return ReadOk;
}

int CTagRecord::readId3v1(const CTagSource& source)
{
    const qint64 blockStart = source.size() - CId3v1Tag::BlockSize;
    if (blockStart < 0) {
        AudioEnd = 0;
        return FileError;
    }
    AudioEnd = blockStart;
    char block[CId3v1Tag::BlockSize];
    const qint64 blockRead = source.readAt(blockStart, block, CId3v1Tag::BlockSize);
    if (blockRead < 0)
        return FileError;
    if (blockRead < CId3v1Tag::BlockSize) {
        AudioEnd += CId3v1Tag::BlockSize;
        return ShortRead;
    }
    if (!V1.parse(block))
        AudioEnd += CId3v1Tag::BlockSize;
    return ReadOk;
}

void CTagRecord::readApeFooter(const CTagSource& source)
{
    constexpr qint64 kFooterSize = 32;
    char footer[8];
    HasApeTag = AudioEnd - AudioStart >= kFooterSize &&
                source.readAt(AudioEnd - kFooterSize, footer, sizeof footer) == qint64(sizeof footer) &&
                std::memcmp(footer, "APETAGEX", sizeof footer) == 0;
}

// Only synchronised lyrics timed in MPEG frames need the frame duration; other files are not
// read any further.
void CTagRecord::readFrameDuration(const CTagSource& source)
{
    constexpr qint64 kSearchSize = 8192;
    const TagFrame* sylt = syncedLyricsFrame();
    if (!sylt || sylt->Data.size() < 5 || sylt->Data[4] != CSyltFrame::MpegFrames)
        return;
    QByteArray audio(std::min(kSearchSize, std::max<qint64>(AudioEnd - AudioStart, 0)), Qt::Uninitialized);
    const qint64 got = source.readAt(AudioStart, audio.data(), audio.size());
    const auto duration = MpegFrameHeader::FrameMilliseconds(QByteArrayView(audio).first(std::max<qint64>(got, 0)));
    MsPerMpegFrame = duration.value_or(MpegFrameHeader::TypicalFrameMilliseconds);
}

QString CTagRecord::frameText(const FrameIds& ids, int codePage) const
{
    const int major = V2.majorVersion();
    if (!V2.Present || major < 2 || major > 4)
        return {};
    const TagFrame* frame = V2.firstFrame(ids[static_cast<size_t>(major - 2)]);
    return frame ? frame->decodeText(codePage) : QString();
}

QString CTagRecord::textOf(const FrameIds& ids, const CId3v1Tag::Text30& fallback, int codePage) const
{
    QString text = frameText(ids, codePage);
    if (text.isEmpty() && V1.Present)
        text = CId3v1Tag::text(fallback, codePage);
    return text;
}

QString CTagRecord::titleText(int codePage) const
{
    QString title = textOf(kTitleIds, V1.Title, codePage);
    if (title.isEmpty() && FileName.size() >= kMp3ExtensionLength)
        title = NativeName::displayText(FileName.chopped(kMp3ExtensionLength));
    return title;
}

QString CTagRecord::artistText(int codePage) const
{
    return textOf(kArtistIds, V1.Artist, codePage);
}

QString CTagRecord::albumText(int codePage) const
{
    return textOf(kAlbumIds, V1.Album, codePage);
}

QString CTagRecord::trackText(int codePage) const
{
    QString track = frameText(kTrackIds, codePage);
    if (track.isEmpty() && V1.Present)
        track = QString::number(V1.Track);
    return track;
}

const TagFrame* CTagRecord::lyricsFrame() const
{
    return V2.firstFrame(V2.Version == kVersion220 ? "ULT" : "USLT");
}

const TagFrame* CTagRecord::syncedLyricsFrame() const
{
    const TagFrame* first = nullptr;
    for (const TagFrame& frame : V2.Frames) {
        if (!CSyltFrame::IsSyltFrame(frame))
            continue;
        if (frame.Data.size() > 5 && frame.Data[5] == CSyltFrame::LyricsContent)
            return &frame;
        if (!first)
            first = &frame;
    }
    return first;
}

QString CTagRecord::syncedLyricsText(int codePage) const
{
    const TagFrame* frame = syncedLyricsFrame();
    const std::optional<CSyltFrame> sylt = frame ? CSyltFrame::Parse(*frame, codePage) : std::nullopt;
    return sylt ? sylt->LrcText(MsPerMpegFrame > 0 ? MsPerMpegFrame : MpegFrameHeader::TypicalFrameMilliseconds)
                : QString();
}

bool CTagRecord::hasSyncedLyrics() const
{
    const TagFrame* frame = syncedLyricsFrame();
    // Whether an entry has text does not depend on the code page its 8-bit texts are read in.
    const std::optional<CSyltFrame> sylt = frame ? CSyltFrame::Parse(*frame, CodePage::ShiftJis) : std::nullopt;
    return sylt && std::any_of(sylt->Entries.begin(), sylt->Entries.end(),
                               [](const CSyltFrame::Entry& entry) { return !entry.Text.trimmed().isEmpty(); });
}

const TagFrame* CTagRecord::pictureFrame() const
{
    return V2.firstFrame(V2.Version == kVersion220 ? "PIC" : "APIC");
}

void CTagRecord::unlink()
{
    if (Previous)
        Previous->Next = Next;
    if (Next)
        Next->Previous = Previous;
    Previous = nullptr;
    Next = nullptr;
}

void CTagRecord::insertBefore(CTagRecord& successor)
{
    if (&successor == this)
        return;
    unlink();
    Previous = successor.Previous;
    Next = &successor;
    if (Previous)
        Previous->Next = this;
    successor.Previous = this;
}

void CTagRecord::insertAfter(CTagRecord& predecessor)
{
    if (&predecessor == this)
        return;
    unlink();
    Next = predecessor.Next;
    Previous = &predecessor;
    if (Next)
        Next->Previous = this;
    predecessor.Next = this;
}
