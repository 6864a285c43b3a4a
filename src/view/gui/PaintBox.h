#pragma once
// PaintBox1: the drawing area, as large as the board at the current zoom.
// Keeps the board as painted by PaintBoard in an image of the visible part
// at the screen's device resolution; a changed board rectangle is painted
// again into that image, while an overlay (the pointer tools' previews) is
// drawn over the image on every paint and never into it, so repainting a
// preview costs a copy of the image, not a walk over the board.

#include <QImage>
#include <QPoint>
#include <QRegion>
#include <QTransform>
#include <QWidget>

#include <functional>

namespace kestrel {

class BoardView;

class PaintBox : public QWidget {
    Q_OBJECT
public:
    PaintBox(BoardView& view, QWidget* parent);

    // The board under these paint-box pixels changed.
    void boardChanged(const QRect& pixels);
    void boardChanged(const QRegion& pixels);
    // Marks pixels to be painted again when next shown, without a repaint now.
    void markStale(const QRegion& pixels) { stale_ += pixels; }
    // Everything changed: zoom, grid, layers, another board.
    void boardChangedAll();
    // Draws over a copy of the board image on every paint: the image holds
    // the repainted rectangle, the transform maps board units to its pixels.
    using Overlay = std::function<void(QImage&, const QTransform&)>;
    void setOverlay(Overlay overlay) { overlay_ = std::move(overlay); }
    // Pixels of the board painted again since the widget was made: what a
    // change cost, as opposed to copies of the cached image.
    qint64 boardPixelsPainted() const { return boardPixelsPainted_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    // The part of the paint box inside the scroll box's visible area.
    QRect visibleRect() const;
    void renderBoard(const QRect& changed);
    void renderChanged(const QRegion& pixels);

    BoardView& view_;
    QImage cache_;     // the board under cacheRect_, in device pixels
    QRect cacheRect_;  // paint-box pixels the cache covers
    QRegion stale_;    // paint-box pixels of the cache to paint again
    QImage frame_; // the repainted rectangle with the overlay, in device pixels
    Overlay overlay_;
    qint64 boardPixelsPainted_ = 0;
};

} // namespace kestrel
