#include "app/StartPicture.h"

#include "app/AboutDialog.h"

#include <QEventLoop>
#include <QTimer>

namespace kestrel {

StartPicture::StartPicture(std::chrono::milliseconds shown) : splash_(aboutPicture()), shown_(shown)
{
    splash_.setObjectName("StartPicture");
    splash_.show();
    splash_.repaint(); // before the main window's making keeps the event loop from it
    since_.start();
}

void StartPicture::finish()
{
    if (const auto left = shown_ - std::chrono::milliseconds(since_.elapsed()); left.count() > 0) {
        QEventLoop wait;
        QTimer::singleShot(left, &wait, &QEventLoop::quit);
        wait.exec();
    }
    splash_.close();
}

} // namespace kestrel
