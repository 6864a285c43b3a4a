#pragma once
// Draws the pointer tools' previews whose drawn flag is set, each inverted
// against what lies under it (not-xor), on a painter that carries the
// board transform.

#include "edit/Previews.h"

class QPainter;

namespace kestrel {

void DrawPreviews(QPainter& painter, const Previews& previews);

} // namespace kestrel
