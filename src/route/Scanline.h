#pragma once
// Scanline fill of polygon sets on the router's pixel raster. A pixel is 5
// board units square: pixel (px, py) covers board x from 5 px and board y
// downwards from -5 py, and belongs to a shape when its centre
// (5 px + 2.5, -5 py - 2.5) lies inside (non-zero winding).

#include "model/Types.h"

#include <cstdint>
#include <vector>

namespace kestrel {

constexpr int32_t kUnitsPerPixel = 5;

// Half-open pixel rectangle: columns left..right-1, rows top..bottom-1.
struct PixelRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

// A run of covered pixels [begin, end) of one shape in one row.
struct PixelSpan {
    uint32_t shape = 0;
    int32_t begin = 0;
    int32_t end = 0;
};

class ScanlineFill {
public:
    // Adds one shape: polygons in board units filled together by the
    // non-zero rule. Returns its index.
    uint32_t addShape(const std::vector<std::vector<Point>>& polygons);
    size_t shapeCount() const { return shapes_.size(); }

    // Walks the rows of the clip rectangle from top to bottom, keeping only
    // what lies inside it. nextRow gives the next row holding any span and
    // its spans (per shape, left to right); false when none is left.
    void startSweep(const PixelRect& clip);
    bool nextRow(int32_t& row, std::vector<PixelSpan>& spans);

private:
    struct Edge {
        double x0, y0;  // a point of the edge, board units
        double dxPerY;  // board x change per unit of y
        int32_t firstRow, lastRow;
        int winding;
    };
    struct Shape {
        uint32_t edgeBegin, edgeEnd;
        int32_t firstRow, lastRow;
        uint32_t nextEdge; // sweep: next edge to enter
        uint32_t activeCount; // sweep: entries used in the active pool slice
    };

    void emitSpans(uint32_t shapeIndex, Shape& shape, int32_t row, std::vector<PixelSpan>& spans);

    std::vector<Edge> edges_;
    std::vector<Shape> shapes_;
    std::vector<uint32_t> activePool_; // each shape's active edges live in its own slice

    PixelRect clip_;
    int32_t row_ = 0;
    std::vector<uint32_t> byFirstRow_;
    size_t nextShape_ = 0;
    std::vector<uint32_t> activeShapes_;
    std::vector<std::pair<double, int>> crossings_;
};

} // namespace kestrel
