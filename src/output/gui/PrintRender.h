#pragma once
// What a printed page shows: every copy of the board side with its targets,
// outline, ground plane, scanned copy, copper, silk, solder mask and drill
// plan in the colours chosen. The preview and the printer draw through the
// same RenderPage and differ in pixels per millimetre and calibration.

#include "model/ObjectList.h"
#include "output/PrintLayout.h"

#include <QImage>
#include <QRectF>

#include <array>

class QPainter;

namespace kestrel {

struct PrintJob {
    const ObjectList* objects = nullptr;
    int32_t boardWidth = 16000;
    int32_t boardHeight = 10000;
    bool groundPlane1 = false;
    bool groundPlane2 = false;
    // Each side's scanned copy (two colours) and where it lies; null when none.
    std::array<QImage, 2> scans;
    std::array<QRectF, 2> scanUnits;
    PrintOptions options;
};

// Draws the copies of the page, clipped to its printable area: the
// painter's transform places device pixel (0, 0) at its top-left corner;
// it is restored. Copies wholly beyond the area are not drawn.
void RenderPage(QPainter& painter, const PrintJob& job, double pxPerMmX, double pxPerMmY, bool calibrated,
                QSizeF pageSizeMm);

// The hole diameter as the drill plan writes it: millimetres, up to eight
// significant digits, no trailing zeros.
QString drillLabel(int32_t holeRadiusUnits);

} // namespace kestrel
