#pragma once
// Labels in bold Arial: the text of a Text object written at its anchor
// (the top-left corner of the text cell), turned counter-clockwise by its
// angle about that point, the cell height being the object's Width.

#include "model/LayoutObject.h"

#include <QColor>
#include <QFont>

class QPainter;
class QPainterPath;

namespace kestrel {

// Arial whose text cell (ascent plus descent) is cellHeight pixels high.
QFont arialWithCellHeight(double cellHeight, bool bold);

void drawLabel(QPainter& painter, const LayoutObject& text, const QColor& colour);

// The glyphs drawLabel draws, as outlines in board coordinates.
QPainterPath labelOutlinePath(const LayoutObject& text);

} // namespace kestrel
