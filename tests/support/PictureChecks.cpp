#include "tests/support/PictureChecks.h"

#include <QColor>
#include <QImage>

int ColourfulPixels(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); y += 4) {
        for (int x = 0; x < image.width(); x += 4) {
            const QColor colour = image.pixelColor(x, y);
            if (colour.saturation() > 100 && colour.value() > 100)
                ++count;
        }
    }
    return count;
}
