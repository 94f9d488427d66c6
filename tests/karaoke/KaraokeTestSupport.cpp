#include "tests/karaoke/KaraokeTestSupport.h"

#include <QEvent>
#include <QWidget>

namespace KaraokeTest {

bool Colours::Only(COLORREF expected) const
{
    const int found = int(sung) + int(unsung) + int(err) + int(tag);
    const bool has = expected == Sung ? sung : expected == Unsung ? unsung : expected == Err ? err : tag;
    return has && found == 1;
}

Colours ColoursIn(const QImage& image, const QRect& area)
{
    Colours colours;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            const COLORREF pixel = FromQColor(image.pixelColor(x, y));
            colours.sung |= pixel == Sung;
            colours.unsung |= pixel == Unsung;
            colours.err |= pixel == Err;
            colours.tag |= pixel == Tag;
        }
    }
    return colours;
}

QImage Grab(QWidget& widget)
{
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QRect WidgetRectOf(const CKaraokeStatic& display, const CKaraokeStatic::Hit& item)
{
    return display.ClientRectOf(item).translated(display.contentsRect().topLeft());
}

int BlockCount(const CKaraokeData& data)
{
    int count = 0;
    for (const CKaraokeBlock* block = data.FirstBlock(); block; block = block->Next())
        ++count;
    return count;
}

} // namespace KaraokeTest
