#include "output/GerberFile.h"

#include "OutputTestUtil.h"

#include <gtest/gtest.h>

#include <functional>
#include <locale>

using namespace kestrel;
using namespace kestrel::test;
using Draw = std::function<void(TGerberFile&)>;

namespace {

const Lines kHeader = {"%FSLAX32Y32*%", "%MOMM*%", "%LNTEST*%", "G71*", "G1*"};

// The file `draw` makes, mirrored about x = 8000 when asked.
std::string drawn(const Draw& draw, bool mirror = false)
{
    TGerberFile g;
    g.Mirror = mirror;
    g.MirrorBase = 16000;
    g.OpenFile("TEST");
    draw(g);
    return g.Finish();
}

void polyline(TGerberFile& g, const std::vector<Point>& contour)
{
    g.MoveTo(contour[0]);
    for (size_t i = 1; i < contour.size(); ++i)
        g.LineTo(contour[i]);
}

} // namespace

// Each row gives the aperture table and body behind the fixed header.
TEST(GerberFile, DrawingCalls)
{
    struct Row {
        const char* what;
        bool mirror;
        Draw draw;
        Lines afterHeader;
    };
    const Row rows[] = {
        {"apertures: no blank after the comma, defined on first use, reused, pads told apart by hole", false,
         [](TGerberFile& g) {
             g.SetPenwidth(20), g.SetPenwidth(20), g.MoveTo(0, 0), g.FlashCircle(40, 80), g.FlashRect(80, 40);
             g.SetPenwidth(20), g.FlashCircle(30, 80), g.FlashRect(80, 40);
         },
         {"%ADD10C,0.20*%", "%ADD11C,1.60*%", "%ADD12R,1.60X0.80*%", "%ADD13C,1.60*%", "%LPD*%", "G54D10*", "G54D10*",
          "X0Y0D02*", "G54D11*", "D03*", "G54D12*", "D03*", "G54D10*", "G54D13*", "D03*", "G54D12*", "D03*", "M02*"}},
        {"mirror changes x only", true, [](TGerberFile& g) { polyline(g, {{1000, -500}, {16000, 7}}); },
         {"%LPD*%", "X15000Y-500D02*", "X0Y7D01*", "M02*"}},
        {"arc", false, [](TGerberFile& g) { g.Arc({500, 500}, {600, 500}, {500, 600}); },
         {"%LPD*%", "G75*", "G01X600Y500D02*", "G03X500Y600I-100J0D01*", "G01*", "M02*"}},
        {"mirrored arc: ends swapped, still counter-clockwise", true,
         [](TGerberFile& g) { g.Arc({8500, 500}, {8600, 500}, {8500, 600}); },
         {"%LPD*%", "G75*", "G01X7500Y600D02*", "G03X7400Y500I0J-100D01*", "G01*", "M02*"}},
        {"octagon cut by the short side (100 x 0.585 just below 58.5), closed, pen 0 restored", false,
         [](TGerberFile& g) { g.FlashOctagon({1000, 1000}, 240, 100); },
         {"%ADD10C,0.00*%", "%LPD*%", "G36*", "X760Y1042D02*", "X818Y1100D01*", "X1182Y1100D01*", "X1240Y1042D01*",
          "X1240Y958D01*", "X1182Y900D01*", "X818Y900D01*", "X760Y958D01*", "X760Y1042D01*", "G37*", "G54D10*",
          "M02*"}},
        {"rounded rectangle: inner region, then stroked with pen d = 150", false,
         [](TGerberFile& g) { g.SetPenwidth(40), g.FlashRoundRect({1000, 1000}, 200, 100); },
         {"%ADD10C,0.40*%", "%ADD11C,1.50*%", "%LPD*%", "G54D10*", "G36*", "X875Y975D02*", "X1125Y975D01*",
          "X1125Y1025D01*", "X875Y1025D01*", "X875Y975D01*", "G37*", "G54D11*", "X875Y975D02*", "X1125Y975D01*",
          "X1125Y1025D01*", "X875Y1025D01*", "X875Y975D01*", "G54D10*", "M02*"}},
        {"region: an open contour closed by the next move, a closed one left alone", false,
         [](TGerberFile& g) {
             g.BeginRegion(), polyline(g, {{0, 0}, {10, 0}, {10, 10}});
             polyline(g, {{20, 0}, {30, 0}, {30, 10}, {20, 0}}), g.EndRegion();
         },
         {"%LPD*%", "G36*", "X0Y0D02*", "X10Y0D01*", "X10Y10D01*", "X0Y0D01*", "X20Y0D02*", "X30Y0D01*",
          "X30Y10D01*", "X20Y0D01*", "G37*", "M02*"}},
        {"mirrored region closes on its written first vertex", true,
         [](TGerberFile& g) { g.BeginRegion(), polyline(g, {{16000, 0}, {15970, 0}, {15970, 40}}), g.EndRegion(); },
         {"%LPD*%", "G36*", "X0Y0D02*", "X30Y0D01*", "X30Y40D01*", "X0Y0D01*", "G37*", "M02*"}},
    };
    for (const Row& r : rows)
        EXPECT_EQ(drawn(r.draw, r.mirror), crlf(kHeader + r.afterHeader)) << r.what;
}

TEST(GerberFile, ApertureSizesFormatExactlyUnderACommaLocale)
{
    struct CommaPunct : std::numpunct<char> {
        char do_decimal_point() const override { return ','; }
    };
    const std::locale saved = std::locale::global(std::locale(std::locale::classic(), new CommaPunct));
    const std::pair<Draw, const char*> rows[] = {
        {[](TGerberFile& g) { g.SetPenwidth(0); }, "%ADD10C,0.00*%"},
        {[](TGerberFile& g) { g.SetPenwidth(5); }, "%ADD10C,0.05*%"},
        {[](TGerberFile& g) { g.SetPenwidth(12345); }, "%ADD10C,123.45*%"},
        {[](TGerberFile& g) { g.SetPenwidth(-20); }, "%ADD10C,-0.20*%"},
        {[](TGerberFile& g) { g.FlashCircle(0, 1); }, "%ADD10C,0.02*%"},
        {[](TGerberFile& g) { g.FlashRect(1, 250); }, "%ADD10R,0.02X5.00*%"},
        // d = half x 1.5 rounds ties to even: 151.5 -> 152, 154.5 -> 154
        {[](TGerberFile& g) { g.FlashRoundRect({0, 0}, 101, 101); }, "%ADD10C,1.52*%"},
        {[](TGerberFile& g) { g.FlashRoundRect({0, 0}, 103, 103); }, "%ADD10C,1.54*%"},
    };
    for (const auto& [draw, line] : rows)
        EXPECT_EQ(splitCrlf(drawn(draw))[5], line);
    std::locale::global(saved);
}
