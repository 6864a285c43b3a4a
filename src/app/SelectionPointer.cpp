#include "app/SelectionPointer.h"

#include "edit/HitTest.h"
#include "view/gui/BoardView.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWidget>

namespace kestrel {

namespace {

// One side of the frame: a line of red and white dots, blind to the pointer.
// Each side is an opaque widget of its own, so moving the frame repaints
// the board only along the old sides, never under the whole frame.
class FrameSide : public QWidget {
public:
    explicit FrameSide(QWidget* parent) : QWidget(parent)
    {
        setObjectName("SelectionFrame");
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_OpaquePaintEvent);
        hide();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        p.setPen(QPen(Qt::red, 0, Qt::DotLine));
        if (width() >= height())
            p.drawLine(0, 0, width() - 1, 0);
        else
            p.drawLine(0, 0, 0, height() - 1);
    }
};

} // namespace

SelectionPointer::SelectionPointer(BoardView& view, QObject* parent) : QObject(parent), view_(view), paintBox_(view.paintBox())
{
    for (QWidget*& side : sides_)
        side = new FrameSide(view_.paintBox());
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
    for (QWidget* side : sides_)
        side->hide();
}

bool SelectionPointer::eventFilter(QObject* watched, QEvent* event)
{
    if (!active_ || watched != paintBox_)
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
    const QRect r = QRect(anchor_, current_).normalized();
    sides_[0]->setGeometry(r.left(), r.top(), r.width(), 1);
    sides_[1]->setGeometry(r.left(), r.bottom(), r.width(), 1);
    sides_[2]->setGeometry(r.left(), r.top(), 1, r.height());
    sides_[3]->setGeometry(r.right(), r.top(), 1, r.height());
    for (QWidget* side : sides_) {
        side->setVisible(framing_);
        side->raise();
    }
}

} // namespace kestrel
