#include "edit/Transformations.h"

#include "edit/Selection.h"
#include "edit/Transform.h"
#include "edit/Undo.h"
#include "geometry/Geometry.h"
#include "model/Units.h"
#include "view/Viewport.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kestrel {

namespace {

// The displacements along one axis a selection from a to b may take on the
// board [lo, hi].
struct AxisRange {
    int64_t low, high;
    int32_t kept(int64_t d) const { return saturatedUnits(std::clamp(d, low, high)); }
};

// A move goes no further past an edge than the selection already lies: one
// on the board stays on it, one hanging over an edge (or over both, when it
// is larger than the board) may come back but not go further out.
AxisRange moveRange(int64_t a, int64_t b, int64_t lo, int64_t hi)
{
    return {std::min<int64_t>(0, lo - a), std::max<int64_t>(0, hi - b)};
}

// Brought back onto the board: wholly when it fits, else just far enough to
// span the whole board, so that no end is pushed off.
AxisRange backRange(int64_t a, int64_t b, int64_t lo, int64_t hi)
{
    return b - a > hi - lo ? AxisRange{hi - b, lo - a} : AxisRange{lo - a, hi - b};
}

// The delta kept within the ranges, then snapped to the grid when asked. A
// move stopped at the edge may lie between grid lines, and rounding it would
// carry the selection up to half a step past the edge, where the next save
// drops it: it then takes the next grid line inside. (A range narrower than
// a step keeps the nearest line.)
Point keptDelta(const AxisRange& x, const AxisRange& y, Point delta, const BoardSettings& board, bool snap)
{
    const Point kept{x.kept(delta.x), y.kept(delta.y)};
    if (!snap || !usableGrid(board.Grid))
        return kept;
    const auto onGrid = [&](int32_t d, const AxisRange& range) {
        const double line = std::nearbyint(d / board.Grid);
        const int32_t snapped = roundEven(line * board.Grid);
        const int32_t limit = range.kept(snapped);
        if (limit == snapped)
            return snapped;
        const int32_t inside = roundEven((line + (limit > snapped ? 1 : -1)) * board.Grid);
        return range.kept(inside) == inside ? inside : snapped;
    };
    return {onGrid(kept.x, x), onGrid(kept.y, y)};
}

template <class Change>
void forSelected(LayoutDocument& doc, Change change)
{
    ObjectList* objects = doc.currentObjects();
    if (!objects)
        return;
    for (auto& o : *objects)
        if (o->Selected)
            change(*o);
    doc.Modified = true;
}

// The pivot of turns and mirrors; none when nothing is selected.
std::optional<Point> pivot(LayoutDocument& doc)
{
    const ObjectList* objects = doc.currentObjects();
    const auto bounds = objects ? SelectionBounds(*objects) : std::nullopt;
    if (!bounds)
        return std::nullopt;
    return TransformationCentre(*bounds, doc.Working);
}

Point referencePoint(const LayoutObject& o)
{
    if (o.hasPoints())
        return o.Points.empty() ? Point{} : o.Points.front();
    return {o.X1, o.Y1};
}

// Aligned objects take the grid points on the board, as the tools place them.
void alignSingle(LayoutObject& o, const BoardSettings& board)
{
    if (o.is(ObjectKind::Line)) {
        const Point a = snapPointOntoBoard(o.start(), board);
        const Point b = snapPointOntoBoard(o.end(), board);
        o.X1 = a.x;
        o.Y1 = a.y;
        o.X2 = b.x;
        o.Y2 = b.y;
        return;
    }
    const Point ref = referencePoint(o);
    const Point on = snapPointOntoBoard(ref, board);
    MoveObject(o, on.x - ref.x, on.y - ref.y);
}

} // namespace

Point ClampMoveDelta(const Rect& r, Point delta, const BoardSettings& board, bool snap)
{
    return keptDelta(moveRange(r.left, r.right, 0, board.BoardWidth),
                     moveRange(r.top, r.bottom, -int64_t{board.BoardHeight}, 0), delta, board, snap);
}

Point BackOntoBoard(const Rect& r, const BoardSettings& board)
{
    return keptDelta(backRange(r.left, r.right, 0, board.BoardWidth),
                     backRange(r.top, r.bottom, -int64_t{board.BoardHeight}, 0), {}, board, true);
}

