#include "view/gui/PaintBox.h"

#include "view/gui/BoardPainter.h"
#include "view/gui/BoardView.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QThread>

#include <algorithm>

namespace kestrel {

PaintBox::PaintBox(BoardView& view, QWidget* parent) : QWidget(parent), view_(view)
{
    setObjectName(QStringLiteral("PaintBox1"));
    setMouseTracking(true);
}

void PaintBox::setZoomTool(bool active)
{
    zoomTool_ = active;
    framing_ = false;
    setCursor(active ? Qt::CrossCursor : Qt::ArrowCursor);
    update();
}

void PaintBox::paintEvent(QPaintEvent* event)
{
    if (view_.paintSuspended_ || !view_.document_ || !view_.document_->activeBoard())
        return;
    const Viewport& vp = view_.viewport_;
    const QRect r = event->rect();
    const int32_t k = vp.onePixelUnits();
    const Rect clip = vp.screenRectToBoard({r.left(), r.top(), r.right() + 1, r.bottom() + 1}).grown(k);

    BoardPaintOptions options = BoardPaintOptions::of(view_.document_->Working);
    options.gridVisible = view_.gridVisible_;
    options.gridMarker = view_.gridMarker_;
    options.autorouterTool = view_.autorouterTool_;
    options.paintThreads = QThread::idealThreadCount();
    options.outsideColour = palette().color(QPalette::Mid);

    // Drawn into an image first, where thin strokes can be written as pixel
    // runs; on scaled screens the painter draws on the widget itself.
    const bool buffered = devicePixelRatioF() == 1.0;
    if (buffered) {
        if (buffer_.width() < r.width() || buffer_.height() < r.height())
            buffer_ = QImage(std::max(r.width(), buffer_.width()), std::max(r.height(), buffer_.height()),
                             QImage::Format_RGB32);
    }
    QPainter widgetPainter(this);
    QPainter bufferPainter;
    if (buffered)
        bufferPainter.begin(&buffer_);
    QPainter& painter = buffered ? bufferPainter : widgetPainter;
    if (buffered)
        painter.setClipRect(QRect(QPoint(0, 0), r.size()));
    const QPoint origin = buffered ? r.topLeft() : QPoint(0, 0);
    painter.setTransform(boardTransform(vp.zoom(), origin.x(), origin.y()));
    PaintBoard(painter, view_.objectIndex(), options, clip);
    if (buffered) {
        bufferPainter.end();
        widgetPainter.drawImage(r.topLeft(), buffer_, QRect(QPoint(0, 0), r.size()));
    }

    if (framing_) {
        widgetPainter.setPen(QPen(Qt::black, 0, Qt::DotLine));
        widgetPainter.setBrush(Qt::NoBrush);
        widgetPainter.drawRect(frameRect());
    }
}

QRect PaintBox::frameRect() const
{
    return QRect(frameStart_, frameEnd_).normalized();
}

namespace {
QPoint clampedPixel(const Viewport& vp, QPoint p)
{
    const Point b = vp.clampToBoard(vp.screenToBoard({p.x(), p.y()}, false));
    const Pixel px = vp.boardToScreen(b);
    return {px.x, px.y};
}
} // namespace

void PaintBox::mousePressEvent(QMouseEvent* event)
{
    if (!zoomTool_)
        return QWidget::mousePressEvent(event);
    if (event->button() == Qt::RightButton) {
        framing_ = false;
        view_.zoomToolOut();
    } else if (event->button() == Qt::LeftButton) {
        framing_ = true;
        frameStart_ = frameEnd_ = clampedPixel(view_.viewport_, event->position().toPoint());
    }
}

void PaintBox::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    view_.paintBoxMouseMoved(p, event->modifiers() & Qt::ControlModifier);
    if (zoomTool_ && framing_) {
        const QRect before = frameRect();
        frameEnd_ = clampedPixel(view_.viewport_, p);
        update(before.adjusted(-1, -1, 2, 2));
        update(frameRect().adjusted(-1, -1, 2, 2));
        view_.scrollAtEdge(p);
    }
    QWidget::mouseMoveEvent(event);
}

void PaintBox::mouseReleaseEvent(QMouseEvent* event)
{
    if (!zoomTool_ || event->button() != Qt::LeftButton || !framing_)
        return QWidget::mouseReleaseEvent(event);
    framing_ = false;
    view_.zoomToolRelease(frameStart_, event->position().toPoint());
}

} // namespace kestrel
