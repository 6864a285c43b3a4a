#include "view/gui/PaintBox.h"

#include "view/gui/BoardPainter.h"
#include "view/gui/BoardView.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QThread>

#include <algorithm>
#include <cmath>

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
    const size_t side = options.layers.activeSideIs1() ? 0 : 1;
    options.underlay = &view_.scannedCopies_[side];
    options.underlayUnits = view_.scannedCopyUnits_[side];

    // Drawn into an image at the screen's device resolution first, where the
    // pixel sink writes the figures itself. The image covers whole device
    // pixels, so it goes back onto the widget without scaling.
    const qreal dpr = devicePixelRatioF();
    const QRect device(QPoint(static_cast<int>(std::floor(r.left() * dpr)), static_cast<int>(std::floor(r.top() * dpr))),
                       QPoint(static_cast<int>(std::ceil((r.right() + 1) * dpr)) - 1,
                              static_cast<int>(std::ceil((r.bottom() + 1) * dpr)) - 1));
    if (buffer_.width() < device.width() || buffer_.height() < device.height())
        buffer_ = QImage(std::max(device.width(), buffer_.width()), std::max(device.height(), buffer_.height()),
                         QImage::Format_RGB32);
    buffer_.setDevicePixelRatio(dpr);
    const QPointF origin = QPointF(device.topLeft()) / dpr;
    const QSizeF size = QSizeF(device.size()) / dpr;
    QPainter painter(&buffer_);
    painter.setClipRect(QRectF(QPointF(0, 0), size));
    painter.setTransform(boardTransform(vp.zoom(), origin.x(), origin.y()));
    PaintBoard(painter, view_.objectIndex(), options, clip);
    painter.end();

    QPainter widgetPainter(this);
    widgetPainter.drawImage(QRectF(origin, size), buffer_, QRectF(QPointF(0, 0), QSizeF(device.size())));
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
