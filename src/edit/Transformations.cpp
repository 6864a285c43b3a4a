#include "edit/Transformations.h"

#include "edit/Selection.h"
#include "edit/Transform.h"
#include "edit/Undo.h"
#include "model/Units.h"
#include "view/Viewport.h"

#include <algorithm>

namespace kestrel {

namespace {

// The move d along one axis of the board [lo, hi] for a selection from a
// to b. A selection longer than the board cannot stay on it: only its end
// `corner` (the left, or the upper, as y grows upwards) is kept on it, so a
// move that keeps that end on the board is taken as asked.
int32_t limited(int64_t d, int64_t a, int64_t b, int64_t lo, int64_t hi, int64_t corner)
{
    if (b - a > hi - lo)
        a = b = corner;
    return saturatedUnits(std::clamp(d, lo - a, hi - b));
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
    return TransformationCentre(*bounds, doc.Working.Grid);
}

Point referencePoint(const LayoutObject& o)
{
    if (o.hasPoints())
        return o.Points.empty() ? Point{} : o.Points.front();
    return {o.X1, o.Y1};
}

void alignSingle(LayoutObject& o, double grid)
{
    if (o.is(ObjectKind::Line)) {
        const Point a = snapPointToGrid(o.start(), grid);
        const Point b = snapPointToGrid(o.end(), grid);
        o.X1 = a.x;
        o.Y1 = a.y;
        o.X2 = b.x;
        o.Y2 = b.y;
        return;
    }
    const Point ref = referencePoint(o);
    const Point on = snapPointToGrid(ref, grid);
    MoveObject(o, on.x - ref.x, on.y - ref.y);
}

} // namespace

Point ClampMoveDelta(const Rect& r, Point delta, const BoardSettings& board, bool snap)
{
    const Point kept{limited(delta.x, r.left, r.right, 0, board.BoardWidth, r.left),
                     limited(delta.y, r.top, r.bottom, -int64_t{board.BoardHeight}, 0, r.bottom)};
    return snap ? snapPointToGrid(kept, board.Grid) : kept;
}

void ApplyMove(EditSession& session, LayoutDocument& doc, Point delta)
{
    if (delta == Point{})
        return;
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
    // off the board would be dropped when the file is written.
    const ObjectList* objects = doc.currentObjects();
    const auto bounds = objects ? SelectionBounds(*objects) : std::nullopt;
    if (!bounds)
        return;
    const Rect& r = *bounds;
    const BoardSettings& board = doc.Working;
    d.x = std::clamp(d.x, std::min(0, -r.left), std::max(0, board.BoardWidth - r.right));
    d.y = std::clamp(d.y, std::min(0, -board.BoardHeight - r.top), std::max(0, -r.bottom));
    if (d == Point{})
        return;
    forSelected(doc, [&](LayoutObject& o) { MoveObject(o, d.x, d.y); });
}

void RotateSelection(EditSession& session, LayoutDocument& doc)
{
    const auto c = pivot(doc);
    if (!c)
        return; // nothing selected: no undo step spent
    TakeUndoSnapshot(session, doc);
    forSelected(doc, [&](LayoutObject& o) { RotateObject(o, *c); });
}

void MirrorHorizontal(EditSession& session, LayoutDocument& doc)
{
    const auto c = pivot(doc);
    if (!c)
        return; // nothing selected: no undo step spent
    TakeUndoSnapshot(session, doc);
    forSelected(doc, [&](LayoutObject& o) { MirrorObjectHorizontal(o, c->x); });
}

void MirrorVertical(EditSession& session, LayoutDocument& doc)
{
    const auto c = pivot(doc);
    if (!c)
        return; // nothing selected: no undo step spent
    TakeUndoSnapshot(session, doc);
    forSelected(doc, [&](LayoutObject& o) { MirrorObjectVertical(o, c->y); });
}

void AlignToGrid(EditSession& session, LayoutDocument& doc)
{
    ObjectList* objects = doc.currentObjects();
    if (!objects || SelectedCount(*objects) == 0)
        return;
    TakeUndoSnapshot(session, doc);
    const double grid = doc.Working.Grid;
    std::vector<uint8_t> pending(objects->size());
    for (size_t i = 0; i < objects->size(); ++i)
        pending[i] = (*objects)[i].Selected;
    for (size_t i = 0; i < objects->size(); ++i) {
        if (!pending[i])
            continue;
        LayoutObject& o = (*objects)[i];
        const int32_t group = o.outerGroup();
        if (group == -1) {
            alignSingle(o, grid);
            pending[i] = 0;
            continue;
        }
        const Point ref = referencePoint(o);
        const Point on = snapPointToGrid(ref, grid);
        for (size_t k = i; k < objects->size(); ++k) {
            if (pending[k] && (*objects)[k].outerGroup() == group) {
                MoveObject((*objects)[k], on.x - ref.x, on.y - ref.y);
                pending[k] = 0;
            }
        }
    }
}

} // namespace kestrel
