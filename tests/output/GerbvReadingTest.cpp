// The exports read back by gerbv, an independent Gerber and Excellon reader:
// it must load them without a complaint, and its rendering must show copper,
// gaps, holes and openings where the board says they are.

#include "output/DrillExport.h"
#include "output/GerberExport.h"
#include "route/GroundPlane.h"

#include "PngImage.h"
#include "support/TestData.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

using namespace kestrel;

namespace {

constexpr int32_t kW = 4000, kH = 3000;
constexpr int32_t kUnitsPerPixel = 5; // 508 dpi
constexpr int32_t kClearance = 40;

struct ProgramRun {
    int status = -1;
    std::string err;
};

ProgramRun runProgram(const std::vector<std::string>& args, const std::string& errPath)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        std::freopen("/dev/null", "w", stdout);
        std::freopen(errPath.c_str(), "w", stderr);
        std::vector<std::string> copy = args;
        std::vector<char*> argv;
        for (auto& a : copy)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        ::execvp(argv[0], argv.data());
        std::fprintf(stderr, "CRITICAL: cannot start %s\n", argv[0]);
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    const auto bytes = test::readBytes(errPath);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, std::string(bytes.begin(), bytes.end())};
}

struct Probe {
    Point at; // board coordinates
    bool lit; // foreground (copper, mask, drill) expected
    std::string what;
};

class GerbvReading : public ::testing::Test {
protected:
    void SetUp() override
    {
        settings.BoardWidth = kW;
        settings.BoardHeight = kH;
        // Every pad shape in a row; hole radii 20, 25, ... 60 give nine tools.
        for (int i = 0; i < 9; ++i)
            pads.push_back(&test::addPad(list, {400 + 400 * i, -600}, 80, static_cast<uint8_t>(i + 1), 1, 20 + 5 * i));
        test::addTrack(list, {{400, -1400}, {3600, -1400}}, 40);
        LayoutObject ring = makeCircle({800, -2200}, 300, 1, 1, 240);
        ring.Clearance = kClearance;
        list.append(ring);
        LayoutObject arc = makeCircle({2000, -2200}, 300, 1, 1, 240);
        arc.Angle = 0;
        arc.Width = 180;
        arc.Clearance = kClearance;
        list.append(arc);
        LayoutObject zone = makeZone(20, 1);
        zone.Points = {{2800, -2000}, {3600, -2000}, {3600, -2600}, {2800, -2600}};
        zone.Clearance = kClearance;
        list.append(zone);
        via = test::addVia(list, {3200, -1000}, 60, 30).first;
        test::addTrack(list, {{400, -1700}, {3600, -1700}}, 40, 2); // silk: in no copper file
    }

    // Renders one file and returns the image; fails on any complaint.
    test::PngImage render(const std::string& text, const std::string& name)
    {
        const std::string in = dir.file(name), png = dir.file(name + ".png");
        std::ofstream(in, std::ios::binary) << text;
        const ProgramRun r = runProgram({"gerbv", "-x", "png", "-o", png, "--dpi", std::to_string(2540 / kUnitsPerPixel),
                                  "--border", "0", "--origin", "0x0", "--window",
                                  std::to_string(kW / kUnitsPerPixel) + "x" + std::to_string(kH / kUnitsPerPixel),
                                  "--background", "#000000", "--foreground", "#FFFFFF", in},
                                 dir.file(name + ".err"));
        EXPECT_EQ(r.status, 0) << name;
        EXPECT_EQ(r.err.find("CRITICAL"), std::string::npos) << name << ":\n" << r.err;
        EXPECT_EQ(r.err.find("WARNING"), std::string::npos) << name << ":\n" << r.err;
        std::string error;
        auto image = test::readPng(png, error);
        if (!image) {
            ADD_FAILURE() << error << "\n" << r.err;
            return {};
        }
        EXPECT_EQ(image->width, kW / kUnitsPerPixel);
        EXPECT_EQ(image->height, kH / kUnitsPerPixel);
        return *image;
    }

    // The pixel holding a board point, as the file places it.
    static std::pair<int, int> pixelOf(Point p, bool mirrored)
    {
        const int32_t gx = mirrored ? kW - p.x : p.x, gy = p.y + kH;
        return {static_cast<int>(std::floor(gx / double(kUnitsPerPixel))),
                static_cast<int>(std::floor((kH - gy) / double(kUnitsPerPixel)))};
    }

