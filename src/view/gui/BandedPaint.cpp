#include "view/gui/BandedPaint.h"

#include "view/gui/ImageTarget.h"

#include <QImage>
#include <QPainter>
#include <QThreadPool>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>

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
    // Bands go to whoever asks first. The caller paints too and takes the
    // bands no helper has started on, so a helper kept off a busy core costs
    // nothing: the caller then paints every band alone. A helper that starts
    // after the last band was taken leaves without touching the caller's state.
    struct Shared {
        std::atomic<int> next{0};
        std::atomic<int> done{0};
        int bands = 0;
        const std::function<void(int)>* paint = nullptr;
        std::mutex mutex;
        std::condition_variable finished;
    };
    auto shared = std::make_shared<Shared>();
    shared->bands = bands;
    const std::function<void(int)> paintOne = paint;
    shared->paint = &paintOne;
    auto work = [](Shared& s) {
        for (int band; (band = s.next.fetch_add(1)) < s.bands;) {
            (*s.paint)(band);
            if (s.done.fetch_add(1) + 1 == s.bands) {
                std::lock_guard lock(s.mutex);
                s.finished.notify_all();
            }
        }
    };
    for (int helper = 1; helper < bands; ++helper)
        bandThreads().start([shared, work] { work(*shared); });
    work(*shared);
    std::unique_lock lock(shared->mutex);
    shared->finished.wait(lock, [&] { return shared->done.load() == bands; });
    return true;
}

} // namespace kestrel
