#include "player/library/TrackItem.h"

#include "platform/text/NativeName.h"

QString CTrackItem::FileName() const
{
    return NativeName::displayText(Path.Name());
}

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
