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
struct RasterRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

class ScanlineFill {
public:
    // Receives the runs of covered pixels, a band of rows at a time.
    class Sink {
    public:
        virtual ~Sink() = default;
        // Pixels begin..end-1 of the row belong to the shape.
        virtual void span(uint32_t shape, int32_t row, int32_t begin, int32_t end) = 0;
        // Every span of the rows first..end-1 has been given; later spans
        // lie below them.
        virtual void rowsDone(int32_t first, int32_t end) = 0;
    };

    // Adds one shape: polygons in board units filled together by the
    // non-zero rule. Returns its index.
    uint32_t addShape(const std::vector<std::vector<Point>>& polygons);
    // The same in pieces: a new empty shape, then polygons added to it.
    uint32_t beginShape();
    void addPolygons(const std::vector<std::vector<Point>>& polygons);
    // A shape of one simple convex polygon: every row meets it in one run,
    // which is found from its two sides alone.
    uint32_t addConvexPolygon(const std::vector<Point>& polygon);
    size_t shapeCount() const { return shapes_.size(); }

    // Walks the rows of the clip rectangle from top to bottom in bands,
    // giving the spans that lie inside it; rows without any shape are skipped.
    void sweep(const RasterRect& clip, Sink& sink);

    static constexpr int32_t kBandRows = 32;

private:
    struct Edge {
        int32_t x0, y0;  // one end, board units
        double dxPerY;   // board x change per unit of y
        int32_t firstRow, lastRow;
        int32_t winding;
    };
    struct Shape {
        uint32_t edgeBegin, edgeEnd;
        int32_t firstRow, lastRow;
        uint32_t nextEdge;    // sweep: next edge to enter (convex: of the first side)
        uint32_t activeCount; // sweep: entries used in the shape's active slice
        uint32_t sideSplit;   // convex shapes: where the second side's edges begin, else 0
        uint32_t nextOnSide;  // sweep, convex: current edge of the second side
        uint32_t activeBegin; // sweep, other shapes: their slice of the active pool
    };
    struct ActiveEdge {
        int32_t x0, y0;
        double dxPerY;
        int32_t lastRow;
        int32_t winding;
        double x = 0; // board x at the centre line of the current row
    };

    void addEdge(Shape& shape, Point a, Point b);
    // Spans of one shape in consecutive rows.
    void emitConvexSpans(uint32_t shapeIndex, Shape& shape, int32_t firstRow, int32_t lastRow,
                         const RasterRect& clip, Sink& sink);
    void emitSpans(uint32_t shapeIndex, Shape& shape, int32_t firstRow, int32_t lastRow, const RasterRect& clip,
                   Sink& sink);

    std::vector<Edge> edges_;
    std::vector<Shape> shapes_;
    std::vector<ActiveEdge> activePool_; // each shape's active edges live in its own slice
    std::vector<std::pair<double, int32_t>> crossings_;
};

} // namespace kestrel
