// kestrel-cli route: lays a track for one rubber band with the autorouter.

#include "cli/Args.h"
#include "cli/Command.h"
#include "model/Units.h"
#include "route/Autorouter.h"

#include <algorithm>
#include <cstdio>

namespace kestrel::cli {

namespace {

constexpr double kMinMm = 0.1; // the range of the autorouter window's spins
constexpr double kMaxMm = 9.9;

const LayoutObject* padAt(const Board& board, long index, const char* option, std::string& error)
{
    if (index < 0 || static_cast<size_t>(index) >= board.Objects.size()) {
        error = std::string("--") + option + ": the board has no object " + std::to_string(index) + " (it holds " +
                std::to_string(board.Objects.size()) + ")";
        return nullptr;
    }
    const LayoutObject& o = board.Objects[static_cast<size_t>(index)];
    if (!o.is(ObjectKind::Pad)) {
        error = std::string("--") + option + ": object " + std::to_string(index) + " is not a pad";
        return nullptr;
    }
    return &o;
}

int run(const std::vector<std::string>& raw)
{
    Args args(raw, {"board", "from", "to", "layer", "width", "clearance"}, {});
    const auto boardIndex = args.integer("board");
    const auto from = args.integer("from");
    const auto to = args.integer("to");
    const auto layer = args.integer("layer");
    const double widthMm = args.number("width").value_or(0.4);
    const double clearanceMm = args.number("clearance").value_or(0.2);
    if (!args.expectPositional(2))
        return fail(kExitUsage, args.error());
    if (!from || !to)
        return fail(kExitUsage, "--from P and --to Q are required");
    for (const auto& [name, mm] : {std::pair{"--width", widthMm}, std::pair{"--clearance", clearanceMm}})
        if (!(mm >= kMinMm && mm <= kMaxMm))
            return fail(kExitFailure, std::string(name) + " must lie between 0.1 and 9.9 mm");

    auto doc = loadDocument(args.positional()[0]);
    if (!doc)
        return kExitFailure;
    Board* board = chooseBoard(*doc, boardIndex);
    if (!board)
        return kExitFailure;
    std::string error;
    const LayoutObject* start = padAt(*board, *from, "from", error);
    const LayoutObject* target = start ? padAt(*board, *to, "to", error) : nullptr;
    if (!target)
        return fail(kExitFailure, error);
    if (std::find(start->Connections.begin(), start->Connections.end(), target) == start->Connections.end())
        return fail(kExitFailure, "there is no rubber band between pads " + std::to_string(*from) + " and " +
                                      std::to_string(*to));
    const long routeLayer = layer.value_or(start->Layer);
    if (routeLayer != Layer::K1 && routeLayer != Layer::K2)
        return fail(kExitFailure, "layer " + std::to_string(routeLayer) +
                                      " is not a copper layer: the router works on layer 1 or 3");

    RouteSettings settings;
    settings.layer = static_cast<uint8_t>(routeLayer);
    settings.widthUnits = unitsFromMm(widthMm);
    settings.clearanceUnits = unitsFromMm(clearanceMm);
    settings.newTrackClearance = unitsFromMm(0.4);
    // The chosen board is routed in place, so the active board stays as it was.
    const bool active = board == doc->activeBoard();
    const BoardSettings& size = active ? doc->Working : board->Settings;
    ObjectList& objects = board->Objects;
    const RouteResult result = RouteConnection(objects, size, objects[static_cast<size_t>(*from)],
                                               objects[static_cast<size_t>(*to)], settings);
    if (!saveDocument(*doc, args.positional()[1]))
        return kExitFailure;

    std::string out = result.routed ? "{\"routed\": true, \"points\": [" : "{\"routed\": false";
    if (result.routed) {
        for (size_t i = 0; i < result.track->Points.size(); ++i) {
            const Point p = result.track->Points[i];
            out += (i ? ", [" : "[") + std::to_string(p.x) + ", " + std::to_string(p.y) + "]";
        }
        out += "]";
    }
    out += "}\n";
    std::fputs(out.c_str(), stdout);
    return kExitOk;
}

const Registration reg({"route", "route one rubber band as a track with the autorouter",
                        "usage: kestrel-cli route [--board N] --from P --to Q [--layer 1|3] [--width MM]\n"
                        "                         [--clearance MM] IN OUT\n\n"
                        "Routes the rubber band from pad P (the start) to pad Q (the target), both 0-based\n"
                        "positions in the board's object list, on copper layer 1 or 3 (default: P's layer)\n"
                        "with the track width and the clearance to foreign copper in millimetres (0.1 to\n"
                        "9.9; defaults 0.4 and 0.2). The new track gets the clearance 0.4 mm for the\n"
                        "ground plane. Writes the document to OUT as the editor's Save does and prints\n"
                        "{\"routed\": true, \"points\": [[x, y], ...]} with the track's points in units of\n"
                        "0.01 mm from Q to P, or {\"routed\": false} when no way was found; both exit 0.\n"
                        "--board (0-based) defaults to the active board.\n",
                        run});

} // namespace
} // namespace kestrel::cli
