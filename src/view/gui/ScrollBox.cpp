#include "view/gui/ScrollBox.h"

#include "view/gui/BoardView.h"
#include "view/gui/PaintBox.h"

#include <QResizeEvent>
#include <QScrollBar>
#include <QWheelEvent>

namespace kestrel {

ScrollBox::ScrollBox(BoardView& view, QWidget* parent) : QAbstractScrollArea(parent), view_(view)
{
    setObjectName(QStringLiteral("ScrollBoxEx1"));
    // Fixed scroll bars keep the visible area the same size at every zoom.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    viewport()->setBackgroundRole(QPalette::Mid);
    viewport()->setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);
}

void ScrollBox::scrollContentsBy(int, int)
{
    view_.syncScrollFromBars();
}

void ScrollBox::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    view_.viewport_.setClientSize({viewport()->width(), viewport()->height()});
    view_.viewport_.setBoxSize({width(), height()});
    view_.viewport_.clampScroll();
    view_.applyViewport();
    view_.updateRulers();
}

void ScrollBox::wheelEvent(QWheelEvent* event)
{
    const int delta = event->angleDelta().y();
    event->accept();
    // Shift turns the wheel into a sideways scroll, three steps a notch.
    if (event->modifiers() & Qt::ShiftModifier) {
        const int notch = delta != 0 ? delta : event->angleDelta().x();
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() - notch / 40 * horizontalScrollBar()->singleStep());
        return;
    }
    if (delta == 0)
        return; // horizontal or empty wheel steps do not zoom
    const QPoint inViewport = event->position().toPoint();
    view_.wheelZoom(inViewport + QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value()), delta);
}

} // namespace kestrel
