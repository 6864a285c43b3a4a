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
#include <optional>
#include <thread>

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

struct PaintBands::Shared {
    std::mutex mutex;
    // Set by paint() (or on destruction): helpers that start later leave.
    bool closed = false;
    std::atomic<bool> decided{false};
    int started = 0;
    // Bands to paint, handed out to whoever asks first; 0 when the caller
    // paints alone.
    int bands = 0;
    std::atomic<int> next{0};
    std::atomic<int> done{0};
    const std::function<void(int)>* paint = nullptr;
    std::condition_variable finished;

    void work()
    {
        for (int band; (band = next.fetch_add(1)) < bands;) {
            (*paint)(band);
            if (done.fetch_add(1) + 1 == bands) {
                std::lock_guard lock(mutex);
                finished.notify_all();
            }
        }
    }
    // A helper's task: check in unless too late, wait for the caller's
    // decision, then paint bands until none is left.
    void help()
    {
        {
            std::lock_guard lock(mutex);
            if (closed)
                return;
            ++started;
        }
        while (!decided.load(std::memory_order_acquire))
            std::this_thread::yield();
        work();
    }
    // Closes the door to helpers and sets the bands: one for each helper
    // that came in before and one for the caller, none without a helper or
    // when the area cannot be split.
    void close(int rows)
    {
        std::lock_guard lock(mutex);
        closed = true;
        bands = started > 0 ? std::min(started + 1, rows) : 0;
        if (bands < 2)
            bands = 0;
    }
};

PaintBands::PaintBands(int helpers, QThreadPool* pool, std::chrono::microseconds promptStart)
    : shared_(std::make_shared<Shared>()), deadline_(std::chrono::steady_clock::now() + promptStart)
{
    QThreadPool& threads = pool ? *pool : bandThreads();
    for (int i = 0; i < helpers; ++i)
        threads.start([shared = shared_] { shared->help(); });
}

PaintBands::~PaintBands()
{
    if (!shared_->decided.load()) {
        shared_->close(0);
        shared_->decided.store(true, std::memory_order_release);
    }
}

bool PaintBands::paint(QPainter& painter, const std::function<void(QPainter&, const QRect&)>& paintBand)
{
    Shared& s = *shared_;
    const std::optional<ImageTarget> target = imageTarget(painter);
    const int rows = target ? target->clip.height() : 0;
    // A helper on its way gets until the deadline to start.
    auto someoneStarted = [&] {
        std::lock_guard lock(s.mutex);
        return s.started > 0;
    };
    while (rows > 1 && std::chrono::steady_clock::now() < deadline_ && !someoneStarted())
        std::this_thread::yield();
    s.close(rows);
    if (s.bands == 0) {
        s.decided.store(true, std::memory_order_release);
        return false;
    }
    QImage* image = target->image;
    const QRect area = target->clip;
    const int bands = s.bands;
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
    const std::function<void(int)> paintOne = [&](int band) {
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
    s.paint = &paintOne;
    // Releases the bands, and what the caller painted before, to the helpers.
    s.decided.store(true, std::memory_order_release);
    s.work();
    std::unique_lock lock(s.mutex);
    s.finished.wait(lock, [&] { return s.done.load() == bands; });
    return true;
}

} // namespace kestrel
