#include "cli/EditSteps.h"

#include "edit/ApplyToolParameter.h"
#include "edit/Clipboard.h"
#include "edit/Grouping.h"
#include "edit/HitTest.h"
#include "edit/Labels.h"
#include "edit/MacroDrop.h"
#include "edit/PointerMachine.h"
#include "edit/Selection.h"
#include "edit/ToolPanelSync.h"
#include "edit/Transformations.h"
#include "edit/Undo.h"
#include "model/LayerSwitches.h"
#include "model/Units.h"
#include "route/ConnectTool.h"
#include "route/RouteTool.h"
#include "route/RubberBands.h"
#include "route/TestTool.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <sstream>

namespace kestrel::cli {

namespace {

std::optional<double> decimal(const std::string& s)
{
    double v = 0;
    const char* first = s.data() + (!s.empty() && s[0] == '+' ? 1 : 0);
    const auto [ptr, ec] = std::from_chars(first, s.data() + s.size(), v);
    if (ec != std::errc() || ptr != s.data() + s.size() || first == ptr || !std::isfinite(v))
        return std::nullopt;
    return v;
}

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

void mirror(EditContext& c, const StepArgs& a)
{
    if (a.word == "horizontal")
        MirrorHorizontal(c.session, c.doc);
    else
        MirrorVertical(c.session, c.doc);
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

void activeLayer(EditContext& c, const StepArgs& a)
{
    const int layer = a.word == "K1" ? Layer::K1 : a.word == "B1" ? Layer::B1 : a.word == "K2" ? Layer::K2 : Layer::B2;
    SetActiveLayer(c.doc.Working, c.objects(), layer);
}

// The connect tool's press on one pad and then on another: draws the band
// between them, or removes it when they have one.
void band(EditContext& c, const StepArgs& a)
{
    const ObjectIndex& index = c.freshIndex();
    const long from = PadForConnecting(index, c.doc.Working, boardPoint(a.numbers[0], a.numbers[1]));
    const long to = PadForConnecting(index, c.doc.Working, boardPoint(a.numbers[2], a.numbers[3]));
    if (from >= 0 && to >= 0)
        ToggleBand(c.session, c.doc, static_cast<size_t>(from), static_cast<size_t>(to));
}

void testAt(EditContext& c, const StepArgs& a)
{
    TestConnectionAt(c.objects(), c.freshIndex(), c.doc.Working, boardPoint(a.numbers[0], a.numbers[1]));
}

// The autorouter's press on a picked band: the band between the selected
// pads, on the active layer, with the window's width and clearance.
void route(EditContext& c, const StepArgs& a)
{
    RouteGrid grid;
    RouteSelectedBand(c.session, c.doc,
                      RouteSettingsFor(a.numbers[0], a.numbers[1], static_cast<int>(c.doc.Working.ActiveLayer),
                                       c.tools.CurrentClearance),
                      {}, grid);
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
    // The panel's spin edits reach 99.9 mm.
    return v >= 0 && v <= 99.9;
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

void zone(EditContext& c, const StepArgs& a)
{
    Pointer(c).path(ToolMode::Zone, a.numbers);
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

// As a drop from the macro panel: the reference point at the snapped
// point, kept on the board.
void dropMacro(EditContext& c, const StepArgs& a)
{
    DropMacro(c.session, c.doc, *a.macro, MacroDropPoint(boardPoint(a.numbers[0], a.numbers[1]), c.doc.Working));
}

void via(EditContext& c, const StepArgs& a)
{
    c.tools.ViaMode = a.word == "on";
    ApplyToolParameter(c.session, c.doc, c.tools, ToolParameter::Via);
}

// A label in the system font, as the label tool leaves it: the box was
// measured beforehand in the label font (kestrel-cli-render).
void label(EditContext& c, const StepArgs& a)
{
    const int layer = static_cast<int>(a.numbers[kLabelLayer]);
    const LabelLook look{LabelStepFontHeight(a), static_cast<int32_t>(a.numbers[kLabelAngle]),
                         static_cast<uint8_t>(layer != 0 ? layer : static_cast<int>(c.doc.Working.ActiveLayer)),
                         c.tools.CurrentClearance};
    const Point extent = a.extent.value_or(Point{0, 0});
    CreateLabel(c.session, c.doc, boardPoint(a.numbers[kLabelX], a.numbers[kLabelY]), a.text, look,
                [extent](const std::string&, int32_t, int32_t) { return extent; });
}

// X Y TEXT... [--height H] [--angle 0|90|180|270] [--layer K1|B1|K2|B2]: the
// words that are no option make the text, joined by single blanks.
bool readLabelWords(const std::vector<std::string>& words, StepArgs& a)
{
    if (words.size() < 3)
        return false;
    const auto x = decimal(words[0]), y = decimal(words[1]);
    if (!x || !y)
        return false;
    double height = 3.0, angle = 0, layer = 0;
    for (size_t i = 2; i < words.size(); ++i) {
        const std::string& w = words[i];
        if (w == "--height" || w == "--angle" || w == "--layer") {
            if (++i >= words.size())
                return false;
            if (w == "--layer") {
                static const char* const names[] = {"K1", "B1", "K2", "B2"};
                const auto found = std::find(std::begin(names), std::end(names), words[i]);
                if (found == std::end(names))
                    return false;
                layer = static_cast<double>(found - std::begin(names) + 1);
                continue;
            }
            const auto v = decimal(words[i]);
            if (!v)
                return false;
            (w == "--height" ? height : angle) = *v;
            continue;
        }
        a.text += (a.text.empty() ? "" : " ") + w;
    }
    const bool quarterTurn = angle == 0 || angle == 90 || angle == 180 || angle == 270;
    if (a.text.empty() || !quarterTurn || height < 1 || height > 99.9)
        return false;
    a.numbers = {*x, *y, height, angle, layer};
    return true;
}

bool validPath(const StepArgs& a)
{
    return a.numbers.size() % 2 == 0;
}

bool validRadius(const StepArgs& a)
{
    return a.numbers[2] > 0 && a.numbers[2] <= 99.9;
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
        plain("rotate", [](EditContext& c, const StepArgs&) { RotateSelection(c.session, c.doc); }),
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
        {"via", {"on", "off"}, 0, nullptr, via},
        {"label", {}, 0, nullptr, label, false, readLabelWords},
        {"test", {}, 2, nullptr, testAt},
        plain("clear bands", [](EditContext& c, const StepArgs&) { ClearConnections(c.session, c.doc); }),
        {"route", {}, 2, validRouteSizes, route},
        plain("unroute", [](EditContext& c, const StepArgs&) { UnrouteSelectedTrack(c.session, c.doc); }),
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


} // namespace

int32_t LabelStepFontHeight(const StepArgs& args)
{
    return LabelFontHeight(static_cast<int32_t>(std::lround(args.numbers[kLabelHeight] * 100)));
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

std::optional<ParsedStep> parseStep(const std::string& text, Language lang, std::string& error)
{
    const std::vector<std::string> words = wordsOf(text);
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
    if (row->readWords) {
        ParsedStep step{row, {}};
        if (!row->readWords(std::vector<std::string>(words.begin() + static_cast<long>(nameWords), words.end()),
                            step.args)) {
            error = tr(lang, "шаг ", "step ") + quoted + tr(lang, ": аргументы не читаются", ": malformed arguments");
            return std::nullopt;
        }
        return step;
    }
    const size_t fixed = nameWords + (row->words.empty() && !row->fileWord ? 0 : 1);
    const size_t expected = fixed + static_cast<size_t>(std::abs(row->numbers));
    // A negative count asks for at least that many numbers.
    if (row->numbers < 0 ? words.size() < expected : words.size() != expected) {
        error = tr(lang, "шаг ", "step ") + quoted + tr(lang, ": ожидается аргументов: ", ": expects arguments: ") +
                std::to_string(expected - nameWords);
        return std::nullopt;
    }
    ParsedStep step{row, {}};
    size_t next = nameWords;
    if (row->fileWord) {
        step.args.word = words[next++];
    } else if (!row->words.empty()) {
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
    for (; next < words.size(); ++next) {
        const auto v = decimal(words[next]);
        if (!v) {
            error = tr(lang, "шаг ", "step ") + quoted + tr(lang, ": не число: ", ": not a number: ") + words[next];
            return std::nullopt;
        }
        step.args.numbers.push_back(*v);
    }
    if (row->valid && !row->valid(step.args)) {
        error = tr(lang, "шаг ", "step ") + quoted + tr(lang, ": значение вне допустимого диапазона",
                                                          ": value out of range");
        return std::nullopt;
    }
    return step;
}

} // namespace kestrel::cli
