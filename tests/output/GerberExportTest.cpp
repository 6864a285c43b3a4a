#include "output/DrillExport.h"
#include "output/GerberExport.h"
#include "output/GerberFile.h"

#include "OutputTestUtil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <locale>

using namespace kestrel;
using namespace kestrel::test;
using L = GerberLayer;

namespace {

// The first lines after the five header lines (aperture table, body): as
// many as `expected` has, so a row ending in "M02*" checks the whole file.
Lines start(const ObjectList& list, const BoardSettings& s, const GerberOptions& o, const Lines& expected)
{
    const Lines all = splitCrlf(exportGerber(list, s, o, Language::English));
    return {all.begin() + 5, all.begin() + static_cast<long>(std::min(all.size(), 5 + expected.size()))};
}

const Lines kOutline = {"G54D10*", "X0Y0D02*", "X1000Y0D01*", "X1000Y1000D01*", "X0Y1000D01*", "X0Y0D01*"};
const Lines kDarkBoard = {"G36*", "X0Y0D02*", "X1000Y0D01*", "X1000Y1000D01*", "X0Y1000D01*", "X0Y0D01*", "G37*"};

} // namespace

TEST(GerberExport, LayersAndOptions)
{
    // A round on K1; B elongated on K1 with its hole as large as the pad (no copper ring); C round on K2.
    ObjectList abc;
    addPad(abc, {100, -100}, 80, 1, 1, 40);
    addPad(abc, {300, -100}, 50, 6, 1, 50);
    addPad(abc, {500, -100}, 80, 1, 3, 40);
    struct Row {
        const char* what;
        GerberOptions options;
        int groundPlaneSide; // 0 none
        Lines expected;
    };
    const Row rows[] = {
        {"silk: outline only, no ground plane", {.layer = L::B1, .mirror = false}, 1,
         Lines{"%ADD10C,0.20*%", "%LPD*%"} + kOutline + Lines{"M02*"}},
        {"copper without ground plane", {.mirror = false, .outline = false}, 2,
         {"%ADD10C,1.60*%", "%LPD*%", "X100Y900D02*", "G54D10*", "D03*", "M02*"}},
        // The ground plane's copper is compared with its regions in GerbvReadingTest.cpp.
        {"ground plane of side 2", {.layer = L::K2, .mirror = false, .outline = false}, 2,
         {"%ADD10C,2.40*%", "%ADD11C,1.60*%", "%LPD*%", "G36*"}},
        {"punched holes, also without ring", {.mirror = false, .outline = false, .punch = true}, 0,
         Lines{"%ADD10C,1.60*%", "%ADD11C,0.80*%", "%ADD12C,1.00*%", "%LPD*%", "X100Y900D02*", "G54D10*", "D03*"} +
             Lines{"%LNAUGENFREISTANZEN*%", "%LPC*%", "X100Y900D02*", "G54D11*", "D03*", "X300Y900D02*", "G54D12*",
                   "D03*", "M02*"}},
        {"inverted solder mask: outline once, openings cleared from a dark board",
         {.layer = L::LStop1, .mirror = false, .offsetMm = 0.1, .invert = true}, 0,
         Lines{"%ADD10C,0.20*%", "%ADD11C,1.80*%", "%ADD12R,2.20X1.20*%", "%LPD*%"} + kOutline + kDarkBoard +
             Lines{"%LPC*%", "X100Y900D02*", "G54D11*", "D03*", "X300Y900D02*", "G54D12*", "D03*", "M02*"}},
    };
    for (const Row& r : rows) {
        BoardSettings s = boardOf(1000, 1000);
        s.GroundPlane1 = r.groundPlaneSide == 1;
        s.GroundPlane2 = r.groundPlaneSide == 2;
        EXPECT_EQ(start(abc, s, r.options, r.expected), r.expected) << r.what;
    }

    // A pad without a hole (a surface pad) is not drilled: neither a hole
    // nor a centre mark may cut its copper.
    ObjectList surface;
    addPad(surface, {100, -100}, 80, 1, 1, 0);
    addPad(surface, {300, -100}, 80, 1, 1, 40);
    for (const bool mark : {false, true}) {
        const Lines expected = Lines{"%ADD10C,1.60*%", "%ADD11C,1.60*%", mark ? "%ADD12C,0.30*%" : "%ADD12C,0.80*%",
                                     "%LPD*%", "X100Y900D02*", "G54D10*", "D03*", "X300Y900D02*", "G54D11*", "D03*"} +
                               Lines{"%LNAUGENFREISTANZEN*%", "%LPC*%", "X300Y900D02*", "G54D12*", "D03*", "M02*"};
        EXPECT_EQ(start(surface, boardOf(1000, 1000), {.mirror = false, .outline = false, .punch = true, .mark = mark},
                        expected),
                  expected)
            << "mark " << mark;
    }
}

