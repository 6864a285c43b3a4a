#include "view/gui/LabelOutlines.h"

#include "view/gui/LabelPainter.h"

#include <QPainterPath>

#include <cmath>

namespace kestrel {

std::vector<Polygon> ScreenLabelOutlines::labelOutline(const LayoutObject& label) const
{
    std::vector<Polygon> polygons;
    // Curves are flattened in board units (0.01 mm): finer than any board
    // house resolves.
    for (const QPolygonF& contour : labelOutlinePath(label).toSubpathPolygons()) {
        Polygon polygon;
        polygon.reserve(static_cast<size_t>(contour.size()));
        for (const QPointF& p : contour) {
            const Point q{static_cast<int32_t>(std::lround(p.x())), static_cast<int32_t>(std::lround(p.y()))};
            if (polygon.empty() || !(polygon.back() == q))
                polygon.push_back(q);
        }
        if (polygon.size() >= 3)
            polygons.push_back(std::move(polygon));
    }
    return polygons;
}

} // namespace kestrel
