#pragma once

#include <QByteArrayView>
#include <QString>

// What an attached-picture frame holds. The image bytes stay inside the frame's data, so the
// view is valid only as long as the frame (and its tag record) lives.
struct TagPicture {
    QString MimeType; // the three-letter image format ("JPG") for a version 2.2 frame
    int PictureType = 0;
    QString Description;
    QByteArrayView Image;
};
