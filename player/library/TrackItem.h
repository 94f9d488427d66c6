#pragma once

#include "common/ui/PathParts.h"

#include <QString>

// One row of the track list: the item's path and the four texts of columns 1 to 4.
class CTrackItem
{
public:
    CTrackItem() = default;
    virtual ~CTrackItem() = default;

    // Column 0: Title + "." + Extension, or just Title, as shown (a name that is not UTF-8 decoded).
    QString FileName() const;
    QString FullPath() const { return Path.Path(); }
    // The text of a column 0 to 4.
    QString ColumnText(int column) const;

    CPathParts Path;
    QString TitleText;
    QString ArtistText;
    QString AlbumText;
    QString TrackText;
};
