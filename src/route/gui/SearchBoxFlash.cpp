#include "route/gui/SearchBoxFlash.h"

#include "view/gui/BoardView.h"

#include <QEvent>
#include <QPainter>

namespace kestrel {

SearchBoxFlash::SearchBoxFlash(BoardView& view) : QWidget(view.paintBox()), view_(view)
{
    setObjectName("SearchBoxFlash");
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &SearchBoxFlash::clear);
    view.paintBox()->installEventFilter(this);
    hide();
}

void SearchBoxFlash::flash(std::vector<Rect> boxes, int ms)
{
    boxes_ = std::move(boxes);
    if (boxes_.empty())
        return clear();
    setGeometry(parentWidget()->rect());
    show();
    raise();
    update();
    timer_.start(ms);
}

void SearchBoxFlash::clear()
{
    timer_.stop();
    boxes_.clear();
    hide();
}

// The drawing area grows and shrinks with the zoom; the layer follows it.
bool SearchBoxFlash::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        setGeometry(parentWidget()->rect());
    return QWidget::eventFilter(watched, event);
}

void SearchBoxFlash::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(QColor(0, 0, 255));
    // Translucent, so the boxes of later attempts, which hold the earlier
    // ones, leave the first box the darkest.
    painter.setBrush(QColor(0, 0, 255, 48));
    for (const Rect& box : boxes_) {
        const QPoint a = view_.boardToScreen({box.left, box.bottom});
        const QPoint b = view_.boardToScreen({box.right, box.top});
        painter.drawRect(QRect(a, b).normalized());
    }
}

} // namespace kestrel
