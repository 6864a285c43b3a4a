// Dispatch of the pointer events to the tools, the tool choice and the
// abort path every tool shares.

#include "edit/PointerMachine.h"

#include "edit/Clipboard.h"
#include "edit/Corners.h"
#include "edit/Selection.h"
#include "edit/ToolPanelSync.h"
#include "geometry/Geometry.h"
#include "route/ConnectTool.h"
#include "view/Viewport.h"

#include <algorithm>
#include <cmath>

namespace kestrel {

Point BendCornerOf(Point a, Point c, int bendMode)
{
    const int32_t dx = c.x - a.x, dy = c.y - a.y;
    const int32_t d = std::abs(dx) < std::abs(dy) ? std::abs(dx) : std::abs(dy);
    switch (bendMode) {
    case 0:
        return {dx < 0 ? c.x + d : c.x - d, dy >= 0 ? c.y - d : c.y + d};
    case 1:
        return {dx < 0 ? a.x - d : a.x + d, dy >= 0 ? a.y + d : a.y - d};
    case 2:
        return {a.x, c.y};
    case 3:
        return {c.x, a.y};
    default:
        return c;
    }
}

PointerMachine::PointerMachine(EditSession& session, LayoutDocument& doc, ToolParameters& tools, IndexSource index)
    : session_(session), doc_(doc), tools_(tools), index_(std::move(index))
{
}

Point PointerMachine::snapped(Point raw, PointerKeys keys) const
{
    return keys.ctrl ? raw : snapPointOntoBoard(raw, doc_.Working);
}

ObjectList& PointerMachine::objects()
{
    static ObjectList none; // only while no board is active
    ObjectList* list = doc_.currentObjects();
    return list ? *list : none;
}

// A track is repainted segment by segment: a long one that wanders over
// the view changes only a strip along itself.
void PointerMachine::changed(const LayoutObject& o)
{
    if (!o.is(ObjectKind::Track) || o.Points.size() < 3) {
        effects_.changed.push_back(BoundingRect(o));
        return;
    }
    const Rect whole = BoundingRect(o);
    Rect pts{o.Points[0].x, o.Points[0].y, o.Points[0].x, o.Points[0].y};
    for (Point p : o.Points)
        pts = pts.united({p.x, p.y, p.x, p.y});
    // The margin the bounding rectangle keeps around the points (pen and clearance).
    const int32_t margin = std::max({pts.left - whole.left, whole.right - pts.right, pts.top - whole.top,
                                     whole.bottom - pts.bottom});
    for (size_t i = 0; i + 1 < o.Points.size(); ++i) {
        const Point a = o.Points[i], b = o.Points[i + 1];
        effects_.changed.push_back(Rect{a.x, a.y, b.x, b.y}.normalised().grown(margin));
    }
}

void PointerMachine::deselectAll()
{
    bool any = false;
    for (auto& o : objects())
        if (o->Selected) {
            changed(*o);
            any = true;
        }
    if (!any)
        return;
    DeselectAll(objects());
    effects_.selectionChanged = true;
}

void PointerMachine::backToEdit()
{
    selectTool(ToolMode::Edit);
    effects_.switchTool = ToolMode::Edit;
}

void PointerMachine::selectTool(ToolMode tool)
{
    Busy busy(*this);
    deselectAll();
    endOperation();
    following_.clear();
    tool_ = tool;
    overCorner_ = false;
    AdoptToolPanelValues(tools_, SyncToolPanel(objects()));
    if (tool == ToolMode::Text)
        effects_.labelDialog = true;
}

void PointerMachine::abort()
{
    if (busy_)
        return;
    Busy busy(*this);
    interruptOperation();
}

void PointerMachine::interruptOperation()
{
    const bool labelFollowed = placing_ != nullptr;
    endOperation();
    // Without its following label the label tool has nothing to place.
    if (labelFollowed && tool_ == ToolMode::Text) {
        tool_ = ToolMode::Edit;
        effects_.switchTool = ToolMode::Edit;
    }
}

void PointerMachine::labelChosen(const std::optional<LabelChoice>& choice)
{
    Busy busy(*this);
    if (tool_ != ToolMode::Text)
        return;
    if (!choice || !measure_) {
        backToEdit();
        return;
    }
    label_ = *choice;
    s_.LabelCounter = choice->start;
    createFollowingLabel({0, 0});
}

void PointerMachine::endOperation()
{
    previews_.eraseAll();
    dropFollowingLabel();
    if (building_) {
        const bool track = building_->is(ObjectKind::Track);
        building_->FillOn = 1;
        const auto& pts = building_->Points;
        // An open outline of three corners still encloses an area.
        const bool drop = track ? pts.size() < 2 : !ZoneSpansArea(pts, 3);
        changed(*building_);
        if (drop)
            dropBuilding();
        endBuilding();
    }
    if (s_.Pressed || s_.Moving || s_.NodeDrag)
        effects_.confine = false;
    s_.Pressed = s_.Moving = s_.NodeDrag = false;
    s_.NodeObject = s_.NodeIndex = -1;
    releaseShownPad();
    s_.HighlightedPad = s_.StartPad = -1;
    routePick_ = 0;
    overCorner_ = false;
}

void PointerMachine::releaseShownPick()
{
    // The autorouter tool shows its pick, or the track it laid, by selecting
    // it alone: nothing else is ever selected there. (Not when an operation
    // ends: routing and unrouting end it while they use the pick.)
    if (tool_ == ToolMode::AutoRoute) {
        deselectAll();
        routePick_ = 0;
    }
    releaseShownPad();
}

void PointerMachine::releaseShownPad()
{
    // The pad the connect tool shows as picked is selected for that only: a
    // command or another board must not find it selected. It stays the pad
    // a press takes.
    if (s_.HighlightedPad < 0 || !s_.HighlightSelected)
        return;
    const long pad = s_.HighlightedPad;
    report(HighlightPadForConnecting(objects(), s_.HighlightedPad, -1, s_.HighlightSelected));
    s_.HighlightedPad = pad;
    effects_.selectionChanged = true;
}

void PointerMachine::endBuilding()
{
    buildingStep_ = {}; // what its snapshot displaced is not needed any more
    building_ = nullptr;
}

void PointerMachine::dropBuilding()
{
    const long i = buildingList_ ? buildingList_->indexOf(building_) : -1;
    if (i >= 0) {
        buildingList_->remove(static_cast<size_t>(i));
        doc_.Modified = true;
        effects_.objectsChanged = true;
        // Nothing came of it: the step taken for it goes back, so it does
        // not push the previous command out of the history.
        WithdrawUndoSnapshot(session_, doc_, std::move(buildingStep_));
    }
    buildingStep_ = {};
    building_ = nullptr;
}

void PointerMachine::press(PointerButton button, Point raw, PointerKeys keys)
{
    Busy busy(*this);
    if (button == PointerButton::Middle)
        return;
    if (button == PointerButton::Right) {
        rightPress(raw, keys);
        return;
    }
    switch (tool_) {
    case ToolMode::Edit:
        editPress(raw, keys);
        break;
    case ToolMode::Track:
    case ToolMode::Zone:
        if (!pathPress(raw, keys))
            return; // the zone was closed on its first point
        break;
    case ToolMode::Pad:
    case ToolMode::Circle:
        placeFigure(raw, keys);
        break;
    case ToolMode::Zoom:
        s_.AnchorPoint = s_.CurrentPoint = clampToBoard(raw);
        s_.Pressed = true;
        break;
    case ToolMode::Test:
        testPress(raw);
        break;
    case ToolMode::TrackText:
        trackLabelPress(raw, keys);
        break;
    case ToolMode::Polygon:
        polygonPress(raw, keys);
        break;
    case ToolMode::Connect:
        connectPress();
        break;
    case ToolMode::AutoRoute:
        effects_.autoroutePick = routePick_;
        break;
    case ToolMode::Text:
        labelPress();
        break;
    default:
        break;
    }
    if (!s_.Pressed) {
        s_.AnchorPoint = s_.CurrentPoint = snapped(raw, keys);
        s_.Pressed = true;
        if (tool_ == ToolMode::Zone)
            startZone();
    }
}

void PointerMachine::rightPress(Point raw, PointerKeys keys)
{
    if (keys.left)
        return;
    switch (tool_) {
    case ToolMode::Edit:
        editRightPress(raw);
        break;
    case ToolMode::Track:
    case ToolMode::Zone:
        pathRightPress();
        break;
    case ToolMode::Zoom:
        effects_.zoom = ZoomRequest::Out;
        break;
    case ToolMode::Connect:
        connectRightPress();
        break;
    default:
        previews_.eraseAll();
        backToEdit();
        break;
    }
    previews_.eraseIfDrawn(PreviewKind::RubberBand);
    s_.Pressed = false;
}

void PointerMachine::move(Point raw, PointerKeys keys)
{
    Busy busy(*this);
    switch (tool_) {
    case ToolMode::Edit:
        editMove(raw, keys);
        break;
    case ToolMode::Track:
    case ToolMode::Zone:
        pathMove(raw, keys);
        break;
    case ToolMode::Pad:
    case ToolMode::Circle:
        figureMove(raw, keys);
        break;
    case ToolMode::Zoom:
        if (s_.Pressed) {
            previews_.eraseIfDrawn(PreviewKind::Frame);
            s_.CurrentPoint = clampToBoard(raw);
            drawFrame();
        }
        break;
    case ToolMode::TrackText:
        trackLabelMove(raw, keys);
        break;
    case ToolMode::Polygon:
        polygonMove(raw, keys);
        break;
    case ToolMode::Connect:
        connectMove(raw);
        break;
    case ToolMode::AutoRoute:
        effects_.autorouteMoved = true;
        break;
    case ToolMode::Text:
        labelMove(raw, keys);
        break;
    default:
        break;
    }
}

void PointerMachine::release(PointerButton button, Point raw, PointerKeys)
{
    Busy busy(*this);
    if (button != PointerButton::Left)
        return;
    if (tool_ == ToolMode::Edit) {
        effects_.confine = false;
        editRelease();
    } else if (tool_ == ToolMode::Zoom && s_.Pressed) {
        previews_.eraseIfDrawn(PreviewKind::Frame);
        effects_.zoom = ZoomRequest::Release;
        effects_.zoomAnchor = s_.AnchorPoint;
        effects_.zoomRelease = clampToBoard(raw);
        s_.Pressed = false;
    }
    s_.Moving = false;
    s_.NodeDrag = false;
}

void PointerMachine::key(PointerKey key, PointerKeys keys)
{
    Busy busy(*this);
    if (tool_ == ToolMode::Text && (key == PointerKey::Escape || key == PointerKey::Delete)) {
        // The following label is no object to delete: both keys end the tool.
        backToEdit();
        return;
    }
    const bool path = tool_ == ToolMode::Track || tool_ == ToolMode::Zone;
    switch (key) {
    case PointerKey::Space:
        if (path && s_.Pressed) {
            previews_.eraseIfDrawn(PreviewKind::RubberBand);
            s_.BendMode = (s_.BendMode + 1) % 5;
            drawRubberBand();
        }
        break;
    case PointerKey::Delete:
        // The track or zone being drawn is no selected object, even after
        // Select all: it stays and gives back its last point below.
        if (building_)
            building_->Selected = 0;
        DeleteSelection(session_, doc_);
        effects_.changedAll = true;
        effects_.objectsChanged = true;
        if (path && s_.Pressed && building_ && building_->Points.size() >= 2) {
            previews_.eraseIfDrawn(PreviewKind::RubberBand);
            building_->Points.pop_back();
            s_.AnchorPoint = building_->Points.back();
            drawRubberBand();
        }
        break;
    case PointerKey::Escape:
        if ((path && s_.Pressed) || (tool_ == ToolMode::Connect && s_.StartPad >= 0) ||
            tool_ == ToolMode::TrackText || tool_ == ToolMode::Polygon) {
            rightPress(s_.CurrentPoint, PointerKeys{});
        } else if (s_.Pressed && (tool_ == ToolMode::Edit || tool_ == ToolMode::Zoom)) {
            // A frame, a move, a corner drag or a zoom frame ends without effect.
            previews_.eraseAll();
            effects_.confine = false;
            s_.Pressed = s_.Moving = s_.NodeDrag = false;
        }
        (void)keys;
        break;
    }
}

Point PointerMachine::clampToBoard(Point p) const
{
    return {std::clamp(p.x, 0, doc_.Working.BoardWidth), std::clamp(p.y, -doc_.Working.BoardHeight, 0)};
}

PreviewColour PointerMachine::previewColour() const
{
    const uint32_t layer = doc_.Working.ActiveLayer;
    return layer == Layer::K1 || layer == Layer::K2 ? PreviewColour::Black : PreviewColour::Red;
}

void PointerMachine::drawFrame()
{
    Preview& f = previews_.figure(PreviewKind::Frame);
    const Point a = s_.AnchorPoint, c = s_.CurrentPoint;
    f.strokes = {{{a, {c.x, a.y}, c, {a.x, c.y}}, 0, true}};
    f.colour = PreviewColour::Red;
    f.dotted = true;
    f.measure();
    previews_.draw(PreviewKind::Frame);
}

CornerMenuState PointerMachine::cornerMenu() const
{
    const ObjectList* list = doc_.currentObjects();
    if (!list || s_.NodeObject < 0 || static_cast<size_t>(s_.NodeObject) >= list->size())
        return {};
    const LayoutObject& o = (*list)[static_cast<size_t>(s_.NodeObject)];
    const long n = static_cast<long>(o.Points.size());
    return {s_.NodeIndex >= 0 && CornerRemovable(o, static_cast<size_t>(s_.NodeIndex)),
            o.is(ObjectKind::Track) && s_.NodeIndex > 0 && s_.NodeIndex < n - 1};
}

void PointerMachine::cornerCommand(CornerCommand command)
{
    Busy busy(*this);
    ObjectList& list = objects();
    if (s_.NodeObject < 0 || static_cast<size_t>(s_.NodeObject) >= list.size() || s_.NodeIndex < 0)
        return;
    const auto i = static_cast<size_t>(s_.NodeObject);
    const auto k = static_cast<size_t>(s_.NodeIndex);
    changed(list[i]);
    const size_t before = list.size();
    bool done = false;
    switch (command) {
    case CornerCommand::Add:
        done = AddCorner(doc_, i, k);
        break;
    case CornerCommand::Remove:
        done = RemoveCorner(doc_, i, k);
        break;
    case CornerCommand::ToGrid:
        done = CornerToGrid(doc_, i, k);
        break;
    case CornerCommand::Split:
        done = SplitTrack(session_, doc_, i, k);
        break;
    }
    changed(list[i]);
    if (list.size() > before)
        changed(list[list.size() - 1]);
    effects_.objectsChanged = effects_.objectsChanged || done;
    s_.NodeObject = s_.NodeIndex = -1;
}

PointerCursor PointerMachine::cursor() const
{
    switch (tool_) {
    case ToolMode::Edit:
        return overCorner_ ? PointerCursor::Changer : PointerCursor::Arrow;
    case ToolMode::Zoom:
        return PointerCursor::Lupe;
    case ToolMode::Test:
        return PointerCursor::Test;
    case ToolMode::Connect:
        return PointerCursor::Connect;
    case ToolMode::AutoRoute:
        return PointerCursor::AutoRoute;
    default:
        return PointerCursor::Arrow;
    }
}

PointerEffects PointerMachine::takeEffects()
{
    PointerEffects out = std::move(effects_);
    effects_ = PointerEffects{};
    out.previews = previews_.takeDamage();
    return out;
}

} // namespace kestrel
