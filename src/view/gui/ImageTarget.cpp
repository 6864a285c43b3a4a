#include "view/gui/ImageTarget.h"

#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QRegion>

#include <cmath>

namespace kestrel {

std::optional<ImageTarget> imageTarget(const QPainter& painter)
{
    QPaintDevice* device = painter.device();
    if (!device || device->devType() != QInternal::Image)
        return std::nullopt;
    auto* image = static_cast<QImage*>(device);
    const QImage::Format f = image->format();
    if (f != QImage::Format_RGB32 && f != QImage::Format_ARGB32 && f != QImage::Format_ARGB32_Premultiplied)
        return std::nullopt;
    QRect clip = image->rect();
    if (painter.hasClipping()) {
        if (painter.clipRegion().rectCount() > 1)
            return std::nullopt;
        // The region comes back in whole logical units, too coarse once a
        // unit spans several pixels; the bounding rectangle keeps fractions.
        // Clips are set on whole pixels, so rounding undoes the round trip.
        const QRectF r = painter.deviceTransform().mapRect(painter.clipBoundingRect());
        clip &= QRect(QPoint(static_cast<int>(std::lround(r.left())), static_cast<int>(std::lround(r.top()))),
                      QPoint(static_cast<int>(std::lround(r.right())) - 1,
                             static_cast<int>(std::lround(r.bottom())) - 1));
    }
    return ImageTarget{image, clip};
}

} // namespace kestrel
