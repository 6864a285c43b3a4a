#pragma once
// Label outlines for the Gerber export from the glyphs the screen draws.

#include "output/LabelOutlines.h"

namespace kestrel {

class ScreenLabelOutlines : public LabelOutlineSource {
public:
    std::vector<Polygon> labelContours(const LayoutObject& label) const override;
};

} // namespace kestrel
