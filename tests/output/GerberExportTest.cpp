#include "output/GerberExport.h"

#include "OutputTestUtil.h"
#include "support/TestData.h"

#include <gtest/gtest.h>

using namespace kestrel;
using kestrel::test::addPad;
using kestrel::test::addTrack;
using kestrel::test::bodyLines;
using kestrel::test::crlf;
using Lines = std::vector<std::string>;

namespace {

BoardSettings board(int32_t w = 1000, int32_t h = 1000)
{
    BoardSettings s;
    s.BoardWidth = w;
    s.BoardHeight = h;
    return s;
}

GerberOptions plain(GerberLayer layer)
{
    GerberOptions o = GerberOptions::presetFor(layer);
    o.mirror = false;
    o.outline = false;
    return o;
}

Lines body(const ObjectList& list, const BoardSettings& s, const GerberOptions& o)
{
    return bodyLines(exportGerber(list, s, o, Language::English));
}

} // namespace

TEST(GerberExport, ExampleFileByteForByte)
{
    ObjectList list;
    addTrack(list, {{100, -100}, {500, -100}}, 40);
    addPad(list, {500, -100}, 80, 1, 1, 40);
    EXPECT_EQ(exportGerber(list, board(), GerberOptions::presetFor(GerberLayer::K1), Language::Russian),
              crlf({"%FSLAX32Y32*%", "%MOMM*%", "%LNLAYOUTLOETSEITE*%", "G71*", "G1*", "%ADD10C,0.20*%",
                    "%ADD11C,0.40*%", "%ADD12C,1.60*%", "%LPD*%", "G54D10*", "X1000Y0D02*", "X0Y0D01*",
                    "X0Y1000D01*", "X1000Y1000D01*", "X1000Y0D01*", "G54D11*", "X900Y900D02*", "X500Y900D01*",
                    "X500Y900D02*", "G54D12*", "D03*", "M02*"}));
}

TEST(GerberExport, PresetsNamesAndFileNamesPerButton)
{
    struct Row {
        GerberLayer layer;
        bool mirror, outline;
        const char *file0, *file1, *name0, *name1;
    };
    const Row rows[] = {
        {GerberLayer::K1, true, true, "KUPFER1.GBR", "COPPER1.GBR", "LAYOUTLOETSEITE", "COPPERSOLDERSIDE"},
        {GerberLayer::B1, false, false, "BESTCK1.GBR", "SILKSC1.GBR", "BESTUECKUNGSPLANBESTUECKUNGSSEITE",
         "SILKSCREENCOMPONENTSIDE"},
        {GerberLayer::LStop1, true, false, "LOETSTP1.GBR", "SLDMASK1.GBR", "LOETSTOPLOETSEITE",
         "SOLDERMASKSOLDERSIDE"},
        {GerberLayer::K2, false, true, "KUPFER2.GBR", "COPPER2.GBR", "LAYOUTBESTUECKUNGSSEITE",
         "COPPERCOMPONENTSIDE"},
        {GerberLayer::B2, true, false, "BESTCK2.GBR", "SILKSC2.GBR", "BESTUECKUNGSPLANLOETSEITE",
         "SILKSCREENSOLDERSIDE"},
        {GerberLayer::LStop2, false, false, "LOETSTP2.GBR", "SLDMASK2.GBR", "LOETSTOPBESTUECKUNGSSEITE",
         "SOLDERMASKCOMPONENTSIDE"},
    };
    for (const Row& r : rows) {
        const GerberOptions o = GerberOptions::presetFor(r.layer);
        EXPECT_EQ(o.mirror, r.mirror) << r.file0;
        EXPECT_EQ(o.outline, r.outline) << r.file0;
        EXPECT_FALSE(o.punch || o.mark || o.invert || o.offsetMm != 0) << r.file0;
        EXPECT_EQ(gerberDefaultFileName(r.layer, Language::Russian), r.file0);
        EXPECT_EQ(gerberDefaultFileName(r.layer, Language::English), r.file1);
        EXPECT_EQ(gerberLayerName(r.layer, Language::Russian), r.name0);
        EXPECT_EQ(gerberLayerName(r.layer, Language::English), r.name1);
        EXPECT_EQ(gerberDefaultFileName(r.layer, static_cast<Language>(2)), "");
        EXPECT_EQ(gerberLayerFromKey(gerberLayerKey(r.layer)), r.layer);
    }
    EXPECT_EQ(gerberLayerFromKey("K3"), std::nullopt);
    ObjectList none;
    EXPECT_NE(exportGerber(none, board(), plain(GerberLayer::K1), static_cast<Language>(7)).find("%LN*%"),
              std::string::npos);
}

