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
        {"region: an open contour closed by the next move, a closed one left alone", false,
         [](TGerberFile& g) {
             g.BeginRegion(), polyline(g, {{0, 0}, {10, 0}, {10, 10}});
             polyline(g, {{20, 0}, {30, 0}, {30, 10}, {20, 0}}), g.EndRegion();
         },
         {"%LPD*%", "G36*", "X0Y0D02*", "X10Y0D01*", "X10Y10D01*", "X0Y0D01*", "X20Y0D02*", "X30Y0D01*",
          "X30Y10D01*", "X20Y0D01*", "G37*", "M02*"}},
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
        {[](TGerberFile& g) { g.SetPenwidth(5); }, "%ADD10C,0.05*%"},
        {[](TGerberFile& g) { g.SetPenwidth(12345); }, "%ADD10C,123.45*%"},
        {[](TGerberFile& g) { g.FlashRect(1, 250); }, "%ADD10R,0.02X5.00*%"},
        // d = half x 1.5 rounds ties to even: 151.5 -> 152, 154.5 -> 154
        {[](TGerberFile& g) { g.FlashRoundRect({0, 0}, 101, 101); }, "%ADD10C,1.52*%"},
        {[](TGerberFile& g) { g.FlashRoundRect({0, 0}, 103, 103); }, "%ADD10C,1.54*%"},
    };
    for (const auto& [draw, line] : rows)
        EXPECT_EQ(splitCrlf(drawn(draw))[5], line);
    std::locale::global(saved);
}
