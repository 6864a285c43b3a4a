// The drawing tools: tracks and zones built point by point, pads and
// circles placed by a click.

#include "edit/PointerMachine.h"

#include "edit/Undo.h"
#include "edit/Vias.h"

namespace kestrel {

bool ZoneSpansArea(std::span<const Point> pts, size_t minPoints)
{
    if (pts.size() < minPoints)
        return false;
    // Some corner off the line through the first two distinct ones.
    const Point a = pts[0];
    const Point* b = nullptr;
    for (const Point& p : pts) {
        if (!b) {
            if (p != a)
                b = &p;
            continue;
        }
        const int64_t cross = int64_t{b->x - a.x} * (p.y - a.y) - int64_t{b->y - a.y} * (p.x - a.x);
        if (cross != 0)
            return true;
    }
    return false;
}

bool PointerMachine::pathPress(Point raw, PointerKeys keys)
{
    effects_.confine = true;
    previews_.eraseIfDrawn(PreviewKind::RubberBand);
    previews_.eraseIfDrawn(PreviewKind::StartDot);
    if (tool_ == ToolMode::Track) {
        s_.ClickPoint = snapped(raw, keys);
        if (s_.Pressed && building_) {
            appendPathPoint(s_.ClickPoint);
            s_.AnchorPoint = s_.ClickPoint;
            return true;
        }
        buildingStep_ = TakeUndoSnapshot(session_, doc_);
        LayoutObject track = makeTrack(tools_.CurrentTrackWidth, static_cast<uint8_t>(doc_.Working.ActiveLayer));
        track.Clearance = tools_.CurrentClearance;
        track.Points.push_back(s_.ClickPoint);
        building_ = &objects().append(std::move(track));
        buildingList_ = &objects();
        changed(*building_);
        effects_.objectsChanged = true;
        return true;
    }
    if (!s_.Pressed || !building_)
        return true; // the zone begins after the press (startZone)
    s_.ClickPoint = snapped(raw, keys);
    appendPathPoint(s_.ClickPoint);
    s_.AnchorPoint = s_.ClickPoint;
    if (s_.ClickPoint == building_->Points.front()) {
        finishZone();
        effects_.confine = false;
        return false;
    }
    return true;
}

void PointerMachine::startZone()
{
    buildingStep_ = TakeUndoSnapshot(session_, doc_);
    LayoutObject zone = makeZone(tools_.CurrentTrackWidth, static_cast<uint8_t>(doc_.Working.ActiveLayer));
    zone.Clearance = tools_.CurrentClearance;
    zone.FillOn = 0; // shown as an outline until it is finished
    zone.Points.push_back(s_.AnchorPoint);
    building_ = &objects().append(std::move(zone));
    buildingList_ = &objects();
    changed(*building_);
    effects_.objectsChanged = true;
}

// The bend corner goes in only where it makes a corner: not on the click
// point and not on the last point.
void PointerMachine::appendPathPoint(Point p)
{
    s_.BendCorner = BendCornerOf(s_.AnchorPoint, p, s_.BendMode);
    auto& pts = building_->Points;
    changed(*building_);
    if (s_.BendCorner != p && s_.BendCorner != pts.back())
        pts.push_back(s_.BendCorner);
    pts.push_back(p);
    changed(*building_);
    doc_.Modified = true;
    effects_.objectsChanged = true;
}

void PointerMachine::finishZone()
{
    previews_.eraseIfDrawn(PreviewKind::RubberBand);
    previews_.eraseIfDrawn(PreviewKind::StartDot);
    s_.Pressed = false;
    if (!building_)
        return;
    building_->FillOn = 1;
    changed(*building_);
    effects_.objectsChanged = true;
    if (!ZoneSpansArea(building_->Points, 4))
        dropBuilding();
    endBuilding();
}

void PointerMachine::pathRightPress()
{
    effects_.confine = false;
    if (!s_.Pressed || !building_) {
        previews_.eraseAll();
        backToEdit();
        return;
    }
    if (tool_ == ToolMode::Zone) {
        building_->Points.push_back(building_->Points.front());
        finishZone();
        return;
    }
    changed(*building_);
    if (building_->Points.size() < 2)
        dropBuilding();
    endBuilding();
}

void PointerMachine::pathMove(Point raw, PointerKeys keys)
{
    const Point p = snapped(raw, keys);
    if (p == s_.CurrentPoint)
        return;
    if (!s_.Pressed) {
        previews_.eraseIfDrawn(PreviewKind::StartDot);
        s_.CurrentPoint = p;
        drawStartDot();
    } else {
        previews_.eraseIfDrawn(PreviewKind::RubberBand);
        s_.CurrentPoint = p;
        drawRubberBand();
    }
}

void PointerMachine::drawRubberBand()
{
    s_.BendCorner = BendCornerOf(s_.AnchorPoint, s_.CurrentPoint, s_.BendMode);
    Preview& p = previews_.figure(PreviewKind::RubberBand);
    p.strokes = {{{s_.AnchorPoint, s_.BendCorner, s_.CurrentPoint}, tools_.CurrentTrackWidth, false}};
    p.colour = previewColour();
    p.measure();
    previews_.draw(PreviewKind::RubberBand);
}

void PointerMachine::drawStartDot()
{
    Preview& p = previews_.figure(PreviewKind::StartDot);
    p.strokes = {{{s_.CurrentPoint}, std::max(tools_.CurrentTrackWidth, 20), false}};
    p.colour = previewColour();
    p.measure();
    previews_.draw(PreviewKind::StartDot);
}

void PointerMachine::placeFigure(Point raw, PointerKeys keys)
{
    previews_.eraseIfDrawn(PreviewKind::PadCircle);
    s_.ClickPoint = snapped(raw, keys);
    TakeUndoSnapshot(session_, doc_);
    const auto layer = static_cast<uint8_t>(doc_.Working.ActiveLayer);
    LayoutObject o = tool_ == ToolMode::Pad
                         ? makePad(s_.ClickPoint, tools_.CurrentPadOuter, tools_.CurrentPadShape, layer,
                                   tools_.CurrentPadInner)
                         : makeCircle(s_.ClickPoint, tools_.CurrentPadOuter, tools_.CurrentPadShape, layer,
                                      tools_.CurrentPadInner);
    o.Clearance = tools_.CurrentClearance;
    LayoutObject& added = objects().append(std::move(o));
    changed(added);
    if (tool_ == ToolMode::Pad && tools_.ViaMode)
        if (LayoutObject* twin = MakeVia(objects(), added))
            changed(*twin);
    effects_.objectsChanged = true;
    s_.Pressed = false;
}

void PointerMachine::figureMove(Point raw, PointerKeys keys)
{
    const Point p = snapped(raw, keys);
    if (p == s_.CurrentPoint)
        return;
    previews_.eraseIfDrawn(PreviewKind::PadCircle);
    s_.CurrentPoint = p;
    // A circle previews as a round pad of its radii.
    const uint8_t shape = tool_ == ToolMode::Pad ? tools_.CurrentPadShape : 1;
    const LayoutObject pad = makePad(p, tools_.CurrentPadOuter, shape, Layer::K1, tools_.CurrentPadInner);
    Preview& f = previews_.figure(PreviewKind::PadCircle);
    f.strokes.clear();
    f.lines.clear();
    AppendObjectOutline(pad, f);
    f.colour = previewColour();
    f.measure();
    previews_.draw(PreviewKind::PadCircle);
}

bool PointerMachine::takeTrackWidth()
{
    if (!building_ || building_->Width == tools_.CurrentTrackWidth)
        return false;
    changed(*building_);
    building_->Width = tools_.CurrentTrackWidth;
    changed(*building_);
    return true;
}

} // namespace kestrel
