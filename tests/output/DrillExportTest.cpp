#include "output/DrillExport.h"

#include "OutputTestUtil.h"

#include <gtest/gtest.h>

#include <functional>

using namespace kestrel;
using namespace kestrel::test;

TEST(DrillExport, Files)
{
    struct Row {
        const char* what;
        std::function<void(ObjectList&)> add;
        DrillSide side;
        Lines file;
        BoardSettings board = boardOf(1000, 1000);
    };
    const Row rows[] = {
        {"no holes: silk pad, pad without hole, circle",
         [](ObjectList& l) {
             addPad(l, {100, -100}, 80, 1, 2, 40), addPad(l, {200, -100}, 80, 1, 1, 0);
             l.append(makeCircle({300, -300}, 100, 1, 1, 50));
         },
         DrillSide::Solder, {"M48", "METRIC,TZ", "%", "G05", "M71", "M30"}},
        {"tools in order of first appearance, holes in list order",
         [](ObjectList& l) {
             for (auto [x, layer, hole] :
                  {std::tuple{100, 1, 40}, {200, 3, 25}, {300, 1, 40}, {400, 3, 155}, {500, 1, 25}})
                 addPad(l, {x, -100}, 80, 1, static_cast<uint8_t>(layer), hole);
         },
         DrillSide::Component,
         {"M48", "METRIC,TZ", "T1C0.800", "T2C0.500", "T3C3.100", "%", "G05", "M71", "T1", "X1000Y9000", "X3000Y9000",
          "T2", "X2000Y9000", "X5000Y9000", "T3", "X4000Y9000", "M30"}},
        {"tool diameters to the hundredth of a millimetre",
         [](ObjectList& l) {
             int32_t x = 100;
             for (int32_t hole : {41, 53, 1, 500})
                 addPad(l, {x, -100}, 600, 1, 1, hole), x += 100;
         },
         DrillSide::Component,
         {"M48", "METRIC,TZ", "T1C0.820", "T2C1.060", "T3C0.020", "T4C10.000", "%", "G05", "M71", "T1", "X1000Y9000",
          "T2", "X2000Y9000", "T3", "X3000Y9000", "T4", "X4000Y9000", "M30"}},
        {"a via is one hole, at its layer 1 pad (listed second)",
         [](ObjectList& l) {
             LayoutObject& b = addPad(l, {700, -100}, 70, 1, 3, 30);
             LayoutObject& a = addPad(l, {600, -100}, 70, 1, 1, 30);
             a.Partner = &b, b.Partner = &a;
         },
         DrillSide::Component, {"M48", "METRIC,TZ", "T1C0.600", "%", "G05", "M71", "T1", "X6000Y9000", "M30"}},
        {"off the board", [](ObjectList& l) { addPad(l, {-50, -10100}, 80, 1, 1, 40); }, DrillSide::Component,
         {"M48", "METRIC,TZ", "T1C0.800", "%", "G05", "M71", "T1", "X-500Y-1000", "M30"}, boardOf(16000, 10000)},
    };
    for (const Row& r : rows) {
        ObjectList list;
        r.add(list);
        EXPECT_EQ(exportDrill(list, r.board, r.side), crlf(r.file)) << r.what;
    }
}
