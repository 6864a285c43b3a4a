#include "route/RubberBands.h"

#include "support/TestData.h"

#include <gtest/gtest.h>

using namespace kestrel;
using namespace kestrel::test;

namespace {

struct CleanupCase {
    const char* name;
    void (*build)(ObjectList&);
    size_t removed, kept;
    // Connections left on each pad afterwards, by list index, in list order.
    std::vector<std::vector<size_t>> bandsAfter;
};

std::vector<std::vector<size_t>> bandsOf(const ObjectList& list)
{
    std::vector<std::vector<size_t>> out;
    for (const auto& o : list) {
        if (!o->is(ObjectKind::Pad))
            continue;
        std::vector<size_t> ends;
        for (const LayoutObject* q : o->Connections)
            ends.push_back(static_cast<size_t>(list.indexOf(q)));
        out.push_back(ends);
    }
    return out;
}

} // namespace

TEST(ClearConnections, RemovesExactlyTheBandsJoinedByCopper)
{
    const CleanupCase cases[] = {
        {"pads joined by a track",
         [](ObjectList& l) {
             LayoutObject& a = addPad(l, {0, 0}, 80);
             LayoutObject& b = addPad(l, {1000, 0}, 80);
             addTrack(l, {{0, 0}, {1000, 0}});
             addBand(a, b);
         },
         1, 0, {{}, {}}},
        {"pads not joined",
         [](ObjectList& l) {
             LayoutObject& a = addPad(l, {0, 0}, 80);
             LayoutObject& b = addPad(l, {1000, 0}, 80);
             addBand(a, b);
         },
         0, 1, {{1}, {0}}},
        {"other layer through a via",
         [](ObjectList& l) {
             LayoutObject& a = addPad(l, {0, 0}, 80, 1, 1);
             LayoutObject& b = addPad(l, {2000, 0}, 80, 1, 3);
             addTrack(l, {{0, 0}, {1000, 0}}, 40, 1);
             addVia(l, {1000, 0});
             addTrack(l, {{1000, 0}, {2000, 0}}, 40, 3);
             addBand(a, b);
         },
         1, 0, {{}, {}, {}, {}}},
        {"other layer without the via",
         [](ObjectList& l) {
             LayoutObject& a = addPad(l, {0, 0}, 80, 1, 1);
             LayoutObject& b = addPad(l, {2000, 0}, 80, 1, 3);
             addTrack(l, {{0, 0}, {1000, 0}}, 40, 1);
             addTrack(l, {{1000, 0}, {2000, 0}}, 40, 3);
             addBand(a, b);
         },
         0, 1, {{1}, {0}}},
        {"joined only by silk",
         [](ObjectList& l) {
             LayoutObject& a = addPad(l, {0, 0}, 80);
             LayoutObject& b = addPad(l, {1000, 0}, 80);
             l.append(makeLine({0, 0}, {1000, 0}, 100, 2));
             addBand(a, b);
         },
         0, 1, {{1}, {0}}},
        {"silk pads overlapping each other keep their band",
         [](ObjectList& l) {
             LayoutObject& a = addPad(l, {0, 0}, 80, 1, 2);
             LayoutObject& b = addPad(l, {100, 0}, 80, 1, 2);
             addBand(a, b);
         },
         0, 1, {{1}, {0}}},
        {"one pad with a joined and a loose band",
         [](ObjectList& l) {
             LayoutObject& a = addPad(l, {0, 0}, 80);
             LayoutObject& b = addPad(l, {1000, 0}, 80);
             LayoutObject& c = addPad(l, {0, 3000}, 80);
             addTrack(l, {{0, 0}, {1000, 0}});
             addBand(a, c);
             addBand(a, b);
             addBand(b, c);
         },
         1, 2, {{2}, {2}, {0, 1}}},
        {"no bands at all",
         [](ObjectList& l) {
             addPad(l, {0, 0}, 80);
             addTrack(l, {{0, 0}, {1000, 0}});
         },
         0, 0, {{}}},
    };
    for (const CleanupCase& c : cases) {
        SCOPED_TRACE(c.name);
        ObjectList list;
        c.build(list);
        list[0].Selected = 1;
        const BandCleanup result = ClearConnections(list);
        EXPECT_EQ(result.removedBands(), c.removed);
        EXPECT_EQ(result.keptBands(), c.kept);
        EXPECT_EQ(bandsOf(list), c.bandsAfter);
        for (const auto& o : list)
            EXPECT_EQ(o->Selected, 0);
    }
}

TEST(ClearConnections, ReportShowsHalfTheCountedEnds)
{
    BandCleanup r;
    r.removedEnds = 7; // an odd count comes from a one-sided band entry
    r.keptEnds = 4;
    EXPECT_EQ(clearReportText(Language::Russian, r),
              "На чертеже 3 удалённых перемычек        \nНа чертеже имеется 2 перемычек ");
    EXPECT_EQ(clearReportText(Language::English, r), "3 дорожка(и) удалена\n2 дорожка(и) сохранена");
    EXPECT_EQ(clearReportText(Language::English, BandCleanup{}), "0 дорожка(и) удалена\n0 дорожка(и) сохранена");
}
