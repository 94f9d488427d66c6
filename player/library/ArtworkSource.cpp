#include "player/library/ArtworkSource.h"

#include "platform/text/RuntimeLocale.h"
#include "player/library/PictureDecoder.h"
#include "player/library/TagRecordChain.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// Cover files larger than this are not read: no cover is that large, and reading one whole
// would only cost memory.
constexpr qint64 kMaxCoverFileSize = 64 * 1024 * 1024;

const char* const kCoverNames[] = {"cover", "folder", "front"};
const char* const kCoverExtensions[] = {"jpg", "jpeg", "png"};

QImage DecodeCoverFile(const QString& path)
{
    QFile file(path);
    if (path.isEmpty() || file.size() > kMaxCoverFileSize || !file.open(QIODevice::ReadOnly))
        return {};
    return PictureDecoder::Decode(file.readAll());
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
    const QFileInfo track(trackPath);
    if (!track.isFile())
        return {};
    const QDir folder = track.absoluteDir();
    const QStringList files = folder.entryList(QDir::Files, QDir::Name);
    for (const char* name : kCoverNames) {
        for (const char* extension : kCoverExtensions) {
            const QString wanted = QLatin1String(name) + '.' + QLatin1String(extension);
            for (const QString& file : files)
                if (file.compare(wanted, Qt::CaseInsensitive) == 0)
                    return folder.filePath(file);
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
