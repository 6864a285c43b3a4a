#include "output/DesignCheck.h"

#include "geometry/CapsuleOverlap.h"
#include "geometry/Distance.h"
#include "geometry/Figures.h"
#include "geometry/Geometry.h"
#include "model/LayerKeys.h"
#include "model/LayerSwitches.h"
#include "output/CopperShapes.h"
#include "output/DrillExport.h"
#include "output/HoleRules.h"
#include "output/ObjectCells.h"
#include "output/PlaneRules.h"
#include "route/BothLayers.h"
#include "route/Connectivity.h"
#include "route/CopperParts.h"
#include "route/PartGrid.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>

namespace kestrel {

namespace {

Rect partsBounds(const std::vector<Region>& parts)
{
    Rect r;
    bool first = true;
    for (const Region& part : parts) {
        r = first ? part.bounds() : r.united(part.bounds());
        first = false;
    }
    return r;
}

// Where two objects closer than `limit` come close: the overlap of their
// bounds grown by it, which two long tracks meet in only near their close
// run (the bounds of both would centre anywhere).
Rect whereClose(const Rect& a, const Rect& b, int32_t limit)
{
    const Rect ga = a.grown(limit), gb = b.grown(limit);
    const Rect both{std::max(ga.left, gb.left), std::max(ga.top, gb.top), std::min(ga.right, gb.right),
                    std::min(ga.bottom, gb.bottom)};
    return both.left <= both.right && both.top <= both.bottom ? both : a.united(b);
}

// The copper parts of a board (capsules, fills, shapes) in a grid per layer,
// each part entered with a margin of half the search reach, so parts that
// may lie within reach of each other meet in some cell.
class CopperPartGrids {
public:
    CopperPartGrids(CopperMap& map, int32_t reach) : table_(map.parts()), objects_(map.objects())
    {
        IndexVector<uint32_t> ids[2];
        for (uint32_t p = 0; p < table_.parts.size(); ++p)
            ids[objects_[table_.parts[p].object].Layer == Layer::K1 ? 0 : 1].push_back(p);
        const int32_t margin = reach / 2 + 1;
        buildLayerGrids(grids_, table_.parts, table_.capsules, ids, margin);
        seen_.assign(table_.parts.size(), 0);
    }

    // Calls near(j, bound) once for each live part of another object that
    // shares a cell with a part of object i, with a lower bound of the two
    // parts' outline gap. Parts for which retired(j) says true are dropped
    // for good on the way. The layers may be searched side by side, one
    // thread each: everything a search changes belongs to its layer.
    template <typename Retired, typename Near>
    void forEachNear(size_t i, Retired retired, Near near)
    {
        const int layer = layerOf(i);
        PartGrid& grid = grids_[layer];
        for (uint32_t p = table_.firstPart[i]; p < table_.firstPart[i + 1]; ++p) {
            const uint32_t query = ++queries_[layer];
            grid.forEachNear(p, [&](uint32_t j) { return retired(size_t{j}); }, [&](const PartGrid::Entry& e) {
                if (seen_[e.part] == query || e.object == i)
                    return;
                seen_[e.part] = query;
                near(size_t{e.object}, [&] { return gapBound(p, e.part); });
            });
        }
    }

    size_t partCount(size_t i) const { return table_.firstPart[i + 1] - table_.firstPart[i]; }
    int layerOf(size_t i) const { return objects_[i].Layer == Layer::K1 ? 0 : 1; }

private:
    // No more than the gap between the two parts' outlines: their boxes'
    // gap, and for capsules the segments' distance less both outer radii.
    double gapBound(uint32_t a, uint32_t b) const
    {
        const IndexVector<CopperPart>& parts = table_.parts;
        double bound = rectGap(parts[a].box, parts[b].box);
        if (parts[a].isCapsule() && parts[b].isCapsule()) {
            const CapsuleShape &c = table_.capsules[a], &d = table_.capsules[b];
            if (quickCapsule(c) && quickCapsule(d))
                bound = std::max(bound, segmentDistance(c.a, c.b, d.a, d.b) - c.halfWidth - d.halfWidth - 2.5);
        }
        return bound;
    }

