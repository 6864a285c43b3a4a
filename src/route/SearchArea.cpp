#include "route/SearchArea.h"

#include "geometry/Geometry.h"
#include "model/Units.h"

namespace kestrel {

namespace {
constexpr int kMarginCells = 10;

int toCells(int32_t units, int32_t cellSize)
{
    return static_cast<int>(roundEven64(static_cast<double>(units) / cellSize));
}
} // namespace

CellRect SearchWindow(const ObjectList& objects, int32_t cellSize, WaveArea area)
{
    if (objects.empty())
        return {0, 0, area.columns, area.rows};
    Rect all = BoundingRect(objects[0]);
    for (const auto& o : objects)
        all = all.united(BoundingRect(*o));
    // Rows count downwards, so the board's top edge (largest y) is row 0.
    CellRect window{toCells(all.left, cellSize) - kMarginCells, toCells(-all.bottom, cellSize) - kMarginCells,
                    toCells(all.right, cellSize) + kMarginCells, toCells(-all.top, cellSize) + kMarginCells};
    window.left = std::clamp(window.left, 0, area.columns);
    window.right = std::clamp(window.right, 0, area.columns);
    window.top = std::clamp(window.top, 0, area.rows);
    window.bottom = std::clamp(window.bottom, 0, area.rows);
    return window;
}

CellRect SearchBox(CellPos start, CellPos target)
{
    auto tens = [](int v) { return v / 10 * 10; };
    return {tens(std::min(start.x, target.x)) - kMarginCells, tens(std::min(start.y, target.y)) - kMarginCells,
            tens(std::max(start.x, target.x)) + kMarginCells, tens(std::max(start.y, target.y)) + kMarginCells};
}

CellRect ClampInto(const CellRect& box, const CellRect& window)
{
    return {std::clamp(box.left, window.left, window.right), std::clamp(box.top, window.top, window.bottom),
            std::clamp(box.right, window.left, window.right), std::clamp(box.bottom, window.top, window.bottom)};
}

CellRect Grown(const CellRect& box, int cells)
{
    return {box.left - cells, box.top - cells, box.right + cells, box.bottom + cells};
}

Rect BoxOnBoard(const CellRect& box, int32_t cellSize)
{
    auto units = [&](int cells) { return static_cast<int32_t>(int64_t{cells} * cellSize); };
    return {units(box.left), -units(box.bottom), units(box.right), -units(box.top)};
}

std::string BoxText(const CellRect& box, int32_t cellSize)
{
    auto mm = [&](int cells) { return std::to_string(roundEven64(mmFromUnits(static_cast<double>(cells) * cellSize))); };
    return mm(box.left) + "/" + mm(box.top) + " " + mm(box.right) + "/" + mm(box.bottom);
}

} // namespace kestrel
