#pragma once
// The macro panel's arithmetic: the scale of the preview and the height of
// its area.

#include "model/Types.h"

namespace kestrel {

// Pixels per unit that fit the rectangle (normalised, board units) into a
// paint box of widthPx x heightPx with a 10-pixel margin: the smaller of
// the two axes' scales, cut to whole per cent, or below 10 per cent the
// fitting scale itself (0.01 for a box no larger than its margin). An axis
// without extent does not limit the scale.
double macroPreviewScale(const Rect& bounds, int widthPx, int heightPx);

// Whether the preview draws its 2.54 mm dots at this scale: only while four
// dots (each 2 / scale units, rounded) take less than the dot distance.
bool macroPreviewShowsDots(double scale);

// The preview area's height for the panel's width and its height left over
// by the other controls: 1.2 times the width, at most 300 pixels and at
// most the free height less 90, at least 50.
int macroPreviewHeight(int widthPx, int freeHeightPx);

} // namespace kestrel