TEST(GerberExport, ObjectsOfOtherLayersLeaveOutlineOnly)
{
    ObjectList list;
    addTrack(list, {{100, -100}, {500, -100}}, 40, 3);
    addPad(list, {500, -100}, 80, 1, 2);
    EXPECT_EQ(body(list, board(), plain(GerberLayer::K1)), (Lines{"%LPD*%", "M02*"}));
    GerberOptions outlined = plain(GerberLayer::K1);
    outlined.outline = true;
    EXPECT_EQ(body(list, board(), outlined), (Lines{"%LPD*%", "G54D10*", "X0Y0D02*", "X1000Y0D01*", "X1000Y1000D01*",
                                                    "X0Y1000D01*", "X0Y0D01*", "M02*"}));
}

TEST(GerberExport, EveryPadShapeInNormalMode)
{
    struct Row {
        uint8_t shape;
        Lines lines;
    };
    // R = 100 at (500, 500): across 100, along 200.
    const Row rows[] = {
        {1, {"G54D10*", "D03*"}},
        {3, {"G54D10*", "D03*"}},
        {6, {"G54D10*", "D03*"}},
        {9, {"G54D10*", "D03*"}},
        {2, {"G36*", "X400Y542D02*"}},
        {5, {"G36*", "X300Y542D02*"}},
        {8, {"G36*", "X400Y642D02*"}},
        {4, {"G36*", "X375Y475D02*"}},
        {7, {"G36*", "X475Y375D02*"}},
        {0, {"M02*", ""}},
    };
    for (const Row& r : rows) {
        ObjectList list;
        addPad(list, {500, -500}, 100, r.shape, 1, 30);
        const Lines b = body(list, board(), plain(GerberLayer::K1));
        ASSERT_GE(b.size(), 3u);
        EXPECT_EQ(b[1], "X500Y500D02*") << int(r.shape);
        EXPECT_EQ(b[2], r.lines[0]) << int(r.shape);
        if (!r.lines[1].empty()) {
            EXPECT_EQ(b[3], r.lines[1]) << int(r.shape);
        }
    }
    // The rectangle apertures carry the extents by shape.
    for (auto [shape, def] : {std::pair{3, "%ADD10R,2.00X2.00*%"}, {6, "%ADD10R,4.00X2.00*%"}, {9, "%ADD10R,2.00X4.00*%"},
                              {1, "%ADD10C,2.00*%"}}) {
        ObjectList list;
        addPad(list, {500, -500}, 100, static_cast<uint8_t>(shape), 1, 30);
        EXPECT_EQ(test::splitCrlf(exportGerber(list, board(), plain(GerberLayer::K1), Language::English))[5], def);
    }
}

TEST(GerberExport, GroundPlaneCutsClearancesThenDrawsCopper)
{
    ObjectList list;
    addPad(list, {500, -500}, 100, 6, 1, 30);   // elongated, clearance 40
    addPad(list, {200, -200}, 50, 1, 1, 50);    // no copper ring
    addTrack(list, {{100, -900}, {900, -900}}, 20);
    BoardSettings s = board();
    s.GroundPlane1 = 1;
    EXPECT_EQ(exportGerber(list, s, plain(GerberLayer::K1), Language::English),
              crlf({"%FSLAX32Y32*%", "%MOMM*%", "%LNCOPPERSOLDERSIDE*%", "G71*", "G1*",
                    "%ADD10R,4.80X2.80*%", // 2R + c = 240 along, R + c = 140 across
                    "%ADD11C,1.80*%", "%ADD12C,1.00*%", "%ADD13R,4.00X2.00*%", "%ADD14C,0.20*%", "%LPD*%", "G36*",
                    "X0Y0D02*", "X1000Y0D01*", "X1000Y1000D01*", "X0Y1000D01*", "X0Y0D01*", "G37*", "%LPC*%",
                    "X500Y500D02*", "G54D10*", "D03*", "X200Y800D02*", "G54D11*", "D03*", "G54D12*", "X100Y100D02*",
                    "X900Y100D01*", "%LPD*%", "X500Y500D02*", "G54D13*", "D03*", "G54D14*", "X100Y100D02*",
                    "X900Y100D01*", "M02*"}));
}

