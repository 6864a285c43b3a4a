#include "output/GerberExport.h"

#include "geometry/CutIns.h"
#include "geometry/Figures.h"
#include "model/FileIO.h"
#include "model/LayerSwitches.h"
#include "model/Units.h"
#include "output/GerberFile.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <span>

namespace kestrel {

namespace {

// Whether a short corner list is a plain contour: no two edges but
// neighbours meet (touching counts). It spares most zones the clipping that
// finds what a crossing one fills; long lists are left to the clipping.
bool plainContour(std::span<const Point> p)
{
    if (p.size() > 1 && p.front() == p.back())
        p = p.first(p.size() - 1); // the closing copy some zones carry
    const size_t n = p.size();
    if (n < 3 || n > 64)
        return false;
    const auto side = [](Point a, Point b, Point c) {
        const int64_t cross = (int64_t{b.x} - a.x) * (int64_t{c.y} - a.y) - (int64_t{b.y} - a.y) * (int64_t{c.x} - a.x);
        return (cross > 0) - (cross < 0);
    };
    const auto within = [](Point a, Point b, Point c) { // c on the line through a and b: between them?
        return std::min(a.x, b.x) <= c.x && c.x <= std::max(a.x, b.x) && std::min(a.y, b.y) <= c.y &&
               c.y <= std::max(a.y, b.y);
    };
    const auto meet = [&](Point a, Point b, Point c, Point d) {
        const int s1 = side(a, b, c), s2 = side(a, b, d), s3 = side(c, d, a), s4 = side(c, d, b);
        if (s1 != s2 && s3 != s4)
            return true;
        return (s1 == 0 && within(a, b, c)) || (s2 == 0 && within(a, b, d)) || (s3 == 0 && within(c, d, a)) ||
               (s4 == 0 && within(c, d, b));
    };
    for (size_t i = 0; i < n; ++i) {
        if (p[i] == p[(i + 1) % n])
            return false;
        for (size_t j = i + 2; j < n; ++j)
            if (!(i == 0 && j == n - 1) && meet(p[i], p[(i + 1) % n], p[j], p[(j + 1) % n]))
                return false;
    }
    return true;
}

struct LayerInfo {
    GerberLayer layer;
    std::string_view key;
    int boardLayer;
    bool mirror, outline;
    const char* fileName[2];
    const char* layerName[2];
};

constexpr std::array<LayerInfo, 6> kLayers{{
    {GerberLayer::K1, "K1", 1, true, true, {"KUPFER1.GBR", "COPPER1.GBR"}, {"LAYOUTLOETSEITE", "COPPERSOLDERSIDE"}},
    {GerberLayer::B1, "B1", 2, false, false, {"BESTCK1.GBR", "SILKSC1.GBR"},
     {"BESTUECKUNGSPLANBESTUECKUNGSSEITE", "SILKSCREENCOMPONENTSIDE"}},
    {GerberLayer::LStop1, "LStop1", 0, true, false, {"LOETSTP1.GBR", "SLDMASK1.GBR"},
     {"LOETSTOPLOETSEITE", "SOLDERMASKSOLDERSIDE"}},
    {GerberLayer::K2, "K2", 3, false, true, {"KUPFER2.GBR", "COPPER2.GBR"},
     {"LAYOUTBESTUECKUNGSSEITE", "COPPERCOMPONENTSIDE"}},
    {GerberLayer::B2, "B2", 4, true, false, {"BESTCK2.GBR", "SILKSC2.GBR"},
     {"BESTUECKUNGSPLANLOETSEITE", "SILKSCREENSOLDERSIDE"}},
    {GerberLayer::LStop2, "LStop2", 0, false, false, {"LOETSTP2.GBR", "SLDMASK2.GBR"},
     {"LOETSTOPBESTUECKUNGSSEITE", "SOLDERMASKCOMPONENTSIDE"}},
}};

const LayerInfo& info(GerberLayer layer) { return kLayers[static_cast<size_t>(layer)]; }

std::string byLanguage(const char* const (&texts)[2], Language lang)
{
    const auto i = static_cast<uint8_t>(lang);
    return i < 2 ? texts[i] : "";
}

constexpr int32_t kOutlinePen = 20;
constexpr int32_t kMarkRadius = 15; // a 0.3 mm centre mark

class Plotter {
public:
    Plotter(TGerberFile& out, const BoardSettings& settings, const GerberOptions& options,
            const LabelOutlineSource* labels)
        : out_(out), height_(settings.BoardHeight), width_(settings.BoardWidth), options_(options),
          layer_(boardLayerOf(options.layer)), labels_(options.fontLabels ? labels : nullptr)
    {
    }

