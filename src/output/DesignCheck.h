#pragma once
// Design-rule check before the files go to a board house: copper of
// different nets too close, tracks too narrow, holes too small, annular
// rings too thin, copper too close to the board edge, objects off the
// board. Nets are the connectivity test's (rubber bands join nothing).

#include "model/Board.h"
#include "model/Language.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kestrel {

struct DesignRules {
    // A common board-house profile: 0.15 mm clearance and width, 0.3 mm
    // holes, 0.15 mm rings.
    static constexpr int32_t kDefaultClearance = 15, kDefaultWidth = 15, kDefaultHole = 30, kDefaultRing = 15;
    // What the dialog and the command line accept, in mm.
    static constexpr double kMaxMm = 10;

    int32_t clearanceUnits = kDefaultClearance;
    int32_t widthUnits = kDefaultWidth;
    int32_t holeUnits = kDefaultHole; // smallest hole diameter
    int32_t ringUnits = kDefaultRing;
    bool operator==(const DesignRules&) const = default;
};

enum class ViolationKind : uint8_t {
    Clearance,
    Width,
    Hole,
    Ring,
    EdgeClearance,
    OffBoard,
    PlaneClearance, // the ground plane's gap around an object (its clearance)
    HoleInPlane,    // a hole through the other side's plane without copper of its own there
    HoleThroughCopper, // a hole through copper of another net on the other side
    ViaWithoutHole,    // a via's pads with no hole between them: nothing joins the sides
};

// Whether the violation has a measured value against a limit.
inline bool hasMeasure(ViolationKind kind)
{
    return kind != ViolationKind::OffBoard && kind != ViolationKind::HoleInPlane &&
           kind != ViolationKind::HoleThroughCopper && kind != ViolationKind::ViaWithoutHole;
}

struct Violation {
    ViolationKind kind;
    size_t object;         // position in the object list
    long other = -1;       // the second object of a clearance violation
    double measuredUnits;  // the gap, width, hole diameter or ring found
    int32_t limitUnits;    // the rule's limit (0 for objects off the board)
    Rect area;             // where it is: the objects' outlines, normalised
    int planeLayer = 0;    // the ground plane's layer, for a hole through it
};

// Net number of every object: objects joined by copper or vias share one,
// objects off the copper layers get -1. A label in a system font on copper
// joins nothing and has a net of its own.
std::vector<int> netNumbers(const ObjectList& objects);

// The layer a violation lies on: the first object's, but for a hole the
// copper it goes through, which may lie on the other side.
int violationLayer(const Violation& v, const ObjectList& objects);

// Every violation, ordered by kind and then by object.
std::vector<Violation> checkDesign(const ObjectList& objects, const BoardSettings& settings, const DesignRules& rules);

// Figures for the fab package's notes; a value is -1 when nothing on the
// board has it.
struct DesignFigures {
    int32_t smallestTrackUnits = -1;
    // Smallest gap between copper of different nets, looked for up to
    // kClearanceSearchUnits.
    double smallestClearanceUnits = -1;
    static constexpr int32_t kClearanceSearchUnits = 100;
    std::vector<int32_t> holeDiametersUnits; // distinct, ascending
    int copperLayers = 0; // layers holding copper objects, or a ground plane when the check knows the settings
};
// The figures of the nets' copper alone: the ground planes' gaps need the
// board's settings (checkDesignWithFigures).
DesignFigures designFigures(const ObjectList& objects);

// The check and the figures in one pass over the board's nets, as the fab
// package needs both.
struct DesignReport {
    std::vector<Violation> violations;
    DesignFigures figures;
};
DesignReport checkDesignWithFigures(const ObjectList& objects, const BoardSettings& settings,
                                    const DesignRules& rules);

// A measured value in mm cut, never rounded up, to the micrometre: a gap
// just below a limit must not be shown or written as the limit itself.
double measuredMm(double units);
// The same as text: two decimals where they hold it exactly, else three.
std::string measuredMmText(double units);

// "K1", "B1", "K2", "B2" for the board layers, else the layer number.
std::string layerKeyOrNumber(int layer);
// The kind as a short key for machine-readable output: "clearance", "width", ...
const char* violationKey(ViolationKind kind);
// Where a violation's place counts from, y downwards, and in which unit:
// the board's top-left corner in millimetres, as the command line gives it,
// or the editor's zero point in the unit of its rulers.
struct PlaceFrame {
    Point origin;
    bool inch = false;
};
// One line describing the violation in the interface language. Layers are
// named by their keys (as the command line takes them) or as the editor's
// status line shows them. Sizes are in millimetres, as the limits are.
enum class LayerNames : uint8_t { Keys, Screen };
std::string describeViolation(const Violation& v, const ObjectList& objects, Language lang,
                              LayerNames names = LayerNames::Keys, PlaceFrame place = {});

} // namespace kestrel
