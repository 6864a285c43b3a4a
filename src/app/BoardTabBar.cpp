#include "app/BoardTabBar.h"

#include <QEvent>

namespace kestrel {

BoardTabBar::BoardTabBar(QWidget* parent) : QTabBar(parent) {}

QSize BoardTabBar::tabSizeHint(int index) const
{
    const QString key = tabText(index) + (index == currentIndex() ? QChar(1) : QChar(0));
    if (const auto known = sizes_.constFind(key); known != sizes_.constEnd())
        return *known;
    const QSize size = QTabBar::tabSizeHint(index);
    sizes_.insert(key, size);
    return size;
}

void BoardTabBar::changeEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::FontChange:
    case QEvent::StyleChange:
    case QEvent::LocaleChange:
        sizes_.clear();
        break;
    default:
        break;
    }
    QTabBar::changeEvent(event);
}

void BoardTabBar::tabInserted(int index)
{
    // Captions of renamed and closed boards are let go now and then.
    if (sizes_.size() > 2 * count() + 64)
        sizes_.clear();
    QTabBar::tabInserted(index);
}

} // namespace kestrel
