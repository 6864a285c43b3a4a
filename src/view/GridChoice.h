#pragma once
// The grid distance as the user sees and chooses it: the caption of the grid
// button, the predefined entries of the grid menu, and the grid lines the
// board view draws.

#include "model/Language.h"
#include "model/Language.h"
#include "model/Types.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kestrel {

// A predefined entry of the grid menu. The tag holds the grid in thousandths
// of a unit; the caption's note gives the step in grid pitches (2.54 mm).
struct GridPreset {
    const char* objectName;
    int32_t tag;
    const char* russian;
    const char* english;
    const char* caption(Language lang) const { return tr(lang, russian, english); }
};
const std::array<GridPreset, 6>& gridPresets();

// The grid distance a menu entry's tag stands for: tags above 10000 are
// thousandths of a unit (the predefined entries), smaller tags are units
// (the user's entries).
double gridFromTag(int32_t tag);

// Caption of the grid button: the grid in millimetres with up to 8
// significant digits and the unit, padded on the left to at least 9 characters.
std::string gridCaption(double gridUnits, Language lang);

// One grid line: its x (vertical lines) or y (horizontal lines) in units,
// and whether it is drawn twice as thick (every fourth line as a marker).
struct GridLine {
    int32_t position = 0;
    bool marker = false;
    friend bool operator==(const GridLine&, const GridLine&) = default;
};

struct GridLines {
    std::vector<GridLine> horizontal; // y values, from the top edge down
    std::vector<GridLine> vertical;   // x values, from the left edge on
};

// The grid lines inside the clip rectangle (units, normalised). Lines start
// at the board's top-left corner, not at the origin; none are drawn when
// they would be 4 pixels or less apart (4 * round(1 / zoom) >= grid).
GridLines gridLines(int32_t boardWidth, int32_t boardHeight, double gridUnits, double zoomPxPerUnit,
                    const Rect& clipUnits, bool markers);

} // namespace kestrel
