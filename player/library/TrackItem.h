#pragma once

#include "common/ui/PathParts.h"

#include <QString>

// One row of the track list: the item's path and the four texts of columns 1 to 4.
class CTrackItem
{
public:
    CTrackItem() = default;
    virtual ~CTrackItem() = default;

    // Column 0: Title + "." + Extension, or just Title.
    QString FileName() const { return Path.Name(); }
    QString FullPath() const { return Path.Path(); }
    // The text of a column 0 to 4.
    QString ColumnText(int column) const;

    CPathParts Path;
    QString TitleText;
    QString ArtistText;
    QString AlbumText;
    QString TrackText;
};
