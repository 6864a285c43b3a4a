#include "cli/DrawSteps.h"

#include "cli/Args.h"
#include "edit/ApplyToolParameter.h"
#include "edit/Generators.h"
#include "edit/MacroDrop.h"
#include "edit/PointerMachine.h"
#include "geometry/Geometry.h"
#include "model/Units.h"
#include "model/ValueRanges.h"

#include <algorithm>
#include <cmath>

namespace kestrel::cli {

namespace {

// The smallest circle the tool panel draws is 0.1 mm across; a ring's pen
// takes at least a unit (a smaller value would be stored as nothing).
constexpr double kSmallestRadiusMm = 0.05, kSmallestWidthMm = 0.01;

// Drawing steps go through the pointer state machine as the board view's
// clicks do. The points are taken as given (as with Ctrl held): a script
// states exact coordinates.
struct Pointer {
    explicit Pointer(EditContext& c)
        : machine(c.session, c.doc, c.tools, [&c]() -> const ObjectIndex& { return c.freshIndex(); })
    {
    }
    void click(Point p, PointerKeys keys)
    {
        machine.press(PointerButton::Left, p, keys);
        machine.release(PointerButton::Left, p, keys);
        // No view repaints here: what it would (a rectangle a segment for
        // each corner of a growing track) is dropped at once, not heaped up.
        machine.takeEffects();
    }
    // Clicks at each pair of numbers in straight segments, then a right press.
    void path(ToolMode tool, const std::vector<double>& mm)
    {
        machine.selectTool(tool);
        const PointerKeys exact{.ctrl = true};
        for (size_t i = 0; i + 1 < mm.size(); i += 2) {
            click(boardPoint(mm[i], mm[i + 1]), exact);
            while (i == 0 && machine.state().BendMode != 4)
                machine.key(PointerKey::Space, exact);
        }
        machine.press(PointerButton::Right, boardPoint(mm[0], mm[1]), exact);
    }
    PointerMachine machine;
};

PolygonSettings polygonOf(const StepArgs& a)
{
    PolygonSettings s;
    s.corners = static_cast<int>(a.number("--corners", s.corners));
    s.radiusMm = a.number("--radius", s.radiusMm);
    s.offsetDegrees = a.number("--offset", s.offsetDegrees);
    s.lineWidthMm = a.number("--width", s.lineWidthMm);
    s.filled = a.has("--fill");
    return s;
}

// Angles are kept in whole degrees, as the segment dialog takes them: 10
// and 10.4 would both become 10, a full circle.
bool wholeDegrees(double degrees)
{
    return degrees == std::floor(degrees);
}

} // namespace

bool validPath(const StepArgs& a)
{
    return a.numbers.size() % 2 == 0;
}

void track(EditContext& c, const StepArgs& a)
{
    Pointer(c).path(ToolMode::Track, a.numbers);
}

// A zone whose corners enclose nothing (in one line, or on one grid point)
// is dropped, as the zone tool drops it.
void zone(EditContext& c, const StepArgs& a)
{
    const size_t before = c.objects().size();
    Pointer(c).path(ToolMode::Zone, a.numbers);
    if (c.objects().size() == before)
        note(tr(c.lang, "шаг zone: углы зоны не охватывают площади; ничего не добавлено",
                "step zone: the corners enclose no area; nothing added"));
}

void pad(EditContext& c, const StepArgs& a)
{
    Pointer p(c);
    p.machine.selectTool(ToolMode::Pad);
    p.click(boardPoint(a.numbers[0], a.numbers[1]), {.ctrl = true});
}

bool validRadius(const StepArgs& a)
{
    return a.numbers[2] >= kSmallestRadiusMm && a.numbers[2] <= 99.9;
}

// A circle of the given radius; the panel's outer diameter is left alone.
void circle(EditContext& c, const StepArgs& a)
{
    // The ring tool draws from the outer radius in to the inner one: a
    // radius not beyond it would draw a ring of no width.
    if (unitsFromMm(a.numbers[2]) <= c.tools.CurrentPadInner) {
        note(tr(c.lang, "шаг circle: у окружности не было бы ширины: её диаметр не больше внутреннего диаметра ",
                "step circle: the circle would have no width: its diameter is not larger than the inner diameter ") +
             mmText(mmFromUnits(2 * c.tools.CurrentPadInner)) + " " + mmUnit(c.lang) +
             tr(c.lang, " (см. \"set inner\"); ничего не добавлено", " (see \"set inner\"); nothing added"));
        return;
    }
    const ToolParameters kept = c.tools;
    setCurrentPadOuter(c.tools, unitsFromMm(a.numbers[2]));
    Pointer p(c);
    p.machine.selectTool(ToolMode::Circle);
    p.click(boardPoint(a.numbers[0], a.numbers[1]), {.ctrl = true});
    c.tools = kept;
}

// A press, one move and a release of the edit tool: a move drag from an
// object (snapped to the grid and kept on the board) or a frame from
// empty board.
void drag(EditContext& c, const StepArgs& a)
{
    Pointer p(c);
    const Point from = boardPoint(a.numbers[0], a.numbers[1]), to = boardPoint(a.numbers[2], a.numbers[3]);
    p.machine.press(PointerButton::Left, from, {});
    p.machine.move(to, {.left = true});
    p.machine.release(PointerButton::Left, to, {});
}

// The edit tool's corner menu, opened by a right press on a corner of a
// selected object, and its command.
void corner(EditContext& c, const StepArgs& a)
{
    Pointer p(c);
    const Point at = boardPoint(a.numbers[0], a.numbers[1]);
    p.machine.press(PointerButton::Right, at, {});
    if (p.machine.takeEffects().menu != PointerMenu::Corner) {
        // The editor offers no corner menu on a grouped object either; the
        // note says why rather than that there is no corner.
        const ObjectList& list = *c.doc.currentObjects();
        const bool grouped = std::any_of(list.begin(), list.end(), [&](const auto& o) {
            return o->Selected && o->hasPoints() && !o->Groups.empty() && CornerAt(*o, at) >= 0;
        });
        note(grouped ? tr(c.lang, "шаг corner: узлы объекта в группе не правятся; сначала разбейте группу "
                                  "(ungroup); ничего не изменено",
                          "step corner: the corners of a grouped object cannot be edited; split the group first "
                          "(ungroup); nothing changed")
                     : tr(c.lang, "шаг corner: в точке нет узла выбранного объекта; ничего не изменено",
                          "step corner: no corner of a selected object at the point; nothing changed"));
        return;
    }
    const CornerMenuState offered = p.machine.cornerMenu();
    if ((a.word == "remove" && !offered.remove) || (a.word == "split" && !offered.split)) {
        note(std::string(tr(c.lang, "шаг corner: этот узел нельзя ", "step corner: this corner cannot be ")) +
             (a.word == "remove" ? tr(c.lang, "удалить", "removed") : tr(c.lang, "разделить", "split at")) +
             tr(c.lang, "; ничего не изменено", "; nothing changed"));
        return;
    }
    using Command = PointerMachine::CornerCommand;
    p.machine.cornerCommand(a.word == "add"      ? Command::Add
                            : a.word == "remove" ? Command::Remove
                            : a.word == "grid"   ? Command::ToGrid
                                                 : Command::Split);
    if (!p.machine.takeEffects().objectsChanged)
        note(tr(c.lang,
                "шаг corner: здесь нечего менять (узел лёг бы на соседний, уже стоит на сетке или закраска "
                "осталась бы без площади); ничего не изменено",
                "step corner: nothing to change there (the corner would fall on its neighbour, is on the grid "
                "already, or the zone would lose its area); nothing changed"));
}

// As a drop from the macro panel: the reference point at the snapped
// point, kept on the board.
void dropMacro(EditContext& c, const StepArgs& a)
{
    if (a.macro->empty()) {
        note(tr(c.lang, "шаг macro: в макросе нет объектов; ничего не добавлено",
                "step macro: the macro holds no objects; nothing added"));
        return;
    }
    DropMacro(c.session, c.doc, *a.macro,
              MacroDropPoint(*a.macro, boardPoint(a.numbers[0], a.numbers[1]), c.doc.Working));
}

// "via on|off" sets via mode and applies it; a bare "via" makes vias of the
// selected pads and leaves the mode as it is.
void via(EditContext& c, const StepArgs& a)
{
    const bool mode = c.tools.ViaMode;
    c.tools.ViaMode = a.word != "off";
    ApplyToolParameter(c.session, c.doc, c.tools, ToolParameter::Via);
    if (a.word.empty())
        c.tools.ViaMode = mode;
}

bool validPolygon(const StepArgs& a)
{
    const PolygonSettings s = polygonOf(a);
    const double corners = a.number("--corners", 0);
    return corners == std::floor(corners) && s.corners >= PolygonSettings::kMinCorners &&
           s.corners <= PolygonSettings::kMaxCorners && s.radiusMm >= PolygonSettings::kMinRadiusMm &&
           s.radiusMm <= PolygonSettings::kMaxRadiusMm && std::abs(s.offsetDegrees) <= PolygonSettings::kMaxOffsetDegrees &&
           s.lineWidthMm >= 0 && s.lineWidthMm <= PolygonSettings::kMaxLineWidthMm;
}

// A click of the polygon tool with the dialog's values.
void polygon(EditContext& c, const StepArgs& a)
{
    // A centre far out with its radius and line would put corners beyond
    // what a file holds, and the whole run would not be saved.
    const PolygonSettings s = polygonOf(a);
    const double reach = s.radiusMm + s.lineWidthMm, limit = mmFromUnits(ranges::kMaxCoordinate);
    if (std::abs(a.numbers[0]) + reach > limit || std::abs(a.numbers[1]) + reach > limit) {
        note(tr(c.lang, "шаг polygon: многоугольник вышел бы за 10 м от начала координат; ничего не добавлено",
                "step polygon: the polygon would reach beyond 10 m from the origin; nothing added"));
        return;
    }
    Pointer p(c);
    p.machine.startPolygon(polygonOf(a));
    p.click(boardPoint(a.numbers[0], a.numbers[1]), {.ctrl = true});
}

// An arc drawn along the radius with the width, as a ring segment from the
// start to the stop angle (counter-clockwise).
bool validArc(const StepArgs& a)
{
    const double r = a.number("--radius", 0), w = a.number("--width", 0);
    return r >= kSmallestRadiusMm && r <= 99.9 && w >= kSmallestWidthMm && w <= 2 * r &&
           wholeDegrees(a.number("--from", 0)) && wholeDegrees(a.number("--to", 0));
}

void arc(EditContext& c, const StepArgs& a)
{
    const ToolParameters kept = c.tools;
    const double r = a.number("--radius", 0), w = a.number("--width", 0);
    // The inner edge is taken from the rounded outer one, so the ring is as
    // wide as typed.
    const int32_t outer = unitsFromMm(r + w / 2);
    setCurrentPadOuter(c.tools, outer);
    setCurrentPadInner(c.tools, std::max(0, outer - unitsFromMm(w)));
    Pointer p(c);
    p.machine.selectTool(ToolMode::Circle);
    p.click(boardPoint(a.numbers[0], a.numbers[1]), {.ctrl = true});
    c.tools = kept;
    LayoutObject& circle = c.objects()[c.objects().size() - 1];
    circle.setArcStartDegrees(NormalDegrees(a.number("--from", 0)));
    circle.setArcStopDegrees(NormalDegrees(a.number("--to", 0)));
    circle.Filled = a.has("--fill") ? 1 : 0;
}

bool validSegment(const StepArgs& a)
{
    return wholeDegrees(a.numbers[0]) && wholeDegrees(a.numbers[1]);
}

// The segment command on the selected circles.
void segment(EditContext& c, const StepArgs& a)
{
    if (ApplyArcSegment(c.doc, {NormalDegrees(a.numbers[0]), NormalDegrees(a.numbers[1]), a.has("--fill")}) == 0)
        note(tr(c.lang, "шаг segment: не выделено ни одной окружности; ничего не изменено",
                "step segment: no circle is selected; nothing changed"));
}

} // namespace kestrel::cli
