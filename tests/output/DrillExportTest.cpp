#include "output/DrillExport.h"

#include "OutputTestUtil.h"
#include "support/TestData.h"

#include <gtest/gtest.h>

using namespace kestrel;
using kestrel::test::addPad;
using kestrel::test::crlf;
using Lines = std::vector<std::string>;

namespace {

BoardSettings board(int32_t w, int32_t h)
{
    BoardSettings s;
    s.BoardWidth = w;
    s.BoardHeight = h;
    return s;
}

} // namespace

TEST(DrillExport, ExampleWithMendedToolLines)
{
    ObjectList list;
    addPad(list, {100, -100}, 80, 1, 1, 40);
    addPad(list, {300, -200}, 80, 1, 1, 30);
    EXPECT_EQ(exportDrill(list, board(1000, 1000), DrillSide::Solder),
              crlf({"M48", "METRIC,TZ", "T1C0.800", "T2C0.600", "%", "G05", "M71", "T1", "X9000Y9000", "T2",
                    "X7000Y8000", "M30"}));
}

TEST(DrillExport, BoardWithoutHoles)
{
    ObjectList list;
    addPad(list, {100, -100}, 80, 1, 2, 40); // silk layer
    addPad(list, {200, -100}, 80, 1, 1, 0);  // no hole
    LayoutObject circle = makeCircle({300, -300}, 100, 1, 1, 50);
    list.append(circle);
    EXPECT_EQ(exportDrill(list, board(1000, 1000), DrillSide::Solder),
              crlf({"M48", "METRIC,TZ", "%", "G05", "M71", "M30"}));
}

TEST(DrillExport, ToolsInOrderOfFirstAppearanceHolesInListOrder)
{
    ObjectList list;
    addPad(list, {100, -100}, 80, 1, 1, 40);
    addPad(list, {200, -100}, 80, 1, 3, 25);
    addPad(list, {300, -100}, 80, 1, 1, 40);
    addPad(list, {400, -100}, 80, 1, 3, 155);
    addPad(list, {500, -100}, 80, 1, 1, 25);
    EXPECT_EQ(drillSizeList(list), (std::vector<int32_t>{40, 25, 155}));
    EXPECT_EQ(exportDrill(list, board(1000, 1000), DrillSide::Component),
              crlf({"M48", "METRIC,TZ", "T1C0.800", "T2C0.500", "T3C3.100", "%", "G05", "M71", "T1", "X1000Y9000",
                    "X3000Y9000", "T2", "X2000Y9000", "X5000Y9000", "T3", "X4000Y9000", "M30"}));
}

TEST(DrillExport, ViaGivesOneHoleAtItsLayerOnePad)
{
    ObjectList list;
    // Layer 3 pad first, so taking the wrong one would show in the order.
    LayoutObject& b = addPad(list, {700, -100}, 70, 1, 3, 30);
    LayoutObject& a = addPad(list, {700, -100}, 70, 1, 1, 30);
    a.Partner = &b;
    b.Partner = &a;
    EXPECT_TRUE(isDrilledPad(a));
    EXPECT_FALSE(isDrilledPad(b));
    EXPECT_EQ(exportDrill(list, board(1000, 1000), DrillSide::Component),
              crlf({"M48", "METRIC,TZ", "T1C0.600", "%", "G05", "M71", "T1", "X7000Y9000", "M30"}));
}

TEST(DrillExport, CoordinateDigits)
{
    struct Row {
        Point at;
        DrillSide side;
        const char* line;
    };
    const Row rows[] = {
        {{0, -500}, DrillSide::Component, "X0Y95000"},
        {{1234, -500}, DrillSide::Component, "X12340Y95000"},
        {{1234, -500}, DrillSide::Solder, "X147660Y95000"},
        {{1234, -10000}, DrillSide::Solder, "X147660Y0"},   // on the lower edge
        {{16000, -10000}, DrillSide::Solder, "X0Y0"},
        {{-50, -10100}, DrillSide::Component, "X-500Y-1000"}, // off the board
    };
    for (const Row& r : rows) {
        ObjectList list;
        addPad(list, r.at, 80, 1, 1, 40);
        const Lines lines = test::splitCrlf(exportDrill(list, board(16000, 10000), r.side));
        ASSERT_EQ(lines.size(), 9u);
        EXPECT_EQ(lines[7], r.line);
    }
}

TEST(DrillExport, WriteReportsFailure)
{
    test::TempDir dir;
    ObjectList list;
    addPad(list, {100, -100}, 80, 1, 1, 40);
    EXPECT_EQ(writeDrill(dir.file("a.drl"), list, board(1000, 1000), DrillSide::Solder), "");
    EXPECT_EQ(test::readBytes(dir.file("a.drl")).size(), exportDrill(list, board(1000, 1000), DrillSide::Solder).size());
    EXPECT_NE(writeDrill(dir.file("none/a.drl"), list, board(1000, 1000), DrillSide::Solder), "");
}
