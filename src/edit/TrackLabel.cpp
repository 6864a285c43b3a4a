#include "edit/TrackLabel.h"

#include "edit/Labels.h"
#include "edit/Selection.h"
#include "edit/Transform.h"
#include "edit/Undo.h"
#include "geometry/Geometry.h"
#include "model/Groups.h"
#include "view/StrokeFont.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kestrel {

namespace {

int32_t hundredths(double mm)
{
    return roundEven(mm * 100.0);
}

// A cell point (u, v) of a character at the pen position, turned
// clockwise on the screen (board y points up).
Point cellPoint(Point pen, Point cell, int32_t s, int32_t angle)
{
    const int32_t u = cell.x * s, v = cell.y * s;
    switch (angle) {
    case 90:
        return {pen.x + v, pen.y - u};
    case 180:
        return {pen.x - u, pen.y - v};
    case 270:
        return {pen.x - v, pen.y + u};
    default:
        return {pen.x + u, pen.y + v};
    }
}

Point advanced(Point pen, int32_t a, int32_t angle)
{
    switch (angle) {
    case 90:
        return {pen.x, pen.y - a};
    case 180:
        return {pen.x - a, pen.y};
    case 270:
        return {pen.x, pen.y + a};
    default:
        return {pen.x + a, pen.y};
    }
}

} // namespace

int32_t GlyphScale(double heightMm)
{
    return hundredths(heightMm) / 9;
}

int32_t LabelStrokeWidth(int32_t scale, StrokeWeight weight)
{
    const double divisor = weight == StrokeWeight::Bold ? 0.8 : weight == StrokeWeight::Thin ? 1.8 : 1.1;
    return roundEven(scale / divisor);
}

std::string TrackLabelText(const TrackLabelSettings& settings, int32_t counter)
{
    return settings.numbered ? settings.text + std::to_string(counter) : settings.text;
}

Point StrokeTextExtent(const TrackLabelSettings& settings, int32_t counter)
{
    const int32_t s8 = hundredths(settings.heightMm) / 8;
    const std::string codes = StrokeFontCodes(TrackLabelText(settings, counter));
    int32_t w = 0;
    for (size_t i = 0; i < codes.size(); ++i) {
        w += CharAdvance(static_cast<uint8_t>(codes[i]), settings.fixedSpacing) * s8;
        if (i + 1 < codes.size())
            w += roundEven(s8 * 1.7);
    }
    const int32_t h = 8 * s8;
    Point e{w, h};
    switch (settings.angle) {
    case 90:
        e = {h, -w};
        break;
    case 180:
        e = {-w, -h};
        break;
    case 270:
        e = {-h, w};
        break;
    default:
        break;
    }
    if (settings.mirror)
        e.x = -e.x;
    return e;
}

size_t PlaceStrokeText(ObjectList& list, const std::string& utf8Text, const TrackLabelSettings& settings, Point p,
                       uint8_t layer, int32_t clearance)
{
    const int32_t s = GlyphScale(settings.heightMm);
    const int32_t width = settings.strokeWidth > 0 ? settings.strokeWidth : LabelStrokeWidth(s, settings.weight);
    const size_t first = list.size();
    Point pen = p;
    for (const char ch : StrokeFontCodes(utf8Text)) {
        const auto code = static_cast<uint8_t>(ch);
        DeselectAll(list);
        for (const auto& stroke : GlyphStrokes(code)) {
            LayoutObject track = makeTrack(width, layer);
            track.Clearance = clearance;
            track.Selected = 1;
            for (Point cell : stroke) {
                Point q = cellPoint(pen, cell, s, settings.angle);
                if (settings.mirror)
                    q.x = 2 * p.x - q.x;
                track.Points.push_back(q);
            }
            list.append(std::move(track));
        }
        // A character without strokes has nothing to group.
        groupSelection(list);
        pen = advanced(pen, CharAdvance(code, settings.fixedSpacing) * s + roundEven(s * 1.7), settings.angle);
    }
    DeselectAll(list);
    for (size_t i = first; i < list.size(); ++i)
        list[i].Selected = 1;
    groupSelection(list);
    DeselectAll(list);
    return list.size() - first;
}

Rect StrokesBox(const ObjectList& list, size_t first)
{
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max(), kMin = std::numeric_limits<int32_t>::min();
    Rect r{kMax, kMax, kMin, kMin};
    for (size_t i = first; i < list.size(); ++i) {
        const int32_t half = (list[i].Width + 1) / 2;
        for (const Point p : list[i].Points)
            r = {std::min(r.left, p.x - half), std::min(r.top, p.y - half), std::max(r.right, p.x + half),
                 std::max(r.bottom, p.y + half)};
    }
    return r;
}

Point StrokesBackOnBoard(const Rect& strokes, const Rect& board)
{
    const auto shift = [](int32_t low, int32_t high, int32_t boardLow, int32_t boardHigh) {
        if (high - low > boardHigh - boardLow)
            return 0;
        return low < boardLow ? boardLow - low : high > boardHigh ? boardHigh - high : 0;
    };
    return {shift(strokes.left, strokes.right, board.left, board.right),
            shift(strokes.top, strokes.bottom, board.top, board.bottom)};
}

Point TrackLabelSize(const TrackLabelSettings& settings, int32_t counter)
{
    // Measured on the strokes themselves: the extent that follows the
    // pointer counts larger cells and leaves out the letters below the line.
    ObjectList strokes;
    if (PlaceStrokeText(strokes, TrackLabelText(settings, counter), settings, {0, 0}, Layer::K1, 0) == 0)
        return {0, 0};
    const Rect box = StrokesBox(strokes, 0);
    return {box.right - box.left, box.bottom - box.top};
}

bool TrackLabelFits(const TrackLabelSettings& settings, int32_t counter, int32_t boardWidth, int32_t boardHeight)
{
    return ExtentFitsBoard(TrackLabelSize(settings, counter), boardWidth, boardHeight);
}

size_t GenerateTrackLabel(EditSession& session, LayoutDocument& doc, const TrackLabelSettings& settings,
                          int32_t& counter, Point p, uint8_t layer, int32_t clearance)
{
    ObjectList* list = doc.currentObjects();
    if (!list)
        return 0;
    session.objectsWillChange();
    TakeUndoSnapshot(session, doc);
    const std::string text = TrackLabelText(settings, counter);
    if (settings.numbered)
        ++counter;
    const size_t made = PlaceStrokeText(*list, text, settings, p, layer, clearance);
    if (made > 0) {
        const size_t first = list->size() - made;
        const Point back = StrokesBackOnBoard(StrokesBox(*list, first), doc.Working.boardRect());
        if (back != Point{})
            for (size_t i = first; i < list->size(); ++i)
                MoveObject((*list)[i], back.x, back.y);
        doc.Modified = true;
    }
    return made;
}

} // namespace kestrel
