#pragma once
// A large repaint into an image split into horizontal bands that are
// painted at the same time on several threads. Each band gets its own
// painter on its own rows of the image, with the caller's transform and
// clip cut to the band, so the pixels are the same as from one painter.

#include <QRect>

#include <chrono>
#include <functional>
#include <memory>

class QPainter;
class QThreadPool;

namespace kestrel {

// Bands for the painter's repaint: one for a small area, where handing work
// to threads costs more than it saves, or for a painter state the bands do
// not take over (opacity, composition); else up to `threads`.
int bandCount(const QPainter& painter, int threads);

// Helper threads asked for when a repaint begins, so that they can wake
// while the caller paints what comes before the bands (the background).
// Only helpers that have started by the time paint() is called take part;
// on a busy machine a helper that starts late would finish its band late,
// so without one the caller paints alone, in one band, and the helper that
// starts after that leaves without touching the caller's state.
class PaintBands {
public:
    // How long after the request paint() waits for a helper to start.
    static constexpr std::chrono::microseconds kPromptStart{200};

    // Asks `helpers` threads of `pool` (the painting threads when null,
    // kept for the program's life) to stand by.
    explicit PaintBands(int helpers, QThreadPool* pool = nullptr,
                        std::chrono::microseconds promptStart = kPromptStart);
    // Sends away the helpers paint() did not take.
    ~PaintBands();
    PaintBands(const PaintBands&) = delete;
    PaintBands& operator=(const PaintBands&) = delete;

    // Paints the painter's image in one band per started helper and one for
    // the caller; paintBand receives each band's painter and the band's
    // device rectangle (in the caller's device coordinates). False, painting
    // nothing, when no helper has started or the painter's target or clip
    // cannot be split: then the caller paints on its own. Called once.
    bool paint(QPainter& painter, const std::function<void(QPainter&, const QRect&)>& paintBand);

private:
    struct Shared;
    std::shared_ptr<Shared> shared_;
    std::chrono::steady_clock::time_point deadline_;
};

} // namespace kestrel
