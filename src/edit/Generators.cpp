#include "edit/Generators.h"

#include "edit/Undo.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kestrel {

std::vector<Point> PolygonVertices(const PolygonSettings& settings)
{
    const int n = std::clamp(settings.corners, PolygonSettings::kMinCorners, PolygonSettings::kMaxCorners);
    const double r = settings.radiusMm * 100.0;
    std::vector<Point> out;
    out.reserve(static_cast<size_t>(n) + 1);
    for (int k = 0; k <= n; ++k) {
        // Vertex n is computed like the others: it falls on vertex 0.
        const double a = (360.0 / n * k + settings.offsetDegrees) * std::numbers::pi / 180.0;
        out.push_back({roundEven(std::cos(a) * r), roundEven(std::sin(a) * r)});
    }
    out.back() = out.front();
    return out;
}

LayoutObject* PlacePolygon(EditSession& session, LayoutDocument& doc, const PolygonSettings& settings, Point p,
                           int32_t clearance)
{
    ObjectList* list = doc.currentObjects();
    if (!list)
        return nullptr;
    session.objectsWillChange();
    TakeUndoSnapshot(session, doc);
    const int32_t width = roundEven(settings.lineWidthMm * 100.0);
    const auto layer = static_cast<uint8_t>(doc.Working.ActiveLayer);
    LayoutObject o = settings.filled ? makeZone(width, layer) : makeTrack(width, layer);
    o.Clearance = clearance;
    for (Point v : PolygonVertices(settings))
        o.Points.push_back({p.x + v.x, p.y + v.y});
    doc.Modified = true;
    return &list->append(std::move(o));
}

int32_t NormalDegrees(double degrees)
{
    const int32_t whole = static_cast<int32_t>(std::lround(std::fmod(degrees, 360.0)));
    return ((whole % 360) + 360) % 360;
}

std::optional<ArcSettings> ArcOfSelection(const ObjectList& list)
{
    std::optional<ArcSettings> last;
    for (const auto& o : list)
        if (o->Selected && o->is(ObjectKind::Circle))
            last = ArcSettings{o->arcStartDegrees(), o->arcStopDegrees(), o->Filled != 0};
    return last;
}

size_t ApplyArcSegment(LayoutDocument& doc, const ArcSettings& arc)
{
    ObjectList* list = doc.currentObjects();
    if (!list)
        return 0;
    size_t changed = 0;
    for (auto& o : *list) {
        if (!o->Selected || !o->is(ObjectKind::Circle))
            continue;
        o->setArcStartDegrees(NormalDegrees(arc.start));
        o->setArcStopDegrees(NormalDegrees(arc.stop));
        o->Filled = arc.filled ? 1 : 0;
        ++changed;
    }
    if (changed)
        doc.Modified = true;
    return changed;
}

} // namespace kestrel