    void boardOutline()
    {
        out_.SetPenwidth(kOutlinePen);
        out_.MoveTo(0, 0);
        out_.LineTo(width_, 0);
        out_.LineTo(width_, height_);
        out_.LineTo(0, height_);
        out_.LineTo(0, 0);
    }

    void darkBoard()
    {
        out_.BeginRegion();
        out_.MoveTo(0, 0);
        out_.LineTo(width_, 0);
        out_.LineTo(width_, height_);
        out_.LineTo(0, height_);
        out_.EndRegion();
    }

    bool visible(const LayoutObject& o) const { return layer_ != 0 && o.Layer == layer_; }

    // Normal mode draws the objects at their size; clearance mode grows
    // each by its own clearance.
    void layout(const ObjectList& objects, bool clearanceMode)
    {
        for (const auto& o : objects)
            if (visible(*o))
                object(*o, clearanceMode ? o->Clearance : 0, clearanceMode);
    }

    void punchHoles(const ObjectList& objects)
    {
        out_.BeginPunchLayer();
        for (const auto& o : objects) {
            // A pad without a hole is not drilled: a mark would cut a void
            // into its copper.
            if (!o->is(ObjectKind::Pad) || !visible(*o) || o->holeRadius() <= 0)
                continue;
            out_.MoveTo(at(o->X1, o->Y1));
            const int32_t hole = options_.mark ? kMarkRadius : o->holeRadius();
            out_.SetPenwidth(2 * hole);
            out_.Flash();
        }
    }

    void solderMask(const ObjectList& objects)
    {
        const int32_t offset = unitsFromMm(options_.offsetMm);
        if (options_.outline && !options_.invert)
            boardOutline();
        if (options_.invert) {
            darkBoard();
            out_.ClearPolarity();
        }
        const int padLayer = options_.layer == GerberLayer::LStop1 ? Layer::K1 : Layer::K2;
        for (const auto& o : objects)
            if (o->is(ObjectKind::Pad) && o->Layer == padLayer)
                pad(*o, offset, 0);
    }

private:
    Point at(int32_t x, int32_t y) const { return {x, y + height_}; }

    void object(const LayoutObject& o, int32_t c, bool clearanceMode)
    {
        switch (o.kind()) {
        case ObjectKind::Line:
            out_.SetPenwidth(grownPenWidth(o, c));
            out_.MoveTo(at(o.X1, o.Y1));
            out_.LineTo(at(o.X2, o.Y2));
            break;
        case ObjectKind::Pad:
            // A pad whose hole fills it has no copper ring, but it still
            // cuts its clearance out of a ground plane.
            if (clearanceMode || o.padOuterRadius() != o.holeRadius())
                pad(o, c, o.holeRadius());
            break;
        case ObjectKind::Zone:
            zone(o, c);
            break;
        case ObjectKind::Circle: {
            const ArcStroke s = arcStroke(o, c);
            const Point centre = at(o.X1, o.Y1);
            out_.SetPenwidth(s.widthUnits);
            Point start = arcStrokePoint(centre, s.centreRadius, o.arcStartDegrees());
            Point stop = arcStrokePoint(centre, s.centreRadius, o.arcStopDegrees());
            if (options_.fullCirclesFromZero && isWholeCircle(o))
                start = stop = arcStrokePoint(centre, s.centreRadius, 0);
            if (start == stop && arcSpanDegrees(o) <= 180) {
                // An arc shorter than the file's resolution: both ends round
                // to one point, which an arc command takes for a whole circle.
                // (A gap that small in a long arc leaves the whole circle.)
                out_.MoveTo(start);
                out_.LineTo(stop);
            } else {
                out_.Arc(centre, start, stop);
            }
            // In a ground plane the fill is cleared as well, or plane copper
            // inside the ring would join the circle.
            if (options_.filledCircles && o.Filled)
                circleFill(o, s.centreRadius);
            break;
        }
        case ObjectKind::Track:
            if (o.Points.empty())
                break;
            out_.SetPenwidth(grownPenWidth(o, c));
            out_.MoveTo(at(o.Points[0].x, o.Points[0].y));
            for (size_t i = 1; i < o.Points.size(); ++i)
                out_.LineTo(at(o.Points[i].x, o.Points[i].y));
            break;
        case ObjectKind::Text:
            if (labels_)
                label(o, clearanceMode);
            break;
        }
    }