    CopperMap::Parts table_;
    const ObjectList& objects_;
    PartGrid grids_[2];
    std::vector<uint32_t> seen_; // the query that last met each part
    uint32_t queries_[2] = {0, 0}; // per layer
};

// What a search for close pairs of copper objects of different nets keeps:
// the pairs closer than keepBelow, and the smallest gap below smallestBelow
// (0: none is looked for).
struct PairSearch {
    int32_t keepBelow = 0;
    int32_t smallestBelow = 0;
    int32_t reach() const { return std::max(keepBelow, smallestBelow); }
};

struct ClosePair {
    size_t a, b; // a < b
    double gap;
    Rect where; // whereClose of the two objects' copper
};

struct PairsFound {
    std::vector<ClosePair> kept;
    double smallest = -1;
};

// One layer's pairs. Beyond the pairs kept only a gap smaller than the
// smallest so far matters, so the search narrows as it finds them.
PairsFound closePairsOnLayer(CopperMap& map, CopperPartGrids& grids, CopperShapeCache& shapes,
                             const std::vector<int>& nets, int passive, const PairSearch& search, int layer)
{
    PairsFound out;
    const auto limit = [&] {
        return out.smallest < 0 ? double(search.reach()) : std::max<double>(search.keepBelow, out.smallest);
    };
    // Pairs of two active objects are measured from the lower one, so an
    // active object is done with once it has asked.
    std::vector<uint8_t> asked(map.size(), 0);
    // The object whose pairs are being looked at, per object measured with it.
    std::vector<uint32_t> measuredWith(map.size(), UINT32_MAX);
    for (size_t i = 0; i < map.size(); ++i) {
        if (nets[i] < 0 || nets[i] == passive || grids.layerOf(i) != layer)
            continue;
        const auto retired = [&](size_t j) { return asked[j] != 0; };
        grids.forEachNear(i, retired, [&](size_t j, auto gapBound) {
            if (measuredWith[j] == i || nets[j] == nets[i])
                return;
            const double within = limit();
            if (gapBound() >= within)
                return;
            measuredWith[j] = static_cast<uint32_t>(i);
            const size_t a = std::min(i, j), b = std::max(i, j);
            const double gap = shapes.gap(a, b, within);
            if (gap >= within)
                return;
            if (gap < search.smallestBelow && (out.smallest < 0 || gap < out.smallest))
                out.smallest = gap;
            if (gap < search.keepBelow)
                out.kept.push_back({a, b, gap, whereClose(shapes.bounds(a), shapes.bounds(b), search.keepBelow)});
        });
        asked[i] = 1;
    }
    return out;
}

// The pairs of copper objects of different nets the search asks for, both
// layers searched side by side on a board large enough to pay for a thread.
PairsFound closePairs(CopperMap& map, CopperPartGrids& grids, CopperShapeCache& shapes, const std::vector<int>& nets,
                      const PairSearch& search)
{
    // The net with the most parts only answers: every pair it is in is
    // found from the other net's side, and most boards have one such net
    // (the ground, or the whole board when everything is joined).
    std::vector<size_t> netParts;
    size_t copperOn[2] = {0, 0};
    for (size_t i = 0; i < map.size(); ++i)
        if (nets[i] >= 0) {
            if (size_t(nets[i]) >= netParts.size())
                netParts.resize(size_t(nets[i]) + 1, 0);
            netParts[size_t(nets[i])] += grids.partCount(i);
            ++copperOn[grids.layerOf(i)];
        }
    const int passive =
        netParts.empty() ? -1 : int(std::max_element(netParts.begin(), netParts.end()) - netParts.begin());
    constexpr size_t kObjectsPerLayerForTwoThreads = 2000;
    PairsFound layers[2];
    forBothLayers(std::min(copperOn[0], copperOn[1]) >= kObjectsPerLayerForTwoThreads, [&](int layer) {
        layers[layer] = closePairsOnLayer(map, grids, shapes, nets, passive, search, layer);
    });
    PairsFound all = std::move(layers[0]);
    all.kept.insert(all.kept.end(), layers[1].kept.begin(), layers[1].kept.end());
    if (layers[1].smallest >= 0 && (all.smallest < 0 || layers[1].smallest < all.smallest))
        all.smallest = layers[1].smallest;
    return all;
}

bool isCopperLabel(const LayoutObject& o) { return o.is(ObjectKind::Text) && isBoardCopper(o.Layer); }

// Nets of the copper; a label in a system font, whose copper is glyphs
// the check cannot see within its box, joins nothing and is a net of its
// own, so a label lying across two nets' copper does not hide the gap
// between them (settleLabelNets gives it the net it lies on).
std::vector<int> netsOf(CopperMap& map)
{
    const ObjectList& objects = map.objects();
    std::vector<int> nets(map.size(), -1);
    std::vector<uint8_t> reached(map.size(), 0);
    for (size_t i = 0; i < map.size(); ++i)
        reached[i] = isCopperLabel(objects[i]);
    int next = 0;
    for (size_t i = 0; i < map.size(); ++i) {
        if (reached[i] || !isBoardCopper(objects[i].Layer))
            continue;
        for (size_t j : FloodConnect(map, i, reached))
            nets[j] = next;
        ++next;
    }
    for (size_t i = 0; i < map.size(); ++i)
        if (isCopperLabel(objects[i]))
            nets[i] = next++;
    return nets;
}

// A label on the copper of one net belongs to it; a label on the copper of
// two nets, or of none, keeps a net of its own: the search then reports
// it against the copper it touches.
void settleLabelNets(CopperMap& map, CopperPartGrids& grids, std::vector<int>& nets)
{
    const ObjectList& objects = map.objects();
    for (size_t i = 0; i < map.size(); ++i) {
        if (!isCopperLabel(objects[i]))
            continue;
        int joined = -1;
        bool several = false;
        grids.forEachNear(i, [](size_t) { return false; }, [&](size_t j, auto) {
            if (several || nets[j] < 0 || nets[j] == joined || isCopperLabel(objects[j]) ||
                !map.outlinesOverlap(i, j))
                return;
            several = joined >= 0;
            joined = nets[j];
        });
        if (joined >= 0 && !several)
            nets[i] = joined;
    }
}

// The board's nets, planes joined when the settings are known and labels
// settled, and the pairs the search asks for.
struct NetsAndPairs {
    std::vector<int> nets;
    PairsFound pairs;
};
NetsAndPairs netsAndPairs(CopperMap& map, CopperShapeCache& shapes, const PairSearch& search,
                          const BoardSettings* settings)
{
    NetsAndPairs out{netsOf(map), {}};
    if (settings)
        joinPlaneNets(map.objects(), *settings, out.nets);
    CopperPartGrids grids(map, search.reach());
    settleLabelNets(map, grids, out.nets);
    out.pairs = closePairs(map, grids, shapes, out.nets, search);
    return out;
}

// The pen width a copper object is made with, or -1 for objects without
// one. A filled circle is a filled figure, as a zone is: its pen draws only
// its edge.
int32_t conductorWidth(const LayoutObject& o)
{
    if (o.is(ObjectKind::Line) || o.is(ObjectKind::Track))
        return o.widthUnits();
    if (o.is(ObjectKind::Circle) && !o.Filled)
        return arcStroke(o, 0).widthUnits;
    return -1;
}

// The thinnest copper around a pad's hole; -1 for pads without a hole or
// without copper (a bare hole has no ring to be thin). A via's pad whose
// hole fills it has a ring of 0: a via needs copper to join its sides.
int32_t ringWidth(const LayoutObject& o)
{
    if (!o.is(ObjectKind::Pad) || o.holeRadius() <= 0)
        return -1;
    if (o.padOuterRadius() <= o.holeRadius())
        return o.Partner ? 0 : -1;
    return padExtents(o, 0).across - o.holeRadius();
}

double edgeGap(const Rect& r, const Rect& board)
{
    return std::min({double(r.left) - board.left, double(board.right) - r.right, double(r.top) - board.top,
                     double(board.bottom) - r.bottom});
}

bool inside(const Rect& r, const Rect& board)
{
    return r.left >= board.left && r.right <= board.right && r.top >= board.top && r.bottom <= board.bottom;
}

const char* kindName(const LayoutObject& o, Language lang)
{
    switch (o.kind()) {
    case ObjectKind::Line:
        return tr(lang, "линия", "line");
    case ObjectKind::Pad:
        return tr(lang, "площадка", "pad");
    case ObjectKind::Text:
        return tr(lang, "надпись", "label");
    case ObjectKind::Zone:
        return tr(lang, "закраска", "zone");
    case ObjectKind::Circle:
        return tr(lang, "окружность", "circle");
    case ObjectKind::Track:
        return tr(lang, "дорожка", "track");
    }
    return "?";
}

std::string mm(double units)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", mmFromUnits(units));
    return text;
}

} // namespace

