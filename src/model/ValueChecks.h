#pragma once
// The readers' checks of values against the limits of ValueRanges.h. Each
// throws FormatError naming the object, the value and where it lies.

#include "model/LayoutObject.h"

#include <cstddef>
#include <cstdint>

namespace kestrel {

// Where the checked fields lie inside a stored record.
struct RecordFieldOffsets {
    size_t x1, y1, x2, y2, width, angle, clearance, kind, layer;
};
// The 74-byte record of version 3 and the 49-byte record of versions 0..2.
extern const RecordFieldOffsets kRecordFields;
extern const RecordFieldOffsets kOldRecordFields;

void checkBoardSize(int32_t width, int32_t height, size_t widthAt);
// The origin of the coordinate display, read at `at`.
void checkOrigin(Point origin, size_t at);

// The record's kind, layer, coordinates, radii, width, angle and clearance;
// `index` is the object's list position, `recordAt` the record's file
// offset. The side-neutral layers 5 and 6 belong to macros only.
void checkRecordValues(const LayoutObject& o, size_t index, size_t recordAt, const RecordFieldOffsets& fields,
                       bool macro = false);

// Counts of points and of nested groups, read at `at`.
void checkPointCount(const LayoutObject& o, size_t count, size_t index, size_t at);
void checkGroupDepth(const LayoutObject& o, size_t count, size_t index, size_t at);

void checkPoint(const LayoutObject& o, Point p, size_t index, size_t at);
// Version-3 group numbers; old files keep their 16-bit numbers unchecked.
void checkGroupNumber(const LayoutObject& o, int32_t group, size_t index, size_t at);

} // namespace kestrel
