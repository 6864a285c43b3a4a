#pragma once
// Which cells of the route grid hold obstacle pixels. Cells outside the
// map's extent hold none.

#include <algorithm>
#include <cstdint>
#include <vector>

namespace kestrel {

class CellTouchMap {
public:
    CellTouchMap() = default;
    CellTouchMap(int columns, int rows)
        : columns_(columns), rows_(rows), flags_(static_cast<size_t>(columns) * static_cast<size_t>(rows), 0)
    {
    }

    int columns() const { return columns_; }
    int rows() const { return rows_; }

    void mark(int x, int y)
    {
        if (inside(x, y))
            flags_[index(x, y)] = 1;
    }
    bool touched(int x, int y) const { return inside(x, y) && flags_[index(x, y)] != 0; }

    // Whether any cell of the size x size block with top-left cell (x0, y0) is touched.
    bool anyInBlock(int x0, int y0, int size) const
    {
        for (int y = std::max(y0, 0); y < std::min(y0 + size, rows_); ++y)
            for (int x = std::max(x0, 0); x < std::min(x0 + size, columns_); ++x)
                if (flags_[index(x, y)])
                    return true;
        return false;
    }

private:
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < columns_ && y < rows_; }
    size_t index(int x, int y) const { return static_cast<size_t>(y) * static_cast<size_t>(columns_) + static_cast<size_t>(x); }

    int columns_ = 0;
    int rows_ = 0;
    std::vector<uint8_t> flags_;
};

} // namespace kestrel