Point KeepEachOnBoard(const ObjectList& list, size_t first, const BoardSettings& board)
{
    // Each object's box must overlap the board: that bounds the move from
    // both sides, and the ranges of all of them must meet.
    AxisRange x{std::numeric_limits<int64_t>::min(), std::numeric_limits<int64_t>::max()}, y = x;
    bool anyOff = false;
    for (size_t i = first; i < list.size(); ++i) {
        const Rect r = BoundingRect(list[i]);
        anyOff = anyOff || liesOffBoard(list[i], board.boardRect());
        x = {std::max(x.low, 1 - int64_t{r.right}), std::min(x.high, int64_t{board.BoardWidth} - r.left - 1)};
        y = {std::max(y.low, 1 - int64_t{board.BoardHeight} - r.bottom), std::min(y.high, -int64_t{r.top} - 1)};
    }
    if (!anyOff || x.low > x.high || y.low > y.high)
        return {};
    const Point d = keptDelta(x, y, {}, board, true); // off the grid where no line lies in range
    return {x.kept(d.x), y.kept(d.y)};
}

void ApplyMove(EditSession& session, LayoutDocument& doc, Point delta)
{
    const ObjectList* objects = doc.currentObjects();
    if (delta == Point{} || !objects || SelectedCount(*objects) == 0)
        return; // no undo step spent on moving nothing
    TakeUndoSnapshot(session, doc);
    forSelected(doc, [&](LayoutObject& o) { MoveObject(o, delta.x, delta.y); });
}

void NudgeSelection(LayoutDocument& doc, NudgeDirection direction, bool fine)
{
    const int32_t step = fine ? 1 : roundEven(doc.Working.Grid);
    Point d;
    switch (direction) {
    case NudgeDirection::Left: d = {-step, 0}; break;
    case NudgeDirection::Right: d = {step, 0}; break;
    case NudgeDirection::Up: d = {0, step}; break;
    case NudgeDirection::Down: d = {0, -step}; break;
    }
    // A nudge stops at the board's edge, as a drag does: an object pushed
    // off the board would be dropped when the file is written. A grid step
    // that does not fit is not taken in part, which would leave the
    // selection off the grid.
    const ObjectList* objects = doc.currentObjects();
    const auto bounds = objects ? SelectionBounds(*objects) : std::nullopt;
    if (!bounds)
        return;
    d = ClampMoveDelta(*bounds, d, doc.Working, !fine);
    if (d == Point{})
        return;
    forSelected(doc, [&](LayoutObject& o) { MoveObject(o, d.x, d.y); });
}

