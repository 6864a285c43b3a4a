#pragma once
// The autorouter's cell grid: one fixed array of 801 x 801 cells, each
// holding a classification or a wave distance from the start cell, plus the
// arithmetic between board units and cells.

#include "model/Types.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

namespace kestrel {

// Cell values below zero; zero and above are wave distances.
namespace Cell {
constexpr int32_t Free = -1;
constexpr int32_t Blocked = -2;
constexpr int32_t Unclassified = -3;
constexpr int32_t Refine = -4; // inside a touched block, still to be refined
} // namespace Cell

struct CellPos {
    int x = 0;
    int y = 0;
    friend bool operator==(const CellPos&, const CellPos&) = default;
};

// Inclusive cell rectangle (left <= right, top <= bottom; rows grow downwards).
struct CellRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    friend bool operator==(const CellRect&, const CellRect&) = default;
};

class RouteMemo;

class RouteGrid {
public:
    static constexpr int kCells = 801; // columns and rows, indices 0..800

    RouteGrid() : cells_(static_cast<size_t>(kCells) * kCells, Cell::Unclassified) {}

    static bool contains(int x, int y) { return x >= 0 && y >= 0 && x < kCells && y < kCells; }
    static bool contains(CellPos c) { return contains(c.x, c.y); }

    int32_t& at(int x, int y) { return cells_[static_cast<size_t>(y) * kCells + static_cast<size_t>(x)]; }
    int32_t at(int x, int y) const { return cells_[static_cast<size_t>(y) * kCells + static_cast<size_t>(x)]; }
    int32_t& at(CellPos c) { return at(c.x, c.y); }
    int32_t at(CellPos c) const { return at(c.x, c.y); }

    void fill(int32_t value) { std::fill(cells_.begin(), cells_.end(), value); }

    // What the router keeps between runs on an unchanged board.
    RouteMemo& memo();

private:
    std::vector<int32_t> cells_;
    std::shared_ptr<RouteMemo> memo_;
};

// Cell pitch for a track width and clearance in units: w + 2a rounded to
// tens, at least 40.
int32_t CellSize(int32_t widthUnits, int32_t clearanceUnits);

// The cell of a board point (pad centres are rounded to the nearest cell).
CellPos CellOfPoint(Point p, int32_t cellSize);

// The board point at the centre of a cell.
Point CellCentre(CellPos c, int32_t cellSize);

// Columns W (or rows H) of the board: round(size / cellSize) - 1. The wave
// enters only cells 1..W-1; W is bounded so that every neighbour it reads
// (up to index W) lies inside the fixed array, whatever size a file carries.
int GridExtent(int32_t boardSizeUnits, int32_t cellSize);

} // namespace kestrel
