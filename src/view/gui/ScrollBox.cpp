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

namespace {

// Adds a part of a notch (120 a notch) to what is left of the ones before,
// starting over when the direction turns; returns the whole units of `unit`
// reached and keeps the rest.
int takeWhole(int& rest, int delta, int unit)
{
    if ((rest > 0 && delta < 0) || (rest < 0 && delta > 0))
        rest = 0;
    rest += delta;
    const int whole = rest / unit;
    rest -= whole * unit;
    return whole;
}

} // namespace

void ScrollBox::wheelEvent(QWheelEvent* event)
{
    const QPoint angle = event->angleDelta();
    event->accept();
    // Shift turns the wheel into a sideways scroll, three steps a notch; a
    // tilt wheel or a sideways swipe scrolls sideways as well.
    if ((event->modifiers() & Qt::ShiftModifier) || (angle.y() == 0 && angle.x() != 0)) {
        const int steps = takeWhole(sidewaysRest_, angle.y() != 0 ? angle.y() : angle.x(), 40);
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() - steps * horizontalScrollBar()->singleStep());
        return;
    }
    // One zoom step a whole notch, however finely it came.
    const QPoint inViewport = event->position().toPoint();
    for (int notches = takeWhole(zoomRest_, angle.y(), 120); notches != 0; notches -= notches > 0 ? 1 : -1)
        view_.wheelZoom(inViewport + QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value()),
                        notches > 0 ? 120 : -120);
}

} // namespace kestrel
