// The exports read back by gerbv, an independent Gerber and Excellon reader:
// it must load them without a complaint, and its rendering must show copper,
// gaps, holes and openings where the board says they are.

#include "geometry/Figures.h"
#include "output/FabPackage.h"
#include "output/GerberExport.h"

#include "OutputTestUtil.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <map>
#include <numbers>
#include <tuple>

using namespace kestrel;
using namespace kestrel::test;

namespace {

// The copper a ground plane leaves on a layer, worked out with polygons: the
// board minus the clearance area of every object but labels. Each area is
// normalised (winding 1 inside, holes wound the other way), so filling all
// their rings together by the non-zero rule gives their union in one pass.
Region groundPlaneRegion(const ObjectList& objects, const BoardSettings& settings, int layer)
{
    std::vector<Polygon> rings;
    for (const auto& o : objects) {
        if (o->Layer != layer || o->is(ObjectKind::Text))
            continue;
        const Region gap = clearanceRegion(*o);
        rings.insert(rings.end(), gap.polygons().begin(), gap.polygons().end());
    }
    return Region::rectangle(settings.boardRect()).subtracted(Region::fromPolygons(rings));
}

constexpr int32_t kW = 4000, kH = 3000, kUnitsPerPixel = 5;
using Offsets = std::vector<std::tuple<int32_t, int32_t, bool>>;

struct Probe {
    Point at; // board coordinates
    bool lit; // foreground (copper, mask, drill) expected
    std::string what;
};
using Probes = std::vector<Probe>;

class GerbvReading : public ::testing::Test {
protected:
    void SetUp() override
    {
        settings = boardOf(kW, kH);
        // Every pad shape in a row; hole radii 20, 25, ... 60 give nine tools.
        for (int i = 0; i < 9; ++i)
            pads.push_back(&addPad(list, {400 + 400 * i, -600}, 80, static_cast<uint8_t>(i + 1), 1, 20 + 5 * i));
        addTrack(list, {{400, -1400}, {3600, -1400}}, 40);
        for (int32_t x : {800, 2000}) { // a ring, and an arc from 0 to 180 degrees
            LayoutObject& c = list.append(makeCircle({x, -2200}, 300, 1, 1, 240));
            c.Width = x == 800 ? 0 : 180, c.Clearance = 40;
        }
        LayoutObject& zone = list.append(makeZone(20, 1));
        zone.Points = {{2800, -2000}, {3600, -2000}, {3600, -2600}, {2800, -2600}};
        zone.Clearance = 40;
        addVia(list, {3200, -1000}, 60, 30);
        addTrack(list, {{400, -1700}, {3600, -1700}}, 40, 2); // silk: in no copper file
    }

    // Renders one file in grey, white on black, and holds it against the
    // probes; any complaint of gerbv fails the test.
    void render(const std::string& text, const std::string& name, bool mirrored, const Probes& probes = {})
    {
        const std::string in = dir.file(name), png = in + ".png", err = in + ".err";
        std::ofstream(in, std::ios::binary) << text;
        const auto px = [](int32_t units) { return std::to_string(units / kUnitsPerPixel); };
        const std::string command = "gerbv -x png -o '" + png + "' --dpi " + px(2540) + " --border 0 --origin 0x0" +
                                    " --window " + px(kW) + "x" + px(kH) + " --background '#000000'" +
                                    " --foreground '#FFFFFF' '" + in + "' >/dev/null 2>'" + err + "'";
        EXPECT_EQ(std::system(command.c_str()), 0) << name;
        const std::string complaints = fileText(err);
        for (const char* level : {"CRITICAL", "WARNING"})
            EXPECT_EQ(complaints.find(level), std::string::npos) << name << ":\n" << complaints;
        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        grey.clear();
        if (png_image_begin_read_from_file(&image, png.c_str())) {
            image.format = PNG_FORMAT_GRAY;
            grey.resize(PNG_IMAGE_SIZE(image));
            if (!png_image_finish_read(&image, nullptr, grey.data(), 0, nullptr))
                grey.clear();
        }
        EXPECT_EQ(grey.size(), size_t(kW / kUnitsPerPixel * kH / kUnitsPerPixel)) << name << ": " << image.message;
        mirrored_ = mirrored;
        for (const Probe& p : probes)
            EXPECT_EQ(lit(p.at), p.lit) << name << ": " << p.what << " at (" << p.at.x << ", " << p.at.y << ")";
    }

    // Whether the rendering is lit (foreground) at a board point, as the file places it.
    bool lit(Point p) const
    {
        constexpr int w = kW / kUnitsPerPixel, h = kH / kUnitsPerPixel;
        const int col = (mirrored_ ? kW - p.x : p.x) / kUnitsPerPixel, row = -p.y / kUnitsPerPixel;
        return col >= 0 && row >= 0 && col < w && row < h && grey.size() == size_t(w * h) && grey[row * w + col] > 127;
    }