namespace {

// The smallest shift into [from, to], in whole grid steps where they fit.
int32_t smallestShift(int64_t from, int64_t to, double grid)
{
    if (from <= 0 && to >= 0)
        return 0;
    const int64_t need = from > 0 ? from : to;
    if (grid > 0) {
        const double steps = from > 0 ? std::ceil(double(need) / grid) : std::floor(double(need) / grid);
        const int64_t onGrid = std::llround(steps * grid);
        if (onGrid >= from && onGrid <= to)
            return saturatedUnits(onGrid);
    }
    return saturatedUnits(need);
}

// The shift along one axis for the ranges [a, b] of changed objects on a
// board [low, high]: none when every range overlaps the board (an object
// partly off it stays as it is); else the whole selection inside where it
// fits, else every range overlapping; nothing when no shift can.
std::optional<int32_t> shiftOnto(const std::vector<std::pair<int64_t, int64_t>>& ranges, int64_t low, int64_t high,
                                 double grid)
{
    int64_t from = INT64_MIN, to = INT64_MAX, first = INT64_MAX, last = INT64_MIN;
    for (const auto& [a, b] : ranges) {
        // Overlapping needs a + d < high and b + d > low.
        from = std::max(from, low - b + 1);
        to = std::min(to, high - a - 1);
        first = std::min(first, a);
        last = std::max(last, b);
    }
    if (from > to)
        return std::nullopt;
    if (from <= 0 && to >= 0)
        return 0;
    if (last - first <= high - low)
        return smallestShift(low - first, high - last, grid);
    return smallestShift(from, to, grid);
}

// The shift that leaves every box overlapping the board (shiftOnto on each
// axis); none when no shift can.
std::optional<Point> shiftOntoBoard(const std::vector<Rect>& boxes, const BoardSettings& board)
{
    std::vector<std::pair<int64_t, int64_t>> xs, ys;
    for (const Rect& r : boxes) {
        xs.emplace_back(r.left, r.right);
        ys.emplace_back(r.top, r.bottom);
    }
    const Rect area = board.boardRect();
    const auto dx = shiftOnto(xs, area.left, area.right, board.Grid);
    const auto dy = shiftOnto(ys, area.top, area.bottom, board.Grid);
    if (!dx || !dy)
        return std::nullopt;
    return Point{*dx, *dy};
}

// A turn or mirror near the edge could leave objects wholly off the board,
// which the next save drops: the changed selection is moved back onto the
// board, by whole grid steps where they fit, and a selection that cannot
// lie on the board so changed is left as it is (false).
template <class Change>
bool changeOnBoard(EditSession& session, LayoutDocument& doc, Change change)
{
    std::vector<Rect> boxes;
    for (const auto& o : *doc.currentObjects())
        if (o->Selected) {
            LayoutObject changed = *o;
            change(changed);
            boxes.push_back(BoundingRect(changed));
        }
    const auto back = shiftOntoBoard(boxes, doc.Working);
    if (!back)
        return false;
    UndoStepTaken taken = TakeUndoSnapshot(session, doc);
    forSelected(doc, [&](LayoutObject& o) {
        change(o);
        MoveObject(o, back->x, back->y);
    });
    WithdrawUndoSnapshotIfUnchanged(session, doc, std::move(taken)); // a round pad turned about itself
    return true;
}

} // namespace

bool RotateSelection(EditSession& session, LayoutDocument& doc)
{
    const auto c = pivot(doc);
    return !c || changeOnBoard(session, doc, [&](LayoutObject& o) { RotateObject(o, *c); });
}

bool MirrorHorizontal(EditSession& session, LayoutDocument& doc)
{
    const auto c = pivot(doc);
    return !c || changeOnBoard(session, doc, [&](LayoutObject& o) { MirrorObjectHorizontal(o, c->x); });
}

bool MirrorVertical(EditSession& session, LayoutDocument& doc)
{
    const auto c = pivot(doc);
    return !c || changeOnBoard(session, doc, [&](LayoutObject& o) { MirrorObjectVertical(o, c->y); });
}

void AlignToGrid(EditSession& session, LayoutDocument& doc)
{
    ObjectList* objects = doc.currentObjects();
    if (!objects || SelectedCount(*objects) == 0)
        return;
    UndoStepTaken taken = TakeUndoSnapshot(session, doc);
    std::vector<uint8_t> pending(objects->size());
    for (size_t i = 0; i < objects->size(); ++i)
        pending[i] = (*objects)[i].Selected;
    for (size_t i = 0; i < objects->size(); ++i) {
        if (!pending[i])
            continue;
        LayoutObject& o = (*objects)[i];
        const int32_t group = o.outerGroup();
        if (group == -1) {
            alignSingle(o, doc.Working);
            pending[i] = 0;
            continue;
        }
        const Point ref = referencePoint(o);
        const Point on = snapPointOntoBoard(ref, doc.Working);
        std::vector<LayoutObject*> members;
        std::vector<Rect> boxes;
        for (size_t k = i; k < objects->size(); ++k) {
            if (pending[k] && (*objects)[k].outerGroup() == group) {
                LayoutObject& member = (*objects)[k];
                MoveObject(member, on.x - ref.x, on.y - ref.y);
                pending[k] = 0;
                members.push_back(&member);
                boxes.push_back(BoundingRect(member));
            }
        }
        // A member the move put wholly off the board would go with the next
        // save: the group moves back onto it by whole grid steps, or stays.
        const Point back = shiftOntoBoard(boxes, doc.Working).value_or(Point{ref.x - on.x, ref.y - on.y});
        for (LayoutObject* member : members)
            MoveObject(*member, back.x, back.y);
    }
    WithdrawUndoSnapshotIfUnchanged(session, doc, std::move(taken)); // all on the grid already
}

} // namespace kestrel
