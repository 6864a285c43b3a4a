#include "app/StartPicture.h"

#include "app/AboutDialog.h"

#include <QEventLoop>
#include <QTimer>

namespace kestrel {

StartPicture::StartPicture(std::chrono::milliseconds shown) : splash_(aboutPicture()), shown_(shown)
{
    splash_.setObjectName("StartPicture");
    splash_.show();
    splash_.repaint(); // at once: making the main window next keeps the event loop busy
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
