#include "app/SelectionPointer.h"

#include "edit/HitTest.h"
#include "view/gui/BoardView.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWidget>

namespace kestrel {

namespace {

// Draws the frame: a red dotted outline over the board, blind to the pointer.
class FrameOutline : public QWidget {
public:
    explicit FrameOutline(QWidget* parent) : QWidget(parent)
    {
        setObjectName("SelectionFrame");
        setAttribute(Qt::WA_TransparentForMouseEvents);
        hide();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setPen(QPen(Qt::red, 0, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
};

} // namespace

SelectionPointer::SelectionPointer(BoardView& view, QObject* parent) : QObject(parent), view_(view)
{
    frame_ = new FrameOutline(view_.paintBox());
    view_.paintBox()->installEventFilter(this);
}

void SelectionPointer::setActive(bool active)
{
    active_ = active;
    reset();
}

void SelectionPointer::reset()
{
    framing_ = false;
    frame_->hide();
}

bool SelectionPointer::eventFilter(QObject* watched, QEvent* event)
{
    if (!active_ || watched != view_.paintBox())
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        auto* e = static_cast<QMouseEvent*>(event);
        if (e->button() != Qt::LeftButton)
            return false;
        press(e->position().toPoint(), e->modifiers() & Qt::ShiftModifier);
        return true;
    }
    case QEvent::MouseMove:
        if (framing_) {
            const QPoint p = static_cast<QMouseEvent*>(event)->position().toPoint();
            current_ = p;
            showFrame();
            view_.scrollAtEdge(p);
        }
        return false; // the view shows the pointer position
    case QEvent::MouseButtonRelease: {
        auto* e = static_cast<QMouseEvent*>(event);
        if (e->button() != Qt::LeftButton || !framing_)
            return false;
        current_ = e->position().toPoint();
        reset();
        Q_EMIT frameReleased(view_.screenToBoard(anchor_, false), view_.screenToBoard(current_, false));
        return true;
    }
    default:
        return false;
    }
}

void SelectionPointer::press(QPoint pixel, bool shift)
{
    // Keys (Del, arrows) act on the board once it has been clicked.
    view_.scrollBox()->setFocus(Qt::MouseFocusReason);
    const LayoutDocument* doc = view_.document();
    if (!doc || !doc->activeBoard())
        return;
    const long hit = FindObjectAt(view_.objectIndex(), doc->Working, view_.screenToBoard(pixel, false));
    if (hit >= 0) {
        Q_EMIT objectPressed(hit, shift);
        return;
    }
    framing_ = true;
    anchor_ = current_ = pixel;
    Q_EMIT emptyPressed(shift);
    showFrame();
}

void SelectionPointer::showFrame()
{
    frame_->setGeometry(QRect(anchor_, current_).normalized());
    frame_->setVisible(framing_);
    frame_->raise();
    frame_->update();
}

} // namespace kestrel