    void regions(const Region& area) { contours(cutInContours(area)); }

    void contours(const std::vector<Polygon>& outlines)
    {
        for (const Polygon& contour : outlines) {
            if (contour.size() < 3)
                continue;
            out_.BeginRegion();
            out_.MoveTo(at(contour[0].x, contour[0].y));
            for (size_t i = 1; i < contour.size(); ++i)
                out_.LineTo(at(contour[i].x, contour[i].y));
            out_.EndRegion();
        }
    }

    // What a filled circle shows inside its stroke, up to the stroke's
    // centre line: the whole disc, or the part of it cut off by the chord
    // through the arc's ends, the chord drawn with the stroke's pen. The
    // stroke covers the rest.
    void circleFill(const LayoutObject& o, int32_t radius)
    {
        if (radius <= 0)
            return;
        const Point c = o.centre();
        if (isWholeCircle(o)) {
            out_.MoveTo(at(c.x, c.y));
            out_.FlashCircle(0, radius);
            return;
        }
        // Chords within half a unit of the centre line.
        const double span = arcSpanDegrees(o) / 180.0 * std::numbers::pi;
        const double step = 2 * std::acos(std::max(-1.0, 1.0 - 0.5 / radius));
        const int steps = std::clamp(static_cast<int>(std::ceil(span / step)), 2, 512);
        const double from = o.arcStartDegrees() / 180.0 * std::numbers::pi;
        out_.BeginRegion();
        const Point first = arcStrokePoint(c, radius, o.arcStartDegrees());
        out_.MoveTo(at(first.x, first.y));
        for (int k = 1; k < steps; ++k) {
            const double a = from + span * k / steps;
            out_.LineTo(at(c.x + static_cast<int32_t>(std::lround(radius * std::cos(a))),
                           c.y + static_cast<int32_t>(std::lround(radius * std::sin(a)))));
        }
        const Point last = arcStrokePoint(c, radius, o.arcStopDegrees());
        out_.LineTo(at(last.x, last.y));
        out_.EndRegion();
        // The screen draws the chord with the arc's pen as well.
        out_.MoveTo(at(first.x, first.y));
        out_.LineTo(at(last.x, last.y));
    }

    // The glyphs as filled regions; in a ground plane the label keeps its
    // box grown by its clearance free, as on the screen.
    void label(const LayoutObject& o, bool clearanceMode)
    {
        if (clearanceMode) {
            regions(clearanceRegion(o));
            return;
        }
        contours(labels_->labelContours(o));
    }

    void zone(const LayoutObject& o, int32_t c)
    {
        if (o.Points.empty())
            return;
        out_.SetPenwidth(grownPenWidth(o, c));
        // A zone whose edges cross is filled by the even-odd rule, as the
        // editor shows it; a region may not cross itself, so such a zone
        // goes out as the contours of what it fills.
        const Region filled = plainContour(o.Points) ? Region() : Region::fromPolygon(o.Points, Region::Fill::EvenOdd);
        if (!filled.empty() && (filled.polygons().size() != 1 || std::abs(filled.area() - std::abs(signedArea(o.Points))) > 1.0)) {
            regions(filled);
        } else {
            out_.BeginRegion();
            out_.MoveTo(at(o.Points[0].x, o.Points[0].y));
            for (size_t i = 1; i < o.Points.size(); ++i)
                out_.LineTo(at(o.Points[i].x, o.Points[i].y));
            out_.EndRegion();
        }
        out_.MoveTo(at(o.Points[0].x, o.Points[0].y));
        for (size_t i = 1; i < o.Points.size(); ++i)
            out_.LineTo(at(o.Points[i].x, o.Points[i].y));
        out_.LineTo(at(o.Points[0].x, o.Points[0].y));
    }

    // A pad grown by e; `hole` tells circular pads of equal size apart.
    void pad(const LayoutObject& o, int32_t e, int32_t hole)
    {
        const Point centre = at(o.X1, o.Y1);
        const PadFigure f = padFigure(o, e);
        out_.MoveTo(centre);
        switch (f.kind) {
        case PadFigureKind::Disc:
            out_.FlashCircle(hole, f.halfX);
            break;
        case PadFigureKind::Rectangle:
            out_.FlashRect(f.halfX, f.halfY);
            break;
        case PadFigureKind::Octagon:
            out_.FlashOctagon(centre, f.halfX, f.halfY);
            break;
        case PadFigureKind::RoundedRectangle:
            out_.FlashRoundRect(centre, f.halfX, f.halfY);
            break;
        case PadFigureKind::None: // an unknown shape leaves only the move
            break;
        }
    }

