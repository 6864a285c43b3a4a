#pragma once
// What a painter paints on, when that is a 32-bit image whose pixels the
// board drawing may write itself.

#include <QRect>

#include <optional>

class QImage;
class QPainter;

namespace kestrel {

struct ImageTarget {
    QImage* image = nullptr;
    // The pixels the painter may touch: the image, cut to the clip.
    QRect clip;
};

// None when the device is not an RGB32/ARGB32 image or the clip is not a
// single rectangle.
std::optional<ImageTarget> imageTarget(const QPainter& painter);

} // namespace kestrel