std::vector<int> netNumbers(const ObjectList& objects)
{
    CopperMap map(objects);
    return netsOf(map);
}

namespace {

// The figures a board has, from its copper map and nets; with the board's
// settings a ground plane counts as copper of its layer.
void collectFigures(CopperMap& map, DesignFigures& figures, const BoardSettings* settings)
{
    const ObjectList& objects = map.objects();
    bool layers[2] = {settings && groundPlaneOn(*settings, Layer::K1), settings && groundPlaneOn(*settings, Layer::K2)};
    std::set<int32_t> holes;
    for (size_t i = 0; i < objects.size(); ++i) {
        const LayoutObject& o = objects[i];
        if (!isBoardCopper(o.Layer))
            continue;
        layers[o.Layer == Layer::K1 ? 0 : 1] = true;
        if (const int32_t w = conductorWidth(o);
            w >= 0 && (figures.smallestTrackUnits < 0 || w < figures.smallestTrackUnits))
            figures.smallestTrackUnits = w;
        if (isDrilledPad(o) && o.holeRadius() > 0)
            holes.insert(2 * o.holeRadius());
    }
    figures.holeDiametersUnits.assign(holes.begin(), holes.end());
    figures.copperLayers = int(layers[0]) + int(layers[1]);
}

// The check, and with `figures` the figures too: one pair search serves both,
// reaching as far as the larger of the clearance and the figures' search.
std::vector<Violation> check(const ObjectList& objects, const BoardSettings& settings, const DesignRules& rules,
                             DesignFigures* figures)
{
    CopperMap map(objects);
    CopperShapeCache shapes(objects);
    const auto [nets, pairs] =
        netsAndPairs(map, shapes, {rules.clearanceUnits, figures ? DesignFigures::kClearanceSearchUnits : 0}, &settings);
    std::vector<Violation> found;
    for (const ClosePair& p : pairs.kept)
        found.push_back({ViolationKind::Clearance, p.a, static_cast<long>(p.b), p.gap, rules.clearanceUnits, p.where});
    if (figures) {
        figures->smallestClearanceUnits = pairs.smallest;
        collectFigures(map, *figures, &settings);
    }
    checkHolesThroughCopper(map, shapes, nets, found);
    checkGroundPlanes(map, settings, rules, found, figures);
    const Rect board = settings.boardRect();
    for (size_t i = 0; i < objects.size(); ++i) {
        const LayoutObject& o = objects[i];
        const bool copper = isBoardCopper(o.Layer);
        // The quick bounds hold the outline within a unit; its exact bounds
        // are measured only for the board edge.
        const Rect& quick = map.bounds(i);
        auto exact = [&] { return copper ? partsBounds(map.outline(i)) : partsBounds(OutlineParts(o)); };
        auto place = [&] { return copperPlace(shapes.of(i), quick); };
        if (const int32_t w = conductorWidth(o); copper && w >= 0 && w < rules.widthUnits)
            found.push_back({ViolationKind::Width, i, -1, double(w), rules.widthUnits, place()});
        // A via's pads are one net to the connectivity test, but without a
        // hole the board house drills nothing between them (reported once,
        // at the pad of side 1).
        if (o.is(ObjectKind::Pad) && o.Partner && o.Layer == Layer::K1 && o.holeRadius() <= 0)
            found.push_back({ViolationKind::ViaWithoutHole, i, -1, 0, 0, place()});
        if (isDrilledPad(o) && o.holeRadius() > 0 && 2 * o.holeRadius() < rules.holeUnits)
            found.push_back({ViolationKind::Hole, i, -1, 2.0 * o.holeRadius(), rules.holeUnits, place()});
        if (const int32_t ring = ringWidth(o); copper && ring >= 0 && ring < rules.ringUnits)
            found.push_back({ViolationKind::Ring, i, -1, double(ring), rules.ringUnits, place()});
        if (inside(quick, board) && (!copper || edgeGap(quick, board) >= rules.clearanceUnits))
            continue;
        const Rect where = exact();
        if (!inside(where, board))
            found.push_back({ViolationKind::OffBoard, i, -1, 0, 0, where});
        else if (copper && !map.outline(i).empty())
            if (const double gap = edgeGap(where, board); gap < rules.clearanceUnits)
                found.push_back({ViolationKind::EdgeClearance, i, -1, gap, rules.clearanceUnits, where});
    }
    std::stable_sort(found.begin(), found.end(), [](const Violation& a, const Violation& b) {
        if (a.kind != b.kind)
            return a.kind < b.kind;
        return a.object != b.object ? a.object < b.object : a.other < b.other;
    });
    return found;
}

} // namespace