    static void expectProbes(const test::PngImage& image, const std::vector<Probe>& probes, bool mirrored,
                             const std::string& file)
    {
        for (const Probe& p : probes) {
            const auto [col, row] = pixelOf(p.at, mirrored);
            EXPECT_EQ(image.red(col, row) > 127, p.lit)
                << file << ": " << p.what << " at (" << p.at.x << ", " << p.at.y << ") pixel " << col << "," << row;
        }
    }

    // Extents of a lit run through a point, in pixels, horizontally and vertically.
    static std::pair<int, int> litRun(const test::PngImage& image, int col, int row)
    {
        auto lit = [&](int c, int r) { return image.red(c, r) > 127; };
        int left = col, right = col, up = row, down = row;
        while (lit(left - 1, row))
            --left;
        while (lit(right + 1, row))
            ++right;
        while (lit(col, up - 1))
            --up;
        while (lit(col, down + 1))
            ++down;
        return {lit(col, row) ? right - left + 1 : 0, lit(col, row) ? down - up + 1 : 0};
    }

    static Point offset(const LayoutObject* o, int32_t dx, int32_t dy) { return {o->X1 + dx, o->Y1 + dy}; }

    test::TempDir dir;
    ObjectList list;
    BoardSettings settings;
    std::vector<LayoutObject*> pads;
    LayoutObject* via = nullptr;
};

bool elongatedH(const LayoutObject* p) { return p->Shape >= 4 && p->Shape <= 6; }
bool elongatedV(const LayoutObject* p) { return p->Shape >= 7; }

} // namespace

TEST_F(GerbvReading, CopperWithGroundPlaneKeepsEveryClearance)
{
    settings.GroundPlane1 = 1;
    const GerberOptions options = GerberOptions::presetFor(GerberLayer::K1); // mirrored, with outline
    const auto image = render(exportGerber(list, settings, options, Language::English), "k1.gbr");
    std::vector<Probe> probes;
    for (const LayoutObject* p : pads) {
        const std::string name = "pad shape " + std::to_string(p->Shape);
        // Copper reaches R across and 2R along; the gap is c wider, once.
        const int32_t x = elongatedH(p) ? 160 : 80, y = elongatedV(p) ? 160 : 80;
        probes.push_back({offset(p, 0, 0), true, name + " centre"});
        probes.push_back({offset(p, x - 10, 0), true, name + " inside right edge"});
        probes.push_back({offset(p, 0, -(y - 10)), true, name + " inside lower edge"});
        probes.push_back({offset(p, x + kClearance / 2, 0), false, name + " gap right"});
        probes.push_back({offset(p, -(x + kClearance / 2), 0), false, name + " gap left"});
        probes.push_back({offset(p, 0, y + kClearance / 2), false, name + " gap above"});
        probes.push_back({offset(p, 0, y + kClearance + 15), true, name + " plane beyond the gap"});
    }
    for (int32_t x : {600, 2000, 3300}) {
        probes.push_back({{x, -1400}, true, "track"});
        probes.push_back({{x, -1400 + 20 + kClearance / 2}, false, "track gap"});
        probes.push_back({{x, -1400 - 20 - kClearance - 15}, true, "plane below the track gap"});
        probes.push_back({{x, -1700}, true, "plane under a silk track"});
    }
    for (int a : {0, 90, 180, 270}) {
        const double r = a * M_PI / 180;
        auto on = [&](int32_t radius) {
            return Point{800 + static_cast<int32_t>(std::lround(radius * std::cos(r))),
                         -2200 + static_cast<int32_t>(std::lround(radius * std::sin(r)))};
        };
        probes.push_back({on(270), true, "ring " + std::to_string(a)});
        probes.push_back({on(320), false, "gap outside ring " + std::to_string(a)});
        probes.push_back({on(220), false, "gap inside ring " + std::to_string(a)});
        probes.push_back({on(150), true, "plane within ring " + std::to_string(a)});
    }
    probes.push_back({{2000, -2200 + 270}, true, "arc top"});
    probes.push_back({{2000, -2200 + 320}, false, "gap above the arc"});
    probes.push_back({{3200, -2300}, true, "zone"});
    probes.push_back({{3600 + 30, -2300}, false, "gap right of the zone"});
    probes.push_back({{2800 - 30, -2300}, false, "gap left of the zone"});
    probes.push_back({{3200, -1000}, true, "via"});
    probes.push_back({{3200 + 80, -1000}, false, "via gap"});
    probes.push_back({{1400, -2700}, true, "open plane"});
    expectProbes(image, probes, true, "k1.gbr");
}