TEST(GerberExport, PadShapesArcsZonesAndLabels)
{
    auto pad = [](uint8_t shape) { return [shape](ObjectList& l) { addPad(l, {500, -500}, 100, shape, 1, 30); }; };
    const std::pair<std::function<void(ObjectList&)>, Lines> rows[] = {
        {pad(6), {"%ADD10R,4.00X2.00*%", "%LPD*%", "X500Y500D02*", "G54D10*", "D03*", "M02*"}},
        {pad(2), {"%ADD10C,0.00*%", "%LPD*%", "X500Y500D02*", "G36*", "X400Y542D02*"}},
        // w = 14, m = 103: 103 cos 60 lies just below 51.5 once the angle is a float.
        {[](ObjectList& l) {
             LayoutObject& c = l.append(makeCircle({500, -500}, 110, 1, 1, 96));
             c.Angle = c.Width = 60; // equal angles: the full ring
         },
         {"%ADD10C,0.14*%", "%LPD*%", "G54D10*", "G75*", "G01X551Y589D02*", "G03X551Y589I-51J-89D01*", "G01*", "M02*"}},
        {[](ObjectList& l) { // 1 degree on radius 50: both ends round to one point, which is no whole ring
             LayoutObject& c = l.append(makeCircle({500, -500}, 60, 1, 1, 40));
             c.Angle = 3, c.Width = 4;
         },
         {"%ADD10C,0.20*%", "%LPD*%", "G54D10*", "X550Y503D02*", "X550Y503D01*", "M02*"}},
        {[](ObjectList& l) { // 359 degrees on radius 50: ends on one point, and all but a sliver of the ring
             LayoutObject& c = l.append(makeCircle({500, -500}, 60, 1, 1, 40));
             c.Angle = 4, c.Width = 3;
         },
         {"%ADD10C,0.20*%", "%LPD*%", "G54D10*", "G75*", "G01X550Y503D02*", "G03X550Y503I-50J-3D01*", "G01*", "M02*"}},
        {[](ObjectList& l) { // 0 to 360 degrees is the whole ring, whose ends meet
             LayoutObject& c = l.append(makeCircle({500, -500}, 60, 1, 1, 40));
             c.Angle = 0, c.Width = 360;
         },
         {"%ADD10C,0.20*%", "%LPD*%", "G54D10*", "G75*", "G01X550Y500D02*", "G03X550Y500I-50J0D01*", "G01*", "M02*"}},
        {[](ObjectList& l) { // a closed region, then its outline; labels have no Gerber form
             LayoutObject zone = makeZone(20, 1);
             zone.Points = {{100, -100}, {300, -100}, {300, -300}};
             l.append(zone);
             l.append(makeText({100, -100}, "X", 0, 100, 200, -50, 1));
         },
         {"%ADD10C,0.20*%", "%LPD*%", "G54D10*", "G36*", "X100Y900D02*", "X300Y900D01*", "X300Y700D01*",
          "X100Y900D01*", "G37*", "X100Y900D02*", "X300Y900D01*", "X300Y700D01*", "X100Y900D01*", "M02*"}},
    };
    for (const auto& [add, expected] : rows) {
        ObjectList list;
        add(list);
        EXPECT_EQ(start(list, boardOf(1000, 1000), {.mirror = false, .outline = false}, expected), expected);
    }
}