    TempDir dir;
    ObjectList list;
    BoardSettings settings;
    std::vector<LayoutObject*> pads;
    std::vector<uint8_t> grey;
    bool mirrored_ = false;
};

} // namespace

// The ground plane arithmetic gives the same copper as polygons: wherever it
// is sure of a whole neighbourhood, the mirrored rendering must agree.
TEST_F(GerbvReading, CopperWithGroundPlaneMatchesTheClearanceRegions)
{
    settings.GroundPlane1 = 1;
    render(exportGerber(list, settings, GerberOptions::presetFor(GerberLayer::K1), Language::English), "k1.gbr", true);
    Region copper = groundPlaneRegion(list, settings, Layer::K1);
    for (const auto& o : list) {
        LayoutObject plain = *o;
        plain.Clearance = 0;
        if (o->Layer == Layer::K1)
            copper = copper.united(o->is(ObjectKind::Pad) ? grownPadRegion(*o, 0) : clearanceRegion(plain));
    }
    int compared = 0, mismatches = 0;
    for (int32_t y = -kH + 20; y < -20; y += 16) {
        for (int32_t x = 20; x < kW - 20; x += 16) {
            const bool inside = copper.contains({x, y});
            bool sure = true;
            for (int d = 0; d < 9 && sure; ++d) // margin 8 all round
                sure = copper.contains({x + (d % 3 - 1) * 8, y + (d / 3 - 1) * 8}) == inside;
            if (sure && ++compared && lit({x, y}) != inside && ++mismatches <= 10)
                ADD_FAILURE() << "at (" << x << ", " << y << ") the region says " << inside;
        }
    }
    EXPECT_EQ(mismatches, 0);
    EXPECT_GT(compared, 35000);
}

// Silk is probed in the fab package's files below.
TEST_F(GerbvReading, HolesMarksAndMasks)
{
    ObjectList odd; // degenerate objects must load quietly too
    for (std::vector<Point> points : {std::vector<Point>{{500, -500}}, {{600, -500}, {900, -500}}, {}})
        odd.append(makeZone(20, 1)).Points = points;
    odd.append(makeTrack(20, 1));
    addTrack(odd, {{1000, -1000}}, 30);
    addPad(odd, {1500, -1500}, 80, 0, 1, 30);             // unknown shape: only the move
    addPad(odd, {1800, -1500}, 0, 2, 1, 0);               // octagon of radius 0
    addPad(odd, {2100, -1500}, 40, 1, 1, 40);             // hole as large as the pad
    odd.append(makeCircle({2500, -2000}, 100, 1, 1, 100)); // ring of width 0
    BoardSettings plane = settings;
    plane.GroundPlane1 = 1;
    // A pentagram zone goes out as the contours it fills: its middle empty,
    // each of its points filled (200 out from the centre).
    ObjectList star;
    star.append(makeZone(20, 1)).Points = {{400, -100}, {547, -552}, {162, -273}, {638, -273}, {253, -552}};
    Probes starProbes = {{{400, -350}, false, "the star's middle"}};
    for (const int degrees : {90, 162, 234, 306, 18}) {
        const double a = degrees * std::numbers::pi / 180;
        starProbes.push_back({{static_cast<int32_t>(std::lround(400 + 200 * std::cos(a))),
                               static_cast<int32_t>(std::lround(-350 + 200 * std::sin(a)))},
                              true, "the star's point at " + std::to_string(degrees) + " degrees"});
    }

    GerberOptions mask = GerberOptions::presetFor(GerberLayer::LStop1); // mirrored
    mask.offsetMm = 0.2, mask.invert = true;
    // Each pad's opening: its half extents (R across, 2R along) grown by 20.
    Probes openings = {{{3200, -1000}, false, "via opening"}, {{2000, -1400}, true, "mask over the track"},
                       {{3200, -2300}, true, "mask over the zone"}};
    for (const LayoutObject* p : pads) {
        const int32_t x = (p->Shape >= 4 && p->Shape <= 6 ? 160 : 80) + 20, y = (p->Shape >= 7 ? 160 : 80) + 20;
        for (auto [dx, dy, on] :
             Offsets{{0, 0, false}, {x - 10, 0, false}, {0, y - 10, false}, {x + 15, 0, true}, {0, -y - 15, true}})
            openings.push_back({{p->X1 + dx, p->Y1 + dy}, on, "pad shape " + std::to_string(p->Shape)});
    }

    const struct {
        const char* name;
        std::string text;
        bool mirrored;
        Probes probes;
    } rows[] = {
        {"mask.gbr", exportGerber(list, settings, mask, Language::English), true, openings},
        {"odd.gbr", exportGerber(odd, plane, {.punch = true}, Language::English), true,
         {{{750, -500}, true, "two-point zone"}, {{2100, -1500}, false, "punched full hole"},
          {{3000, -2500}, true, "plane"}}},
        {"star.gbr", exportGerber(star, settings, {.mirror = false, .outline = false}, Language::English), false,
         starProbes},
    };
    for (const auto& r : rows)
        render(r.text, r.name, r.mirrored, r.probes);
}

