#pragma once
// The scanned copy of a board side: a bitmap laid under the layout as a
// drawing aid, true to size by its resolution and shifted by an offset in
// tenths of a millimetre. Its settings live in the board's record; this is
// the arithmetic and the checks on what comes from files.

#include "model/Board.h"
#include "model/Result.h"
#include "model/Types.h"
#include "output/BmpFile.h"

#include <cstdint>
#include <string>

namespace kestrel {

constexpr int kCopyDpiMin = 20;
constexpr int kCopyDpiMax = 2400;
constexpr int kCopyDpiDefault = 600;
constexpr int32_t kCopyOffsetMax = 1000; // tenths of a millimetre either way
constexpr uint32_t kCopyColourDefault = 0x00FF00;

// One side's settings (side 1 or 2), the colour as 0xRRGGBB.
struct CopySide {
    bool on = false;
    std::string file;
    int dpi = kCopyDpiDefault;
    int32_t offsetX = 0; // tenths of a millimetre, right
    int32_t offsetY = 0; // tenths of a millimetre, down
    uint32_t colour = kCopyColourDefault;
};

CopySide copySide(const BoardSettings& board, int side);
void setCopySide(BoardSettings& board, int side, const CopySide& copy);

// A resolution limited to 20..2400 dpi; 0 (no resolution in the header) and
// a negative one are not a resolution and give `fallback`.
int clampedCopyDpi(int dpi, int fallback = kCopyDpiDefault);

// Where the image lies in board units: its top-left pixel at the board's
// top-left corner plus the offset, its size from the resolution.
Rect scanRectUnits(int32_t widthPx, int32_t heightPx, int dpi, int32_t offsetX, int32_t offsetY);

// A file name as it may be stored for a board: Windows separators turned
// into '/', refused (not cut) when longer than kCopyFileMax characters or
// holding a character the file's code page lacks.
Result<std::string> storableCopyPath(const std::string& path, Language lang);
// The name stored in a layout file, normalised, when it names a regular
// file; otherwise a failure saying why.
Result<std::string> usableCopyPath(const std::string& stored, Language lang);

// Reads and decodes the bitmap file.
Result<TwoColourBitmap> loadScanBitmap(const std::string& path, Language lang);

} // namespace kestrel
