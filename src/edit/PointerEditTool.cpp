// The edit tool: selecting by click and frame, moving the selection by a
// drag and dragging single corners of tracks and zones.

#include "edit/PointerMachine.h"

#include "edit/Corners.h"
#include "edit/HitTest.h"
#include "edit/Selection.h"
#include "edit/ToolPanelSync.h"
#include "edit/Transformations.h"
#include "edit/Undo.h"
#include "geometry/Geometry.h"
#include "view/Viewport.h"

namespace kestrel {

namespace {

bool cornerEditable(const LayoutObject& o)
{
    return o.hasPoints() && o.Selected && o.Groups.empty();
}

} // namespace

std::vector<uint8_t> PointerMachine::selectionFlags()
{
    std::vector<uint8_t> flags;
    flags.reserve(objects().size());
    for (const auto& o : objects())
        flags.push_back(o->Selected);
    return flags;
}

void PointerMachine::selectionDiffers(const std::vector<uint8_t>& before)
{
    const ObjectList& list = objects();
    bool any = false;
    for (size_t i = 0; i < list.size() && i < before.size(); ++i)
        if (list[i].Selected != before[i]) {
            changed(list[i]);
            any = true;
        }
    if (!any)
        return;
    effects_.selectionChanged = true;
    AdoptToolPanelValues(tools_, SyncToolPanel(list));
}

void PointerMachine::editPress(Point raw, PointerKeys keys)
{
    effects_.confine = true;
    ObjectList& list = objects();
    const std::vector<uint8_t> before = selectionFlags();
    const long hit = FindObjectAt(index_(), doc_.Working, raw);
    outlineBuilt_ = false;
    if (hit < 0) {
        s_.Moving = false;
        if (!keys.shift)
            DeselectAll(list);
        s_.AnchorPoint = s_.CurrentPoint = raw;
        s_.Pressed = true;
        selectionDiffers(before);
        return;
    }
    const auto i = static_cast<size_t>(hit);
    LayoutObject& o = list[i];
    s_.Moving = true;
    if (!o.Selected && !keys.shift)
        DeselectAll(list);
    SelectObject(list, i, keys.shift ? !o.Selected : true);
    selectionDiffers(before);
    s_.PressRect = SelectionBounds(list).value_or(Rect{});
    const int corner = cornerEditable(o) ? CornerAt(o, raw) : -1;
    s_.NodeDrag = corner >= 0;
    if (!s_.NodeDrag)
        return;
    s_.Moving = false;
    s_.NodeObject = hit;
    s_.NodeIndex = corner;
    s_.AnchorPoint = s_.CurrentPoint = o.Points[static_cast<size_t>(corner)];
    s_.Pressed = true;
}

void PointerMachine::editMove(Point raw, PointerKeys keys)
{
    if (!s_.Pressed) {
        bool over = false;
        for (const auto& o : objects())
            if (cornerEditable(*o) && CornerAt(*o, raw) >= 0) {
                over = true;
                break;
            }
        overCorner_ = over;
        return;
    }
    if (s_.Moving) {
        const Point p = snapped(raw, keys);
        if (p == s_.CurrentPoint)
            return;
        previews_.eraseIfDrawn(PreviewKind::MoveOutline);
        s_.CurrentPoint = p;
        if (!outlineBuilt_) {
            s_.MoveUnsnapped = keys.ctrl;
            buildMoveOutline();
        }
        if (previews_[PreviewKind::MoveOutline].strokes.empty())
            return; // Shift took the last object out of the selection
        const Point d{s_.CurrentPoint.x - s_.AnchorPoint.x, s_.CurrentPoint.y - s_.AnchorPoint.y};
        s_.MoveDelta = ClampMoveDelta(s_.PressRect, d, doc_.Working, !s_.MoveUnsnapped);
        previews_.figure(PreviewKind::MoveOutline).offset = s_.MoveDelta;
        previews_.draw(PreviewKind::MoveOutline);
        return;
    }
    if (s_.NodeDrag) {
        Point d{raw.x - s_.AnchorPoint.x, raw.y - s_.AnchorPoint.y};
        if (!keys.ctrl)
            d = snapPointToGrid(d, doc_.Working.Grid);
        // Kept on the board, as the pointer is in the editor (a script's
        // drag may name any point).
        const Point target{std::clamp(s_.AnchorPoint.x + d.x, 0, doc_.Working.BoardWidth),
                           std::clamp(s_.AnchorPoint.y + d.y, -doc_.Working.BoardHeight, 0)};
        if (target == s_.CurrentPoint)
            return;
        previews_.eraseIfDrawn(PreviewKind::Corner);
        s_.CurrentPoint = target;
        LayoutObject o = objects()[static_cast<size_t>(s_.NodeObject)];
        o.Points = withCornerAt(o, static_cast<size_t>(s_.NodeIndex), target);
        Preview& p = previews_.figure(PreviewKind::Corner);
        p.strokes.clear();
        p.lines.clear();
        AppendObjectOutline(o, p);
        p.colour = PreviewColour::Black;
        p.measure();
        previews_.draw(PreviewKind::Corner);
        return;
    }
    previews_.eraseIfDrawn(PreviewKind::Frame);
    s_.CurrentPoint = raw;
    drawFrame();
}

// The outline of every selected object, built once per drag; each move
// only shifts it. A via shows one pad's bands: those of the pad on the
// active side.
void PointerMachine::buildMoveOutline()
{
    outlineBuilt_ = true;
    Preview& p = previews_.figure(PreviewKind::MoveOutline);
    p.strokes.clear();
    p.lines.clear();
    p.offset = {};
    p.colour = PreviewColour::Black;
    p.dotted = false;
    const bool side1 = Layer::isSide1(static_cast<int>(doc_.Working.ActiveLayer));
    for (const auto& o : objects()) {
        if (!o->Selected)
            continue;
        Preview one;
        AppendObjectOutline(*o, one, true);
        p.strokes.insert(p.strokes.end(), one.strokes.begin(), one.strokes.end());
        const bool bandsShown = !o->Partner || Layer::isSide1(o->Layer) == side1;
        if (!bandsShown)
            continue;
        // AppendObjectOutline gives a pad's bands in the order of its Connections.
        for (size_t j = 0; j < one.lines.size() && j < o->Connections.size(); ++j) {
            const AnchoredLine& l = one.lines[j];
            // A band between two moving pads moves whole; it is drawn from
            // one end only, since a second not-xor drawing would erase it.
            if (o->Connections[j]->Selected) {
                if (o.get() < o->Connections[j])
                    p.strokes.push_back({{l.moving, l.fixed}, 0, false});
            } else
                p.lines.push_back(l);
        }
    }
    p.measure();
}

void PointerMachine::editRelease()
{
    ObjectList& list = objects();
    if (previews_[PreviewKind::Frame].drawn) {
        previews_.erase(PreviewKind::Frame);
        const std::vector<uint8_t> before = selectionFlags();
        SelectInFrame(list, index_(), doc_.Working, s_.AnchorPoint, s_.CurrentPoint);
        selectionDiffers(before);
    }
    if (previews_[PreviewKind::MoveOutline].drawn) {
        previews_.erase(PreviewKind::MoveOutline);
        SelectedBandPieces(list, effects_.changed);
        for (const auto& o : list)
            if (o->Selected)
                changed(*o);
        ApplyMove(session_, doc_, s_.MoveDelta);
        for (const auto& o : list)
            if (o->Selected)
                changed(*o);
        SelectedBandPieces(list, effects_.changed);
        effects_.objectsChanged = true;
    }
    if (s_.NodeDrag && s_.NodeObject >= 0 && static_cast<size_t>(s_.NodeObject) < list.size()) {
        LayoutObject& o = list[static_cast<size_t>(s_.NodeObject)];
        previews_.eraseIfDrawn(PreviewKind::Corner);
        const auto k = static_cast<size_t>(s_.NodeIndex);
        // A click on a corner that does not move it costs no undo step; a
        // zone dragged flat (a corner onto its neighbour) stays as it was.
        const std::vector<Point> moved = withCornerAt(o, k, s_.CurrentPoint);
        if (o.Points[k] != s_.CurrentPoint && keepsItsArea(o, moved) &&
            !zoneCornerOntoNeighbour(o, k, s_.CurrentPoint)) {
            TakeUndoSnapshot(session_, doc_);
            changed(o);
            o.Points = moved;
            changed(o);
            effects_.objectsChanged = true;
        }
    }
    s_.Pressed = false;
}

void PointerMachine::editRightPress(Point raw)
{
    s_.NodeDrag = false;
    s_.NodeObject = s_.NodeIndex = -1;
    const ObjectList& list = objects();
    for (size_t i = 0; i < list.size(); ++i) {
        if (!cornerEditable(list[i]))
            continue;
        const int k = CornerAt(list[i], raw);
        if (k >= 0) {
            s_.NodeObject = static_cast<long>(i);
            s_.NodeIndex = k;
        }
    }
    if (s_.NodeIndex < 0) {
        previews_.eraseAll();
        effects_.menu = PointerMenu::Context;
    } else {
        effects_.menu = PointerMenu::Corner;
    }
}

} // namespace kestrel
