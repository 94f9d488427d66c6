#include "player/library/ArtworkSource.h"

#include "common/ui/PathParts.h"
#include "platform/text/NativeFile.h"
#include "platform/text/RuntimeLocale.h"
#include "platform/text/TextFile.h"
#include "player/library/PictureDecoder.h"
#include "player/library/TagRecordChain.h"

#include <algorithm>
#include <vector>

namespace {

// Cover files larger than this are not read: no cover is that large, and reading one whole
// would only cost memory.
constexpr qint64 kMaxCoverFileSize = 64 * 1024 * 1024;

const char* const kCoverNames[] = {"cover", "folder", "front"};
const char* const kCoverExtensions[] = {"jpg", "jpeg", "png"};

QImage DecodeCoverFile(const QString& path)
{
    const auto status = NativeFile::status(path);
    if (!status || status->st_size > kMaxCoverFileSize)
        return {};
    const std::optional<QByteArray> bytes = TextFile::readAll(path);
    return bytes ? PictureDecoder::Decode(*bytes) : QImage();
}

} // namespace

namespace ArtworkSource {

QByteArrayView TagPicture(const CTagRecordChain& records, const QString& trackPath)
{
    for (const CTagRecord* record = records.head(); record; record = record->Next) {
        if (record->FullPath != trackPath)
            continue;
        const TagFrame* frame = record->pictureFrame();
        // The strings of the frame are 8-bit texts of the locale's code page.
        const auto picture = frame ? frame->picture(RuntimeLocale::current().ansiCodePage()) : std::nullopt;
        return picture ? picture->Image : QByteArrayView();
    }
    return {};
}

QString CoverFile(const QString& trackPath)
{
    if (!NativeFile::isFile(trackPath))
        return {};
    const QString folder = CPathParts(trackPath).Folder;
    std::vector<NativeFile::Entry> entries = NativeFile::list(folder).value_or(std::vector<NativeFile::Entry>());
    // Of several spellings the first in name order, as a listing by name gave it.
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
    for (const char* name : kCoverNames) {
        for (const char* extension : kCoverExtensions) {
            const QString wanted = QLatin1String(name) + '.' + QLatin1String(extension);
            for (const NativeFile::Entry& entry : entries)
                if (entry.isFile && entry.name.compare(wanted, Qt::CaseInsensitive) == 0)
                    return folder.endsWith(u'/') ? folder + entry.name : folder + u'/' + entry.name;
        }
    }
    return {};
}

QImage ImageFor(const CTagRecordChain* records, const QString& trackPath)
{
    if (records) {
        const QImage fromTag = PictureDecoder::Decode(TagPicture(*records, trackPath));
        if (!fromTag.isNull())
            return fromTag;
    }
    return DecodeCoverFile(CoverFile(trackPath));
}

} // namespace ArtworkSource
