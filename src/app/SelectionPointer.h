#pragma once
// The edit tool's pointer on the drawing area, as far as selecting goes: a
// left press reports the object under the pointer, or starts a selection
// frame on empty board that the release reports. The window applies the
// selection rules; this class only turns pointer events into board terms.

#include "view/gui/BoardView.h" // kestrel::Point as a signal argument

#include <QObject>

#include <array>
#include <QPoint>

class QWidget;

namespace kestrel {


class SelectionPointer : public QObject {
    Q_OBJECT
public:
    SelectionPointer(BoardView& view, QObject* parent);

    // Only the edit tool selects; other tools leave the events alone.
    void setActive(bool active);
    // Ends a press in progress: the frame disappears and reports nothing.
    void reset();
    bool framing() const { return framing_; }

Q_SIGNALS:
    // A left press on an object (its list position) or on empty board.
    void objectPressed(long index, bool shift);
    void emptyPressed(bool shift);
    // The frame's corners, raw board points, when the button is released.
    void frameReleased(kestrel::Point a, kestrel::Point b);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void press(QPoint pixel, bool shift);
    void showFrame();

    BoardView& view_;
    // Kept apart from view_: the filter still sees the paint box's events
    // while the view around it is being destroyed.
    QObject* paintBox_;
    std::array<QWidget*, 4> sides_{}; // the dotted frame over the drawing area
    bool active_ = true;
    bool framing_ = false;
    QPoint anchor_; // paint-box pixels: they stay put when the view scrolls
    QPoint current_;
};

} // namespace kestrel
