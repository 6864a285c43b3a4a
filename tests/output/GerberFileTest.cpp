#include "output/GerberFile.h"

#include "OutputTestUtil.h"
#include "support/TestData.h"

#include <gtest/gtest.h>

#include <clocale>
#include <locale>
#include <filesystem>
#include <fstream>

using namespace kestrel;
using kestrel::test::bodyLines;
using kestrel::test::crlf;

namespace {

const std::vector<std::string> kHeader = {"%FSLAX32Y32*%", "%MOMM*%", "%LNTEST*%", "G71*", "G1*"};

std::vector<std::string> with(std::vector<std::string> a, const std::vector<std::string>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TGerberFile opened()
{
    TGerberFile g;
    g.OpenFile("TEST");
    return g;
}

} // namespace

TEST(GerberFile, EmptyFileHasHeaderPolarityAndEnd)
{
    TGerberFile g = opened();
    EXPECT_EQ(g.Finish(), crlf(with(kHeader, {"%LPD*%", "M02*"})));
}

TEST(GerberFile, ApertureLinesHaveNoBlankAndComeInDCodeOrder)
{
    TGerberFile g = opened();
    g.SetPenwidth(20);
    g.MoveTo(0, 0);
    g.FlashCircle(40, 80);
    g.FlashRect(80, 40);
    g.SetPenwidth(20);    // reused: D10 again
    g.FlashCircle(30, 80); // same outer size, other hole: a new code with the same definition
    g.FlashRect(80, 40);
    EXPECT_EQ(g.Finish(), crlf(with(kHeader, {"%ADD10C,0.20*%", "%ADD11C,1.60*%", "%ADD12R,1.60X0.80*%",
                                              "%ADD13C,1.60*%", "%LPD*%", "G54D10*", "X0Y0D02*", "G54D11*", "D03*",
                                              "G54D12*", "D03*", "G54D10*", "G54D13*", "D03*", "G54D12*", "D03*",
                                              "M02*"})));
}

TEST(GerberFile, SamePenTwiceSelectsTwiceAndDefinesOnce)
{
    TGerberFile g = opened();
    g.SetPenwidth(35);
    g.SetPenwidth(35);
    EXPECT_EQ(g.Penwidth(), 35);
    EXPECT_EQ(g.Apertures().size(), 1u);
    EXPECT_EQ(bodyLines(g.Finish()), (std::vector<std::string>{"%LPD*%", "G54D10*", "G54D10*", "M02*"}));
}

TEST(GerberFile, ApertureSizesFormatExactly)
{
    struct Case {
        int kind;
        int32_t a, b;
        const char* line;
    };
    const Case cases[] = {
        {0, 0, 0, "%ADD10C,0.00*%"},       {0, 5, 0, "%ADD10C,0.05*%"},
        {0, 12345, 0, "%ADD10C,123.45*%"}, {1, 1, 0, "%ADD10C,0.02*%"},
        {1, 155, 0, "%ADD10C,3.10*%"},     {3, 1, 250, "%ADD10R,0.02X5.00*%"},
        {0, -20, 0, "%ADD10C,-0.20*%"},
    };
    for (const Case& c : cases) {
        TGerberFile g = opened();
        if (c.kind == 0)
            g.SetPenwidth(c.a);
        else if (c.kind == 1)
            g.FlashCircle(0, c.a);
        else
            g.FlashRect(c.a, c.b);
        EXPECT_EQ(test::splitCrlf(g.Finish())[5], c.line) << c.kind << " " << c.a;
    }
}

TEST(GerberFile, CommaLocaleStillWritesPoints)
{
    struct CommaPunct : std::numpunct<char> {
        char do_decimal_point() const override { return ','; }
    };
    const std::locale savedGlobal = std::locale::global(std::locale(std::locale::classic(), new CommaPunct));
    const std::string savedC = std::setlocale(LC_ALL, nullptr);
    const bool cLocaleComma = std::setlocale(LC_ALL, "de_DE.UTF-8") || std::setlocale(LC_ALL, "ru_RU.UTF-8");
    TGerberFile g = opened();
    g.SetPenwidth(20);
    g.FlashRect(80, 40);
    const std::string text = g.Finish();
    std::setlocale(LC_ALL, savedC.c_str());
    std::locale::global(savedGlobal);
    EXPECT_NE(text.find("%ADD10C,0.20*%"), std::string::npos) << cLocaleComma;
    EXPECT_NE(text.find("%ADD11R,1.60X0.80*%"), std::string::npos);
}

TEST(GerberFile, MirrorChangesXOnly)
{
    TGerberFile g = opened();
    g.Mirror = true;
    g.MirrorBase = 16000;
    g.MoveTo(1000, -500);
    g.LineTo(16000, 7);
    EXPECT_EQ(bodyLines(g.Finish()), (std::vector<std::string>{"%LPD*%", "X15000Y-500D02*", "X0Y7D01*", "M02*"}));
}

TEST(GerberFile, ArcsAndTheirMirrorImage)
{
    TGerberFile plain = opened();
    plain.Arc({500, 500}, {600, 500}, {500, 600});
    EXPECT_EQ(bodyLines(plain.Finish()), (std::vector<std::string>{"%LPD*%", "G75*", "G01X600Y500D02*",
                                                                     "G03X500Y600I-100J0D01*", "G01*", "M02*"}));
    // Mirrored about x = 500 the quarter runs from (500, 600) to (400, 500),
    // still counter-clockwise.
    TGerberFile mirrored = opened();
    mirrored.Mirror = true;
    mirrored.MirrorBase = 1000;
    mirrored.Arc({500, 500}, {600, 500}, {500, 600});
    EXPECT_EQ(bodyLines(mirrored.Finish()), (std::vector<std::string>{"%LPD*%", "G75*", "G01X500Y600D02*",
                                                                       "G03X400Y500I0J-100D01*", "G01*", "M02*"}));
}

TEST(GerberFile, OctagonIsAClosedRegionAndRestoresThePen)
{
    TGerberFile g = opened();
    g.FlashOctagon({1000, 1000}, 100, 100); // cut 58: the product lies just below 58.5
    EXPECT_EQ(g.Finish(),
              crlf(with(kHeader, {"%ADD10C,0.00*%", "%LPD*%", "G36*", "X900Y1042D02*", "X958Y1100D01*",
                                  "X1042Y1100D01*", "X1100Y1042D01*", "X1100Y958D01*", "X1042Y900D01*",
                                  "X958Y900D01*", "X900Y958D01*", "X900Y1042D01*", "G37*", "G54D10*", "M02*"})));
}

TEST(GerberFile, ElongatedOctagonCutsByTheShortSide)
{
    TGerberFile g = opened();
    g.SetPenwidth(20);
    g.FlashOctagon({0, 0}, 240, 140); // cut round(140 * 0.585) = 82
    const auto body = bodyLines(g.Finish());
    ASSERT_GE(body.size(), 5u);
    EXPECT_EQ(body[3], "X-240Y58D02*");
    EXPECT_EQ(body[4], "X-158Y140D01*");
    EXPECT_EQ(body[body.size() - 3], "G37*");
    EXPECT_EQ(body[body.size() - 2], "G54D10*"); // back to the 0.20 pen, no new aperture
}

TEST(GerberFile, RoundedRectangleRegionThenStrokedOutline)
{
    TGerberFile g = opened();
    g.SetPenwidth(40);
    g.FlashRoundRect({1000, 1000}, 200, 100); // d = 150, e = 75
    EXPECT_EQ(g.Finish(),
              crlf(with(kHeader, {"%ADD10C,0.40*%", "%ADD11C,1.50*%", "%LPD*%", "G54D10*", "G36*", "X875Y975D02*",
                                  "X1125Y975D01*", "X1125Y1025D01*", "X875Y1025D01*", "X875Y975D01*", "G37*",
                                  "G54D11*", "X875Y975D02*", "X1125Y975D01*", "X1125Y1025D01*", "X875Y1025D01*",
                                  "X875Y975D01*", "G54D10*", "M02*"})));
}

TEST(GerberFile, RoundedRectangleRoundsTiesToEven)
{
    struct Case {
        int32_t half;
        const char* penLine;
    };
    // 101 * 1.5 = 151.5 -> 152, 103 * 1.5 = 154.5 -> 154.
    for (const Case& c : {Case{101, "%ADD11C,1.52*%"}, Case{103, "%ADD11C,1.54*%"}}) {
        TGerberFile g = opened();
        g.SetPenwidth(10);
        g.FlashRoundRect({0, 0}, c.half, c.half);
        EXPECT_EQ(test::splitCrlf(g.Finish())[6], c.penLine);
    }
}

TEST(GerberFile, RegionAlreadyClosedGetsNoExtraSegment)
{
    TGerberFile g = opened();
    g.BeginRegion();
    g.MoveTo(0, 0);
    g.LineTo(10, 0);
    g.LineTo(10, 10);
    g.LineTo(0, 0);
    g.EndRegion();
    EXPECT_EQ(bodyLines(g.Finish()), (std::vector<std::string>{"%LPD*%", "G36*", "X0Y0D02*", "X10Y0D01*",
                                                                "X10Y10D01*", "X0Y0D01*", "G37*", "M02*"}));
}

TEST(GerberFile, MirroredRegionClosesOnItsWrittenFirstVertex)
{
    TGerberFile g = opened();
    g.Mirror = true;
    g.MirrorBase = 100;
    g.BeginRegion();
    g.MoveTo(0, 0);
    g.LineTo(30, 0);
    g.LineTo(30, 40);
    g.EndRegion();
    EXPECT_EQ(bodyLines(g.Finish()), (std::vector<std::string>{"%LPD*%", "G36*", "X100Y0D02*", "X70Y0D01*",
                                                                "X70Y40D01*", "X100Y0D01*", "G37*", "M02*"}));
}

TEST(GerberFile, PolarityAndPunchLayerLines)
{
    TGerberFile g = opened();
    g.ClearPolarity();
    g.DarkPolarity();
    g.BeginPunchLayer();
    EXPECT_EQ(bodyLines(g.Finish()), (std::vector<std::string>{"%LPD*%", "%LPC*%", "%LPD*%", "%LNAUGENFREISTANZEN*%",
                                                                "%LPC*%", "M02*"}));
}

TEST(GerberFile, CloseFileWritesThePathAndReportsFailures)
{
    test::TempDir dir;
    TGerberFile g = opened();
    g.Path = dir.file("out.gbr");
    g.SetPenwidth(20);
    EXPECT_EQ(g.CloseFile(), "");
    const auto bytes = test::readBytes(g.Path);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()),
              crlf(with(kHeader, {"%ADD10C,0.20*%", "%LPD*%", "G54D10*", "M02*"})));
    // Nothing is left in the working directory or beside the file.
    EXPECT_FALSE(std::filesystem::exists("GERBER.TMP"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);

    TGerberFile bad = opened();
    bad.Path = dir.file("missing/out.gbr");
    EXPECT_NE(bad.CloseFile(), "");
    EXPECT_FALSE(std::filesystem::exists(bad.Path));
}
