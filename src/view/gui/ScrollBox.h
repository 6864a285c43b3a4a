#pragma once
// ScrollBoxEx1: the scroll box around the drawing area. Its scroll bars
// follow the board view's viewport arithmetic; wheel events zoom.

#include <QAbstractScrollArea>

namespace kestrel {

class BoardView;

class ScrollBox : public QAbstractScrollArea {
    Q_OBJECT
public:
    ScrollBox(BoardView& view, QWidget* parent);

protected:
    void scrollContentsBy(int dx, int dy) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    BoardView& view_;
    // Touchpads and fine wheels send parts of a notch; they add up here.
    int zoomRest_ = 0;
    int sidewaysRest_ = 0;
};

} // namespace kestrel
