#pragma once
// The autorouter's search boxes shown over the board for a moment after a
// run: every attempt's box tinted blue, so the nested boxes show how far the
// search had to grow. A transparent layer over the drawing area; the board
// underneath is not repainted and pointer events pass through.

#include "model/Types.h"

#include <QTimer>
#include <QWidget>

#include <vector>

namespace kestrel {

class BoardView;

class SearchBoxFlash : public QWidget {
    Q_OBJECT
public:
    static constexpr int kShownMs = 700;

    explicit SearchBoxFlash(BoardView& view);

    // Shows the boxes (board units) for `ms` milliseconds; an empty list
    // hides what is shown.
    void flash(std::vector<Rect> boxes, int ms = kShownMs);
    const std::vector<Rect>& boxes() const { return boxes_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void clear();

    BoardView& view_;
    std::vector<Rect> boxes_;
    QTimer timer_;
};

} // namespace kestrel
