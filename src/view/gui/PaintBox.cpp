#include "view/gui/PaintBox.h"

#include "view/gui/BoardPainter.h"
#include "view/gui/BoardView.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QThread>

#include <cmath>

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
void PaintBox::renderBoard(const QRect& r)
{
    const Viewport& vp = view_.viewport_;
    const int32_t k = vp.onePixelUnits();
    const Rect clip = vp.screenRectToBoard({r.left(), r.top(), r.right() + 1, r.bottom() + 1}).grown(k);

    BoardPaintOptions options = BoardPaintOptions::of(view_.document_->Working);
    options.gridVisible = view_.gridVisible_;
    options.gridMarker = view_.gridMarker_;
    options.autorouterTool = view_.autorouterTool_;
    options.paintThreads = QThread::idealThreadCount();
    options.outsideColour = palette().color(QPalette::Mid);

    QPainter painter(&cache_);
    painter.setClipRect(r.translated(-cacheRect_.topLeft()));
    painter.setTransform(boardTransform(vp.zoom(), cacheRect_.left(), cacheRect_.top()));
    PaintBoard(painter, view_.objectIndex(), options, clip);
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
    const QRegion due = stale_ & r;
    if (!due.isEmpty()) {
        const QRect area = due.boundingRect();
        renderBoard(area);
        stale_ -= area;
    }
    QPainter painter(this);
    const qreal dpr = cache_.devicePixelRatio();
    const QRect source(QPointF((r.topLeft() - cacheRect_.topLeft()) * dpr).toPoint(), (QSizeF(r.size()) * dpr).toSize());
    painter.drawImage(r, cache_, source);
    if (overlay_) {
        painter.setClipRect(r);
        painter.setTransform(boardTransform(view_.viewport_.zoom()));
        overlay_(painter);
    }
}

void PaintBox::mouseMoveEvent(QMouseEvent* event)
{
    view_.paintBoxMouseMoved(event->position().toPoint(), event->modifiers() & Qt::ControlModifier);
    QWidget::mouseMoveEvent(event);
}

} // namespace kestrel
