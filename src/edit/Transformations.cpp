#include "edit/Transformations.h"

#include "edit/Selection.h"
#include "edit/Transform.h"
#include "edit/Undo.h"
#include "geometry/Geometry.h"
#include "model/Units.h"
#include "view/Viewport.h"

#include <algorithm>
#include <cmath>

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

namespace {

// Whole grid steps along one axis that bring [a, b] back inside [lo, hi]
// from the side it sticks out of (the low side first).
int32_t stepsInside(int32_t a, int32_t b, int32_t lo, int32_t hi, double grid)
{
    const double need = a < lo ? double(lo) - a : b > hi ? double(hi) - b : 0;
    if (need == 0 || !(grid > 0))
        return saturatedUnits(need);
    return saturatedUnits(std::copysign(std::ceil(std::abs(need) / grid) * grid, need));
}

} // namespace

void RotateSelection(EditSession& session, LayoutDocument& doc)
{
    const auto c = pivot(doc);
    if (!c)
        return; // nothing selected: no undo step spent
    // A turn near the edge would leave objects wholly off the board, which
    // the next save drops: the turned selection is then moved back onto
    // the board by whole grid steps, and a selection that cannot lie on
    // the board turned is not turned.
    std::vector<LayoutObject> turned;
    for (const auto& o : *doc.currentObjects())
        if (o->Selected) {
            turned.push_back(*o);
            RotateObject(turned.back(), *c);
        }
    const Rect board = doc.Working.boardRect();
    const auto allOnBoard = [&](Point d) {
        return std::all_of(turned.begin(), turned.end(), [&](const LayoutObject& o) {
            const Rect r = BoundingRect(o);
            return Rect{r.left + d.x, r.top + d.y, r.right + d.x, r.bottom + d.y}.overlaps(board);
        });
    };
    Point back;
    if (!allOnBoard(back)) {
        Rect bounds = BoundingRect(turned.front());
        for (const LayoutObject& o : turned)
            bounds = bounds.united(BoundingRect(o));
        back = {stepsInside(bounds.left, bounds.right, board.left, board.right, doc.Working.Grid),
                stepsInside(bounds.top, bounds.bottom, board.top, board.bottom, doc.Working.Grid)};
        if (!allOnBoard(back))
            return;
    }
    UndoStepTaken taken = TakeUndoSnapshot(session, doc);
    forSelected(doc, [&](LayoutObject& o) {
        RotateObject(o, *c);
        MoveObject(o, back.x, back.y);
    });
    WithdrawUndoSnapshotIfUnchanged(session, doc, std::move(taken)); // a round pad turned about itself
}

void MirrorHorizontal(EditSession& session, LayoutDocument& doc)
{
    const auto c = pivot(doc);
    if (!c)
        return; // nothing selected: no undo step spent
    UndoStepTaken taken = TakeUndoSnapshot(session, doc);
    forSelected(doc, [&](LayoutObject& o) { MirrorObjectHorizontal(o, c->x); });
    WithdrawUndoSnapshotIfUnchanged(session, doc, std::move(taken));
}

void MirrorVertical(EditSession& session, LayoutDocument& doc)
{
    const auto c = pivot(doc);
    if (!c)
        return; // nothing selected: no undo step spent
    UndoStepTaken taken = TakeUndoSnapshot(session, doc);
    forSelected(doc, [&](LayoutObject& o) { MirrorObjectVertical(o, c->y); });
    WithdrawUndoSnapshotIfUnchanged(session, doc, std::move(taken));
}

void AlignToGrid(EditSession& session, LayoutDocument& doc)
{
    ObjectList* objects = doc.currentObjects();
    if (!objects || SelectedCount(*objects) == 0)
        return;
    UndoStepTaken taken = TakeUndoSnapshot(session, doc);
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
    WithdrawUndoSnapshotIfUnchanged(session, doc, std::move(taken)); // all on the grid already
}

} // namespace kestrel
