#pragma once
// Gaps between areas, for the design check: how far apart two regions'
// outlines are, measured between their polygon edges.

#include "geometry/Region.h"

namespace kestrel {

// Smallest distance in board units between the edges of two regions; 0 when
// they overlap or touch. Only pairs of polygons whose bounds lie closer than
// `limit` are measured, so the result is exact below the limit and `limit`
// (or more) when the regions are at least that far apart.
double regionGap(const Region& a, const Region& b, double limit);

// Distance between two rectangles' edges; 0 when they overlap or touch.
double rectGap(const Rect& a, const Rect& b);

} // namespace kestrel