// A zone whose edges cross fills by the even-odd rule, as on the screen; a
// Gerber region may not cross itself, so it goes out as the contours it
// fills: a bow tie as its two triangles, a star without its middle (read
// back by gerbv: GerbvReading.HolesMarksAndMasks).
TEST(GerberExport, ZonesThatCrossThemselvesGoOutAsTheirFilledContours)
{
    const auto linesOf = [](std::vector<Point> corners) {
        ObjectList list;
        list.append(makeZone(20, 1)).Points = std::move(corners);
        return splitCrlf(
            exportGerber(list, boardOf(1000, 1000), {.mirror = false, .outline = false}, Language::English));
    };
    const auto count = [](const Lines& lines, const std::string& what) {
        return std::count(lines.begin(), lines.end(), what);
    };
    const Lines bowTie = linesOf({{100, -100}, {300, -300}, {300, -100}, {100, -300}});
    EXPECT_EQ(count(bowTie, "G36*"), 2) << "two triangles";
    EXPECT_GE(count(bowTie, "X200Y800D01*") + count(bowTie, "X200Y800D02*"), 2) << "each reaching the crossing";
    const Lines star = linesOf({{400, -100}, {547, -552}, {162, -273}, {638, -273}, {253, -552}});
    const Lines asListed = {"G36*", "X400Y900D02*", "X547Y448D01*", "X162Y727D01*"}; // its outline follows, stroked
    EXPECT_EQ(std::search(star.begin(), star.end(), asListed.begin(), asListed.end()), star.end());
    EXPECT_EQ(count(linesOf({{100, -100}, {300, -100}, {300, -300}}), "G36*"), 1) << "a plain zone as it is";
}

// Each writer leaves its file and nothing else, or says why it could not.
TEST(Writers, WriteTheFileOrReportWhyNot)
{
    LayoutDocument doc = exampleDocument();
    const ObjectList& objects = *doc.currentObjects();
    const std::pair<std::function<Status(const std::string&)>, Lines> writers[] = {
        {[&](const std::string& path) {
             return writeGerber(path, objects, doc.Working, GerberOptions::presetFor(L::K1), Language::Russian);
         },
         kExampleK1},
        {[&](const std::string& path) { return writeDrill(path, objects, doc.Working, DrillSide::Solder, Language::English); },
         kExampleDrill},
    };
    for (const auto& [write, lines] : writers) {
        TempDir dir;
        EXPECT_TRUE(succeeded(write(dir.file("out"))));
        EXPECT_EQ(fileText(dir.file("out")), crlf(lines));
        const Status failed = write(dir.file("missing/out"));
        EXPECT_FALSE(failed.ok());
        EXPECT_NE(failed.message().find("missing/out"), std::string::npos) << "names the file: " << failed.message();
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
    }
    EXPECT_FALSE(std::filesystem::exists("GERBER.TMP"));
}

// The command line refuses exactly what the export dialog cannot produce.
TEST(GerberOptions, CheckNamesWhatTheDialogCannotProduce)
{
    using P = GerberOptions::Problem;
    const std::tuple<const char*, GerberOptions, P> rows[] = {
        {"largest mask offset", {.layer = L::LStop1, .offsetMm = 9.9}, P::None},
        {"mark alone", {.layer = L::B1, .mark = true}, P::MarkWithoutPunch},
        {"punched mask", {.layer = L::LStop1, .punch = true}, P::PunchOnMask},
        {"offset on copper", {.layer = L::K2, .offsetMm = 0.1}, P::MaskOptionOnOtherLayer},
        {"offset past the spin", {.layer = L::LStop1, .offsetMm = 9.91}, P::OffsetOutOfRange},
        {"offset not a number", {.layer = L::LStop2, .offsetMm = std::nan("")}, P::OffsetOutOfRange},
    };
    for (const auto& [what, options, problem] : rows)
        EXPECT_EQ(options.check(), problem) << what;
}

