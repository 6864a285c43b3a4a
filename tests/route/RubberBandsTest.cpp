#include "route/RubberBands.h"

#include "support/TestData.h"

#include <gtest/gtest.h>

using namespace kestrel;
using namespace kestrel::test;

namespace {

// The bands left, as "pad>partner" by list position.
std::string bandsOf(const ObjectList& list)
{
    std::string out;
    for (size_t i = 0; i < list.size(); ++i)
        for (const LayoutObject* other : list[i].Connections)
            out += std::to_string(i) + ">" + std::to_string(list.indexOf(other)) + " ";
    return out;
}

} // namespace

TEST(ClearConnections, RemovesExactlyTheBandsJoinedByCopper)
{
    // Pads 0 and 1, 2000 apart, with a band between them.
    const struct {
        const char* name;
        void (*add)(ObjectList&);
        size_t removed, kept;
        std::string left;
    } cases[] = {
        {"joined by a track", [](ObjectList& l) { addTrack(l, {{0, 0}, {2000, 0}}); }, 1, 0, ""},
        {"apart", [](ObjectList&) {}, 0, 1, "0>1 1>0 "},
        {"tracks meeting only in a bare hole, which has no copper",
         [](ObjectList& l) {
             addPad(l, {1000, 0}, 150, 1, Layer::K1, 150);
             addTrack(l, {{0, 0}, {970, 0}}), addTrack(l, {{1030, 0}, {2000, 0}});
         },
         0, 1, "0>1 1>0 "},
        {"joined pads keep their loose bands",
         [](ObjectList& l) {
             LayoutObject& c = addPad(l, {0, 3000}, 80);
             addBand(l[0], c), addBand(l[1], c), addTrack(l, {{0, 0}, {2000, 0}});
         },
         1, 2, "0>2 1>2 2>0 2>1 "},
    };
    for (const auto& c : cases) {
        ObjectList list;
        LayoutObject& a = addPad(list, {0, 0}, 80);
        addBand(a, addPad(list, {2000, 0}, 80));
        c.add(list);
        a.Selected = 1;
        const BandCleanup result = ClearConnections(list);
        EXPECT_EQ(std::pair(result.removedBands(), result.keptBands()), std::pair(c.removed, c.kept)) << c.name;
        EXPECT_EQ(bandsOf(list), c.left) << c.name;
        EXPECT_EQ(a.Selected, 0) << c.name;
    }
}
