#include "view/gui/PaintBox.h"

#include "view/gui/BoardPainter.h"
#include "view/gui/BoardView.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QThread>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace kestrel {

PaintBox::PaintBox(BoardView& view, QWidget* parent) : QWidget(parent), view_(view)
{
    setObjectName(QStringLiteral("PaintBox1"));
    setMouseTracking(true);
}

void PaintBox::boardChanged(const QRect& pixels)
{
    stale_ += pixels;
    update(pixels);
}

void PaintBox::boardChanged(const QRegion& pixels)
{
    stale_ += pixels;
    update(pixels);
}

void PaintBox::boardChangedAll()
{
    cacheRect_ = QRect();
    stale_ = QRegion();
    update();
}

QRect PaintBox::visibleRect() const
{
    const QWidget* area = parentWidget();
    if (!area)
        return rect();
    return rect() & QRect(mapFrom(area, QPoint(0, 0)), area->size());
}

// The cache image's pixel (0, 0) is the paint-box pixel cacheRect_.topLeft().
void PaintBox::renderBoard(const QRect& changed)
{
    // At a fractional scale the device pixels at the rectangle's edges are
    // partly outside it; they are drawn on screen, so they are painted too.
    const qreal dpr = cache_.devicePixelRatio();
    const QRect r = dpr == std::floor(dpr) ? changed : changed.adjusted(-1, -1, 1, 1) & cacheRect_;
    const Viewport& vp = view_.viewport_;
    const int32_t k = vp.onePixelUnits();
    const Rect clip = vp.screenRectToBoard({r.left(), r.top(), r.right() + 1, r.bottom() + 1}).grown(k);

    BoardPaintOptions options = BoardPaintOptions::of(view_.document_->Working);
    options.gridVisible = view_.gridVisible_;
    options.gridMarker = view_.gridMarker_;
    options.autorouterTool = view_.autorouterTool_;
    // Threads pay off on large areas only; a small part is done before
    // they would have started.
    constexpr qint64 kThreadedPixels = 256 * 256;
    options.paintThreads = qint64(r.width()) * r.height() >= kThreadedPixels ? QThread::idealThreadCount() : 1;
    options.outsideColour = palette().color(QPalette::Mid);
    const size_t side = options.layers.activeSideIs1() ? 0 : 1;
    options.underlay = &view_.scannedCopies_[side];
    options.underlayUnits = view_.scannedCopyUnits_[side];

    boardPixelsPainted_ += qint64(r.width()) * r.height();
    QPainter painter(&cache_);
    painter.setClipRect(r.translated(-cacheRect_.topLeft()));
    painter.setTransform(boardTransform(vp.zoom(), cacheRect_.left(), cacheRect_.top()));
    PaintBoard(painter, view_.objectIndex(), options, clip);
}

// Only the changed parts are painted again. After a drop of objects spread
// over the view these are hundreds of small rectangles; each walk of the
// board has a cost of its own, so within each band of rows the rectangles
// that lie close side by side are painted as one, and a region that fills
// most of its hull is painted as the hull, on all threads.
void PaintBox::renderChanged(const QRegion& due)
{
    constexpr int kBandRows = 64;
    constexpr int kJoinGap = 48;
    const QRect hull = due.boundingRect();
    qint64 dueArea = 0;
    for (const QRect& part : due)
        dueArea += qint64(part.width()) * part.height();
    if (2 * dueArea > qint64(hull.width()) * hull.height()) {
        renderBoard(hull);
        return;
    }
    // One pass over the region: each rectangle goes to the bands it meets.
    std::vector<std::vector<QRect>> bands(static_cast<size_t>(hull.height() / kBandRows + 1));
    const int lastBand = static_cast<int>(bands.size()) - 1;
    for (const QRect& part : due) {
        const int first = std::clamp((part.top() - hull.top()) / kBandRows, 0, lastBand);
        const int last = std::clamp((part.bottom() - hull.top()) / kBandRows, 0, lastBand);
        for (int b = first; b <= last; ++b) {
            const QRect inBand = part & QRect(hull.left(), hull.top() + b * kBandRows, hull.width(), kBandRows);
            if (!inBand.isEmpty())
                bands[static_cast<size_t>(b)].push_back(inBand);
        }
    }
    for (std::vector<QRect>& parts : bands) {
        std::sort(parts.begin(), parts.end(), [](const QRect& a, const QRect& b) { return a.left() < b.left(); });
        QRect run;
        for (const QRect& p : parts) {
            if (!run.isNull() && p.left() <= run.right() + kJoinGap) {
                run |= p;
                continue;
            }
            if (!run.isNull())
                renderBoard(run);
            run = p;
        }
        if (!run.isNull())
            renderBoard(run);
    }
}

void PaintBox::paintEvent(QPaintEvent* event)
{
    if (view_.paintSuspended_ || !view_.document_ || !view_.document_->activeBoard())
        return;
    const QRect r = event->rect();
    if (!cacheRect_.contains(r)) {
        // Scrolled, resized or first shown: the cache starts over on what
        // can be seen now.
        cacheRect_ = visibleRect().united(r);
        const qreal dpr = devicePixelRatioF();
        cache_ = QImage(static_cast<int>(std::ceil(cacheRect_.width() * dpr)),
                        static_cast<int>(std::ceil(cacheRect_.height() * dpr)), QImage::Format_RGB32);
        cache_.setDevicePixelRatio(dpr);
        stale_ = QRegion(cacheRect_);
    }
    const QRegion due = stale_ & event->region();
    if (!due.isEmpty()) {
        renderChanged(due);
        stale_ -= due;
    }
    QPainter painter(this);
    const qreal dpr = cache_.devicePixelRatio();
    // Drawn in device pixels, the cache's corner on a whole one: at a
    // fractional scale a part drawn from a logical rectangle would land
    // between pixels, a pixel off from the parts around it.
    const QTransform toDevice = painter.deviceTransform();
    const QPoint cacheAt = toDevice.map(QPointF(cacheRect_.topLeft())).toPoint();
    const QRect source = toDevice.mapRect(QRectF(r)).toAlignedRect().translated(-cacheAt) & cache_.rect();
    if (source.isEmpty())
        return;
    painter.setWorldTransform(toDevice.inverted());
    const QRectF target(source.translated(cacheAt));
    if (!overlay_) {
        painter.drawImage(target, cache_, QRectF(source));
        return;
    }
    // The previews go over a copy, so the cache keeps the bare board. The
    // copy's buffer is kept from paint to paint.
    if (frame_.width() < source.width() || frame_.height() < source.height())
        frame_ = QImage(std::max(frame_.width(), source.width()), std::max(frame_.height(), source.height()),
                        QImage::Format_RGB32);
    for (int y = 0; y < source.height(); ++y)
        std::memcpy(frame_.scanLine(y), cache_.constScanLine(source.top() + y) + source.left() * 4,
                    static_cast<size_t>(source.width()) * 4);
    QImage view(frame_.bits(), source.width(), source.height(), frame_.bytesPerLine(), QImage::Format_RGB32);
    QTransform toFrame = boardTransform(view_.viewport_.zoom(), cacheRect_.left() + source.left() / dpr,
                                        cacheRect_.top() + source.top() / dpr);
    toFrame *= QTransform::fromScale(dpr, dpr);
    overlay_(view, toFrame);
    painter.drawImage(target, view, QRectF(view.rect()));
}

void PaintBox::mouseMoveEvent(QMouseEvent* event)
{
    view_.paintBoxMouseMoved(event->position().toPoint(), event->modifiers() & Qt::ControlModifier);
    QWidget::mouseMoveEvent(event);
}

} // namespace kestrel
