#pragma once
// PB_Makro: draws the macro preview list scaled to fit, y up, with 2.54 mm
// dots while they stay apart, and starts a drag of the macro on a press.

#include "model/ObjectList.h"
#include "model/Types.h"

#include <QWidget>

#include <functional>

class QImage;
class QMimeData;

namespace kestrel {

class MacroPreviewBox : public QWidget {
public:
    // boardSize gives the width and height of the area the dots cover (the
    // active board's); dragData makes what a drag carries.
    MacroPreviewBox(const ObjectList& macro, std::function<Point()> boardSize,
                    std::function<QMimeData*()> dragData, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void paintMacro(QImage& image) const;

    const ObjectList& macro_;
    std::function<Point()> boardSize_;
    std::function<QMimeData*()> dragData_;
};

} // namespace kestrel
