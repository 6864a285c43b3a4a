#pragma once
// The board drawn into a bitmap for export: the visible layers in the screen's
// order and colours (DrawLayers), the board filling the image exactly, then
// reduced to the two or sixteen colours of the BMP file.

#include "model/Board.h"
#include "model/Language.h"
#include "model/Result.h"
#include "output/BitmapEstimate.h"
#include "output/BmpFile.h"
#include "view/gui/BoardPainter.h"

#include <string>

namespace kestrel {

// Why a bitmap of this size cannot be made (empty, or beyond the side
// limit), in `lang`; empty when it can.
std::string bitmapSizeProblem(const BitmapEstimate& size, Language lang);

// The board in the two colours of black and white (by luminance) or the
// nearest of the sixteen standard colours: white (black under the active
// side's ground plane) where nothing is drawn; selected objects look
// unselected, and for black and white the other side is left out. Drawn
// in strips of `stripRows` rows (0: about 4 million pixels each). Fails
// with a message in `lang` when the size is refused or the memory cannot
// be had.
Result<IndexedImage> boardBitmap(const ObjectList& objects, const BoardSettings& board, const LayerState& layers,
                                 int dpi, bool colour, Language lang, int stripRows = 0);

} // namespace kestrel
