#include "output/BitmapEstimate.h"

#include "model/Types.h"
#include "model/Units.h"

namespace kestrel {

BitmapEstimate bitmapEstimate(int32_t boardWidthUnits, int32_t boardHeightUnits, int dpi, bool colour)
{
    // The dialog keeps the board size in millimetres in single precision.
    const float widthMm = static_cast<float>(mmFromUnits(boardWidthUnits));
    const float heightMm = static_cast<float>(mmFromUnits(boardHeightUnits));
    BitmapEstimate e;
    e.widthPx = roundEven64(dpi * static_cast<double>(widthMm) / kMmPerInch);
    e.heightPx = roundEven64(dpi * static_cast<double>(heightMm) / kMmPerInch);
    const double pixels = static_cast<double>(e.widthPx) * static_cast<double>(e.heightPx);
    e.kilobytes = colour ? roundEven64(pixels / 2 / 1024) : roundEven64(pixels / 1024) / 8;
    return e;
}

} // namespace kestrel
