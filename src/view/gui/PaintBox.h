#pragma once
// PaintBox1: the drawing area, as large as the board at the current zoom.
// Paints the board through PaintBoard into an image at the screen's device
// resolution; reports pointer moves to the board view and runs the zoom
// tool's clicks and frames.

#include <QImage>
#include <QPoint>
#include <QWidget>

namespace kestrel {

class BoardView;

class PaintBox : public QWidget {
    Q_OBJECT
public:
    PaintBox(BoardView& view, QWidget* parent);

    void setZoomTool(bool active);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QRect frameRect() const;

    BoardView& view_;
    QImage buffer_; // the repainted rectangle is drawn here first, in device pixels
    bool zoomTool_ = false;
    bool framing_ = false;
    QPoint frameStart_; // paint-box pixels, clamped to the board
    QPoint frameEnd_;
};

} // namespace kestrel