// The file writer underneath the export.

namespace {

using Draw = std::function<void(TGerberFile&)>;

const Lines kHeader = {"%FSLAX32Y32*%", "%MOMM*%", "%LNTEST*%", "G71*", "G1*"};

// The file `draw` makes.
std::string drawn(const Draw& draw)
{
    TGerberFile g;
    g.OpenFile("TEST");
    draw(g);
    return g.Finish();
}

} // namespace

// Apertures: no blank after the comma, defined on first use, reused, pads told apart by hole.
TEST(GerberFile, DrawingCalls)
{
    const std::string file = drawn([](TGerberFile& g) {
        g.SetPenwidth(20), g.SetPenwidth(20), g.MoveTo(0, 0), g.FlashCircle(40, 80), g.FlashRect(80, 40);
        g.SetPenwidth(20), g.FlashCircle(30, 80), g.FlashRect(80, 40);
    });
    EXPECT_EQ(file, crlf(kHeader + Lines{"%ADD10C,0.20*%", "%ADD11C,1.60*%", "%ADD12R,1.60X0.80*%", "%ADD13C,1.60*%",
                                         "%LPD*%", "G54D10*", "G54D10*", "X0Y0D02*", "G54D11*", "D03*", "G54D12*",
                                         "D03*", "G54D10*", "G54D13*", "D03*", "G54D12*", "D03*", "M02*"}));
}

// Coordinates of 1000 mm and more need a fourth integer digit; arcs' offsets count too.
TEST(GerberFile, TheFormatHoldsTheLargestCoordinate)
{
    const std::pair<Draw, const char*> rows[] = {
        {[](TGerberFile& g) { g.MoveTo(99'999, -99'999); }, "%FSLAX32Y32*%"},
        {[](TGerberFile& g) { g.MoveTo(0, 0), g.LineTo(150'000, 0); }, "%FSLAX42Y42*%"},
        {[](TGerberFile& g) { g.Arc({0, 0}, {-100'000, 0}, {-100'000, 0}); }, "%FSLAX42Y42*%"},
        {[](TGerberFile& g) { g.LineTo(1'000'000, 0); }, "%FSLAX52Y52*%"},
    };
    for (const auto& [draw, format] : rows)
        EXPECT_EQ(splitCrlf(drawn(draw)).at(0), format);
}

TEST(GerberFile, ApertureSizesFormatExactlyUnderACommaLocale)
{
    struct CommaPunct : std::numpunct<char> {
        char do_decimal_point() const override { return ','; }
    };
    const std::locale saved = std::locale::global(std::locale(std::locale::classic(), new CommaPunct));
    const std::pair<Draw, const char*> rows[] = {
        {[](TGerberFile& g) { g.SetPenwidth(5); }, "%ADD10C,0.05*%"},
        {[](TGerberFile& g) { g.FlashRect(1, 250); }, "%ADD10R,0.02X5.00*%"},
        // d = half x 1.5 rounds ties to even: 151.5 -> 152, 154.5 -> 154
        {[](TGerberFile& g) { g.FlashRoundRect({0, 0}, 101, 101); }, "%ADD10C,1.52*%"},
        {[](TGerberFile& g) { g.FlashRoundRect({0, 0}, 103, 103); }, "%ADD10C,1.54*%"},
    };
    for (const auto& [draw, line] : rows)
        EXPECT_EQ(splitCrlf(drawn(draw))[5], line);
    std::locale::global(saved);
}