std::vector<Violation> checkDesign(const ObjectList& objects, const BoardSettings& settings, const DesignRules& rules)
{
    return check(objects, settings, rules, nullptr);
}

DesignReport checkDesignWithFigures(const ObjectList& objects, const BoardSettings& settings,
                                    const DesignRules& rules)
{
    DesignReport report;
    report.violations = check(objects, settings, rules, &report.figures);
    return report;
}

DesignFigures designFigures(const ObjectList& objects)
{
    CopperMap map(objects);
    CopperShapeCache shapes(objects);
    DesignFigures figures;
    collectFigures(map, figures, nullptr);
    figures.smallestClearanceUnits = netsAndPairs(map, shapes, {0, DesignFigures::kClearanceSearchUnits}, nullptr).pairs.smallest;
    return figures;
}

double measuredMm(double units)
{
    return std::floor(mmFromUnits(units) * 1000 + 1e-9) / 1000;
}

std::string measuredMmText(double units)
{
    const double mm = measuredMm(units);
    char text[32];
    std::snprintf(text, sizeof text, std::abs(mm * 100 - std::round(mm * 100)) < 1e-6 ? "%.2f" : "%.3f", mm);
    return text;
}

std::string layerKeyOrNumber(int layer)
{
    const std::string_view key = layerKey(layer);
    return key.empty() ? std::to_string(layer) : std::string(key);
}

