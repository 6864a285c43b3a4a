#pragma once
// The picture shown while the program starts: the about box's picture in an
// undecorated window, kept up for a moment before the main window opens.

#include <QElapsedTimer>
#include <QSplashScreen>

#include <chrono>

namespace kestrel {

class StartPicture {
public:
    explicit StartPicture(std::chrono::milliseconds shown = std::chrono::milliseconds(1200));
    // Waits, with events handled, for what is left of the time, then takes
    // the picture down.
    void finish();

private:
    QSplashScreen splash_;
    QElapsedTimer since_;
    std::chrono::milliseconds shown_;
};

} // namespace kestrel
