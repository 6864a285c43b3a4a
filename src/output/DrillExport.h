#pragma once
// Excellon drill file of a board's pad holes: a tool table of the distinct
// hole diameters in order of first appearance, then per tool its holes in
// list order. Coordinates are micrometres from the board's lower left
// corner, mirrored when the board is drilled from the solder side.

#include "model/Board.h"
#include "model/Language.h"
#include "model/Result.h"

#include <string>
#include <vector>

namespace kestrel {

enum class DrillSide { Solder, Component };

// A pad that gets a hole: on a copper layer, and of a via pair only the
// pad of layer 1. Pads with hole radius 0 give none.
bool isDrilledPad(const LayoutObject& o);

// Distinct hole radii in order of first appearance; entry i is tool i + 1.
std::vector<int32_t> drillSizeList(const ObjectList& objects);

std::string exportDrill(const ObjectList& objects, const BoardSettings& settings, DrillSide side);
// Writes the file atomically.
Status writeDrill(const std::string& path, const ObjectList& objects, const BoardSettings& settings, DrillSide side,
                  Language lang);

// The name the batch export gives the drill file.
std::string drillDefaultFileName(Language lang);

} // namespace kestrel