const char* violationKey(ViolationKind kind)
{
    switch (kind) {
    case ViolationKind::Clearance:
        return "clearance";
    case ViolationKind::Width:
        return "width";
    case ViolationKind::Hole:
        return "hole";
    case ViolationKind::Ring:
        return "ring";
    case ViolationKind::EdgeClearance:
        return "edge";
    case ViolationKind::OffBoard:
        return "off-board";
    case ViolationKind::PlaneClearance:
        return "plane-clearance";
    case ViolationKind::HoleInPlane:
        return "hole-in-plane";
    case ViolationKind::HoleThroughCopper:
        return "hole-through-copper";
    case ViolationKind::ViaWithoutHole:
        return "via-without-hole";
    }
    return "?";
}

int violationLayer(const Violation& v, const ObjectList& objects)
{
    if (v.kind == ViolationKind::HoleThroughCopper && v.other >= 0)
        return objects[static_cast<size_t>(v.other)].Layer;
    return objects[v.object].Layer;
}

std::string describeViolation(const Violation& v, const ObjectList& objects, Language lang, LayerNames names,
                              PlaceFrame place)
{
    const auto layerName = [&](int layer) {
        static const char* const russian[] = {"Ф1", "М1", "Ф2", "М2"};
        static const char* const english[] = {"C1", "S1", "C2", "S2"};
        if (names == LayerNames::Keys || layer < 1 || layer > 4)
            return layerKeyOrNumber(layer);
        return std::string((lang == Language::Russian ? russian : english)[layer - 1]);
    };
    const LayoutObject& o = objects[v.object];
    std::string what = kindName(o, lang);
    if (v.other >= 0)
        what += std::string(" – ") + kindName(objects[static_cast<size_t>(v.other)], lang);
    const char* unit = tr(lang, "мм", "mm");
    std::string rule;
    switch (v.kind) {
    case ViolationKind::Clearance:
        rule = tr(lang, "Зазор", "Clearance");
        break;
    case ViolationKind::Width:
        rule = tr(lang, "Ширина", "Width");
        break;
    case ViolationKind::Hole:
        rule = tr(lang, "Отверстие", "Hole");
        break;
    case ViolationKind::Ring:
        rule = tr(lang, "Поясок", "Annular ring");
        break;
    case ViolationKind::EdgeClearance:
        rule = tr(lang, "Зазор до края платы", "Edge clearance");
        break;
    case ViolationKind::OffBoard:
        rule = tr(lang, "За пределами платы", "Off the board");
        break;
    case ViolationKind::PlaneClearance:
        rule = tr(lang, "Зазор до общей шины", "Ground plane clearance");
        break;
    case ViolationKind::HoleInPlane:
        rule = tr(lang, "Отверстие сквозь общую шину ", "Hole through the ground plane on ") + layerName(v.planeLayer);
        break;
    case ViolationKind::HoleThroughCopper:
        rule = tr(lang, "Отверстие сквозь фольгу другой цепи", "Hole through copper of another net");
        break;
    case ViolationKind::ViaWithoutHole:
        rule = tr(lang, "Переход без отверстия: стороны не соединены", "Via without a drill hole: the sides are not joined");
        break;
    }
    std::string text = rule;
    if (hasMeasure(v.kind)) {
        // A value just below the limit would round up to it: it is shown
        // to the micrometre, cut rather than rounded.
        std::string measured = mm(v.measuredUnits);
        if (measured == mm(v.limitUnits))
            measured = measuredMmText(v.measuredUnits);
        text += " " + measured + " " + unit + " < " + mm(v.limitUnits) + " " + unit;
    }
    // Where the rulers show it: y counts down from the origin.
    const double cx = (double(v.area.left) + v.area.right) / 2, cy = (double(v.area.top) + v.area.bottom) / 2;
    const auto coordinate = [&place](double units) {
        if (!place.inch)
            return mm(units);
        char text[32];
        std::snprintf(text, sizeof text, "%.3f", inchesFromUnits(units));
        return std::string(text);
    };
    text += ": " + what + ", " + layerName(violationLayer(v, objects)) + ", " + tr(lang, "точка", "at") + " (" +
            coordinate(cx - place.origin.x) + ", " + coordinate(double(place.origin.y) - cy) + ") " +
            (place.inch ? "\"" : unit);
    return text;
}

} // namespace kestrel
