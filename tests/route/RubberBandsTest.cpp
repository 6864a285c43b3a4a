#include "route/RubberBands.h"

#include "support/TestData.h"

#include <gtest/gtest.h>

using namespace kestrel;
using namespace kestrel::test;

namespace {

// Pads a and b 2000 apart on the given layers with a band between them, and
// whatever copper the case adds.
struct CleanupCase {
    const char* name;
    uint8_t layerA, layerB;
    void (*join)(ObjectList&);
    size_t removed, kept;
};

} // namespace

TEST(ClearConnections, RemovesExactlyTheBandsJoinedByCopper)
{
    const CleanupCase cases[] = {
        {"joined by a track", 1, 1, [](ObjectList& l) { addTrack(l, {{0, 0}, {2000, 0}}); }, 1, 0},
        {"other layer through a via", 1, 3,
         [](ObjectList& l) {
             addTrack(l, {{0, 0}, {1000, 0}}, 40, 1);
             addVia(l, {1000, 0});
             addTrack(l, {{1000, 0}, {2000, 0}}, 40, 3);
         },
         1, 0},
        {"other layer without the via", 1, 3,
         [](ObjectList& l) {
             addTrack(l, {{0, 0}, {1000, 0}}, 40, 1);
             addTrack(l, {{1000, 0}, {2000, 0}}, 40, 3);
         },
         0, 1},
        {"joined only by silk", 1, 1, [](ObjectList& l) { l.append(makeLine({0, 0}, {2000, 0}, 100, 2)); }, 0, 1},
    };
    for (const CleanupCase& c : cases) {
        SCOPED_TRACE(c.name);
        ObjectList list;
        LayoutObject& a = addPad(list, {0, 0}, 80, 1, c.layerA);
        LayoutObject& b = addPad(list, {2000, 0}, 80, 1, c.layerB);
        addBand(a, b);
        c.join(list);
        a.Selected = 1;
        const BandCleanup result = ClearConnections(list);
        EXPECT_EQ(result.removedBands(), c.removed);
        EXPECT_EQ(result.keptBands(), c.kept);
        EXPECT_EQ(a.Connections.size(), c.kept);
        EXPECT_EQ(b.Connections.size(), c.kept);
        EXPECT_EQ(a.Selected, 0);
    }
}

TEST(ClearConnections, KeepsTheLooseBandsOfAJoinedPad)
{
    ObjectList list;
    LayoutObject& a = addPad(list, {0, 0}, 80);
    LayoutObject& b = addPad(list, {1000, 0}, 80);
    LayoutObject& c = addPad(list, {0, 3000}, 80);
    addTrack(list, {{0, 0}, {1000, 0}});
    addBand(a, c);
    addBand(a, b);
    addBand(b, c);
    const BandCleanup result = ClearConnections(list);
    EXPECT_EQ(result.removedBands(), 1u);
    EXPECT_EQ(result.keptBands(), 2u);
    EXPECT_EQ(a.Connections, std::vector<LayoutObject*>{&c});
    EXPECT_EQ(b.Connections, std::vector<LayoutObject*>{&c});
    EXPECT_EQ(c.Connections, (std::vector<LayoutObject*>{&a, &b}));
}

TEST(ClearConnections, ReportShowsHalfTheCountedEnds)
{
    BandCleanup r;
    r.removedEnds = 7; // an odd count comes from a one-sided band entry
    r.keptEnds = 4;
    EXPECT_EQ(clearReportText(Language::Russian, r),
              "На чертеже 3 удалённых перемычек        \nНа чертеже имеется 2 перемычек ");
    EXPECT_EQ(clearReportText(Language::English, r), "3 дорожка(и) удалена\n2 дорожка(и) сохранена");
}
