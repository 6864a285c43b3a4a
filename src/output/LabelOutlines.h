#pragma once
// Labels in a system font have no shape the core can make: fonts are the
// GUI library's business. The Gerber export takes their outlines from a
// source the Qt side implements with the glyphs the screen draws.

#include "geometry/Region.h"
#include "model/LayoutObject.h"

#include <vector>

namespace kestrel {

class LabelOutlineSource {
public:
    virtual ~LabelOutlineSource() = default;
    // The label's glyphs in board coordinates as contours a Gerber region
    // takes as they are: each one simple, holes joined to their ring by
    // cut-ins. Contours may overlap; the label is their union. Empty for a
    // label that shows nothing. Exports ask from several threads at once.
    virtual std::vector<Polygon> labelContours(const LayoutObject& label) const = 0;
};

} // namespace kestrel
