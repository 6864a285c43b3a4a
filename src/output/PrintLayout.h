#pragma once
// The page arithmetic of printing: the options of the print dialog, the
// scale bar and its effect on the placement, dragging the board in the
// preview, and where each copy of a tiled page lies. Device pixels appear
// only as pixels per millimetre, so the printer and the preview share it.

#include <cstdint>

namespace kestrel {

// Offsets are kept inside this range, so a board dragged far off the page
// stays within reach.
constexpr int32_t kPrintCoordLimit = 32000;
constexpr int kTilesMax = 20;
constexpr int32_t kTileGapMax = 5000; // 50 mm
constexpr double kCalibrationMin = 0.8;
constexpr double kCalibrationMax = 1.2;
constexpr int kScalePositionMin = 1;   // 10 %
constexpr int kScalePositionMax = 100; // 1000 %
constexpr int kScalePositionTrue = 10; // 100 %

int32_t ClampPrintCoord(double v);

// A board point in units, fractional where a mapping needs it.
struct PrintPoint {
    double x = 0, y = 0;
    bool operator==(const PrintPoint&) const = default;
};

struct PrintOptions {
    bool side1 = true;
    bool copper = true, silk = false, solderMask = false, drillPlan = false;
    uint32_t copperColour = 0x000000, silkColour = 0xFF0000, maskColour = 0x000000, drillColour = 0x000000;
    bool trueScale = true;
    int scalePosition = kScalePositionTrue;
    double printScale = 1.0; // inverse magnification: 0.5 prints twice as large
    bool mirror = false, targets = false, outline = false, scannedCopy = false;
    int32_t offsetX = 0, offsetY = 0; // units
    int tilesX = 1, tilesY = 1;
    int32_t tileGap = 0; // units
    double calibrationX = 1.0, calibrationY = 1.0;

    // The scale printed with: 1 at true scale.
    double effectiveScale() const { return trueScale ? 1.0 : printScale; }
};

// After an option click: the free scale takes the bar's value, true scale 1.
void applyScaleChoice(PrintOptions& o);
// The bar moved: the offsets follow the new scale, so the board stays put
// on the page.
void setScalePosition(PrintOptions& o, int position);
// "100%" for position 10.
int scalePercent(int position);
// A preview drag of (dxPx, dyPx) preview pixels (current minus last) on a
// preview pageWidthPx wide showing a page pageWidthMm wide.
void dragPreview(PrintOptions& o, int dxPx, int dyPx, double pageWidthPx, double pageWidthMm);
// Whether both factors lie in 0.8..1.2.
bool calibrationAcceptable(double x, double y);

// The board point at the page's printable top-left corner for the first
// copy: mirrored, the board's left edge lies at the middle of the page.
PrintPoint pageOrigin(const PrintOptions& o, double pageWidthMm);
// Where a mirrored print starts before its offset: the middle of the page,
// in board units at the print scale.
double mirroredPageStart(const PrintOptions& o, double pageWidthMm);
// The same for copy (column, row), counted from 0: one board width plus
// gap to the side, one height plus gap down. Not clamped: pinning a far
// copy would lay it over its neighbour.
PrintPoint tileOrigin(const PrintOptions& o, double pageWidthMm, int column, int row, int32_t boardWidth,
                  int32_t boardHeight);

// Units to device pixels for one copy: pxPerMm of the device; with
// `calibrated` the calibration factors stretch the page (the printer), else
// not (the preview). Mirrored prints flip x.
struct PageMapping {
    double xPxPerUnit; // negative when mirrored
    double yPxPerUnit; // device y downwards: board y up maps to minus
    PrintPoint origin;     // board point at device (0, 0)

    PrintPoint toDevice(PrintPoint units) const
    {
        return {(units.x - origin.x) * xPxPerUnit, (units.y - origin.y) * yPxPerUnit};
    }
};
PageMapping pageMapping(const PrintOptions& o, double pxPerMmX, double pxPerMmY, bool calibrated, PrintPoint origin);

// How the copies of a board boardWidth by boardHeight units lie on a
// printable area pageWidthMm by pageHeightMm as printed (calibrated): off
// it (a blank sheet), partly on it (some copper cut off), or wholly on it.
enum class BoardOnPage { Off, Partly, Wholly };
BoardOnPage boardOnPage(const PrintOptions& o, double pageWidthMm, double pageHeightMm, int32_t boardWidth,
                        int32_t boardHeight);

} // namespace kestrel
