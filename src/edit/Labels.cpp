#include "edit/Labels.h"

#include "edit/Undo.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace kestrel {

int32_t LabelFontHeight(int32_t heightUnits)
{
    return -static_cast<int32_t>(std::lround(static_cast<double>(heightUnits) * kLabelPixelsPerInch / 72.0));
}

double LabelHeightMm(int32_t fontHeight)
{
    return -static_cast<double>(fontHeight) / kLabelPixelsPerInch * 72.0 / 100.0;
}

std::string NumberedLabelText(const std::string& text, bool numbering, int counter)
{
    if (!numbering)
        return text;
    const std::string number = std::to_string(counter);
    return cutToCharacters(text, kTextValueMax - std::min<size_t>(number.size(), kTextValueMax)) + number;
}

LayoutObject MakeLabel(Point p, const std::string& text, const LabelLook& look, const LabelMeasure& measure)
{
    const std::string kept = cutToCharacters(text, kTextValueMax);
    const Point e = measure(kept, look.fontHeight, look.angle);
    LayoutObject label = makeText(p, kept, look.angle, look.fontHeight, p.x + e.x, p.y + e.y, look.layer);
    label.Clearance = look.clearance;
    return label;
}

LayoutObject& CreateLabel(EditSession& session, LayoutDocument& doc, Point p, const std::string& text,
                          const LabelLook& look, const LabelMeasure& measure)
{
    TakeUndoSnapshot(session, doc);
    doc.Modified = true;
    return doc.currentObjects()->append(MakeLabel(p, text, look, measure));
}

void EditLabel(LayoutDocument& doc, LayoutObject& label, const std::string& text, int32_t fontHeight,
               int32_t angle, const LabelMeasure& measure)
{
    label.TextValue = cutToCharacters(text, kTextValueMax);
    label.Width = fontHeight;
    label.Angle = angle;
    const Point e = measure(label.TextValue, fontHeight, angle);
    // A longer text or a turn must not carry the box off the board, where
    // the next save would delete the label: it is moved back, as the label
    // tool keeps the label it places.
    const Point at = ClampLabelAnchor(label.start(), e, doc.Working.BoardWidth, doc.Working.BoardHeight);
    label.X1 = at.x, label.Y1 = at.y;
    label.X2 = label.X1 + e.x;
    label.Y2 = label.Y1 + e.y;
    doc.Modified = true;
}

bool ExtentFitsBoard(Point extent, int32_t boardWidth, int32_t boardHeight)
{
    return std::abs(int64_t{extent.x}) <= boardWidth && std::abs(int64_t{extent.y}) <= boardHeight;
}

Point ClampLabelAnchor(Point p, Point extent, int32_t boardWidth, int32_t boardHeight)
{
    // The box spans [p + lo, p + hi] on each axis.
    auto clampAxis = [](int32_t v, int32_t e, int32_t low, int32_t high) {
        const int32_t lo = std::min(0, e), hi = std::max(0, e);
        if (hi - lo >= high - low)
            return low - lo; // larger than the board: its near edge at the board's
        return std::clamp(v, low - lo, high - hi);
    };
    return {clampAxis(p.x, extent.x, 0, boardWidth), clampAxis(p.y, extent.y, -boardHeight, 0)};
}

Point ClampTrackLabelAnchor(Point p, Point extent, int32_t boardWidth, int32_t boardHeight)
{
    const int32_t lowX = std::min(0, extent.x), highX = std::max(0, extent.x);
    const int32_t lowY = std::min(0, extent.y), highY = std::max(0, extent.y);
    p.x = std::max(p.x, -lowX);
    p.x = std::min(p.x, boardWidth - highX);
    p.y = std::max(p.y, -boardHeight - lowY);
    p.y = std::min(p.y, -highY);
    return p;
}

} // namespace kestrel