    TGerberFile& out_;
    int32_t height_, width_;
    const GerberOptions& options_;
    int layer_;
    const LabelOutlineSource* labels_;
};

} // namespace

GerberOptions GerberOptions::presetFor(GerberLayer layer)
{
    GerberOptions o;
    o.layer = layer;
    o.mirror = info(layer).mirror;
    o.outline = info(layer).outline;
    return o;
}

bool GerberOptions::takesPunch(GerberLayer layer) { return !isSolderMask(layer); }
bool GerberOptions::takesMaskOptions(GerberLayer layer) { return isSolderMask(layer); }

GerberOptions::Problem GerberOptions::check() const
{
    if (!takesPunch(layer) && (punch || mark))
        return Problem::PunchOnMask;
    if (!takesMaskOptions(layer) && (invert || offsetMm != 0))
        return Problem::MaskOptionOnOtherLayer;
    if (mark && !punch)
        return Problem::MarkWithoutPunch;
    // Written so that a NaN is out of range too.
    if (!(offsetMm >= kMinOffsetMm && offsetMm <= kMaxOffsetMm))
        return Problem::OffsetOutOfRange;
    return Problem::None;
}

bool isSolderMask(GerberLayer layer) { return layer == GerberLayer::LStop1 || layer == GerberLayer::LStop2; }
int boardLayerOf(GerberLayer layer) { return info(layer).boardLayer; }
std::string_view gerberLayerKey(GerberLayer layer) { return info(layer).key; }

std::optional<GerberLayer> gerberLayerFromKey(std::string_view key)
{
    for (const LayerInfo& l : kLayers)
        if (l.key == key)
            return l.layer;
    return std::nullopt;
}

std::string gerberDefaultFileName(GerberLayer layer, Language lang) { return byLanguage(info(layer).fileName, lang); }
std::string gerberLayerName(GerberLayer layer, Language lang) { return byLanguage(info(layer).layerName, lang); }

std::string exportGerber(const ObjectList& objects, const BoardSettings& settings, const GerberOptions& options,
                         Language lang, const LabelOutlineSource* labels)
{
    TGerberFile out;
    out.Mirror = options.mirror;
    out.MirrorBase = settings.BoardWidth;
    out.OpenFile(gerberLayerName(options.layer, lang));
    Plotter plot(out, settings, options, labels);
    if (!options.comment.empty())
        out.Comment(options.comment);
    // An aperture table, even for a layer of regions only or an empty one:
    // readers take a file without one for RS-274D. The package's layers have
    // one always, and so have layers whose labels are drawn as glyph regions;
    // the classic files stay as they were.
    if (!options.comment.empty() || (options.fontLabels && labels && fontLabelsOnLayer(objects, options.layer) > 0))
        out.SetPenwidth(kOutlinePen);
    if (options.outline)
        plot.boardOutline();
    if (isSolderMask(options.layer)) {
        plot.solderMask(objects);
        return out.Finish();
    }
    const int layer = boardLayerOf(options.layer);
    if (Layer::isCopper(layer) && groundPlaneOn(settings, layer)) {
        plot.darkBoard();
        out.ClearPolarity();
        plot.layout(objects, true);
        out.DarkPolarity();
    }
    plot.layout(objects, false);
    if (options.punch)
        plot.punchHoles(objects);
    return out.Finish();
}

Status writeGerber(const std::string& path, const ObjectList& objects, const BoardSettings& settings,
                   const GerberOptions& options, Language lang, const LabelOutlineSource* labels)
{
    return writeFileAtomically(path, exportGerber(objects, settings, options, lang, labels), lang);
}

size_t fontLabelsOnLayer(const ObjectList& objects, GerberLayer layer)
{
    const int boardLayer = boardLayerOf(layer);
    size_t count = 0;
    for (const auto& o : objects)
        count += boardLayer != 0 && o->Layer == boardLayer && o->is(ObjectKind::Text) && !o->TextValue.empty();
    return count;
}

std::string exportBoardOutline(const BoardSettings& settings, std::string_view comment)
{
    TGerberFile out;
    out.OpenFile("OUTLINE");
    out.Comment(comment);
    const GerberOptions options;
    Plotter(out, settings, options, nullptr).boardOutline();
    return out.Finish();
}

} // namespace kestrel
