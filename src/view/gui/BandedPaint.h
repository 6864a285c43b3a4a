#pragma once
// A large repaint into an image split into horizontal bands that are
// painted at the same time on several threads. Each band gets its own
// painter on its own rows of the image, with the caller's transform and
// clip cut to the band, so the pixels are the same as from one painter.

#include <QRect>
#include <QThreadPool>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>

class QPainter;

namespace kestrel {

// Bands for the painter's repaint: one for a small area, where handing work
// to threads costs more than it saves, or for a painter state the bands do
// not take over (opacity, composition); else up to `threads`.
int bandCount(const QPainter& painter, int threads);

// The threads that help paint bands, kept for the program's life: the
// painting caches (fonts, laid-out labels) are kept per thread and would be
// built anew for every repaint on new threads.
struct BandThreads {
    BandThreads();
    // The program's threads.
    static BandThreads& shared();

    QThreadPool pool;
    // Repaints left that the caller paints alone, without asking for help:
    // set when the helpers came late or kept the caller waiting.
    std::atomic<int> paintsAlone{0};
};

// Helper threads asked for when a repaint begins, so that they can wake
// while the caller paints what comes before the bands (the background).
// Only helpers that are running when the bands are handed out take part:
// on a busy core a helper that starts late would finish its band late, so
// without one the caller paints alone, in one band, and a helper that comes
// later leaves without touching the caller's state. A helper that starts in
// time but then shares its core with another program keeps the caller
// waiting for its band. After either, the next few repaints do not ask for
// help, so they neither wait for it nor split the image for nothing.
class PaintBands {
public:
    // How long after the request paint() waits for a helper to start; a
    // quarter of that it waits, after handing out the bands, for the
    // helpers to take theirs.
    static constexpr std::chrono::microseconds kPromptStart{200};
    // Repaints painted alone after no helper came in time, or after the
    // helpers kept the caller waiting for more than half its own painting.
    static constexpr int kPaintsAlone = 8;

    // Asks `helpers` of `threads` (the program's when null) to stand by.
    explicit PaintBands(int helpers, BandThreads* threads = nullptr,
                        std::chrono::microseconds promptStart = kPromptStart);
    // Sends away the helpers paint() did not take.
    ~PaintBands();
    PaintBands(const PaintBands&) = delete;
    PaintBands& operator=(const PaintBands&) = delete;

    // Paints the painter's image in one band per started helper and one for
    // the caller; paintBand receives each band's painter and the band's
    // device rectangle (in the caller's device coordinates). False, painting
    // nothing, when no helper has started or taken its band in time, or the
    // painter's target or clip cannot be split: then the caller paints on
    // its own. Called once.
    bool paint(QPainter& painter, const std::function<void(QPainter&, const QRect&)>& paintBand);

private:
    void paintAloneForAWhile();

    struct Shared;
    BandThreads& threads_;
    std::shared_ptr<Shared> shared_;
    bool asked_ = false;
    std::chrono::microseconds promptStart_;
    std::chrono::steady_clock::time_point deadline_;
};

} // namespace kestrel
