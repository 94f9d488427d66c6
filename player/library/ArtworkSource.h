#pragma once

#include <QByteArrayView>
#include <QImage>
#include <QString>

class CTagRecordChain;

// Where the playing track's picture comes from: the first picture frame of its tag, else a cover
// file in its folder ("cover", "folder" or "front" in any letter case, .jpg, .jpeg or .png), as
// other players on Linux show. The cover file also gives artwork to tracks without a tag record.
namespace ArtworkSource {

// The image bytes of the first picture frame of the first record whose full path is the track's
// path; empty when there is no such record, frame or image.
QByteArrayView TagPicture(const CTagRecordChain& records, const QString& trackPath);

// The path of the first cover file beside the track, or empty.
QString CoverFile(const QString& trackPath);

// The track's picture decoded: the tag's when it decodes, else the cover file's; a null image
// when neither gives one. `records` may be null (a track of no folder listing).
QImage ImageFor(const CTagRecordChain* records, const QString& trackPath);

} // namespace ArtworkSource
