#include "view/GridChoice.h"

#include "model/Units.h"
#include "view/NumberFormat.h"

#include <algorithm>
#include <cmath>

namespace kestrel {

const std::array<GridPreset, 6>& gridPresets()
{
    static const std::array<GridPreset, 6> presets{{
        {"N015875mm116RM1", 15875, "0.15875 мм (1/16 шага)", "0.15875 mm (1/16 pitch)"},
        {"N03175mm18RM1", 31750, "  0.3175 мм (1/8 шага)", "  0.3175 mm (1/8 pitch)"},
        {"N0635mm1401", 63500, "    0.635 мм (1/4 шага)", "    0.635 mm (1/4 pitch)"},
        {"r127", 127000, "      1.27 мм (1/2 шага)", "      1.27 mm (1/2 pitch)"},
        {"R254", 254000, "      2.54 мм (шаг)", "      2.54 mm (pitch)"},
        {"R635", 508000, "      5.08 мм (2 шага)", "      5.08 mm (2 pitches)"},
    }};
    return presets;
}

double gridFromTag(int32_t tag)
{
    return tag > 10000 ? tag / 1000.0 : static_cast<double>(tag);
}

namespace {

size_t utf8Length(const std::string& s)
{
    return static_cast<size_t>(std::count_if(s.begin(), s.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

} // namespace

std::string gridCaption(double gridUnits, Language lang)
{
    std::string text = formatGeneral(mmFromUnits(gridUnits), 8, 3) + " " + mmUnit(lang);
    const size_t length = utf8Length(text);
    if (length < 9)
        text.insert(0, 9 - length, ' ');
    return text;
}

GridLines gridLines(int32_t boardWidth, int32_t boardHeight, double grid, double zoom, const Rect& clip,
                    bool markers)
{
    GridLines lines;
    if (!(grid > 0) || !std::isfinite(grid) || !(zoom > 0))
        return lines;
    const int64_t k = roundEven64(1.0 / zoom);
    if (!(4.0 * static_cast<double>(k) < grid))
        return lines;
    const double lo = static_cast<double>(clip.top) - static_cast<double>(k);
    const double hi = static_cast<double>(clip.bottom) + static_cast<double>(k);
    const double left = static_cast<double>(clip.left) - static_cast<double>(k);
    const double right = static_cast<double>(clip.right) + static_cast<double>(k);

    // Only the indices near the clip box are looked at; each is then tested
    // with the exact rounded position.
    const auto lastH = static_cast<int64_t>((boardHeight - 1) / grid);
    const int64_t firstHi = std::max<int64_t>(1, static_cast<int64_t>(std::floor(-hi / grid)) - 1);
    const int64_t lastHi = std::min<int64_t>(lastH, static_cast<int64_t>(std::ceil(-lo / grid)) + 1);
    for (int64_t i = firstHi; i <= lastHi; ++i) {
        const int32_t y = -roundEven(static_cast<double>(i) * grid);
        if (y >= lo && y <= hi)
            lines.horizontal.push_back({y, markers && i % 4 == 0});
    }
    const auto lastV = static_cast<int64_t>((boardWidth - 1) / grid);
    const int64_t firstVi = std::max<int64_t>(1, static_cast<int64_t>(std::floor(left / grid)) - 1);
    const int64_t lastVi = std::min<int64_t>(lastV, static_cast<int64_t>(std::ceil(right / grid)) + 1);
    for (int64_t i = firstVi; i <= lastVi; ++i) {
        const int32_t x = roundEven(static_cast<double>(i) * grid);
        if (x >= left && x <= right)
            lines.vertical.push_back({x, markers && i % 4 == 0});
    }
    return lines;
}

} // namespace kestrel
