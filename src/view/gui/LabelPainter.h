#pragma once
// Labels in bold Arial: the text of a Text object written at its anchor
// (the top-left corner of the text cell), turned clockwise on the screen by
// its angle about that point, the cell height being the object's Width.
// The box of a label (anchor to far corner) is measured in the same font,
// so what is drawn, hit and invalidated agree.

#include "model/LayoutObject.h"

#include <QColor>
#include <QFont>
#include <QGlyphRun>
#include <QList>

class QPainter;

namespace kestrel {

// Arial whose text cell (ascent plus descent) is cellHeight pixels high.
QFont arialWithCellHeight(double cellHeight, bool bold);

void drawLabel(QPainter& painter, const LayoutObject& text, const QColor& colour);

// The far corner's offset from the anchor (units): the text followed by one
// blank, in bold Arial of the cell height |fontHeight|, turned by angle.
// Pixel sizes are units, so the result does not depend on the screen.
Point labelExtent(const std::string& utf8, int32_t fontHeight, int32_t angle);

// The glyph runs drawLabel draws for a text in a cell `cellHeight` units
// high, laid out from the anchor in the label's unturned frame (y down).
const QList<QGlyphRun>& labelGlyphs(const std::string& utf8, int32_t cellHeight);

// Labels are drawn and measured at most this high (0.5 m, beyond any board
// the editor makes): the font engine fails on much larger pixel sizes, and
// a damaged file may ask for up to 1 m.
constexpr int32_t kMaxLabelCellHeight = 50000;

// A label's cell height in units as drawn, 0 for a label that shows nothing.
int32_t drawnCellHeight(const LayoutObject& text);

} // namespace kestrel
