#pragma once
// What a window shows of a widget once the pending repaints are done, read
// from the window's back buffer: there only what was invalidated is painted
// again, where a grab() would paint the widget afresh and hide a missing
// repaint.

#include <QApplication>
#include <QImage>
#include <QScreen>
#include <QWidget>

namespace kestrel::test {

inline QImage shownOnScreen(QWidget* w)
{
    // A pointer move replayed after a scroll moves the ruler markers, whose
    // repaints are only posted then.
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
    QWidget* window = w->window();
    const QPoint at = w->mapTo(window, QPoint(0, 0));
    return window->screen()
        ->grabWindow(window->winId(), at.x(), at.y(), w->width(), w->height())
        .toImage()
        .convertToFormat(QImage::Format_RGB888);
}

} // namespace kestrel::test
