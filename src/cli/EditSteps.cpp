#include "cli/EditSteps.h"

#include "cli/Args.h"
#include "cli/BoardSteps.h"
#include "cli/LabelMeasure.h"
#include "edit/ApplyToolParameter.h"
#include "edit/Clipboard.h"
#include "edit/Generators.h"
#include "edit/Grouping.h"
#include "edit/HitTest.h"
#include "edit/Labels.h"
#include "edit/MacroDrop.h"
#include "edit/PointerMachine.h"
#include "edit/Selection.h"
#include "edit/ToolPanelSync.h"
#include "edit/TrackLabel.h"
#include "edit/Transformations.h"
#include "edit/Undo.h"
#include "geometry/Geometry.h"
#include "model/LayerSwitches.h"
#include "model/TextCodec.h"
#include "model/ValueRanges.h"
#include "model/Units.h"
#include "route/ConnectTool.h"
#include "route/RouteTool.h"
#include "route/RubberBands.h"
#include "route/TestTool.h"
#include "view/StrokeFont.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <numeric>
#include <optional>
#include <sstream>

namespace kestrel::cli {

namespace {

// The smallest circle the tool panel draws is 0.1 mm across; a ring's pen
// takes at least a unit (a smaller value would be stored as nothing).
constexpr double kSmallestRadiusMm = 0.05, kSmallestWidthMm = 0.01;

// Step coordinates are millimetres with y downwards from the board's top
// left corner, as the rulers show them.
Point boardPoint(double xMm, double yMm)
{
    return {unitsFromMm(xMm), -unitsFromMm(yMm)};
}

// What a press in the edit tool does after changing the selection.
void syncPanel(EditContext& c)
{
    AdoptToolPanelValues(c.tools, SyncToolPanel(c.objects()));
}

void selectAll(EditContext& c, const StepArgs&)
{
    SelectAll(c.objects(), c.doc.Working);
    syncPanel(c);
}

void selectNone(EditContext& c, const StepArgs&)
{
    DeselectAll(c.objects());
}

// A frame drawn from an empty spot: the press clears the selection first.
void selectFrame(EditContext& c, const StepArgs& a)
{
    DeselectAll(c.objects());
    SelectInFrame(c.objects(), c.freshIndex(), c.doc.Working, boardPoint(a.numbers[0], a.numbers[1]),
                  boardPoint(a.numbers[2], a.numbers[3]));
    syncPanel(c);
}

// A left press without Shift.
void selectAt(EditContext& c, const StepArgs& a)
{
    const long i = FindObjectAt(c.freshIndex(), c.doc.Working, boardPoint(a.numbers[0], a.numbers[1]));
    if (i < 0 || !c.objects()[static_cast<size_t>(i)].Selected)
        DeselectAll(c.objects());
    if (i >= 0)
        SelectObject(c.objects(), static_cast<size_t>(i), true);
    syncPanel(c);
}

// A left press with Shift toggles the object's selection.
void selectAdd(EditContext& c, const StepArgs& a)
{
    const long i = FindObjectAt(c.freshIndex(), c.doc.Working, boardPoint(a.numbers[0], a.numbers[1]));
    if (i >= 0)
        SelectObject(c.objects(), static_cast<size_t>(i), !c.objects()[static_cast<size_t>(i)].Selected);
    syncPanel(c);
}

// A move drag by the distance, kept on the board like one.
void move(EditContext& c, const StepArgs& a)
{
    Point delta{unitsFromMm(a.numbers[0]), -unitsFromMm(a.numbers[1])};
    if (const auto bounds = SelectionBounds(c.objects()))
        delta = ClampMoveDelta(*bounds, delta, c.doc.Working, false);
    ApplyMove(c.session, c.doc, delta);
}

void nudge(EditContext& c, const StepArgs& a)
{
    const NudgeDirection d = a.word == "left"    ? NudgeDirection::Left
                             : a.word == "right" ? NudgeDirection::Right
                             : a.word == "up"    ? NudgeDirection::Up
                                                 : NudgeDirection::Down;
    NudgeSelection(c.doc, d, false);
}

// A turn or mirror the board has no room for changes nothing.
void noteNoRoom(EditContext& c, const char* step)
{
    note(std::string(tr(c.lang, "шаг ", "step ")) + step +
         tr(c.lang, ": выделенное так не уместится на плате; ничего не изменено",
            ": the selection would not fit on the board that way; nothing changed"));
}

void mirror(EditContext& c, const StepArgs& a)
{
    if (!(a.word == "horizontal" ? MirrorHorizontal(c.session, c.doc) : MirrorVertical(c.session, c.doc)))
        noteNoRoom(c, "mirror");
}

void setValue(EditContext& c, const StepArgs& a)
{
    const double v = a.numbers[0];
    if (a.word == "clearance") {
        c.tools.CurrentClearance = clearanceUnitsFromMm(v);
        if (applyClearanceToSelection(c.objects(), c.tools.CurrentClearance) > 0)
            c.doc.Modified = true;
        return;
    }
    ToolParameter which = ToolParameter::Width;
    if (a.word == "width") {
        c.tools.CurrentTrackWidth = unitsFromMm(v);
    } else if (a.word == "outer") {
        setCurrentPadOuter(c.tools, radiusUnitsFromDiameterMm(v));
        which = ToolParameter::OuterRadius;
    } else if (a.word == "inner") {
        setCurrentPadInner(c.tools, radiusUnitsFromDiameterMm(v));
        which = ToolParameter::InnerRadius;
    } else {
        c.tools.CurrentPadShape = static_cast<uint8_t>(v);
        which = ToolParameter::PadShape;
    }
    ApplyToolParameter(c.session, c.doc, c.tools, which);
}

uint8_t layerOf(const std::string& word)
{
    return word == "K1" ? Layer::K1 : word == "B1" ? Layer::B1 : word == "K2" ? Layer::K2 : Layer::B2;
}

void activeLayer(EditContext& c, const StepArgs& a)
{
    SetActiveLayer(c.doc.Working, c.objects(), layerOf(a.word));
}

// The connect tool's press on one pad and then on another: draws the band
// between them, or removes it when they have one.
void band(EditContext& c, const StepArgs& a)
{
    const ObjectIndex& index = c.freshIndex();
    const long from = PadForConnecting(index, c.doc.Working, boardPoint(a.numbers[0], a.numbers[1]));
    const long to = PadForConnecting(index, c.doc.Working, boardPoint(a.numbers[2], a.numbers[3]));
    if (from >= 0 && to >= 0 && from == to) {
        note(tr(c.lang, "шаг band: обе точки на одной площадке; перемычка не изменена",
                "step band: both points are on one pad; no band changed"));
        return;
    }
    if (from >= 0 && to >= 0) {
        ToggleBand(c.session, c.doc, static_cast<size_t>(from), static_cast<size_t>(to));
        return;
    }
    note(tr(c.lang, "шаг band: нет площадки в одной из точек; перемычка не изменена",
               "step band: no pad at one of the points; no band changed"));
}

void testAt(EditContext& c, const StepArgs& a)
{
    TestConnectionAt(c.objects(), c.freshIndex(), c.doc.Working, boardPoint(a.numbers[0], a.numbers[1]));
}

// Bands whose two pads are both selected: the route step takes the first.
size_t selectedBands(const ObjectList& objects)
{
    size_t ends = 0;
    for (const auto& o : objects)
        if (o->is(ObjectKind::Pad) && o->Selected)
            for (const LayoutObject* other : o->Connections)
                ends += other->Selected ? 1 : 0;
    return ends / 2;
}

// The autorouter's press on a picked band: the band between the selected
// pads, on the active layer, with the window's width and clearance.
void route(EditContext& c, const StepArgs& a)
{
    if (const ObjectList* objects = c.doc.currentObjects(); objects)
        if (const size_t bands = selectedBands(*objects); bands > 1)
            note(tr(c.lang, "шаг route: выделено перемычек: ", "step route: the selection holds ") +
                 std::to_string(bands) +
                 tr(c.lang, "; прокладывается первая по списку (выделите две площадки одной перемычки)",
                    " bands; the first in the list is routed (select the two pads of one band)"));
    RouteGrid grid;
    const RouteRun run =
        RouteSelectedBand(c.session, c.doc,
                          RouteSettingsFor(a.numbers[0], a.numbers[1], static_cast<int>(c.doc.Working.ActiveLayer),
                                           c.tools.CurrentClearance),
                          {}, grid);
    if (!run.started)
        note(tr(c.lang, "шаг route: выделены не две площадки с перемычкой; ничего не проложено",
                   "step route: the selection is not two pads joined by a band; nothing routed"));
    else if (!run.result.routed)
        note(tr(c.lang, "шаг route: ", "step route: ") + RouteStatusText(c.lang, run.result.failure));
}

bool validRouteSizes(const StepArgs& a)
{
    return RouteSettings::inRange(a.numbers[0]) && RouteSettings::inRange(a.numbers[1]);
}

bool validSetting(const StepArgs& a)
{
    const double v = a.numbers[0];
    if (a.word == "shape")
        return v >= 1 && v <= 9 && v == std::floor(v);
    // As the panel's spin edits: a pad keeps some copper, the clearance
    // field reaches 5 mm, the others 99.9 mm.
    const double least = a.word == "outer" ? 0.1 : 0;
    return v >= least && v <= (a.word == "clearance" ? 5 : 99.9);
}

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

TrackLabelSettings trackLabelOf(const StepArgs& a)
{
    TrackLabelSettings s;
    s.text = a.text;
    s.heightMm = a.number("--height", s.heightMm);
    s.strokeWidth = unitsFromMm(a.number("--stroke", 0.0));
    s.angle = static_cast<int32_t>(a.number("--angle", 0.0));
    s.mirror = a.has("--mirror");
    s.fixedSpacing = a.has("--fixed");
    return s;
}

size_t codePoints(const std::string& utf8)
{
    return static_cast<size_t>(std::count_if(utf8.begin(), utf8.end(), [](char ch) { return (ch & 0xC0) != 0x80; }));
}

// What keeps a text from being stored as given: too long, a character the
// file's code page lacks (a label in the system font, a board's name), or no
// character the stroke font draws (a label of tracks, whose other
// characters are gaps, as in the editor).
std::optional<std::string> textProblem(const StepRow& row, const std::string& text, Language lang)
{
    const bool strokes = std::string(row.name) == "track-label";
    const size_t most = strokes                                  ? TrackLabelSettings::kTextMax
                        : std::string(row.name) == "board-name" ? static_cast<size_t>(kBoardNameMax)
                                                                 : kTextValueMax;
    if (codePoints(text) > most)
        return tr(lang, "текст длиннее ", "text longer than ") + std::to_string(most) +
               tr(lang, " знаков", " characters");
    if (strokes) {
        if (!StrokeFontDrawsAny(text))
            return std::string(tr(lang, "ни одного знака из шрифта надписи из дорожек",
                                  "no character the track font draws"));
        return std::nullopt;
    }
    if (const std::string ch = firstCharacterOutsideCp1251(text); !ch.empty())
        return tr(lang, "знак, которого нет в кодировке файла: ", "a character the file cannot hold: ") + ch;
    return std::nullopt;
}

// The label of tracks dialog's height and stroke (its text: textProblem).
bool validTrackLabel(const StepArgs& a)
{
    const TrackLabelSettings s = trackLabelOf(a);
    const double stroke = a.number("--stroke", 1.0);
    return s.heightMm >= TrackLabelSettings::kMinHeightMm && s.heightMm <= TrackLabelSettings::kMaxHeightMm &&
           stroke >= 0.01 && stroke <= 99.9;
}

void trackLabel(EditContext& c, const StepArgs& a)
{
    const uint8_t layer =
        a.has("--layer") ? layerOf(a.options.at("--layer")) : static_cast<uint8_t>(c.doc.Working.ActiveLayer);
    int32_t counter = 0;
    const TrackLabelSettings settings = trackLabelOf(a);
    if (!TrackLabelFits(settings, counter, c.doc.Working.BoardWidth, c.doc.Working.BoardHeight)) {
        note(tr(c.lang, "шаг track-label: надпись больше платы; ничего не добавлено",
                "step track-label: the label is larger than the board; nothing added"));
        return;
    }
    // Kept on the board as the track-label tool keeps the label that follows
    // the pointer: letters beyond the edge would go with the next save.
    const Point at = ClampTrackLabelAnchor(boardPoint(a.numbers[0], a.numbers[1]), StrokeTextExtent(settings, counter),
                                           c.doc.Working.BoardWidth, c.doc.Working.BoardHeight);
    GenerateTrackLabel(c.session, c.doc, settings, counter, at, layer, c.tools.CurrentClearance);
}

// A label in the system font, as the label tool leaves it, its box measured
// beforehand.
void label(EditContext& c, const StepArgs& a)
{
    const uint8_t layer =
        a.has("--layer") ? layerOf(a.options.at("--layer")) : static_cast<uint8_t>(c.doc.Working.ActiveLayer);
    const LabelLook look{LabelStepFontHeight(a), LabelStepAngle(a), layer, c.tools.CurrentClearance};
    const Point extent = a.extent.value_or(Point{0, 0});
    if (!ExtentFitsBoard(extent, c.doc.Working.BoardWidth, c.doc.Working.BoardHeight)) {
        note(tr(c.lang, "шаг label: надпись больше платы; ничего не добавлено",
                "step label: the label is larger than the board; nothing added"));
        return;
    }
    // Kept on the board as the label tool keeps the label that follows the
    // pointer.
    const Point at = ClampLabelAnchor(boardPoint(a.numbers[0], a.numbers[1]), extent, c.doc.Working.BoardWidth,
                                      c.doc.Working.BoardHeight);
    CreateLabel(c.session, c.doc, at, a.text, look, [extent](const std::string&, int32_t, int32_t) { return extent; });
}

// A double click on a label in the system font and its properties dialog:
// the text, and the height and angle given (the label's own where left
// out). The box is measured now, in the height and angle it gets.
void relabel(EditContext& c, const StepArgs& a)
{
    const long i = FindObjectAt(c.freshIndex(), c.doc.Working, boardPoint(a.numbers[0], a.numbers[1]));
    LayoutObject* found = i >= 0 ? &c.objects()[static_cast<size_t>(i)] : nullptr;
    if (!found || !found->is(ObjectKind::Text)) {
        note(tr(c.lang, "шаг relabel: в точке нет надписи системным шрифтом; ничего не изменено",
                "step relabel: no label in the system font at the point; nothing changed"));
        return;
    }
    const int32_t fontHeight = a.has("--height") ? LabelStepFontHeight(a) : found->Width;
    const int32_t angle = a.has("--angle") ? LabelStepAngle(a) : found->Angle;
    std::string error;
    const std::optional<Point> extent = measureLabel(a.text, fontHeight, angle, c.lang, error);
    if (!extent) {
        note(tr(c.lang, "шаг relabel: ", "step relabel: ") + error);
        return;
    }
    if (!ExtentFitsBoard(*extent, c.doc.Working.BoardWidth, c.doc.Working.BoardHeight)) {
        note(tr(c.lang, "шаг relabel: надпись больше платы; ничего не изменено",
                "step relabel: the label is larger than the board; nothing changed"));
        return;
    }
    c.session.objectsWillChange();
    EditLabel(c.doc, *found, a.text, fontHeight, angle, [&extent](const std::string&, int32_t, int32_t) {
        return *extent;
    });
}

// The label dialog's height: 1 to 99.9 (mm).
bool validLabel(const StepArgs& a)
{
    const double height = a.number("--height", 3.0);
    return height >= 1 && height <= 99.9;
}

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
void polygon(EditContext& c, const StepArgs& a);

// Angles are kept in whole degrees, as the segment dialog takes them: 10
// and 10.4 would both become 10, a full circle.
bool wholeDegrees(double degrees)
{
    return degrees == std::floor(degrees);
}

bool validSegment(const StepArgs& a)
{
    return wholeDegrees(a.numbers[0]) && wholeDegrees(a.numbers[1]);
}

// An arc drawn along the radius with the width, as a ring segment from the
// start to the stop angle (counter-clockwise).
bool validArc(const StepArgs& a)
{
    const double r = a.number("--radius", 0), w = a.number("--width", 0);
    return r >= kSmallestRadiusMm && r <= 99.9 && w >= kSmallestWidthMm && w <= 2 * r &&
           wholeDegrees(a.number("--from", 0)) && wholeDegrees(a.number("--to", 0));
}

void arc(EditContext& c, const StepArgs& a);

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

// The segment command on the selected circles.
void segment(EditContext& c, const StepArgs& a)
{
    if (ApplyArcSegment(c.doc, {NormalDegrees(a.numbers[0]), NormalDegrees(a.numbers[1]), a.has("--fill")}) == 0)
        note(tr(c.lang, "шаг segment: не выделено ни одной окружности; ничего не изменено",
                "step segment: no circle is selected; nothing changed"));
}

bool validPath(const StepArgs& a)
{
    return a.numbers.size() % 2 == 0;
}

bool validRadius(const StepArgs& a)
{
    return a.numbers[2] >= kSmallestRadiusMm && a.numbers[2] <= 99.9;
}

// The file does not keep which tracks the router laid: only tracks laid in
// this run can be unrouted, and the step says so when there is none.
void unroute(EditContext& c, const StepArgs&)
{
    const UnrouteRun run = UnrouteSelectedTrack(c.session, c.doc);
    if (run.outcome == UnrouteOutcome::NoTrack)
        note(tr(c.lang, "шаг unroute: не выделено дорожки, проложенной трассировщиком в этом запуске; ничего не изменено",
                "step unroute: no track laid by the router in this run is selected; nothing changed"));
    else if (run.outcome == UnrouteOutcome::TrackKept)
        note(tr(c.lang, "шаг unroute: одной из площадок дорожки больше нет; она осталась обычной дорожкой",
                "step unroute: a pad of the track is gone; it stays as an ordinary track"));
}

// What a step's validator accepts, for the message that refuses a value.
std::string allowedValues(bool (*valid)(const StepArgs&), Language lang)
{
    const auto mm = [lang](double from, double to) {
        return tr(lang, "от ", "from ") + mmText(from) + tr(lang, " до ", " to ") + mmText(to) + tr(lang, " мм", " mm");
    };
    const std::string wholeAngles = tr(lang, "углы в целых градусах", "the angles in whole degrees");
    if (valid == validRouteSizes)
        return tr(lang, "ширина и зазор ", "width and gap ") + mm(RouteSettings::kMinMm, RouteSettings::kMaxMm);
    if (valid == validSetting)
        return tr(lang, "shape: целое от 1 до 9; outer ", "shape: a whole number from 1 to 9; outer ") + mm(0.1, 99.9) +
               tr(lang, ", width и inner ", ", width and inner ") + mm(0, 99.9) + ", clearance " + mm(0, 5);
    if (valid == validTrackLabel)
        return tr(lang, "--height ", "--height ") + mm(TrackLabelSettings::kMinHeightMm, TrackLabelSettings::kMaxHeightMm) +
               ", --stroke " + mm(0.01, 99.9);
    if (valid == validLabel)
        return "--height " + mm(1, 99.9);
    if (valid == validPolygon)
        return tr(lang, "--corners: целое от ", "--corners: a whole number from ") +
               std::to_string(PolygonSettings::kMinCorners) + tr(lang, " до ", " to ") +
               std::to_string(PolygonSettings::kMaxCorners) + ", --radius " +
               mm(PolygonSettings::kMinRadiusMm, PolygonSettings::kMaxRadiusMm) + ", --offset " +
               tr(lang, "от -180 до 180°", "from -180 to 180°") + ", --width " + mm(0, PolygonSettings::kMaxLineWidthMm);
    if (valid == validSegment)
        return wholeAngles;
    if (valid == validArc)
        return tr(lang, "--radius от 0.05 до 99.9 мм, --width от 0.01 мм и не более двух радиусов, ",
                  "--radius from 0.05 to 99.9 mm, --width from 0.01 mm up to twice the radius, ") +
               wholeAngles;
    if (valid == validRadius)
        return tr(lang, "радиус от 0.05 до 99.9 мм", "a radius from 0.05 to 99.9 mm");
    if (valid == validGrid)
        return allowedGrids(lang);
    if (valid == validBoardSize)
        return allowedBoardSizes(lang);
    return {};
}

std::vector<StepRow> buildTable()
{
    auto plain = [](const char* name, void (*apply)(EditContext&, const StepArgs&)) {
        return StepRow{name, {}, 0, nullptr, apply};
    };
    return {
        plain("select all", selectAll),
        plain("select none", selectNone),
        {"select frame", {}, 4, nullptr, selectFrame},
        {"select at", {}, 2, nullptr, selectAt},
        {"select add", {}, 2, nullptr, selectAdd},
        {"move", {}, 2, nullptr, move},
        {"nudge", {"left", "right", "up", "down"}, 0, nullptr, nudge},
        plain("rotate",
              [](EditContext& c, const StepArgs&) {
                  if (!RotateSelection(c.session, c.doc))
                      noteNoRoom(c, "rotate");
              }),
        {"mirror", {"horizontal", "vertical"}, 0, nullptr, mirror},
        plain("align", [](EditContext& c, const StepArgs&) { AlignToGrid(c.session, c.doc); }),
        plain("group", [](EditContext& c, const StepArgs&) { GroupSelection(c.doc); }),
        plain("ungroup", [](EditContext& c, const StepArgs&) { Ungroup(c.doc); }),
        plain("copy", [](EditContext& c, const StepArgs&) { CopySelection(c.session, c.doc); }),
        plain("cut", [](EditContext& c, const StepArgs&) { CutSelection(c.session, c.doc); }),
        plain("paste", [](EditContext& c, const StepArgs&) { Paste(c.session, c.doc); }),
        plain("duplicate", [](EditContext& c, const StepArgs&) { Duplicate(c.session, c.doc); }),
        plain("delete", [](EditContext& c, const StepArgs&) { DeleteSelection(c.session, c.doc); }),
        plain("undo", [](EditContext& c, const StepArgs&) { Undo(c.session, c.doc); }),
        plain("redo", [](EditContext& c, const StepArgs&) { Redo(c.session, c.doc); }),
        {"set", {"width", "outer", "inner", "shape", "clearance"}, 1, validSetting, setValue},
        {"layer", {"K1", "B1", "K2", "B2"}, 0, nullptr, activeLayer},
        {"band", {}, 4, nullptr, band},
        {"track", {}, -4, validPath, track},
        {"zone", {}, -6, validPath, zone},
        {"pad", {}, 2, nullptr, pad},
        {"circle", {}, 3, validRadius, circle},
        {"drag", {}, 4, nullptr, drag},
        {"macro", {}, 2, nullptr, dropMacro, true},
        {"via", {"on", "off"}, 0, nullptr, via, false, {}, false, true},
        {"track-label", {}, 2, validTrackLabel, trackLabel, false,
         {{"--height"}, {"--stroke"}, {"--angle", StepOption::Kind::Word, {"0", "90", "180", "270"}},
          {"--mirror", StepOption::Kind::Flag}, {"--fixed", StepOption::Kind::Flag},
          {"--layer", StepOption::Kind::Word, {"K1", "B1", "K2", "B2"}}},
         true},
        {"polygon", {}, 2, validPolygon, polygon, false,
         {{"--corners", StepOption::Kind::Number, {}, true}, {"--radius", StepOption::Kind::Number, {}, true},
          {"--offset"}, {"--width"}, {"--fill", StepOption::Kind::Flag}}},
        {"arc", {}, 2, validArc, arc, false,
         {{"--radius", StepOption::Kind::Number, {}, true}, {"--width", StepOption::Kind::Number, {}, true},
          {"--from", StepOption::Kind::Number, {}, true}, {"--to", StepOption::Kind::Number, {}, true},
          {"--fill", StepOption::Kind::Flag}}},
        {"segment", {}, 2, validSegment, segment, false, {{"--fill", StepOption::Kind::Flag}}},
        {"corner", {"add", "remove", "grid", "split"}, 2, nullptr, corner},
        {"label", {}, 2, validLabel, label, false,
         {{"--height"}, {"--angle", StepOption::Kind::Word, {"0", "90", "180", "270"}},
          {"--layer", StepOption::Kind::Word, {"K1", "B1", "K2", "B2"}}},
         true},
        {"relabel", {}, 2, validLabel, relabel, false,
         {{"--height"}, {"--angle", StepOption::Kind::Word, {"0", "90", "180", "270"}}}, true},
        {"test", {}, 2, nullptr, testAt},
        plain("clear bands", [](EditContext& c, const StepArgs&) { ClearConnections(c.session, c.doc); }),
        {"route", {}, 2, validRouteSizes, route},
        plain("unroute", unroute),
        {"ground-plane", {"on", "off"}, 0, nullptr, groundPlane},
        {"grid", {}, 1, validGrid, grid},
        {"board-size", {}, 2, validBoardSize, boardSize},
        {"board-name", {}, 0, nullptr, boardName, false, {}, true},
        plain("board add", boardAdd),
        plain("board delete", boardDelete),
        {"board move", {"left", "right"}, 0, nullptr, boardMove},
        {"board import", {}, 0, nullptr, boardImport, true},
    };
}

std::vector<std::string> wordsOf(const std::string& text)
{
    std::istringstream in(text);
    std::vector<std::string> out;
    for (std::string w; in >> w;)
        out.push_back(w);
    return out;
}

// The text between the first `skip` and the last `drop` blank-separated
// words, blanks inside kept as typed: a file name with spaces in it.
std::string middleOf(const std::string& text, size_t skip, size_t drop)
{
    const auto blank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    size_t begin = 0;
    for (size_t w = 0; w <= skip; ++w) {
        while (begin < text.size() && blank(text[begin]))
            ++begin;
        if (w < skip)
            while (begin < text.size() && !blank(text[begin]))
                ++begin;
    }
    size_t end = text.size();
    for (size_t w = 0; w <= drop; ++w) {
        while (end > begin && blank(text[end - 1]))
            --end;
        if (w < drop)
            while (end > begin && !blank(text[end - 1]))
                --end;
    }
    return text.substr(begin, end - begin);
}

std::optional<double> decimal(const std::string& s)
{
    double v = 0;
    const char* first = s.data() + (!s.empty() && s[0] == '+' ? 1 : 0);
    if (first != s.data() && first < s.data() + s.size() && (*first == '-' || *first == '+'))
        return std::nullopt; // "+-5" is no number
    const auto [ptr, ec] = std::from_chars(first, s.data() + s.size(), v);
    if (ec != std::errc() || ptr != s.data() + s.size() || first == ptr || !std::isfinite(v))
        return std::nullopt;
    return v;
}

} // namespace

void note(const std::string& text) { std::fprintf(stderr, "kestrel-cli: %s\n", text.c_str()); }

bool isImportStep(const ParsedStep& step)
{
    return step.row && std::string(step.row->name) == "board import";
}

bool isLabelStep(const ParsedStep& step)
{
    return step.row && std::string(step.row->name) == "label";
}

int32_t LabelStepFontHeight(const StepArgs& args)
{
    return LabelFontHeight(static_cast<int32_t>(std::lround(args.number("--height", 3.0) * 100)));
}

int32_t LabelStepAngle(const StepArgs& args)
{
    return static_cast<int32_t>(args.number("--angle", 0.0));
}

const ObjectIndex& EditContext::freshIndex()
{
    index.build(objects());
    return index;
}

const std::vector<StepRow>& editSteps()
{
    static const std::vector<StepRow> table = buildTable();
    return table;
}

double StepArgs::number(const std::string& option, double fallback) const
{
    const auto it = options.find(option);
    if (it == options.end())
        return fallback;
    return decimal(it->second).value_or(fallback);
}

namespace {

// Takes the row's options out of the words after the step's name; false
// with the error set when one is unknown, given twice, lacks its value or
// has a wrong one. kept receives the place each remaining word had among
// all of them.
bool takeOptions(const StepRow& row, std::vector<std::string>& words, size_t from, StepArgs& args,
                 std::vector<size_t>& kept, const std::string& quoted, Language lang, std::string& error)
{
    const std::string prefix = tr(lang, "шаг ", "step ") + quoted + ": ";
    std::vector<std::string> rest(words.begin(), words.begin() + static_cast<long>(from));
    kept.resize(from);
    std::iota(kept.begin(), kept.end(), size_t{0});
    for (size_t i = from; i < words.size(); ++i) {
        const std::string& w = words[i];
        if (w.size() < 3 || w.compare(0, 2, "--") != 0) {
            rest.push_back(w);
            kept.push_back(i);
            continue;
        }
        const StepOption* option = nullptr;
        for (const StepOption& o : row.options)
            if (w == o.name)
                option = &o;
        if (!option) {
            error = prefix + tr(lang, "неизвестный параметр ", "unknown option ") + w;
            return false;
        }
        if (args.has(w)) {
            error = prefix + tr(lang, "параметр задан дважды: ", "option given twice: ") + w;
            return false;
        }
        if (option->kind == StepOption::Kind::Flag) {
            args.options[w] = "";
            continue;
        }
        if (i + 1 >= words.size()) {
            error = prefix + w + tr(lang, ": нет значения", ": expects a value");
            return false;
        }
        const std::string& value = words[++i];
        if (option->kind == StepOption::Kind::Number && !decimal(value)) {
            error = prefix + tr(lang, "не число: ", "not a number: ") + value;
            return false;
        }
        if (option->kind == StepOption::Kind::Word &&
            std::none_of(option->words.begin(), option->words.end(), [&](const char* c) { return value == c; })) {
            std::string choices;
            for (const char* c : option->words)
                choices += (choices.empty() ? "" : "|") + std::string(c);
            error = prefix + w + tr(lang, ": ожидается ", ": expects ") + choices;
            return false;
        }
        args.options[w] = value;
    }
    for (const StepOption& o : row.options)
        if (o.required && !args.has(o.name)) {
            error = prefix + tr(lang, "нужен параметр ", "requires ") + o.name;
            return false;
        }
    words = std::move(rest);
    return true;
}

} // namespace

std::optional<ParsedStep> parseStep(const std::string& text, Language lang, std::string& error)
{
    std::vector<std::string> words = wordsOf(text);
    const std::string quoted = "'" + text + "'";
    // The longest row name that begins the step wins ("select all" before "select").
    const StepRow* row = nullptr;
    size_t nameWords = 0;
    for (const StepRow& r : editSteps()) {
        const std::vector<std::string> name = wordsOf(r.name);
        if (name.size() > nameWords && name.size() <= words.size() &&
            std::equal(name.begin(), name.end(), words.begin())) {
            row = &r;
            nameWords = name.size();
        }
    }
    if (!row) {
        error = tr(lang, "неизвестный шаг ", "unknown step ") + quoted;
        return std::nullopt;
    }
    ParsedStep step{row, {}};
    std::vector<size_t> kept(words.size());
    std::iota(kept.begin(), kept.end(), size_t{0});
    if (!row->options.empty() && !takeOptions(*row, words, nameWords, step.args, kept, quoted, lang, error))
        return std::nullopt;
    const bool hasWord = (!row->words.empty() || row->fileWord) && !(row->wordOptional && words.size() == nameWords);
    const size_t fixed = nameWords + (hasWord ? 1 : 0);
    const size_t expected = fixed + static_cast<size_t>(std::abs(row->numbers));
    // A negative count asks for at least that many numbers; a text or a file
    // name at least one word.
    const bool countFits = row->text                           ? words.size() > expected
                           : row->numbers < 0 || row->fileWord ? words.size() >= expected
                                                               : words.size() == expected;
    if (!countFits) {
        const bool atLeast = row->text || row->numbers < 0 || row->fileWord;
        error = tr(lang, "шаг ", "step ") + quoted +
                (atLeast ? tr(lang, ": ожидается аргументов не менее: ", ": expects at least this many arguments: ")
                         : tr(lang, ": ожидается аргументов: ", ": expects arguments: ")) +
                std::to_string(expected - nameWords + (row->text ? 1 : 0));
        return std::nullopt;
    }
    size_t next = nameWords;
    if (row->fileWord) {
        // The name takes every word but the numbers after it.
        const size_t nameEnd = words.size() - static_cast<size_t>(row->numbers);
        step.args.word = middleOf(text, next, static_cast<size_t>(row->numbers));
        words.erase(words.begin() + static_cast<long>(next) + 1, words.begin() + static_cast<long>(nameEnd));
        ++next;
    } else if (hasWord) {
        const std::string& w = words[next++];
        bool known = false;
        for (const char* choice : row->words)
            known |= w == choice;
        if (!known) {
            std::string choices;
            for (const char* choice : row->words) {
                if (!choices.empty())
                    choices += '|';
                choices += choice;
            }
            error = tr(lang, "шаг ", "step ") + quoted + tr(lang, ": ожидается ", ": expects ") + choices;
            return std::nullopt;
        }
        step.args.word = w;
    }
    const size_t numbersEnd = row->text ? expected : words.size();
    for (; next < numbersEnd; ++next) {
        const auto v = decimal(words[next]);
        if (!v) {
            error = tr(lang, "шаг ", "step ") + quoted + tr(lang, ": не число: ", ": not a number: ") + words[next];
            return std::nullopt;
        }
        // Coordinates and sizes beyond what a layout file holds (10 m).
        if (std::abs(*v) > mmFromUnits(ranges::kMaxCoordinate)) {
            error = tr(lang, "шаг ", "step ") + quoted + tr(lang, ": значение вне допустимого диапазона: ",
                                                              ": value out of range: ") + words[next];
            return std::nullopt;
        }
        step.args.numbers.push_back(*v);
    }
    if (row->text) {
        // The text as typed, blanks inside kept, unless options stand in it.
        const size_t first = kept[next], last = kept[words.size() - 1];
        if (last - first != words.size() - 1 - next) {
            error = tr(lang, "шаг ", "step ") + quoted +
                    tr(lang, ": параметры стоят внутри текста; их место до или после него",
                       ": options stand inside the text; they go before or after it");
            return std::nullopt;
        }
        step.args.text = middleOf(text, first, wordsOf(text).size() - 1 - last);
    }
    if (const auto problem = row->text ? textProblem(*row, step.args.text, lang) : std::nullopt) {
        error = tr(lang, "шаг ", "step ") + quoted + ": " + *problem;
        return std::nullopt;
    }
    if (row->valid && !row->valid(step.args)) {
        error = tr(lang, "шаг ", "step ") + quoted +
                (row->valid == validPath
                     ? tr(lang, ": координаты задаются парами X Y", ": the coordinates come in X Y pairs")
                     : tr(lang, ": недопустимое значение; допустимо: ", ": value not allowed; allowed: ") +
                           allowedValues(row->valid, lang));
        return std::nullopt;
    }
    return step;
}

} // namespace kestrel::cli
