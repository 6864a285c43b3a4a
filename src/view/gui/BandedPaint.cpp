#include "view/gui/BandedPaint.h"

#include "view/gui/ImageTarget.h"

#include <QImage>
#include <QPainter>
#include <QThreadPool>

#include <algorithm>
#include <latch>

namespace kestrel {

namespace {

// Below this many pixels one thread paints faster than several.
constexpr qint64 kPixelsPerBand = 150000;

// Threads that stay: the painting caches (fonts, laid-out labels) are kept
// per thread and would be built anew for every repaint on new threads.
QThreadPool& bandThreads()
{
    struct KeptThreads : QThreadPool {
        KeptThreads() { setExpiryTimeout(-1); }
    };
    static KeptThreads pool;
    return pool;
}

} // namespace

int bandCount(const QPainter& painter, int threads)
{
    // The bands' painters take over only the transform, clip and hints.
    const std::optional<ImageTarget> target = imageTarget(painter);
    if (!target || threads < 2 || target->clip.isEmpty() || painter.opacity() != 1.0 ||
        painter.compositionMode() != QPainter::CompositionMode_SourceOver)
        return 1;
    const QRect& area = target->clip;
    const qint64 pixels = qint64{area.width()} * area.height();
    return static_cast<int>(std::clamp<qint64>(pixels / kPixelsPerBand, 1, std::min(threads, area.height())));
}

bool paintInBands(QPainter& painter, int bands, const std::function<void(QPainter&, const QRect&)>& paintBand)
{
    const std::optional<ImageTarget> target = imageTarget(painter);
    if (!target || bands < 2)
        return false;
    QImage* image = target->image;
    const QRect area = target->clip;
    if (area.isEmpty())
        return true;
    bands = std::min(bands, area.height());
    // Each band is an image of its own over the rows of the caller's image;
    // the rows do not overlap, so the painters never write the same pixel.
    // Everything the bands need is read here, so no thread touches the
    // caller's painter or image while they paint.
    uchar* bits = image->bits();
    const qsizetype stride = image->bytesPerLine();
    const int width = image->width();
    const QImage::Format format = image->format();
    const QTransform transform = painter.deviceTransform();
    const QPainter::RenderHints hints = painter.renderHints();
    auto paint = [&](int band) {
        const int top = area.top() + static_cast<int>(qint64{area.height()} * band / bands);
        const int bottom = area.top() + static_cast<int>(qint64{area.height()} * (band + 1) / bands);
        QImage rows(bits + top * stride, width, bottom - top, stride, format);
        QPainter p(&rows);
        p.setRenderHints(hints);
        const QRect bandArea(area.left(), top, area.width(), bottom - top);
        p.setClipRect(bandArea.translated(0, -top)); // in device pixels: no transform yet
        p.setTransform(transform * QTransform::fromTranslate(0, -top));
        paintBand(p, bandArea);
    };
    std::latch done(bands - 1);
    for (int band = 1; band < bands; ++band)
        bandThreads().start([&, band] {
            paint(band);
            done.count_down();
        });
    paint(0);
    done.wait();
    return true;
}

} // namespace kestrel