TEST_F(GerbvReading, PunchedHolesArcsAndSilkWithoutGroundPlane)
{
    GerberOptions options = GerberOptions::presetFor(GerberLayer::K1);
    options.punch = true;
    options.mirror = false;
    const auto image = render(exportGerber(list, settings, options, Language::Russian), "punched.gbr");
    std::vector<Probe> probes;
    for (const LayoutObject* p : pads) {
        probes.push_back({offset(p, 0, 0), false, "hole of shape " + std::to_string(p->Shape)});
        probes.push_back({offset(p, p->Y2 + 8, 0), true, "ring of shape " + std::to_string(p->Shape)});
        probes.push_back({offset(p, 0, -(p->Y2 + 8)), true, "ring of shape " + std::to_string(p->Shape)});
        probes.push_back({offset(p, 0, 200), false, "no plane near shape " + std::to_string(p->Shape)});
    }
    probes.push_back({{2000, -2200 + 270}, true, "arc top"});
    probes.push_back({{2000, -2200 - 270}, false, "arc bottom (not drawn)"});
    probes.push_back({{2000 + 270, -2200}, true, "arc start"});
    probes.push_back({{800, -2200 - 270}, true, "ring bottom"});
    probes.push_back({{3200, -1000}, false, "via hole"});
    probes.push_back({{400, -1700}, false, "silk track"});
    expectProbes(image, probes, false, "punched.gbr");

    options.mark = true;
    const auto marked = render(exportGerber(list, settings, options, Language::Russian), "marked.gbr");
    std::vector<Probe> markProbes;
    for (const LayoutObject* p : pads) {
        markProbes.push_back({offset(p, 0, 0), false, "mark of shape " + std::to_string(p->Shape)});
        markProbes.push_back({offset(p, 15 + 8, 0), true, "copper beside the mark " + std::to_string(p->Shape)});
    }
    expectProbes(marked, markProbes, false, "marked.gbr");

    const auto silk = render(exportGerber(list, settings, GerberOptions::presetFor(GerberLayer::B1), Language::English),
                             "silk.gbr");
    expectProbes(silk, {{{400, -1700}, true, "silk track"}, {{2000, -1700}, true, "silk track"},
                        {{2000, -1400}, false, "copper track"}, {offset(pads[0], 0, 0), false, "pad"}},
                 false, "silk.gbr");
}

TEST_F(GerbvReading, InvertedSolderMaskWithOffset)
{
    GerberOptions options = GerberOptions::presetFor(GerberLayer::LStop1); // mirrored
    options.offsetMm = 0.2;
    options.invert = true;
    const int32_t o = 20;
    const auto image = render(exportGerber(list, settings, options, Language::English), "mask.gbr");
    std::vector<Probe> probes;
    for (const LayoutObject* p : pads) {
        const std::string name = "opening of shape " + std::to_string(p->Shape);
        const int32_t x = (elongatedH(p) ? 160 : 80) + o, y = (elongatedV(p) ? 160 : 80) + o;
        probes.push_back({offset(p, 0, 0), false, name});
        probes.push_back({offset(p, x - 10, 0), false, name + " right edge"});
        probes.push_back({offset(p, 0, y - 10), false, name + " upper edge"});
        probes.push_back({offset(p, x + 15, 0), true, name + " mask beyond"});
        probes.push_back({offset(p, 0, -(y + 15)), true, name + " mask below"});
    }
    probes.push_back({{3200, -1000}, false, "via opening"});
    probes.push_back({{2000, -1400}, true, "mask over the track"});
    probes.push_back({{3200, -2300}, true, "mask over the zone"});
    expectProbes(image, probes, true, "mask.gbr");

    options.invert = false;
    const auto plain = render(exportGerber(list, settings, options, Language::English), "mask-plain.gbr");
    expectProbes(plain, {{offset(pads[0], 0, 0), true, "opening"}, {{2000, -1400}, false, "no mask over the track"}},
                 true, "mask-plain.gbr");
}