TEST(GerberExport, GroundPlaneOnlyOnCopperOfItsOwnSide)
{
    ObjectList list;
    addTrack(list, {{100, -900}, {900, -900}}, 20, 1);
    addTrack(list, {{100, -900}, {900, -900}}, 20, 2);
    addTrack(list, {{100, -900}, {900, -900}}, 20, 3);
    BoardSettings s = board();
    s.GroundPlane1 = 1;
    for (auto [layer, filled] : {std::pair{GerberLayer::K1, true}, {GerberLayer::B1, false}, {GerberLayer::K2, false}}) {
        const Lines b = body(list, s, plain(layer));
        EXPECT_EQ(b[1] == "G36*", filled) << static_cast<int>(layer);
    }
    s.GroundPlane1 = 0;
    s.GroundPlane2 = 1;
    EXPECT_EQ(body(list, s, plain(GerberLayer::K2))[1], "G36*");
    EXPECT_NE(body(list, s, plain(GerberLayer::K1))[1], "G36*");
}

TEST(GerberExport, ZoneIsAClosedRegionWithItsOutline)
{
    ObjectList list;
    LayoutObject zone = makeZone(20, 1);
    zone.Points = {{100, -100}, {300, -100}, {300, -300}};
    list.append(zone);
    LayoutObject text = makeText({100, -100}, "X", 0, 100, 200, -50, 1);
    list.append(text);
    EXPECT_EQ(body(list, board(), plain(GerberLayer::K1)),
              (Lines{"%LPD*%", "G54D10*", "G36*", "X100Y900D02*", "X300Y900D01*", "X300Y700D01*", "X100Y900D01*",
                     "G37*", "X100Y900D02*", "X300Y900D01*", "X300Y700D01*", "X100Y900D01*", "M02*"}));
}

TEST(GerberExport, CircleArcsFromSinglePrecisionAngles)
{
    struct Row {
        int32_t outer, inner, start, stop, clearance;
        bool groundPlane;
        Lines arc; // pen definition, then the two arc lines
    };
    const Row rows[] = {
        // w = 100, m = 350.
        {400, 300, 30, 200, 0, false, {"%ADD10C,1.00*%", "G01X1303Y1175D02*", "G03X671Y880I-303J-175D01*"}},
        // w = 14, m = 103: 103 cos 60 lies just below 51.5 once the angle is a float.
        {110, 96, 60, 60, 0, false, {"%ADD10C,0.14*%", "G01X1051Y1089D02*", "G03X1051Y1089I-51J-89D01*"}},
        // Clearance 40: w = 180, m = 400 - 90 + 40 = 350, the ring grows by 40 on both sides.
        {400, 300, 0, 0, 40, true, {"%ADD10C,1.80*%", "G01X1350Y1000D02*", "G03X1350Y1000I-350J0D01*"}},
    };
    for (const Row& r : rows) {
        ObjectList list;
        LayoutObject c = makeCircle({1000, -1000}, r.outer, 1, 1, r.inner);
        c.Angle = r.start;
        c.Width = r.stop;
        c.Clearance = r.clearance;
        list.append(c);
        BoardSettings s = board(3000, 2000);
        s.GroundPlane1 = r.groundPlane;
        const Lines all = test::splitCrlf(exportGerber(list, s, plain(GerberLayer::K1), Language::English));
        EXPECT_EQ(all[5], r.arc[0]);
        const auto at = std::find(all.begin(), all.end(), "G75*");
        ASSERT_NE(at, all.end());
        EXPECT_EQ(at[1], r.arc[1]);
        EXPECT_EQ(at[2], r.arc[2]);
    }
}

