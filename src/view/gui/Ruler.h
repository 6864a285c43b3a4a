#pragma once
// HScalePaintBox / VScalePaintbox: a ruler beside the board view with ticks
// and labels in millimetres or tenths of an inch counted from the origin,
// and its pointer marker (HMarker / VMarker).

#include <QWidget>

namespace kestrel {

class BoardView;

class Ruler : public QWidget {
    Q_OBJECT
public:
    Ruler(BoardView& view, Qt::Orientation orientation, QWidget* parent);

    // Where the scroll box's visible area starts, in ruler pixels.
    int viewportOffset() const;
    // Moves the marker to a pixel of the visible area (paint-box pixel
    // minus scroll position) and shows it.
    void moveMarker(int visiblePixel);
    QWidget* marker() const { return marker_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    BoardView& view_;
    Qt::Orientation orientation_;
    QWidget* marker_;
};

} // namespace kestrel
