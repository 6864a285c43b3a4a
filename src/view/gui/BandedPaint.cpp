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

BandThreads::BandThreads()
{
    pool.setExpiryTimeout(-1);
}

BandThreads& BandThreads::shared()
{
    static BandThreads threads;
    return threads;
}

namespace {

// Below this many pixels one thread paints faster than several.
constexpr qint64 kPixelsPerBand = 150000;

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
    // Bands to paint, 0 when the caller paints alone. Band 0 is the
    // caller's; the others go to whoever asks first, `next` being the
    // first one nobody has taken.
    int bands = 0;
    std::atomic<int> next{1};
    std::atomic<int> done{0};
    const std::function<void(int)>* paint = nullptr;
    std::condition_variable finished;

    void paintBand(int band)
    {
        (*paint)(band);
        if (done.fetch_add(1) + 1 == bands) {
            std::lock_guard lock(mutex);
            finished.notify_all();
        }
    }
    void work()
    {
        for (int band; (band = next.fetch_add(1)) < bands;)
            paintBand(band);
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
    // Takes every band no helper has taken yet when none has: true when the
    // caller is then alone.
    bool takeAllIfUntouched()
    {
        int untouched = 1;
        return next.compare_exchange_strong(untouched, bands);
    }
};

PaintBands::PaintBands(int helpers, BandThreads* threads, std::chrono::microseconds promptStart)
    : threads_(threads ? *threads : BandThreads::shared()), shared_(std::make_shared<Shared>()),
      promptStart_(promptStart), deadline_(std::chrono::steady_clock::now() + promptStart)
{
    for (int left = threads_.paintsAlone.load(); left > 0;)
        if (threads_.paintsAlone.compare_exchange_weak(left, left - 1))
            return;
    asked_ = helpers > 0;
    for (int i = 0; i < helpers; ++i)
        threads_.pool.start([shared = shared_] { shared->help(); });
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
    using Clock = std::chrono::steady_clock;
    Shared& s = *shared_;
    const std::optional<ImageTarget> target = imageTarget(painter);
    const int rows = target ? target->clip.height() : 0;
    // A helper on its way gets until the deadline to start.
    auto someoneStarted = [&] {
        std::lock_guard lock(s.mutex);
        return s.started > 0;
    };
    while (asked_ && rows > 1 && Clock::now() < deadline_ && !someoneStarted())
        std::this_thread::yield();
    s.close(rows);
    if (s.bands == 0) {
        s.decided.store(true, std::memory_order_release);
        if (asked_ && rows > 1)
            paintAloneForAWhile();
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
    // A helper that checked in runs now, unless another program holds its
    // core: then the caller takes every band back and paints in one band,
    // as two bands painted one after the other cost more than one.
    const Clock::time_point released = Clock::now();
    while (s.next.load() < bands && Clock::now() - released < promptStart_ / 4)
        std::this_thread::yield();
    if (s.takeAllIfUntouched()) {
        paintAloneForAWhile();
        return false;
    }
    const Clock::time_point start = Clock::now();
    s.paintBand(0);
    s.work();
    const Clock::time_point ownDone = Clock::now();
    {
        std::unique_lock lock(s.mutex);
        s.finished.wait(lock, [&] { return s.done.load() == bands; });
    }
    // Waiting longer than half its own painting, the caller would have
    // finished about as soon alone: the helpers' cores are shared.
    if (2 * (Clock::now() - ownDone) > ownDone - start)
        paintAloneForAWhile();
    return true;
}

void PaintBands::paintAloneForAWhile()
{
    threads_.paintsAlone = kPaintsAlone;
}

} // namespace kestrel
