// The generator tools: the label made of tracks that follows the pointer
// until a click places it, and the polygon placed by each click.

#include "edit/Labels.h"
#include "edit/PointerMachine.h"

#include <algorithm>

namespace kestrel {

bool PointerMachine::startTrackLabel(const TrackLabelSettings& settings)
{
    selectTool(ToolMode::TrackText);
    trackLabel_ = settings;
    s_.LabelCounter = settings.start;
    makeFollowingLabel();
    if (following_.empty()) {
        backToEdit();
        return false;
    }
    return true;
}

void PointerMachine::startPolygon(const PolygonSettings& settings)
{
    selectTool(ToolMode::Polygon);
    polygon_ = settings;
    Preview& f = previews_.figure(PreviewKind::Polygon);
    f.strokes = {{PolygonVertices(settings), roundEven(settings.lineWidthMm * 100.0), false}};
    f.lines.clear();
    f.measure();
}

// The next label's tracks at the fixed anchor, and the preview that shows
// them displaced to the pointer. Numbering counts on as for a placed label.
void PointerMachine::makeFollowingLabel()
{
    previews_.eraseIfDrawn(PreviewKind::TrackLabel);
    following_.clear();
    const int32_t number = s_.LabelCounter;
    const std::string text = TrackLabelText(trackLabel_, number);
    if (trackLabel_.numbered)
        ++s_.LabelCounter;
    PlaceStrokeText(following_, text, trackLabel_, kFollowingAnchor, static_cast<uint8_t>(doc_.Working.ActiveLayer),
                    tools_.CurrentClearance);
    followingExtent_ = StrokeTextExtent(trackLabel_, number);
    followingBox_ = StrokesBox(following_, 0);
    Preview& f = previews_.figure(PreviewKind::TrackLabel);
    f.strokes.clear();
    f.lines.clear();
    for (const auto& o : following_)
        f.strokes.push_back({{o->Points.begin(), o->Points.end()}, o->Width, false});
    f.measure();
}

// As the label will be placed: its box on the board, then its strokes.
Point PointerMachine::clampLabel(Point p) const
{
    const Point at = ClampTrackLabelAnchor(p, followingExtent_, doc_.Working.BoardWidth, doc_.Working.BoardHeight);
    if (following_.empty())
        return at;
    const Point d{at.x - kFollowingAnchor.x, at.y - kFollowingAnchor.y};
    const Rect& b = followingBox_;
    const Point back =
        StrokesBackOnBoard({b.left + d.x, b.top + d.y, b.right + d.x, b.bottom + d.y}, doc_.Working.boardRect());
    return {at.x + back.x, at.y + back.y};
}

void PointerMachine::drawFollowingLabel()
{
    Preview& f = previews_.figure(PreviewKind::TrackLabel);
    f.offset = {s_.CurrentPoint.x - kFollowingAnchor.x, s_.CurrentPoint.y - kFollowingAnchor.y};
    f.colour = previewColour();
    previews_.draw(PreviewKind::TrackLabel);
}

void PointerMachine::trackLabelMove(Point raw, PointerKeys keys)
{
    const Point p = clampLabel(snapped(raw, keys));
    if (p == s_.CurrentPoint && previews_[PreviewKind::TrackLabel].drawn)
        return;
    previews_.eraseIfDrawn(PreviewKind::TrackLabel);
    s_.CurrentPoint = p;
    if (!following_.empty())
        drawFollowingLabel();
}

void PointerMachine::trackLabelPress(Point raw, PointerKeys keys)
{
    previews_.eraseIfDrawn(PreviewKind::TrackLabel);
    if (following_.empty())
        return;
    s_.ClickPoint = snapped(raw, keys);
    s_.CurrentPoint = clampLabel(s_.ClickPoint);
    // The placed label carries the number the following one showed.
    if (trackLabel_.numbered)
        --s_.LabelCounter;
    // Made for the board shown when it was asked for: on another board, or
    // one made smaller since, it may no longer fit, and the dialog says so.
    if (!TrackLabelFits(trackLabel_, s_.LabelCounter, doc_.Working.BoardWidth, doc_.Working.BoardHeight)) {
        following_.clear();
        effects_.askTrackLabel = true;
        s_.Pressed = false;
        return;
    }
    ObjectList& list = objects();
    const size_t before = list.size();
    GenerateTrackLabel(session_, doc_, trackLabel_, s_.LabelCounter, s_.CurrentPoint,
                       static_cast<uint8_t>(doc_.Working.ActiveLayer), tools_.CurrentClearance);
    for (size_t i = before; i < list.size(); ++i)
        changed(list[i]);
    effects_.objectsChanged = true;
    s_.Pressed = false;
    // A number grown by a digit may make the next label larger than the
    // board: the dialog is asked again, showing that number, and says so.
    if (trackLabel_.numbered &&
        TrackLabelFits(trackLabel_, s_.LabelCounter, doc_.Working.BoardWidth, doc_.Working.BoardHeight)) {
        makeFollowingLabel();
        drawFollowingLabel();
    } else {
        following_.clear();
        effects_.askTrackLabel = true;
    }
}

void PointerMachine::polygonMove(Point raw, PointerKeys keys)
{
    const Point p = snapped(raw, keys);
    if (p == s_.CurrentPoint && previews_[PreviewKind::Polygon].drawn)
        return;
    previews_.eraseIfDrawn(PreviewKind::Polygon);
    s_.CurrentPoint = p;
    Preview& f = previews_.figure(PreviewKind::Polygon);
    f.offset = p;
    f.colour = previewColour();
    previews_.draw(PreviewKind::Polygon);
}

void PointerMachine::polygonPress(Point raw, PointerKeys keys)
{
    previews_.eraseIfDrawn(PreviewKind::Polygon);
    s_.ClickPoint = s_.CurrentPoint = snapped(raw, keys);
    if (LayoutObject* o = PlacePolygon(session_, doc_, polygon_, s_.CurrentPoint, tools_.CurrentClearance)) {
        changed(*o);
        effects_.objectsChanged = true;
    }
    s_.Pressed = false;
}

} // namespace kestrel
