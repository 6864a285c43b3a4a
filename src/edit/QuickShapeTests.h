#pragma once
// Cheap answers to "is this point in the object's drawn shape" and "does the
// shape meet this rectangle", good enough to decide most cases without
// building the outline region. Where the answer is too close to call, they
// say so and the caller builds the region.

#include "model/LayoutObject.h"

#include <span>

namespace kestrel {

enum class Quick : uint8_t { No, Yes, Unsure };

// The capsule of segment a-b drawn with the object's pen.
Quick quickSegmentHit(const LayoutObject& o, Point a, Point b, Point p);
Quick quickSegmentTouch(const LayoutObject& o, Point a, Point b, const Rect& frame);

// A full circle or ring; arcs and odd radii are always Unsure when hit.
// An arc touches a frame that holds a point of its middle line well inside
// its span.
Quick quickCircleHit(const LayoutObject& circle, Point p);
Quick quickCircleTouch(const LayoutObject& circle, const Rect& frame);

// Whether segment a-b meets the closed rectangle.
bool segmentMeetsRect(Point a, Point b, const Rect& r);

// The filled inside of a zone's outline by the even-odd rule, edges included.
bool polygonHolds(std::span<const Point> polygon, Point p);

} // namespace kestrel
