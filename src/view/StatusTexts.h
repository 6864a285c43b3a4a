#pragma once
// Texts of the status line: the pointer position against the origin and the
// board size caption, with the unit of the interface language ("мм" / "mm").

#include "model/Language.h"
#include "model/Types.h"

#include <string>

namespace kestrel {

struct PointerPositionTexts {
    std::string x; // "X: 12.5 мм"
    std::string y; // "Y: 5 мм"
};

// The displayed Y grows downwards from the origin, as on the vertical ruler.
PointerPositionTexts ShowPointerPosition(Point p, Point origin, bool inchUnit, Language lang);

// "160 x 100 мм": whole millimetres, the fraction dropped.
std::string ShowBoardSize(int32_t widthUnits, int32_t heightUnits, Language lang);

} // namespace kestrel
