#pragma once
// K0_Shape: the blue origin marker inside the scroll box. Dragging it moves
// the zero point of the rulers and the coordinate display.

#include <QWidget>

namespace kestrel {

class BoardView;

class OriginMarker : public QWidget {
    Q_OBJECT
public:
    static constexpr int kSize = 13;
    OriginMarker(BoardView& view, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // The pointer in paint-box pixels, kept inside the visible area as if
    // the pointer were confined to it.
    QPoint confinedPaintBoxPixel(const QMouseEvent& event) const;

    BoardView& view_;
    bool dragging_ = false;
};

} // namespace kestrel
