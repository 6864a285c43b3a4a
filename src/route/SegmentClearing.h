#pragma once
// Pushing the inner segments of a freshly traced track off foreign copper.

#include "model/Types.h"

#include <array>
#include <functional>
#include <vector>

namespace kestrel {

// 1 horizontal, 2 vertical (also for a single point), 3 when x and y change
// the same way, 4 when they change opposite ways.
int SegmentDirection(Point a, Point b);

// Moves the segment p1-p2 of the run p0, p1, p2, p3 sideways by d units,
// sliding its ends along the neighbouring segments; returns the new p1, p2.
std::array<Point, 2> ShiftSegment(Point p0, Point p1, Point p2, Point p3, int32_t d);

// Whether the probe over a segment meets an obstacle.
using SegmentBlocked = std::function<bool(Point, Point)>;

// Checks every segment but the first and the last; a blocked one is shifted
// by steps of clearance div 2, up to ten steps to the positive side first,
// then up to ten to the negative side, and only where the inner segment
// before it stays clear with its moved end. False when a segment stays
// blocked.
bool ClearSegments(std::vector<Point>& points, int32_t clearanceUnits, const SegmentBlocked& blocked);

} // namespace kestrel
