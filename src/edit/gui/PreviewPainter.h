#pragma once
// Draws the pointer tools' previews whose drawn flag is set into an RGB32
// image of the board, each inverted against what lies under it (not-xor:
// the pixel is XORed with the inverse of the pen colour, so black inverts
// it, red keeps its red channel and inverts the others).

#include "edit/Previews.h"

#include <QTransform>

class QImage;

namespace kestrel {

// boardToImage maps board units to the image's pixels.
void DrawPreviews(QImage& image, const QTransform& boardToImage, const Previews& previews);

} // namespace kestrel
