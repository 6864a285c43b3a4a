#include "edit/Corners.h"

#include "edit/PointerState.h"
#include "edit/Undo.h"
#include "model/Units.h"
#include "view/Viewport.h"

namespace kestrel {

namespace {

LayoutObject* cornered(LayoutDocument& doc, size_t object, size_t k)
{
    ObjectList* objects = doc.currentObjects();
    if (!objects || object >= objects->size())
        return nullptr;
    LayoutObject& o = (*objects)[object];
    return o.hasPoints() && k < o.Points.size() ? &o : nullptr;
}

std::vector<Point> withoutCorner(const LayoutObject& o, size_t k)
{
    std::vector<Point> pts(o.Points.begin(), o.Points.end());
    if (ClosingTwin(o, k)) {
        pts.pop_back();
        pts.erase(pts.begin());
        pts.push_back(pts.front());
    } else {
        pts.erase(pts.begin() + static_cast<long>(k));
    }
    return pts;
}

} // namespace

std::optional<size_t> ClosingTwin(const LayoutObject& o, size_t k)
{
    const auto& pts = o.Points;
    if (!o.hasPoints() || pts.size() < 4 || pts.front() != pts.back())
        return std::nullopt;
    if (k == 0)
        return pts.size() - 1;
    if (k == pts.size() - 1)
        return 0;
    return std::nullopt;
}

bool CornerRemovable(const LayoutObject& o, size_t k)
{
    if (!o.hasPoints() || k >= o.Points.size() || o.Points.size() < 3)
        return false;
    return !o.is(ObjectKind::Zone) || ZoneSpansArea(withoutCorner(o, k), 3);
}

bool AddCorner(LayoutDocument& doc, size_t object, size_t k)
{
    LayoutObject* o = cornered(doc, object, k);
    if (!o)
        return false;
    const auto& pts = o->Points;
    Point added;
    if (k == 0) {
        // Left of and above the first corner, or right of or below it where
        // that would leave the board.
        const int32_t step = kUnitsPerTenthInch;
        added = {pts[0].x - step >= 0 ? pts[0].x - step : pts[0].x + step,
                 pts[0].y + step <= 0 ? pts[0].y + step : pts[0].y - step};
    } else {
        added = {static_cast<int32_t>((int64_t{pts[k - 1].x} + pts[k].x) / 2),
                 static_cast<int32_t>((int64_t{pts[k - 1].y} + pts[k].y) / 2)};
    }
    // Snapped onto a neighbour (a segment a grid step long or less), it
    // would add a segment of no length: it then stays halfway, off the grid.
    const auto onNeighbour = [&](Point p) { return p == pts[k] || (k > 0 && p == pts[k - 1]); };
    if (const Point snapped = snapPointOntoBoard(added, doc.Working); !onNeighbour(snapped))
        added = snapped;
    if (onNeighbour(added))
        return false;
    std::vector<Point> changed(pts.begin(), pts.begin() + static_cast<long>(k));
    changed.push_back(added);
    changed.insert(changed.end(), pts.begin() + static_cast<long>(k), pts.end());
    if (!keepsItsArea(*o, changed))
        return false;
    o->Points = std::move(changed);
    doc.Modified = true;
    return true;
}

bool RemoveCorner(LayoutDocument& doc, size_t object, size_t k)
{
    LayoutObject* o = cornered(doc, object, k);
    if (!o || !CornerRemovable(*o, k))
        return false;
    o->Points = withoutCorner(*o, k);
    doc.Modified = true;
    return true;
}

bool CornerToGrid(LayoutDocument& doc, size_t object, size_t k)
{
    LayoutObject* o = cornered(doc, object, k);
    if (!o)
        return false;
    const Point p = snapPointOntoBoard(o->Points[k], doc.Working);
    if (p == o->Points[k])
        return false; // on the grid already: nothing changes
    const std::vector<Point> moved = withCornerAt(*o, k, p);
    if (!keepsItsArea(*o, moved) || zoneCornerOntoNeighbour(*o, k, p))
        return false;
    o->Points = moved;
    doc.Modified = true;
    return true;
}

std::vector<Point> withCornerAt(const LayoutObject& o, size_t k, Point p)
{
    std::vector<Point> pts(o.Points.begin(), o.Points.end());
    // The first corner of a closed outline moves with its twin.
    if (const auto twin = ClosingTwin(o, k))
        pts[*twin] = p;
    pts[k] = p;
    return pts;
}

bool keepsItsArea(const LayoutObject& o, std::span<const Point> pts)
{
    return !o.is(ObjectKind::Zone) || ZoneSpansArea(pts, 3);
}

bool zoneCornerOntoNeighbour(const LayoutObject& o, size_t k, Point p)
{
    if (!o.is(ObjectKind::Zone) || o.Points.size() < 2 || k >= o.Points.size())
        return false;
    const auto& pts = o.Points;
    const size_t n = pts.size();
    // A closed outline's ends are one corner: its neighbours are the second
    // point and the one before the last.
    const bool closed = ClosingTwin(o, k).has_value();
    const size_t before = closed ? n - 2 : (k == 0 ? n - 1 : k - 1);
    const size_t after = closed ? 1 : (k + 1 == n ? 0 : k + 1);
    return p == pts[before] || p == pts[after];
}

bool SplitTrack(EditSession& session, LayoutDocument& doc, size_t object, size_t k)
{
    LayoutObject* t = cornered(doc, object, k);
    if (!t || !t->is(ObjectKind::Track) || k == 0 || k + 1 >= t->Points.size())
        return false;
    session.objectsWillChange();
    TakeUndoSnapshot(session, doc);
    // The new part belongs where the original lies, whatever layer is active.
    LayoutObject part = makeTrack(t->widthUnits(), t->Layer);
    part.Clearance = t->Clearance;
    // Both parts of an autorouted track stay the router's: unrouting one
    // while the other still joined the pads would bring back a band beside
    // the copper that makes it.
    part.Routed = t->Routed;
    part.RouteFrom = t->RouteFrom;
    part.RouteTo = t->RouteTo;
    part.Points.assign(t->Points.rbegin(), t->Points.rend() - static_cast<long>(k));
    t->Points.resize(k + 1);
    doc.currentObjects()->append(std::move(part));
    return true;
}

} // namespace kestrel