// The fab package's files all load quietly and line up unmirrored: copper of
// either side, silk with a label's glyphs, masks, drill and outline probed
// at the same board points.
TEST_F(GerbvReading, FabPackageLayersLineUp)
{
    Board board;
    board.Name = "probe";
    for (const auto& o : list)
        board.Objects.append(copyObject(*o));
    board.Objects.append(makeText({1000, -2700}, "A", 0, 200, 1200, -2900, Layer::B1));
    LayoutObject disc = makeCircle({2600, -2600}, 150, 1, Layer::B1, 130);
    disc.Filled = 1;
    board.Objects.append(LayoutObject(disc));
    disc.X1 = 3300, disc.Angle = 0, disc.Width = 180; // the upper half, to its chord, drawn with a 0.5 mm pen
    disc.Y2 = 100;
    board.Objects.append(std::move(disc));
    // A full ring started at 60 degrees: written from 0, or gerbv closes it to a dot.
    LayoutObject ring = makeCircle({1800, -2500}, 150, 1, Layer::B1, 130);
    ring.Angle = ring.Width = 60;
    board.Objects.append(std::move(ring));
    const SquareGlyphs glyphs;
    const std::vector<ZipEntry> files = fabPackageFiles(board, settings, &glyphs, {});
    const Point viaAt{3200, -1000}, padRing{400 + 70, -600};
    const std::map<std::string, Probes> probes = {
        {"probe.GTL", {{{viaAt.x + 40, viaAt.y}, true, "via pad of side 2"}, {padRing, false, "pad of side 1"}}},
        {"probe.GBL", {{{viaAt.x + 40, viaAt.y}, true, "via pad of side 1"}, {padRing, true, "pad of side 1"}}},
        {"probe.GTO", {{{2000, -1700}, true, "silk track"}, {{1025, -2800}, true, "glyph"},
                       {{1100, -2800}, false, "the glyph's hole"}, {{2600, -2600}, true, "inside a filled circle"},
                       {{3300, -2530}, true, "inside a filled half circle"},
                       {{3300, -2615}, true, "the pen along its chord"}, {{3300, -2670}, false, "across its chord"},
                       {{1800, -2360}, true, "a full ring at 90 degrees"}, {{1660, -2500}, true, "and at 180"}}},
        {"probe.GBO", {{{2000, -1700}, false, "silk of the other side"}}},
        {"probe.GTS", {{viaAt, true, "opening over the via"}, {padRing, false, "pad of side 1"}}},
        {"probe.GBS", {{viaAt, true, "opening over the via"}, {padRing, true, "pad of side 1"}}},
        {"probe.GKO", {{{3, -1500}, true, "left edge"}, {{2000, -1500}, false, "inside"}}},
        {"probe.TXT", {{viaAt, true, "via hole"}, {{kW - viaAt.x, viaAt.y}, false, "the via mirrored"}}},
    };
    ASSERT_EQ(files.size(), probes.size() + 1);
    for (const ZipEntry& f : files)
        if (f.name != "README.txt")
            render(f.bytes, f.name, false, probes.at(f.name));
}

// A board without holes or copper objects: its package still loads quietly,
// the drill file included.
TEST_F(GerbvReading, NearlyEmptyBoardLoadsQuietly)
{
    Board board;
    board.Name = "bare";
    board.Objects.append(makeText({1000, -2700}, "A", 0, 200, 1200, -2900, Layer::B1));
    settings.GroundPlane1 = 1;
    const SquareGlyphs glyphs;
    const DesignReport report = checkDesignWithFigures(board.Objects, settings, DesignRules{});
    EXPECT_EQ(report.figures.copperLayers, 1) << "the ground plane is copper";
    for (const ZipEntry& f : fabPackageFiles(board, settings, &glyphs, report.figures)) {
        if (f.name == "README.txt")
            EXPECT_NE(f.bytes.find("Copper layers: 1\r\n"), std::string::npos) << f.bytes;
        else
            render(f.bytes, f.name, false);
    }
}
