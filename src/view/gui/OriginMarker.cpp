#include "view/gui/OriginMarker.h"

#include "view/gui/BoardView.h"
#include "view/gui/ScrollBox.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace kestrel {

OriginMarker::OriginMarker(BoardView& view, QWidget* parent) : QWidget(parent), view_(view)
{
    setObjectName(QStringLiteral("K0_Shape"));
    setFixedSize(kSize, kSize);
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_TranslucentBackground);
}

void OriginMarker::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(Qt::white);
    painter.setBrush(QColor(0, 0, 255));
    painter.drawEllipse(QRect(0, 0, kSize - 1, kSize - 1));
}

QPoint OriginMarker::confinedPaintBoxPixel(const QMouseEvent& event) const
{
    QWidget* area = view_.scrollBox_->viewport();
    QPoint inArea = mapTo(area, event.position().toPoint());
    inArea.setX(std::clamp(inArea.x(), 0, area->width() - 1));
    inArea.setY(std::clamp(inArea.y(), 0, area->height() - 1));
    return inArea + QPoint(view_.viewport_.scroll().x, view_.viewport_.scroll().y);
}

void OriginMarker::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    dragging_ = true;
    view_.tentativeOrigin_ = view_.document_ ? view_.document_->Origin : Point{};
}

void OriginMarker::mouseMoveEvent(QMouseEvent* event)
{
    if (!dragging_)
        return;
    view_.originDragMoved(confinedPaintBoxPixel(*event), !(event->modifiers() & Qt::ControlModifier));
}

void OriginMarker::mouseReleaseEvent(QMouseEvent* event)
{
    if (!dragging_ || event->button() != Qt::LeftButton)
        return;
    dragging_ = false;
    view_.originDragFinished();
}

} // namespace kestrel