TEST_F(GerbvReading, DrillHolesHaveTheirDiameter)
{
    const auto image = render(exportDrill(list, settings, DrillSide::Solder), "holes.drl");
    std::vector<std::pair<const LayoutObject*, int>> holes;
    for (const LayoutObject* p : pads)
        holes.push_back({p, 2 * p->Y2 / kUnitsPerPixel});
    holes.push_back({via, 2 * via->Y2 / kUnitsPerPixel});
    for (const auto& [pad, diameterPx] : holes) {
        const auto [col, row] = pixelOf({pad->X1, pad->Y1}, true);
        const auto [across, down] = litRun(image, col, row);
        EXPECT_NEAR(across, diameterPx, 1) << "hole radius " << pad->Y2 << " at x " << pad->X1;
        EXPECT_NEAR(down, diameterPx, 1) << "hole radius " << pad->Y2 << " at x " << pad->X1;
    }
    // Drilled from the solder side the via lies mirrored, not where the board has it.
    const auto [plainCol, plainRow] = pixelOf({via->X1, via->Y1}, false);
    EXPECT_LE(image.red(plainCol, plainRow), 127);
    EXPECT_EQ(image.red(0, 0), 0);
}

TEST_F(GerbvReading, GroundPlaneMatchesTheClearanceArithmetic)
{
    // The file draws the plane as a dark board, clear grown objects and the
    // objects again; the region is computed from the same sizes as polygons.
    // Wherever both agree on a neighbourhood, the rendering must agree too.
    settings.GroundPlane1 = 1;
    GerberOptions options = GerberOptions::presetFor(GerberLayer::K1);
    options.outline = false;
    const auto image = render(exportGerber(list, settings, options, Language::English), "plane.gbr");
    Region copper = groundPlaneRegion(list, settings, Layer::K1);
    for (const auto& o : list)
        if (o->Layer == Layer::K1 && !o->is(ObjectKind::Text))
            copper = copper.united(o->is(ObjectKind::Pad) ? grownPadRegion(*o, 0) : clearanceRegion([&] {
                LayoutObject plain = *o;
                plain.Clearance = 0;
                return plain;
            }()));
    int compared = 0, mismatches = 0;
    constexpr int32_t margin = 8;
    for (int32_t y = -kH + 20; y < -20; y += 16) {
        for (int32_t x = 20; x < kW - 20; x += 16) {
            const bool inside = copper.contains({x, y});
            bool clear = true;
            for (int dx = -1; dx <= 1 && clear; ++dx)
                for (int dy = -1; dy <= 1 && clear; ++dy)
                    clear = copper.contains({x + dx * margin, y + dy * margin}) == inside;
            if (!clear)
                continue;
            ++compared;
            const auto [col, row] = pixelOf({x, y}, true);
            if ((image.red(col, row) > 127) != inside && ++mismatches <= 10)
                ADD_FAILURE() << "at (" << x << ", " << y << ") the region says " << inside;
        }
    }
    EXPECT_EQ(mismatches, 0);
    EXPECT_GT(compared, 35000);
}

TEST_F(GerbvReading, DegenerateObjectsLoadQuietly)
{
    ObjectList odd;
    LayoutObject onePointZone = makeZone(20, 1);
    onePointZone.Points = {{500, -500}};
    odd.append(onePointZone);
    LayoutObject twoPointZone = makeZone(20, 1);
    twoPointZone.Points = {{600, -500}, {900, -500}};
    odd.append(twoPointZone);
    odd.append(makeZone(20, 1)); // no points at all
    odd.append(makeTrack(20, 1));
    test::addTrack(odd, {{1000, -1000}}, 30);
    test::addPad(odd, {1500, -1500}, 80, 0, 1, 30);  // unknown shape: only the move
    test::addPad(odd, {1800, -1500}, 0, 2, 1, 0);    // octagon of radius 0
    test::addPad(odd, {2100, -1500}, 40, 1, 1, 40);  // hole as large as the pad
    odd.append(makeCircle({2500, -2000}, 100, 1, 1, 100)); // ring of width 0
    settings.GroundPlane1 = 1;
    GerberOptions options = GerberOptions::presetFor(GerberLayer::K1);
    options.punch = true;
    const auto image = render(exportGerber(odd, settings, options, Language::English), "odd.gbr");
    expectProbes(image, {{{750, -500}, true, "two-point zone"}, {{2100, -1500}, false, "punched full hole"},
                         {{3000, -2500}, true, "plane"}},
                 true, "odd.gbr");
}
