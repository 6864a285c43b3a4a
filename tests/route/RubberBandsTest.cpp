#include "route/RubberBands.h"

#include "ToolBoard.h"
#include "support/TestData.h"

#include <gtest/gtest.h>

using namespace kestrel;
using namespace kestrel::test;

TEST(ClearConnections, RemovesExactlyTheBandsJoinedByCopper)
{
    // Pads 0 and 1, 2000 apart, with a band between them; the bands left as in ToolBoard::state.
    const struct {
        const char* name;
        void (*add)(ObjectList&);
        size_t removed, kept;
        std::string left;
    } cases[] = {
        {"joined by a track", [](ObjectList& l) { addTrack(l, {{0, 0}, {2000, 0}}); }, 1, 0, "P P T "},
        {"tracks meeting only in a bare hole, which has no copper",
         [](ObjectList& l) {
             addPad(l, {1000, 0}, 150, 1, Layer::K1, 150);
             addTrack(l, {{0, 0}, {970, 0}}), addTrack(l, {{1030, 0}, {2000, 0}});
         },
         0, 1, "P1 P0 P T T "},
        {"joined pads keep their loose bands",
         [](ObjectList& l) {
             LayoutObject& c = addPad(l, {0, 3000}, 80);
             addBand(l[0], c), addBand(l[1], c), addTrack(l, {{0, 0}, {2000, 0}});
         },
         1, 2, "P2 P2 P0,1 T "},
    };
    for (const auto& c : cases) {
        ToolBoard board;
        LayoutObject& a = addPad(board.objects(), {0, 0}, 80);
        addBand(a, addPad(board.objects(), {2000, 0}, 80));
        c.add(board.objects());
        a.Selected = 1;
        const BandCleanup result = ClearConnections(board.objects());
        EXPECT_EQ(std::pair(result.removedBands(), result.keptBands()), std::pair(c.removed, c.kept)) << c.name;
        EXPECT_EQ(board.state(), c.left) << c.name;
        EXPECT_EQ(a.Selected, 0) << c.name;
    }
}
