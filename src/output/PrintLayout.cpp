#include "output/PrintLayout.h"

#include "model/Types.h"
#include "model/Units.h"

#include <algorithm>
#include <cmath>

namespace kestrel {

int32_t ClampPrintCoord(double v)
{
    return roundEven(std::clamp(v, double(-kPrintCoordLimit), double(kPrintCoordLimit)));
}

void applyScaleChoice(PrintOptions& o)
{
    o.printScale = o.trueScale ? 1.0 : 10.0 / o.scalePosition;
}

void setScalePosition(PrintOptions& o, int position)
{
    position = std::clamp(position, kScalePositionMin, kScalePositionMax);
    const double old = o.printScale;
    o.scalePosition = position;
    o.printScale = 10.0 / position;
    if (old > 0) {
        o.offsetX = ClampPrintCoord(std::nearbyint(o.offsetX * o.printScale / old));
        o.offsetY = ClampPrintCoord(std::nearbyint(o.offsetY * o.printScale / old));
    }
}

int scalePercent(int position) { return position * 10; }

void dragPreview(PrintOptions& o, int dxPx, int dyPx, double pageWidthPx, double pageWidthMm)
{
    if (pageWidthPx <= 0)
        return;
    // Units of the page per preview pixel, at the scale shown.
    const double f = pageWidthMm * kUnitsPerMm / pageWidthPx * o.printScale;
    o.offsetX = ClampPrintCoord(o.offsetX - std::nearbyint(dxPx * f));
    o.offsetY = ClampPrintCoord(o.offsetY + std::nearbyint(dyPx * f));
}

bool calibrationAcceptable(double x, double y)
{
    auto ok = [](double v) { return v >= kCalibrationMin && v <= kCalibrationMax; };
    return ok(x) && ok(y);
}

double mirroredPageStart(const PrintOptions& o, double pageWidthMm)
{
    return std::nearbyint(pageWidthMm * kUnitsPerMm / 2 * o.printScale);
}

PrintPoint pageOrigin(const PrintOptions& o, double pageWidthMm)
{
    if (o.mirror)
        return {double(ClampPrintCoord(mirroredPageStart(o, pageWidthMm) - o.offsetX)), double(o.offsetY)};
    return {double(o.offsetX), double(o.offsetY)};
}

PrintPoint tileOrigin(const PrintOptions& o, double pageWidthMm, int column, int row, int32_t boardWidth,
                      int32_t boardHeight)
{
    const PrintPoint first = pageOrigin(o, pageWidthMm);
    return {first.x - (double(boardWidth) + o.tileGap) * column, first.y + (double(boardHeight) + o.tileGap) * row};
}

PageMapping pageMapping(const PrintOptions& o, double pxPerMmX, double pxPerMmY, bool calibrated, PrintPoint origin)
{
    const double s = o.effectiveScale();
    const double calX = calibrated ? o.calibrationX : 1.0, calY = calibrated ? o.calibrationY : 1.0;
    PageMapping m;
    m.xPxPerUnit = pxPerMmX / kUnitsPerMm * calX / s * (o.mirror ? -1 : 1);
    m.yPxPerUnit = -pxPerMmY / kUnitsPerMm * calY / s;
    m.origin = origin;
    return m;
}

BoardOnPage boardOnPage(const PrintOptions& o, double pageWidthMm, double pageHeightMm, int32_t boardWidth,
                        int32_t boardHeight)
{
    bool anyShows = false, allWhole = true;
    for (int row = 0; row < o.tilesY; ++row)
        for (int column = 0; column < o.tilesX; ++column) {
            const PrintPoint origin = tileOrigin(o, pageWidthMm, column, row, boardWidth, boardHeight);
            const PageMapping m = pageMapping(o, 1, 1, true, origin); // device pixels are millimetres
            const PrintPoint a = m.toDevice({0, 0}), b = m.toDevice({double(boardWidth), -double(boardHeight)});
            const double left = std::min(a.x, b.x), right = std::max(a.x, b.x);
            const double top = std::min(a.y, b.y), bottom = std::max(a.y, b.y);
            anyShows = anyShows || (right > 0 && left < pageWidthMm && bottom > 0 && top < pageHeightMm);
            // A hundredth of a millimetre of play for the rounding of the mapping.
            constexpr double kPlay = 0.01;
            allWhole = allWhole && left >= -kPlay && right <= pageWidthMm + kPlay && top >= -kPlay &&
                       bottom <= pageHeightMm + kPlay;
        }
    return !anyShows ? BoardOnPage::Off : allWhole ? BoardOnPage::Wholly : BoardOnPage::Partly;
}

} // namespace kestrel