TEST(GerberExport, MirrorSwapsArcEnds)
{
    ObjectList list;
    LayoutObject c = makeCircle({1000, -1000}, 400, 1, 1, 300);
    c.Angle = 0;
    c.Width = 90;
    list.append(c);
    GerberOptions o = plain(GerberLayer::K1);
    o.mirror = true;
    // Unmirrored: from (1350, 1000) to (1000, 1350). Mirrored about x = 1500
    // the ends become (1650, 1000) and (2000, 1350), swapped.
    const Lines b = body(list, board(3000, 2000), o);
    EXPECT_EQ(b[3], "G01X2000Y1350D02*");
    EXPECT_EQ(b[4], "G03X1650Y1000I0J-350D01*");
}

TEST(GerberExport, PunchedHolesAndMarks)
{
    ObjectList list;
    addPad(list, {100, -100}, 80, 1, 1, 40);
    addPad(list, {300, -100}, 50, 1, 1, 50); // no ring: not flashed, still punched
    addPad(list, {500, -100}, 80, 1, 3, 40); // other side
    GerberOptions o = plain(GerberLayer::K1);
    o.punch = true;
    EXPECT_EQ(body(list, board(), o), (Lines{"%LPD*%", "X100Y900D02*", "G54D10*", "D03*", "%LNAUGENFREISTANZEN*%",
                                             "%LPC*%", "X100Y900D02*", "G54D11*", "D03*", "X300Y900D02*", "G54D12*",
                                             "D03*", "M02*"}));
    o.mark = true;
    const std::string marked = exportGerber(list, board(), o, Language::English);
    EXPECT_NE(marked.find("%ADD11C,0.30*%"), std::string::npos);
    EXPECT_EQ(marked.find("%ADD12"), std::string::npos); // both holes share the mark aperture
}

TEST(GerberExport, SolderMaskOffsetsAndInversion)
{
    ObjectList list;
    addPad(list, {100, -100}, 80, 1, 1, 40);
    addPad(list, {300, -100}, 50, 6, 1, 50); // no ring: still gets an opening
    addPad(list, {500, -100}, 80, 1, 2, 40); // silk: never
    addTrack(list, {{0, -500}, {900, -500}}, 40, 1);
    GerberOptions o = GerberOptions::presetFor(GerberLayer::LStop1);
    o.mirror = false;
    o.offsetMm = 0.1;
    EXPECT_EQ(exportGerber(list, board(), o, Language::English),
              crlf({"%FSLAX32Y32*%", "%MOMM*%", "%LNSOLDERMASKSOLDERSIDE*%", "G71*", "G1*", "%ADD10C,1.80*%",
                    "%ADD11R,2.20X1.20*%", "%LPD*%", "X100Y900D02*", "G54D10*", "D03*", "X300Y900D02*", "G54D11*",
                    "D03*", "M02*"}));
    o.invert = true;
    o.outline = true; // drawn once before the mask, not twice
    EXPECT_EQ(body(list, board(), o),
              (Lines{"%LPD*%", "G54D10*", "X0Y0D02*", "X1000Y0D01*", "X1000Y1000D01*", "X0Y1000D01*", "X0Y0D01*",
                     "G36*", "X0Y0D02*", "X1000Y0D01*", "X1000Y1000D01*", "X0Y1000D01*", "X0Y0D01*", "G37*",
                     "%LPC*%", "X100Y900D02*", "G54D11*", "D03*", "X300Y900D02*", "G54D12*", "D03*", "M02*"}));
    o.invert = false;
    const Lines twice = body(list, board(), o);
    EXPECT_EQ(std::count(twice.begin(), twice.end(), "X0Y1000D01*"), 2);
}

TEST(GerberExport, SideTwoMaskUsesLayerThreePads)
{
    ObjectList list;
    addPad(list, {100, -100}, 80, 3, 1, 40);
    addPad(list, {300, -100}, 60, 3, 3, 40);
    const std::string text = exportGerber(list, board(), plain(GerberLayer::LStop2), Language::English);
    EXPECT_NE(text.find("%ADD10R,1.20X1.20*%"), std::string::npos);
    EXPECT_EQ(text.find("%ADD11"), std::string::npos);
}

TEST(GerberExport, WriteReportsFailureAndLeavesNothing)
{
    test::TempDir dir;
    ObjectList list;
    EXPECT_EQ(writeGerber(dir.file("ok.gbr"), list, board(), plain(GerberLayer::K1), Language::English), "");
    EXPECT_NE(writeGerber(dir.file("no/such.gbr"), list, board(), plain(GerberLayer::K1), Language::English), "");
}
