#include "player/library/TrackItem.h"

QString CTrackItem::ColumnText(int column) const
{
    switch (column) {
    case 0:
        return FileName();
    case 1:
        return TitleText;
    case 2:
        return ArtistText;
    case 3:
        return AlbumText;
    case 4:
        return TrackText;
    default:
        return QString();
    }
}
