#pragma once

class QImage;

// Pixels, one in each 4 x 4 block, of a strong colour (saturated and bright): the bars of a
// test picture count, a black or grey (empty) surface counts none.
int ColourfulPixels(const QImage& image);
